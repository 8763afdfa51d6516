// Benchmark driver of the advanced form import: writes a generated form and the equivalent INSERT
// script, or imports a form into a database and prints how long the import took. scripts/bench runs it.
//
//   bench_loader generate ROWS FORM.xml INSERTS.sql
//   bench_loader import DATABASE.fdb FORM.xml
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>

#include "formimport/DBLoad.h"
#include "foundation/QData.h"
#include "platform/data/Database.h"
#include "platform/system/Dialogs.h"

namespace {

const char* const Base64Layout = "UVZMAQADZ3JpZDoyeDM78PHy8/T19vf4+fr7/P3+/w==";
// The same bytes in hexadecimal, for the INSERT script.
const char* const HexLayout = "51564c010003677269643a3278333bf0f1f2f3f4f5f6f7f8f9fafbfcfdfeff";

// Every box is answered at once; a box in a benchmark run is reported on the error stream.
class TConsoleDialogs : public TDialogService {
 public:
  int ShowMessageBox(const std::string&, const std::string& text, TMsgDlgType, TMsgDlgButtons, int) override {
    std::cerr << "message: " << text << "\n";
    return mrOk;
  }
  bool OpenFileDialog(TOpenFileRequest&) override { return false; }
  bool BrowseForFolder(TBrowseFolderRequest&) override { return false; }
  void Beep(unsigned) override {}
};

int Generate(long rows, const std::string& formPath, const std::string& sqlPath) {
  const long forms = rows / 20 > 0 ? rows / 20 : 1;
  const long items = forms * 10;
  const long picks = rows - forms - items > 0 ? rows - forms - items : 0;
  std::ofstream form(formPath, std::ios::binary);
  std::ofstream sql(sqlPath, std::ios::binary);
  form
      << "<?xml version=\"1.0\"?>\r\n<xmltable>\r\n  <header>\r\n    <title>Bench</title>\r\n  </header>\r\n";
  form << "  <advform>\r\n";
  for (long f = 1; f <= forms; ++f) {
    const std::string id = std::to_string(f);
    form << "    <row>\r\n      <formid>" << id << "</formid>\r\n      <publishcode>P</publishcode>\r\n"
         << "      <formname>Form " << id
         << " &amp; plan</formname>\r\n      <formversion>3</formversion>\r\n"
         << "      <status>AC</status>\r\n      <category>Bench</category>\r\n"
         << "      <publishdate>20240115</publishdate>\r\n      <reviewdate>20240301093000</reviewdate>\r\n"
         << "      <scorefactor>1.5</scorefactor>\r\n      "
            "<submithlinkfolder>forms/bench</submithlinkfolder>\r\n"
         << "      <instructions>Plain instructions for form " << id << "</instructions>\r\n"
         << "      <layout>" << Base64Layout << "</layout>\r\n    </row>\r\n";
    sql << "INSERT INTO advform (formid, publishcode, formname, formversion, status, category, publishdate,"
           " reviewdate, scorefactor, submithlinkfolder, instructions, layout) VALUES ("
        << id << ", 'P', 'Form " << id
        << " & plan', 3, 'AC', 'Bench', '2024-01-15', '2024-03-01 09:30:00', 1.5,"
        << " 'forms/bench', 'Plain instructions for form " << id << "', x'" << HexLayout << "');\n";
  }
  form << "  </advform>\r\n  <afitem>\r\n";
  for (long i = 0; i < items; ++i) {
    const std::string formId = std::to_string(i / 10 + 1);
    const std::string itemNo = std::to_string(i % 10 + 1);
    form << "    <row>\r\n      <formid>" << formId << "</formid>\r\n      <itemno>" << itemNo
         << "</itemno>\r\n"
         << "      <caption>Item " << itemNo << " of form " << formId << "</caption>\r\n"
         << "      <itemtype>N</itemtype>\r\n      <obscode>OBS" << itemNo << "</obscode>\r\n"
         << "      <lowlimit>0.5</lowlimit>\r\n      <highlimit>250</highlimit>\r\n    </row>\r\n";
    sql << "INSERT INTO afitem (formid, itemno, caption, itemtype, obscode, lowlimit, highlimit) VALUES ("
        << formId << ", " << itemNo << ", 'Item " << itemNo << " of form " << formId << "', 'N', 'OBS"
        << itemNo << "', 0.5, 250);\n";
  }
  form << "  </afitem>\r\n  <afpicklist>\r\n";
  for (long p = 1; p <= picks; ++p) {
    const std::string id = std::to_string(p);
    form << "    <row>\r\n      <pickid>" << id << "</pickid>\r\n      <picktext>Choice " << id
         << "</picktext>\r\n"
         << "      <sortorder>" << p % 30000 << "</sortorder>\r\n      <weight>" << p % 7
         << ".25</weight>\r\n"
         << "      <changed>20240115120000</changed>\r\n    </row>\r\n";
    sql << "INSERT INTO afpicklist (pickid, picktext, sortorder, weight, changed) VALUES (" << id
        << ", 'Choice " << id << "', " << p % 30000 << ", " << p % 7 << ".25, '2024-01-15 12:00:00');\n";
  }
  form << "  </afpicklist>\r\n</xmltable>\r\n";
  sql << "COMMIT;\n";
  if (!form || !sql) {
    std::cerr << "cannot write " << formPath << " or " << sqlPath << "\n";
    return 1;
  }
  std::cout << (forms + items + picks) << "\n";
  return 0;
}

int Import(const std::string& databasePath, const std::string& formPath) {
  TConsoleDialogs dialogs;
  SetDialogService(&dialogs);
  RegisterQDataClasses();
  dmData = NewComponent<TdmData>(nullptr);
  TDatabase& database = *dmData->dbDataBase;
  database.Params().Clear();
  database.Params().Add("SERVER NAME=" + databasePath);
  database.Params().Add("USER NAME=SYSDBA");
  database.Params().Add("PASSWORD=masterkey");
  database.Open();
  const auto start = std::chrono::steady_clock::now();
  const int rows = ImportAdvancedForm(formPath);
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  database.Close();
  delete dmData;
  SetDialogService(nullptr);
  std::printf("rows=%d import_s=%.3f\n", rows, took.count());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  try {
    if (mode == "generate" && argc == 5) return Generate(std::stol(argv[2]), argv[3], argv[4]);
    if (mode == "import" && argc == 4) return Import(argv[2], argv[3]);
  } catch (const std::exception& e) {
    std::cerr << "bench_loader: " << e.what() << "\n";
    return 1;
  }
  std::cerr << "usage: bench_loader generate ROWS FORM.xml INSERTS.sql | import DATABASE.fdb FORM.xml\n";
  return 2;
}
