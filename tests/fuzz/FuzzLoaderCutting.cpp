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

void PlainCut(const std::string& name, std::string& buffer, std::string& inner) {
  inner.clear();
  const size_t a = buffer.find("<" + name + ">");
  const size_t b = buffer.find("<" + name + " ");
  if (a == std::string::npos && b == std::string::npos) return;
  const size_t p = a < b ? a : b;
  const size_t g = buffer.find('>', p);
  if (g == std::string::npos) return;
  const bool empty = buffer[g - 1] == '/';
  buffer.erase(p, g - p + 1);
  if (empty) return;
  const size_t e = buffer.find("</" + name + ">", p);
  if (e == std::string::npos) return;
  buffer.erase(e, buffer.find('>', e) - e + 1);
  inner = buffer.substr(p, e - p);
  buffer.erase(p, e - p);
}

// What the XML reader takes for a comment taken out of a plain string: from "<!-" to the first "->"
// behind it, a "<!-" right behind a comment being text.
std::string WithoutComments(std::string text) {
  for (size_t p = text.find("<!-"); p != std::string::npos;) {
    const size_t close = text.find("->", p + 3);
    if (close == std::string::npos) return text.substr(0, p);
    text.erase(p, close + 2 - p);
    p = text.find("<!-", text.compare(p, 3, "<!-") == 0 ? p + 1 : p);
  }
  return text;
}

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
    std::string plain = WithoutComments(file), plainXml;
    PlainCut("xmltable", plain, plainXml);
    PlainCut("header", plainXml, header);
    size_t t = 0;
    for (std::string table = FirstTagName(plainXml); !table.empty(); table = FirstTagName(plainXml), ++t) {
      const size_t before = plainXml.size();
      std::string content, row;
      PlainCut(table, plainXml, content);
      if (plainXml.size() == before) break;
      Check(t < form.Tables().size() && form.Tables()[t].Name == table);
      TCutForm::TRows rows(form, form.Tables()[t]);
      std::string_view cut;
      for (PlainCut("row", content, row); !row.empty(); PlainCut("row", content, row))
        Check(rows.Next(cut) && cut == row);
      Check(!rows.Next(cut));
    }
    Check(t == form.Tables().size());
  } catch (const Exception&) {
    // A damaged form: its message is all there is to it.
  }
  ConvertValue(file);
  SetDialogService(nullptr);
  return 0;
}
