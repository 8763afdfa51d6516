// The open dialog components and the folder browser, shown through the dialog service.
#pragma once

#include <string>

#include "platform/components/Component.h"

// The open dialog: Filter is "Description|*.EXT" pairs; a typed name is accepted even when no such
// file exists.
class TOpenDialog : public TComponent {
  Q_CLASS(TOpenDialog, TComponent)

  explicit TOpenDialog(TComponent* owner);

  const std::string& Filter() const { return FFilter; }
  void SetFilter(const std::string& filter) { FFilter = filter; }
  const std::string& Title() const { return FTitle; }
  void SetTitle(const std::string& title) { FTitle = title; }
  const std::string& FileName() const { return FFileName; }
  void SetFileName(const std::string& name) { FFileName = name; }
  const std::string& InitialDir() const { return FInitialDir; }
  void SetInitialDir(const std::string& dir) { FInitialDir = dir; }

  // Shows the dialog; true when the user confirmed a name, which FileName then holds.
  bool Execute();

 private:
  std::string FFilter;
  std::string FTitle;
  std::string FFileName;
  std::string FInitialDir;
};

// The open dialog for pictures; it differs only in the class its form resource names.
class TOpenPictureDialog : public TOpenDialog {
  Q_CLASS(TOpenPictureDialog, TOpenDialog)
  using TOpenDialog::TOpenDialog;
};

// The folder browser: caption as its title, starting at the top of the file system (root empty) with
// no folder preselected. True when the user chose a folder, which directory then holds; on cancel
// directory keeps its value.
bool SelectDirectory(const std::string& caption, const std::string& root, std::string& directory);
