#include "formimport/ImportAdvF.h"

#include "formimport/DBLoad.h"
#include "foundation/QData.h"
#include "foundation/QVConnect.h"
#include "platform/components/Application.h"
#include "platform/components/TypeInfo.h"
#include "platform/data/DBErrors.h"
#include "platform/system/AnsiStrings.h"
#include "platform/system/CommandLine.h"
#include "platform/system/Dialogs.h"
#include "platform/system/IniFiles.h"
#include "platform/system/Paths.h"
#include "platform/system/RunReport.h"
#include "platform/ui/FileDialogs.h"
#include "platform/ui/UiClasses.h"

extern const char FormResource_ImportAdvF[];

TdlImportAdvF* dlImportAdvF = nullptr;

const TMetaClass& TdlImportAdvF::StaticClass() {
  static const TMetaClass cls = TClassBuilder<TdlImportAdvF>("TdlImportAdvF")
                                    .Field("laDoc", &TdlImportAdvF::laDoc)
                                    .Field("Label1", &TdlImportAdvF::Label1)
                                    .Method("buCancelClick", &TdlImportAdvF::buCancelClick)
                                    .Method("buOKClick", &TdlImportAdvF::buOKClick)
                                    .Method("Loaded", &TdlImportAdvF::Loaded)
                                    .Method("FormCreate", &TdlImportAdvF::FormCreate)
                                    .Resource(FormResource_ImportAdvF);
  return cls;
}

TdlImportAdvF::TdlImportAdvF(TComponent* owner) : TdlQBaseModal(owner) {}

TdlImportAdvF::~TdlImportAdvF() {
  if (dlImportAdvF == this) dlImportAdvF = nullptr;
}

void TdlImportAdvF::Loaded() {
  // The data module is made first by the main block; nothing reads this reference afterwards.
  if (dmData != nullptr && !dmData->dbDataBase->Connected()) {
    dmData->coConnection->FDatabaseRef = &dmData->dbDataBase;
  }
  TdlQBaseModal::Loaded();
}

namespace {

// Why QV32.INI gave no database, naming the file the loop read or the folder it looked in.
std::string NoDatabaseReason(const TIniFile& ini, const std::string& folder) {
  if (!FileExists(ini.FileName())) return "no QV32.INI in " + folder;
  if (!ini.Readable()) return ini.FileName() + " cannot be read";
  return ini.FileName() + " has no DB0 in [DBNAMES]";
}

}  // namespace

std::string FormFileArgument() { return ParamStr(1); }

void TdlImportAdvF::FormCreate(TObject* /*Sender*/) {
  laDoc->SetCaption("");
  if (!FormFileArgument().empty()) laDoc->SetCaption(FormFileArgument());

  if (!laDoc->Caption().empty()) {
    buOKClick(this);
    return;
  }

  auto* openDialog = NewComponent<TOpenDialog>(this);
  openDialog->SetFilter(AdvancedFormFilter);
  openDialog->SetTitle(AdvancedFormDialogTitle);
  if (openDialog->Execute()) {
    laDoc->SetCaption(openDialog->FileName());
    buOKClick(this);
  } else {
    Application->Terminate();
  }
}

void TdlImportAdvF::buOKClick(TObject* /*Sender*/) {
  Update();

  const std::string folder = ExtractFilePath(Application->ExeName());
  const std::string fileName = laDoc->Caption();
  if (folder.empty() || fileName.empty()) return;

  if (!FileExists(fileName)) {
    MessageDlg("Larkspan: " + fileName + " Not found", mtError, {mbOK}, 0);
    return;
  }

  // Read, checked and cut once, before any database: a damaged form stops the run here.
  const TAdvancedForm form = ReadAdvancedForm(fileName);
  {
    const TIniFile ini(folder + FindNameIgnoringCase(folder, "QV32.INI"));
    TDatabase* database = dmData->dbDataBase;
    int n = 0;
    std::string name;
    while (!(name = ini.ReadString("DBNAMES", "DB" + IntToStr(n), "")).empty()) {
      const std::string key = "DB" + IntToStr(n);
      database->Params().Clear();
      ini.ReadSectionValues(key + ".PARAMS", database->Params());
      // Named by its entry, never by its parameters: they hold the password.
      const std::string entry = key + " \"" + name + "\"";
      ++n;  // before the skips, so that a skipped database does not end the list
      if (database->Params().Count() == 0) {
        ReportSkipped(entry + " skipped: no parameters in [" + key + ".PARAMS]");
        continue;
      }

      try {
        PrepareDatabaseParams(database);
        database->Open();
      } catch (const EDBEngineError& e) {
        // A database that cannot be reached is passed over without a box.
        ReportSkipped(entry + " skipped: cannot open: " + e.Message());
        continue;
      }

      ImportAdvancedForm(form, entry);

      try {
        database->Close();
      } catch (const EDBEngineError&) {
        // The rows are committed table by table already; a failing close loses nothing.
      }
    }
    if (n == 0) ReportSkipped("no database configured: " + NoDatabaseReason(ini, folder));
  }
  Application->Terminate();
}

void TdlImportAdvF::buCancelClick(TObject* /*Sender*/) { Close(); }

void RegisterImportAdvFClasses() {
  RegisterUiClasses();
  RegisterQDataClasses();
  RegisterQBaseModal();
  RegisterClass(TdlImportAdvF::StaticClass());
}
