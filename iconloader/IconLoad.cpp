#include "iconloader/IconLoad.h"

#include <filesystem>

#include "foundation/QVConnect.h"
#include "iconloader/QUBaseFolder.h"
#include "platform/components/TypeInfo.h"
#include "platform/data/DBErrors.h"
#include "platform/data/DataClasses.h"
#include "platform/system/AnsiStrings.h"
#include "platform/system/CommandLine.h"
#include "platform/system/Dialogs.h"
#include "platform/system/FileRead.h"
#include "platform/system/IniFiles.h"
#include "platform/system/Paths.h"
#include "platform/system/TerminationSignals.h"
#include "platform/ui/UiClasses.h"

extern const char FormResource_IconLoad[];

namespace {

// The configuration file lies this many characters above the program's folder: BIN/ above Loader/.
constexpr size_t LoaderFolderLength = 7;
constexpr size_t IconKeyLength = 15;
constexpr size_t ExtensionLength = 4;

bool HasBitmapExtension(const std::string& name) {
  return name.size() >= ExtensionLength &&
         SameText(std::string_view(name).substr(name.size() - ExtensionLength), ".BMP");
}

// The key a bitmap is stored under: its name without the last four characters, cut to 15; letters
// keep their case.
std::string IconKeyOf(const std::string& fileName) {
  if (fileName.size() <= ExtensionLength) return std::string();
  return fileName.substr(0, std::min(fileName.size() - ExtensionLength, IconKeyLength));
}

}  // namespace

TfmLoadImages* fmLoadImages = nullptr;

const TMetaClass& TfmLoadImages::StaticClass() {
  static const TMetaClass cls = TClassBuilder<TfmLoadImages>("TfmLoadImages")
                                    .Field("PicOpenDialog", &TfmLoadImages::PicOpenDialog)
                                    .Field("paPanel", &TfmLoadImages::paPanel)
                                    .Field("Label2", &TfmLoadImages::Label2)
                                    .Field("Label1", &TfmLoadImages::Label1)
                                    .Field("laSelectIcon", &TfmLoadImages::laSelectIcon)
                                    .Field("edIconFileName", &TfmLoadImages::edIconFileName)
                                    .Field("buSelectIcon", &TfmLoadImages::buSelectIcon)
                                    .Field("paBottom", &TfmLoadImages::paBottom)
                                    .Field("buCheck", &TfmLoadImages::buCheck)
                                    .Field("DbOpenDialog", &TfmLoadImages::DbOpenDialog)
                                    .Field("quBlob", &TfmLoadImages::quBlob)
                                    .Field("dbDatabase", &TfmLoadImages::dbDatabase)
                                    .Field("cbDatabase", &TfmLoadImages::cbDatabase)
                                    .Field("buCheckAll", &TfmLoadImages::buCheckAll)
                                    .Method("buSelectIconClick", &TfmLoadImages::buSelectIconClick)
                                    .Method("FormCreate", &TfmLoadImages::FormCreate)
                                    .Method("FormActivate", &TfmLoadImages::FormActivate)
                                    .Method("buCheckAllClick", &TfmLoadImages::buCheckAllClick)
                                    .Method("buCheckClick", &TfmLoadImages::buCheckClick)
                                    .Resource(FormResource_IconLoad);
  return cls;
}

TfmLoadImages::TfmLoadImages(TComponent* owner) : TForm(owner) {}

std::string FolderArgument() {
  const std::string argument = ParamStr(1);
  return argument.size() >= 2 ? argument : std::string();
}

void TfmLoadImages::FormCreate(TObject*) { FFolderArg = FolderArgument(); }

void TfmLoadImages::FormActivate(TObject*) {
  if (FFolderArg.empty() || FUnattendedStarted) return;
  FUnattendedStarted = true;
  RunUnattended();
}

void TfmLoadImages::RunUnattended() {
  Repaint();
  buCheck->SetEnabled(false);
  buCheckAll->SetEnabled(false);
  buCheckAllClick(this);
  Close();
}

void TfmLoadImages::buSelectIconClick(TObject*) {
  std::string folder;
  if (SelectDirectory("Select Directory of Icons", "", folder)) edIconFileName->SetText(folder);
}

void TfmLoadImages::buCheckClick(TObject*) {
  // The hourglass is never set back: it stays from the first load on.
  Screen->SetCursor(crHourGlass);
  Repaint();
  CloseDatabase();
  if (CheckDatabase()) {
    LoadIconFolder();
    CloseDatabase();
    Repaint();
  }
}

void TfmLoadImages::buCheckAllClick(TObject*) {
  const int count = cbDatabase->Items().Count();
  for (int i = 0; i < count; ++i) {
    cbDatabase->SetItemIndex(i);
    cbDatabase->SetText(cbDatabase->Items()[i]);
    buCheckClick(this);
  }
}

std::string ConnectionErrorText(const std::string& serverLine, const std::string& engineMessage) {
  TStringList lines;
  lines.Add("Cannot Connect to the Database. ");
  lines.Add(serverLine);
  lines.Add("");
  lines.Add("Please ensure: ");
  lines.Add("  (a) Your server is operational ");
  lines.Add("  (b) You have a network connection to the server ");
  lines.Add("  (c) You have chosen the correct database ");
  lines.Add("");
  lines.Add("The Error encountered was \"" + engineMessage + "\"");
  std::string text = lines.Text();
  text.resize(text.size() - 2);  // no line break after the last line
  return text;
}

bool TfmLoadImages::CheckDatabase() {
  const int index = cbDatabase->ItemIndex();
  if (index < 0) {
    MessageDlg("Please select a Database to Check", mtWarning, {mbOK}, 0);
    return false;
  }

  // Not the combo's rule: the file one folder above the program's own (BIN/ above Loader/); a
  // shorter folder leaves the bare name, which is looked for in the current folder.
  const std::string programFolder = LoaderProgramFolder();
  const std::string iniFolder = programFolder.size() > LoaderFolderLength
                                    ? programFolder.substr(0, programFolder.size() - LoaderFolderLength)
                                    : std::string();
  std::string serverName;
  {
    const TIniFile ini(FindPathIgnoringCase(iniFolder + "QV32.INI"));
    serverName = ini.ReadString("DB" + IntToStr(index) + ".PARAMS", "SERVER NAME", "UNKNOWN");
  }
  dbDatabase->Params().Put(0, "SERVER NAME=" + serverName);
  PrepareDatabaseParams(dbDatabase);

  try {
    dbDatabase->Open();
  } catch (const EDBEngineError& e) {
    MessageDlg(ConnectionErrorText(dbDatabase->Params()[0], e.Message()), mtError, {mbOK}, 0);
    return false;
  }
  return true;
}

void TfmLoadImages::CloseDatabase() {
  if (dbDatabase->Connected()) dbDatabase->Close();
}

void TfmLoadImages::LoadIconFolder() {
  if (!FFolderArg.empty()) edIconFileName->SetText(FFolderArg);
  const std::string folder = edIconFileName->Text();
  if (folder.empty()) {
    MessageDlg("Select Icon Folder", mtInformation, {mbOK}, 0);
    edIconFileName->SetFocus();
    CloseDatabase();
    return;
  }

  quBlob->SetDatabaseName(dbDatabase->DatabaseName());
  if (!DirectoryExists(folder)) return;

  std::string buffer;
  const std::string prefix = IncludeTrailingPathDelimiter(folder);
  // The directory's own order; a listing that fails part way simply ends there.
  std::error_code error;
  for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    TerminationCheckpoint();
    const std::string name = it->path().filename().string();
    if (!HasBitmapExtension(name)) continue;
    // Files only, hidden ones too; a folder named like a bitmap is not taken.
    std::error_code typeError;
    if (!std::filesystem::is_regular_file(it->path(), typeError)) continue;

    buffer.clear();
    const std::string path = prefix + name;
    try {
      TFileReader file;
      file.Open(path);
      file.ReadInto(buffer);
      file.Close();
    } catch (const EInOutError& e) {
      // The box that ends the load names the file that stopped it.
      throw EInOutError("Cannot read file \"" + path + "\". " + e.Message(), e.ErrorCode);
    }
    quBlob->ParamByName("ICONKEY").SetAsString(IconKeyOf(name));
    quBlob->ParamByName("ICONBLOB").SetAsBlob(buffer);
    try {
      quBlob->ExecSQL();
    } catch (const EDBEngineError& e) {
      // A row the table refuses (a duplicate key, a missing table) is skipped without a word; a
      // database that cannot take rows at all (a full disk, a lost connection) ends the load.
      if (!e.IsRowRefusal()) throw;
    } catch (const std::exception&) {
      // Nor does any other failure of the insert stop the load.
    }
  }
}

void RegisterIconLoaderClasses() {
  RegisterUiClasses();
  RegisterDataClasses();
  RegisterQDBSelectCombo();
  RegisterClass(TfmLoadImages::StaticClass());
}
