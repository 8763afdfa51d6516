// TdlImportAdvF: Larkspan's one window, a waiting box that imports an advanced form file into every
// database of QV32.INI while it is being created.
#pragma once

#include <string>

#include "foundation/QBaseModal.h"
#include "platform/ui/StdCtrls.h"

// Built from ImportAdvF.form read over the base dialog's form. The whole import runs inside the
// creation handler; the window shows afterwards only when the run did not end the program (the file
// was not found, or an error escaped the import).
class TdlImportAdvF : public TdlQBaseModal {
  Q_CLASS(TdlImportAdvF, TdlQBaseModal)

  explicit TdlImportAdvF(TComponent* owner);
  // Clears dlImportAdvF when it refers to this dialog.
  ~TdlImportAdvF() override;

  // Published fields, set by the form resource.
  // The path of the file being imported: the run's only copy of it.
  TLabel* laDoc = nullptr;
  TLabel* Label1 = nullptr;

  // Published handlers.
  // Closes the dialog, which as the main form ends the program.
  void buCancelClick(TObject* Sender);
  // Imports the file that laDoc names into every configured database, then ends the program; a file
  // that does not exist is reported and ends nothing.
  void buOKClick(TObject* Sender);
  // Points the data module's connection component at the working connection, then loads as the base.
  void Loaded() override;
  // Takes the file from the first command-line argument or the open dialog and runs the import;
  // cancelling the open dialog ends the program.
  void FormCreate(TObject* Sender);
};

// The program's main form, set by the main block before the dialog's construction begins.
extern TdlImportAdvF* dlImportAdvF;

// The open dialog's filter and title.
inline constexpr const char* AdvancedFormFilter = "QV Advanced Form files (*.xml)|*.XML";
inline constexpr const char* AdvancedFormDialogTitle = "Browse QV Advanced Forms";

// Makes the dialog's classes, and everything its form and the data module's form name, known to form
// resources; calling it again does no harm.
void RegisterImportAdvFClasses();

// The form file the command line names: its first argument; empty when there is none (an empty first
// argument counts as none).
std::string FormFileArgument();
