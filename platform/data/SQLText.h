// Reading SQL text as the engine needs it: named parameters to positional ones, and the shape of a
// single-table SELECT that a live query can write back to.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// A statement with its `:name` parameters replaced by `?`. Names[i] is the name (without the colon,
// letters as written) of the i-th `?`. Text inside '...' and "..." literals (both are strings in
// dialect 1) and inside -- and /* */ comments is left alone.
struct TParsedSQL {
  std::string Text;
  std::vector<std::string> Names;
};

TParsedSQL ParseSQLParams(std::string_view sql);

// The parts of `SELECT <list> FROM <table> [<alias>] [WHERE ...] [ORDER BY ...]` that a live query
// needs. Valid is false for anything else (joins, several tables, grouping, unions, DISTINCT, ...).
struct TSelectShape {
  bool Valid = false;
  // The table as written; Alias as written when the FROM clause names one, else empty.
  std::string Table;
  std::string Alias;
  // Offset of the FROM keyword in the text that was read.
  size_t FromOffset = 0;
  // Offset of a select list that is a bare `*`, which admits no further column; npos otherwise.
  size_t StarOffset = std::string_view::npos;
};

TSelectShape ParseSelectShape(std::string_view sql);
