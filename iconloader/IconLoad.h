// TfmLoadImages: Glyphcrate's window, which loads a folder of bitmaps into the icon table of one or
// all configured databases, also unattended from the command line.
#pragma once

#include <string>

#include "iconloader/QDBSelectCombo.h"
#include "platform/data/Database.h"
#include "platform/data/Query.h"
#include "platform/ui/Buttons.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/FileDialogs.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"

// Built from IconLoad.form. Every load closes the form's own connection first, opens it for the
// selected database, inserts one QVICONS row per bitmap of the folder and closes it again; the rows
// are stored when the connection closes.
class TfmLoadImages : public TForm {
  Q_CLASS(TfmLoadImages, TForm)

  explicit TfmLoadImages(TComponent* owner);

  // The designed components, set by name when the form resource is read.
  TOpenPictureDialog* PicOpenDialog = nullptr;
  TPanel* paPanel = nullptr;
  TLabel* Label2 = nullptr;
  TLabel* Label1 = nullptr;
  TLabel* laSelectIcon = nullptr;
  TEdit* edIconFileName = nullptr;
  TBitBtn* buSelectIcon = nullptr;
  TPanel* paBottom = nullptr;
  TBitBtn* buCheck = nullptr;
  TOpenDialog* DbOpenDialog = nullptr;
  TQuery* quBlob = nullptr;
  TDatabase* dbDatabase = nullptr;
  TQDBSelectCombo* cbDatabase = nullptr;
  TBitBtn* buCheckAll = nullptr;

  // Handlers, bound by name from the form resource.
  void buSelectIconClick(TObject* Sender);
  // Takes a command-line argument of two characters or more as the folder of an unattended run.
  void FormCreate(TObject* Sender);
  // Starts the unattended run when the form first becomes active with a folder argument.
  void FormActivate(TObject* Sender);
  void buCheckAllClick(TObject* Sender);
  void buCheckClick(TObject* Sender);

  // The folder given on the command line, or empty.
  const std::string& FolderArg() const { return FFolderArg; }

 private:
  bool CheckDatabase();
  void CloseDatabase();
  void RunUnattended();
  void LoadIconFolder();
  // The selected entry as the lines on standard error name it, DB<index> "<name>"; an entry is selected.
  std::string SelectedEntry() const;

  std::string FFolderArg;
  // A message box confirmed during the run activates the form again: the run must not start anew.
  bool FUnattendedStarted = false;
};

// The program's main form, made by Glyphcrate's main block.
extern TfmLoadImages* fmLoadImages;

// The folder the command line gives for an unattended run: the first argument when it has two
// characters or more, else empty.
std::string FolderArgument();

// The text shown when the connection cannot be opened: serverLine is the first line of the prepared
// parameter list, engineMessage the database engine's own text.
std::string ConnectionErrorText(const std::string& serverLine, const std::string& engineMessage);

// Makes the icon loader's classes, and those of the platform that its form holds, known to form
// resources; calling it again does no harm.
void RegisterIconLoaderClasses();
