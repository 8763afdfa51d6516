#include "platform/data/SQLText.h"

#include "platform/system/AnsiStrings.h"

namespace {

bool IsNameChar(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '$';
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }

// Length of the literal or comment that starts at pos, or 0 when none starts there. An unclosed
// one runs to the end of the text.
size_t SkipLiteralOrComment(std::string_view sql, size_t pos) {
  const char c = sql[pos];
  if (c == '\'' || c == '"') {
    size_t i = pos + 1;
    while (i < sql.size()) {
      if (sql[i] == c) {
        if (i + 1 < sql.size() && sql[i + 1] == c) {
          i += 2;  // a doubled quote stands for one quote inside the literal
          continue;
        }
        return i + 1 - pos;
      }
      ++i;
    }
    return sql.size() - pos;
  }
  if (c == '-' && pos + 1 < sql.size() && sql[pos + 1] == '-') {
    const size_t end = sql.find('\n', pos);
    return (end == std::string_view::npos ? sql.size() : end) - pos;
  }
  if (c == '/' && pos + 1 < sql.size() && sql[pos + 1] == '*') {
    const size_t end = sql.find("*/", pos + 2);
    return (end == std::string_view::npos ? sql.size() : end + 2) - pos;
  }
  return 0;
}

// A word or one punctuation character of the text at depth 0 of parentheses.
struct TToken {
  std::string Text;
  size_t Offset = 0;
  bool IsWord = false;
  int Depth = 0;
};

std::vector<TToken> Tokenize(std::string_view sql) {
  std::vector<TToken> tokens;
  int depth = 0;
  size_t i = 0;
  while (i < sql.size()) {
    const char c = sql[i];
    if (IsBlank(c)) {
      ++i;
      continue;
    }
    if (const size_t skip = SkipLiteralOrComment(sql, i)) {
      if (c == '\'' || c == '"') tokens.push_back({std::string(sql.substr(i, skip)), i, false, depth});
      i += skip;
      continue;
    }
    if (IsNameChar(c)) {
      size_t end = i;
      while (end < sql.size() && IsNameChar(sql[end])) ++end;
      tokens.push_back({std::string(sql.substr(i, end - i)), i, true, depth});
      i = end;
      continue;
    }
    if (c == '(') ++depth;
    tokens.push_back({std::string(1, c), i, false, depth});
    if (c == ')') --depth;
    ++i;
  }
  return tokens;
}

bool IsWord(const TToken& token, std::string_view word) { return token.IsWord && SameText(token.Text, word); }

bool IsPlainName(const TToken& token) {
  return token.IsWord && !token.Text.empty() && !(token.Text[0] >= '0' && token.Text[0] <= '9');
}

}  // namespace

TParsedSQL ParseSQLParams(std::string_view sql) {
  TParsedSQL parsed;
  parsed.Text.reserve(sql.size());
  size_t i = 0;
  while (i < sql.size()) {
    if (const size_t skip = SkipLiteralOrComment(sql, i)) {
      parsed.Text.append(sql.substr(i, skip));
      i += skip;
      continue;
    }
    if (sql[i] == ':' && i + 1 < sql.size() && IsNameChar(sql[i + 1]) && !(i > 0 && sql[i - 1] == ':')) {
      size_t end = i + 1;
      while (end < sql.size() && IsNameChar(sql[end])) ++end;
      parsed.Names.emplace_back(sql.substr(i + 1, end - i - 1));
      parsed.Text += '?';
      i = end;
      continue;
    }
    parsed.Text += sql[i];
    ++i;
  }
  return parsed;
}

TSelectShape ParseSelectShape(std::string_view sql) {
  TSelectShape shape;
  const std::vector<TToken> tokens = Tokenize(sql);
  if (tokens.empty() || !IsWord(tokens[0], "SELECT")) return shape;
  if (tokens.size() > 1 &&
      (IsWord(tokens[1], "DISTINCT") || IsWord(tokens[1], "FIRST") || IsWord(tokens[1], "SKIP")))
    return shape;
  size_t from = 0;
  for (size_t t = 1; t < tokens.size(); ++t) {
    if (tokens[t].Depth == 0 && IsWord(tokens[t], "FROM")) {
      from = t;
      break;
    }
  }
  if (from < 2 || from + 1 >= tokens.size() || !IsPlainName(tokens[from + 1])) return shape;
  size_t next = from + 2;
  std::string alias;
  static constexpr std::string_view kClauseWords[] = {"WHERE", "ORDER", "PLAN", "ROWS", "FOR"};
  auto isClause = [&](const TToken& token) {
    for (std::string_view word : kClauseWords)
      if (IsWord(token, word)) return true;
    return false;
  };
  if (next < tokens.size() && IsWord(tokens[next], "AS")) ++next;
  if (next < tokens.size() && IsPlainName(tokens[next]) && !isClause(tokens[next]) &&
      !IsWord(tokens[next], "JOIN") && !IsWord(tokens[next], "LEFT") && !IsWord(tokens[next], "RIGHT") &&
      !IsWord(tokens[next], "INNER") && !IsWord(tokens[next], "FULL") && !IsWord(tokens[next], "CROSS") &&
      !IsWord(tokens[next], "NATURAL") && !IsWord(tokens[next], "GROUP") && !IsWord(tokens[next], "HAVING") &&
      !IsWord(tokens[next], "UNION")) {
    alias = tokens[next].Text;
    ++next;
  }
  if (next < tokens.size() && !isClause(tokens[next])) return shape;
  // Grouping or a union anywhere at the top level makes rows that no single table row stands behind.
  for (size_t t = next; t < tokens.size(); ++t) {
    if (tokens[t].Depth != 0) continue;
    if (IsWord(tokens[t], "GROUP") || IsWord(tokens[t], "HAVING") || IsWord(tokens[t], "UNION") ||
        IsWord(tokens[t], "JOIN"))
      return shape;
  }
  shape.Valid = true;
  shape.Table = tokens[from + 1].Text;
  shape.Alias = alias;
  shape.FromOffset = tokens[from].Offset;
  if (from == 2 && tokens[1].Text == "*") shape.StarOffset = tokens[1].Offset;
  return shape;
}
