// The loader's cutting as plain deletions on plain strings, step by step: the model that the fast cut
// buffer and the form cut once must equal, shared by the cutting tests and the cutting fuzz target.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "formimport/DBLoadCut.h"

// CutElement on a plain string.
inline void PlainCut(const std::string& name, std::string& buffer, std::string& inner) {
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
inline std::string WithoutComments(std::string text) {
  for (size_t p = text.find("<!-"); p != std::string::npos;) {
    const size_t close = text.find("->", p + 3);
    if (close == std::string::npos) return text.substr(0, p);
    text.erase(p, close + 2 - p);
    p = text.find("<!-", text.compare(p, 3, "<!-") == 0 ? p + 1 : p);
  }
  return text;
}

struct TTableRows {
  std::string Name;
  std::vector<std::string> Rows;
  bool operator==(const TTableRows&) const = default;
};

// A form's tables and rows as the plain cuts give them: one table after another, and the rows of each
// up to the first empty one.
inline std::vector<TTableRows> PlainTables(const std::string& file) {
  std::string text = WithoutComments(file), xml, header;
  PlainCut("xmltable", text, xml);
  PlainCut("header", xml, header);
  std::vector<TTableRows> tables;
  for (std::string name = FirstTagName(xml); !name.empty(); name = FirstTagName(xml)) {
    const size_t before = xml.size();
    std::string content, row;
    PlainCut(name, xml, content);
    if (xml.size() == before) break;
    tables.push_back({name, {}});
    for (PlainCut("row", content, row); !row.empty(); PlainCut("row", content, row))
      tables.back().Rows.push_back(row);
  }
  return tables;
}

// The same of a form cut once.
inline std::vector<TTableRows> FormTables(const TCutForm& form) {
  std::vector<TTableRows> tables;
  for (const TFormTable& table : form.Tables()) {
    tables.push_back({table.Name, {}});
    TCutForm::TRows rows(form, table);
    for (std::string_view row; rows.Next(row);) tables.back().Rows.emplace_back(row);
  }
  return tables;
}
