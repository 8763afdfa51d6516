// Writes the bench's generated advanced form and the equivalent INSERT script, and prints how many
// rows they hold. scripts/bench runs it.
//
//   bench_loader generate ROWS FORM.xml INSERTS.sql
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>

#include "tests/bench/BenchRows.h"

namespace {

std::string XmlText(const std::string& text) {
  std::string result;
  for (char c : text) {
    switch (c) {
      case '&':
        result += "&amp;";
        break;
      case '<':
        result += "&lt;";
        break;
      case '>':
        result += "&gt;";
        break;
      default:
        result += c;
    }
  }
  return result;
}

std::string Base64(const std::string& bytes) {
  static const char* const alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string result;
  for (size_t i = 0; i < bytes.size(); i += 3) {
    unsigned chunk = static_cast<unsigned char>(bytes[i]) << 16;
    if (i + 1 < bytes.size()) chunk |= static_cast<unsigned char>(bytes[i + 1]) << 8;
    if (i + 2 < bytes.size()) chunk |= static_cast<unsigned char>(bytes[i + 2]);
    result += alphabet[(chunk >> 18) & 63];
    result += alphabet[(chunk >> 12) & 63];
    result += i + 1 < bytes.size() ? alphabet[(chunk >> 6) & 63] : '=';
    result += i + 2 < bytes.size() ? alphabet[chunk & 63] : '=';
  }
  return result;
}

// The form's text of a value: yyyymmdd, with hhnnss only when the time is not midnight.
std::string FormValue(const TBenchValue& value) {
  char stamp[32];
  switch (value.Kind) {
    case bkTimestamp: {
      const int* s = value.Stamp;
      if (s[3] == 0 && s[4] == 0 && s[5] == 0)
        std::snprintf(stamp, sizeof stamp, "%04d%02d%02d", s[0], s[1], s[2]);
      else
        std::snprintf(stamp, sizeof stamp, "%04d%02d%02d%02d%02d%02d", s[0], s[1], s[2], s[3], s[4], s[5]);
      return stamp;
    }
    case bkBytes:
      return Base64(value.Text);
    case bkText:
      return XmlText(value.Text);
    default:
      return value.Text;
  }
}

std::string SqlValue(const TBenchValue& value) {
  switch (value.Kind) {
    case bkTimestamp: {
      const int* s = value.Stamp;
      char stamp[32];
      std::snprintf(stamp, sizeof stamp, "'%04d-%02d-%02d %02d:%02d:%02d'", s[0], s[1], s[2], s[3], s[4],
                    s[5]);
      return stamp;
    }
    case bkBytes: {
      std::string hex = "x'";
      for (unsigned char c : value.Text) {
        char digits[3];
        std::snprintf(digits, sizeof digits, "%02x", c);
        hex += digits;
      }
      return hex + "'";
    }
    case bkText: {
      std::string quoted = "'";
      for (char c : value.Text) quoted += c == '\'' ? std::string("''") : std::string(1, c);
      return quoted + "'";
    }
    default:
      return value.Text;
  }
}

int Generate(long rows, const std::string& formPath, const std::string& sqlPath) {
  std::ofstream form(formPath, std::ios::binary);
  std::ofstream sql(sqlPath, std::ios::binary);
  form
      << "<?xml version=\"1.0\"?>\r\n<xmltable>\r\n  <header>\r\n    <title>Bench</title>\r\n  </header>\r\n";
  std::string table;
  long count = 0;
  ForEachBenchRow(rows, [&](const TBenchRow& row) {
    if (table != row.Table) {
      if (!table.empty()) form << "  </" << table << ">\r\n";
      table = row.Table;
      form << "  <" << table << ">\r\n";
    }
    form << "    <row>\r\n";
    std::string columns, values;
    for (const TBenchValue& value : row.Values) {
      form << "      <" << value.Column << ">" << FormValue(value) << "</" << value.Column << ">\r\n";
      columns += (columns.empty() ? "" : ", ") + std::string(value.Column);
      values += (values.empty() ? "" : ", ") + SqlValue(value);
    }
    form << "    </row>\r\n";
    sql << "INSERT INTO " << row.Table << " (" << columns << ") VALUES (" << values << ");\n";
    ++count;
  });
  if (!table.empty()) form << "  </" << table << ">\r\n";
  form << "</xmltable>\r\n";
  sql << "COMMIT;\n";
  if (!form || !sql) {
    std::cerr << "cannot write " << formPath << " or " << sqlPath << "\n";
    return 1;
  }
  std::cout << count << "\n";
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  try {
    if (mode == "generate" && argc == 5) return Generate(std::stol(argv[2]), argv[3], argv[4]);
  } catch (const std::exception& e) {
    std::cerr << "bench_loader: " << e.what() << "\n";
    return 1;
  }
  std::cerr << "usage: bench_loader generate ROWS FORM.xml INSERTS.sql\n";
  return 2;
}
