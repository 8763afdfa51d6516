// fuzz-links: formimport
// fuzz-seeds: tests/data/forms
// Feeds arbitrary bytes to the loader's cutting of a form file and to its value conversions, and checks
// the fast cut against plain deletion on a copy of the same text, and the form cut once against the
// plain cuts one after another, whenever it takes the form as whole.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "formimport/DBLoadConvert.h"
#include "formimport/DBLoadCut.h"
#include "platform/system/Dialogs.h"
#include "platform/system/Exceptions.h"
#include "tests/formimport/PlainCutting.h"

namespace {

// Warnings of invalid Base64 characters are answered at once.
class TSilentDialogs : public TDialogService {
 public:
  int ShowMessageBox(const std::string&, const std::string&, TMsgDlgType, TMsgDlgButtons, int) override {
    return mrOk;
  }
  bool OpenFileDialog(TOpenFileRequest&) override { return false; }
  bool BrowseForFolder(TBrowseFolderRequest&) override { return false; }
  void Beep(unsigned) override {}
};

void Check(bool condition) {
  if (!condition) std::abort();
}

void ConvertValue(std::string value) {
  (void)ParseNumber(value);
  (void)ParseInteger(value);
  (void)NumberText(value);
  (void)ParseTimestamp(value);
  std::string blob;
  SetBlobSource(value);
  DecodeBlob(blob);
  Check(blob.size() <= value.size());
  std::string text = value;
  UnescapeText(text);
  Check(text.size() <= value.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static TSilentDialogs dialogs;
  SetDialogService(&dialogs);
  const std::string file(reinterpret_cast<const char*>(data), size);

  std::string fileText = file, xml;
  CutElement("xmltable", fileText, xml);
  std::string header;
  TCutBuffer tables(xml);
  std::string plainTables = xml;
  CutElement("header", tables, header);
  PlainCut("header", plainTables, header);

  const char* columns[] = {"k", "name", "value", "row", "header"};
  int guard = 0;
  for (std::string table = FirstTagName(tables); !table.empty() && guard < 10000;
       table = FirstTagName(tables)) {
    ++guard;
    Check(table == FirstTagName(plainTables));
    const size_t before = tables.Length();
    // Tables and rows are cut in place, as the loader cuts them.
    TCutBuffer rows;
    std::string plainTableText;
    CutElement(table, tables, rows);
    PlainCut(table, plainTables, plainTableText);
    Check(rows.Str() == plainTableText && tables.Str() == plainTables);
    if (tables.Length() == before) break;  // a start tag without ">": nothing more can be cut
    TCutBuffer row;
    for (CutElement("row", rows, row); !row.Empty(); CutElement("row", rows, row)) {
      for (const char* column : columns) {
        std::string value;
        CutElement(column, row, value);
        ConvertValue(DecodeXMLEntities(value));
      }
    }
    Check(tables.Str() == plainTables);
  }

  try {
    const TCutForm form(file, "fuzz.xml");
    Check(FormTables(form) == PlainTables(file));
  } catch (const Exception&) {
    // A damaged form: its message is all there is to it.
  }
  ConvertValue(file);
  SetDialogService(nullptr);
  return 0;
}
