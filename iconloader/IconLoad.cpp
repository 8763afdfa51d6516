#include "iconloader/IconLoad.h"

#include <algorithm>
#include <filesystem>
#include <string_view>

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
#include "platform/system/RunReport.h"
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

// The length of the UTF-8 character that begins at pos: 0 where none does (a stray or overlong byte, an
// encoded surrogate, a value above U+10FFFF, a character cut short).
size_t Utf8CharacterLength(std::string_view text, size_t pos) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(pos);
  if (lead < 0x80) return 1;
  size_t length = 0;
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (pos + length > text.size()) return 0;
  if (byte(pos + 1) < low || byte(pos + 1) > high) return 0;
  for (size_t i = pos + 2; i < pos + length; ++i)
    if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
  return length;
}

// The key a bitmap is stored under: its name without the last four characters, cut to the key's 15
// places; letters keep their case. A UTF-8 name loses whole characters only, since half of one would
// make a key that is no text and that names differing after it share; any other name is cut as bytes.
std::string IconKeyOf(const std::string& fileName) {
  if (fileName.size() <= ExtensionLength) return std::string();
  const std::string_view stem = std::string_view(fileName).substr(0, fileName.size() - ExtensionLength);
  size_t cut = 0;
  for (size_t pos = 0; pos < stem.size();) {
    const size_t length = Utf8CharacterLength(stem, pos);
    if (length == 0) return std::string(stem.substr(0, std::min(stem.size(), IconKeyLength)));
    pos += length;
    if (pos <= IconKeyLength) cut = pos;
  }
  return std::string(stem.substr(0, cut));
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
  const std::string entry = SelectedEntry();
  if (!DirectoryExists(folder)) {
    ReportSkipped(entry + " skipped: folder \"" + folder + "\" not found");
    return;
  }

  std::string buffer;
  const std::string prefix = IncludeTrailingPathDelimiter(folder);
  int bitmaps = 0;
  int existingKeys = 0;
  // Bitmaps the table refused for any other reason, with the first refusal.
  int refused = 0;
  std::string firstRefusal;
  // The directory's own order; a listing that fails part way ends there.
  std::error_code error;
  std::filesystem::directory_iterator it(folder, error);
  if (error) {
    ReportSkipped(entry + " skipped: folder \"" + folder + "\" cannot be listed: " + error.message());
    return;
  }
  for (const std::filesystem::directory_iterator end; !error && it != end; it.increment(error)) {
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
    ++bitmaps;
    try {
      quBlob->ExecSQL();
    } catch (const EDBEngineError& e) {
      // A row the table refuses (a duplicate key, a missing table) is skipped without a box; a
      // database that cannot take rows at all (a full disk, a lost connection) ends the load.
      if (!e.IsRowRefusal()) throw;
      if (e.IsDuplicateKey()) {
        ++existingKeys;
      } else if (refused++ == 0) {
        firstRefusal = e.Message();
      }
    } catch (const std::exception& e) {
      // Nor does any other failure of the insert stop the load.
      if (refused++ == 0) firstRefusal = e.what();
    }
  }
  if (error) {
    ReportSkipped(entry + ": folder \"" + folder + "\" listed only in part: " + error.message());
  }
  if (refused > 0) {
    ReportSkipped(entry + ": " + IntToStr(refused) + " of " + IntToStr(bitmaps) +
                  " icons not stored: " + firstRefusal);
  }
  // Loading a folder again is ordinary: said, but not counted as a skip.
  if (existingKeys > 0) {
    ReportNote(entry + ": " + IntToStr(existingKeys) + " of " + IntToStr(bitmaps) +
               " icons not stored, their key exists");
  }
}

std::string TfmLoadImages::SelectedEntry() const {
  const int index = cbDatabase->ItemIndex();
  return "DB" + IntToStr(index) + " \"" + cbDatabase->Items()[index] + "\"";
}

void RegisterIconLoaderClasses() {
  RegisterUiClasses();
  RegisterDataClasses();
  RegisterQDBSelectCombo();
  RegisterClass(TfmLoadImages::StaticClass());
}
