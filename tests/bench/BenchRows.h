// The rows of the bench's generated advanced form, made in one place so that the form, the INSERT
// script and the client-API loader all carry the same values.
#pragma once

#include <string>
#include <vector>

enum TBenchKind { bkInteger, bkText, bkNumber, bkTimestamp, bkBytes };

struct TBenchValue {
  const char* Column;
  TBenchKind Kind;
  std::string Text;   // a number's decimal text, the text itself, or a blob's bytes
  int Stamp[6] = {};  // a timestamp's year, month, day, hour, minute and second
};

struct TBenchRow {
  const char* Table;
  std::vector<TBenchValue> Values;
};

// How many rows each table gets for a bench of about `rows` rows.
struct TBenchCounts {
  long Forms, Items, Picks;
};

inline TBenchCounts BenchCounts(long rows) {
  const long forms = rows / 20 > 0 ? rows / 20 : 1;
  const long items = forms * 10;
  const long picks = rows - forms - items > 0 ? rows - forms - items : 0;
  return {forms, items, picks};
}

// A form's layout: bytes that are no text, as the publisher sends them in Base64.
inline const std::string& BenchLayout() {
  static const std::string bytes(
      "QVL\x01\x00\x03grid:2x3;\xf0\xf1\xf2\xf3\xf4\xf5\xf6\xf7\xf8\xf9\xfa\xfb\xfc\xfd\xfe\xff", 31);
  return bytes;
}

// Calls emit(row) for every row, table by table: advform, afitem, afpicklist. One row object per
// table is refilled for each call, so that making the rows costs next to nothing.
template <class Emit>
void ForEachBenchRow(long rows, Emit&& emit) {
  const TBenchCounts counts = BenchCounts(rows);
  TBenchRow form{"advform",
                 {{"formid", bkInteger, ""},
                  {"publishcode", bkText, "P"},
                  {"formname", bkText, ""},
                  {"formversion", bkInteger, "3"},
                  {"status", bkText, "AC"},
                  {"category", bkText, "Bench"},
                  {"publishdate", bkTimestamp, "", {2024, 1, 15, 0, 0, 0}},
                  {"reviewdate", bkTimestamp, "", {2024, 3, 1, 9, 30, 0}},
                  {"scorefactor", bkNumber, "1.5"},
                  {"submithlinkfolder", bkText, "forms/bench"},
                  {"instructions", bkText, ""},
                  {"layout", bkBytes, BenchLayout()}}};
  for (long f = 1; f <= counts.Forms; ++f) {
    const std::string id = std::to_string(f);
    form.Values[0].Text = id;
    form.Values[2].Text = "Form " + id + " & plan";
    form.Values[10].Text = "Plain instructions for form " + id;
    emit(form);
  }
  TBenchRow item{"afitem",
                 {{"formid", bkInteger, ""},
                  {"itemno", bkInteger, ""},
                  {"caption", bkText, ""},
                  {"itemtype", bkText, "N"},
                  {"obscode", bkText, ""},
                  {"lowlimit", bkNumber, "0.5"},
                  {"highlimit", bkNumber, "250"}}};
  for (long i = 0; i < counts.Items; ++i) {
    const std::string formId = std::to_string(i / 10 + 1);
    const std::string itemNo = std::to_string(i % 10 + 1);
    item.Values[0].Text = formId;
    item.Values[1].Text = itemNo;
    item.Values[2].Text = "Item " + itemNo + " of form " + formId;
    item.Values[4].Text = "OBS" + itemNo;
    emit(item);
  }
  TBenchRow pick{"afpicklist",
                 {{"pickid", bkInteger, ""},
                  {"picktext", bkText, ""},
                  {"sortorder", bkInteger, ""},
                  {"weight", bkNumber, ""},
                  {"changed", bkTimestamp, "", {2024, 1, 15, 12, 0, 0}}}};
  for (long p = 1; p <= counts.Picks; ++p) {
    const std::string id = std::to_string(p);
    pick.Values[0].Text = id;
    pick.Values[1].Text = "Choice " + id;
    pick.Values[2].Text = std::to_string(p % 30000);
    pick.Values[3].Text = std::to_string(p % 7) + ".25";
    emit(pick);
  }
}
