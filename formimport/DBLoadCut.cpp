#include "formimport/DBLoadCut.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

#include "platform/system/TerminationSignals.h"
#include "xmlreader/QuXMLFileIn.h"

size_t FindFrom(std::string_view sub, std::string_view s, size_t from) {
  if (sub.empty() || from < 1) return 0;
  const size_t found = s.find(sub, from - 1);
  return found == std::string_view::npos ? 0 : found + 1;
}

TCutBuffer::TCutBuffer(const std::string& text)
    : FOwned(static_cast<char*>(std::malloc(text.size() + 1))), FText(FOwned.get()), FSize(text.size()) {
  if (!FOwned) throw std::bad_alloc();
  std::memcpy(FText, text.data(), text.size());
}

TCutBuffer::TCutBuffer(TCutBuffer&& other) noexcept { *this = std::move(other); }

TCutBuffer& TCutBuffer::operator=(TCutBuffer&& other) noexcept {
  if (this == &other) return *this;
  FOwned = std::move(other.FOwned);
  FText = std::exchange(other.FText, nullptr);
  FSize = std::exchange(other.FSize, 0);
  FGapStart = std::exchange(other.FGapStart, 0);
  FGapEnd = std::exchange(other.FGapEnd, 0);
  FNoTagBefore = std::exchange(other.FNoTagBefore, 0);
  FClean = std::move(other.FClean);
  other.FClean.clear();
  FLastClean = std::exchange(other.FLastClean, 0);
  return *this;
}

void TCutBuffer::View(char* text, size_t size) {
  FOwned.reset();
  FText = text;
  FSize = size;
  FGapStart = FGapEnd = 0;
  FNoTagBefore = 0;
  // The names stay: one view after another is cut by the same names, row after row.
  for (TClean& clean : FClean) clean.Before = 0;
}

std::string TCutBuffer::Copy(size_t from, size_t to) const {
  std::string result;
  CopyTo(from, to, result);
  return result;
}

void TCutBuffer::CopyTo(size_t from, size_t to, std::string& result) const {
  result.clear();
  if (to <= from) return;
  result.reserve(to - from);
  if (from < FGapStart) result.append(FText + from, std::min(to, FGapStart) - from);
  if (to > FGapStart) {
    const size_t gap = FGapEnd - FGapStart;
    const size_t start = std::max(from, FGapStart);
    result.append(FText + start + gap, to - start);
  }
}

namespace {

// The first index >= from at which the block of size characters holds sub (not empty); npos when none.
// Across a long stretch (a table's end tag) memmem skips ahead. Otherwise each candidate's first
// character is found with memchr and the rest compared in place: these texts are full of "<", and a
// call for each of them costs more than comparing the few characters after it.
size_t SearchBlock(const char* text, size_t size, std::string_view sub, size_t from) {
  if (sub.size() > size || from > size - sub.size()) return TCutBuffer::npos;
  if (size - from > 4096) {
    const void* hit = ::memmem(text + from, size - from, sub.data(), sub.size());
    return hit == nullptr ? TCutBuffer::npos : static_cast<size_t>(static_cast<const char*>(hit) - text);
  }
  const size_t last = size - sub.size();
  while (from <= last) {
    const void* hit = std::memchr(text + from, sub[0], last - from + 1);
    if (hit == nullptr) return TCutBuffer::npos;
    const size_t p = static_cast<size_t>(static_cast<const char*>(hit) - text);
    size_t k = 1;
    while (k < sub.size() && text[p + k] == sub[k]) ++k;
    if (k == sub.size()) return p;
    from = p + 1;
  }
  return TCutBuffer::npos;
}

}  // namespace

size_t TCutBuffer::Find(std::string_view sub, size_t from) const {
  const size_t length = Length();
  if (sub.empty()) return from <= length ? from : npos;
  if (from >= length) return npos;
  if (from < FGapStart) {
    const size_t found = SearchBlock(FText, FGapStart, sub, from);
    if (found != npos) return found;
    // A match that runs across the gap.
    const size_t first = FGapStart >= sub.size() ? std::max(from, FGapStart - sub.size() + 1) : from;
    for (size_t q = first; q < FGapStart && q + sub.size() <= length; ++q) {
      size_t k = 0;
      while (k < sub.size() && At(q + k) == sub[k]) ++k;
      if (k == sub.size()) return q;
    }
    from = FGapStart;
  }
  const size_t found = SearchBlock(FText + FGapEnd, FSize - FGapEnd, sub, from - FGapStart);
  return found == npos ? npos : found + FGapStart;
}

void TCutBuffer::MoveGap(size_t to) {
  if (to > FGapStart) {
    const size_t count = to - FGapStart;
    std::memmove(FText + FGapStart, FText + FGapEnd, count);
    FGapStart += count;
    FGapEnd += count;
  } else if (to < FGapStart) {
    const size_t count = FGapStart - to;
    std::memmove(FText + FGapEnd - count, FText + to, count);
    FGapStart -= count;
    FGapEnd -= count;
  }
}

void TCutBuffer::Delete(size_t from, size_t to) { Remove(from, to); }

char* TCutBuffer::Remove(size_t from, size_t to) {
  to = std::min(to, Length());
  if (to <= from) return FText + FGapEnd;
  // Moving the gap to from leaves everything from there on in one block after the gap; widening the
  // gap over [from, to) leaves those characters where they are.
  MoveGap(from);
  char* removed = FText + FGapEnd;
  FGapEnd += to - from;
  // The text before from is unchanged, but a tag that began shortly before it now reads other characters.
  FNoTagBefore = std::min(FNoTagBefore, from);
  for (TClean& clean : FClean) {
    const size_t reach = clean.Open.size();  // "<", the name and the character after it
    clean.Before = std::min(clean.Before, from >= reach ? from - reach : 0);
  }
  return removed;
}

size_t TCutBuffer::FindStartTag(std::string_view name) {
  // A row's columns are cut in the same order row after row: the name after the last one comes first.
  size_t index = FClean.size();
  for (size_t n = 0; n < FClean.size(); ++n) {
    const size_t i = (FLastClean + 1 + n) % FClean.size();
    if (std::string_view(FClean[i].Open).substr(1) == name) {
      index = i;
      break;
    }
  }
  if (index == FClean.size()) FClean.push_back(TClean{"<" + std::string(name), 0});
  FLastClean = index;
  TClean& clean = FClean[index];
  size_t start = std::max(clean.Before, FNoTagBefore);
  const size_t length = Length();
  for (;;) {
    const size_t p = Find(clean.Open, start);
    if (p == npos) {
      clean.Before = length;
      return npos;
    }
    const size_t after = p + clean.Open.size();
    if (after < length && (At(after) == '>' || At(after) == ' ')) {
      clean.Before = p;
      return p;
    }
    start = p + 1;
  }
}

size_t TCutBuffer::FindFirstTag() {
  const size_t p = Find("<", FNoTagBefore);
  FNoTagBefore = p == npos ? Length() : p;
  return p;
}

namespace {

// The element a cut takes: its start at Start, its content [ContentFrom, ContentTo), its end tag
// ending before End.
struct TElementSpan {
  size_t Start, ContentFrom, ContentTo, End;
};

// Finds the first element of name. When it has no content to give (none found, an empty element, no
// end tag), makes the cut's deletions for that case and gives false.
bool FindElement(const std::string& name, TCutBuffer& buffer, TElementSpan& span) {
  const size_t start = buffer.FindStartTag(name);
  if (start == TCutBuffer::npos) return false;
  // The first ">" from the start on, and the end tag's own: where the name holds none, they stand
  // right after the name when the start tag has nothing else.
  const bool plainName = name.find('>') == std::string::npos;
  const size_t afterName = start + 1 + name.size();
  const size_t close = plainName && buffer.At(afterName) == '>' ? afterName : buffer.Find(">", start);
  if (close == TCutBuffer::npos) return false;
  if (buffer.At(close - 1) == '/') {
    buffer.Delete(start, close + 1);
    return false;
  }
  // The end tag is searched from right after the start tag: the same place the search would start from
  // once the start tag were deleted. Deleting start tag, content and end tag at once leaves the same text.
  const size_t end = buffer.Find("</" + name + ">", close + 1);
  if (end == TCutBuffer::npos) {
    buffer.Delete(start, close + 1);
    return false;
  }
  span = {start, close + 1, end, (plainName ? end + 2 + name.size() : buffer.Find(">", end)) + 1};
  return true;
}

}  // namespace

void CutElement(const std::string& name, TCutBuffer& buffer, std::string& inner) {
  inner.clear();
  TElementSpan span;
  if (!FindElement(name, buffer, span)) return;
  buffer.CopyTo(span.ContentFrom, span.ContentTo, inner);
  buffer.Delete(span.Start, span.End);
}

void CutElement(const std::string& name, TCutBuffer& buffer, TCutBuffer& inner) {
  inner.Clear();
  TElementSpan span;
  if (!FindElement(name, buffer, span)) return;
  char* removed = buffer.Remove(span.Start, span.End);
  inner.View(removed + (span.ContentFrom - span.Start), span.ContentTo - span.ContentFrom);
}

void CutElement(const std::string& name, std::string& buffer, std::string& inner) {
  TCutBuffer cut(buffer);
  CutElement(name, cut, inner);
  buffer = cut.Str();
}

std::string FirstTagName(std::string_view s) {
  const size_t open = s.find('<');
  if (open == std::string_view::npos) return {};
  size_t end = open + 1;
  while (end < s.size() && s[end] != ' ' && s[end] != '>') ++end;
  return std::string(s.substr(open + 1, end - open - 1));
}

std::string FirstTagName(TCutBuffer& s) {
  const size_t open = s.FindFirstTag();
  if (open == TCutBuffer::npos) return {};
  const size_t length = s.Length();
  size_t end = open + 1;
  while (end < length && s.At(end) != ' ' && s.At(end) != '>') ++end;
  return s.Copy(open + 1, end);
}

namespace {

std::string ReplaceAll(const std::string& s, std::string_view from, std::string_view to) {
  size_t found = s.find(from);
  if (found == std::string::npos) return s;
  std::string result;
  result.reserve(s.size());
  size_t done = 0;
  while (found != std::string::npos) {
    result.append(s, done, found - done);
    result.append(to);
    done = found + from.size();
    found = s.find(from, done);
  }
  result.append(s, done, std::string::npos);
  return result;
}

}  // namespace

std::string DecodeXMLEntities(std::string s) {
  // Most values hold neither an entity nor a line break.
  if (s.find_first_of("&\r") == std::string::npos) return s;
  std::string text = ReplaceAll(s, "&lt;", "<");
  text = ReplaceAll(text, "&gt;", ">");
  text = ReplaceAll(text, "&apos;", "'");
  text = ReplaceAll(text, "&quot;", "\"");
  text = ReplaceAll(text, "&amp;", "&");
  // Deleting one pair can bring a carriage return and a line feed together ("\r\r\n\n"); deleting
  // until none is left gives what a line feed cancelling the carriage return just before it gives.
  size_t out = 0;
  for (char c : text) {
    if (c == '\n' && out > 0 && text[out - 1] == '\r') {
      --out;
      continue;
    }
    text[out++] = c;
  }
  text.resize(out);
  return text;
}

namespace {

constexpr size_t npos = std::string::npos;

// The reader's texts for what the cutting finds.
const char* const NoXmlTable = "Expecting start tag:\"<xmltable>\"";
const char* const TagDoesNotFinish = "Tag does not finish on the line it started";
const char* const TagHasNoName = "Tag does not have a name";
const char* const CommentToTheEnd = "Unexpected End Of File in Comment";

std::string ExpectingEndTag(std::string_view name) {
  return "Expecting end tag:" + TXMLFileInput::EndTagText(name);
}

// An end tag, a declaration or a processing instruction among the tables closes nothing and is closed
// by nothing: without an end tag of its name, only its tag is passed over.
bool NeedsNoEndTag(std::string_view name) { return name[0] == '/' || name[0] == '!' || name[0] == '?'; }

}  // namespace

TCutForm::TTag::TTag(std::string name) : Name(std::move(name)), Open("<" + Name), End("</" + Name + ">") {}

const TCutForm::TTag& TCutForm::Row() {
  static const TTag row("row");
  return row;
}

TCutForm::TCutForm(TTextBlock text, size_t size, const std::string& fileName)
    : FBlock(std::move(text)), FText(FBlock.get()), FSize(size), FFileName(fileName) {
  Cut();
}

TCutForm::TCutForm(const std::string& text, const std::string& fileName)
    : FBlock(static_cast<char*>(std::malloc(text.size() + 1))),
      FText(FBlock.get()),
      FSize(text.size()),
      FFileName(fileName) {
  if (!FBlock) throw std::bad_alloc();
  std::memcpy(FText, text.data(), text.size());
  Cut();
}

size_t TCutForm::Find(std::string_view what, size_t from, size_t to) const {
  // A search over a large form goes piece by piece, so that a signal is acted on between them.
  constexpr size_t piece = 8 << 20;
  while (from < to && to - from >= what.size()) {
    const size_t pieceEnd = to - from > piece + what.size() ? from + piece + what.size() - 1 : to;
    const size_t found = SearchBlock(FText, pieceEnd, what, from);
    if (found != npos || pieceEnd == to) return found;
    from = pieceEnd - (what.size() - 1);
    TerminationCheckpoint();
  }
  return npos;
}

bool TCutForm::IsStartTag(const TTag& tag, size_t at, size_t to) const {
  const size_t after = at + tag.Open.size();
  return after < to && std::memcmp(FText + at, tag.Open.data(), tag.Open.size()) == 0 &&
         (FText[after] == '>' || FText[after] == ' ');
}

size_t TCutForm::FindStartTag(const TTag& tag, size_t from, size_t to) const {
  for (size_t p = Find(tag.Open, from, to); p != npos; p = Find(tag.Open, p + 1, to))
    if (IsStartTag(tag, p, to)) return p;
  return npos;
}

size_t TCutForm::StartTagEnd(const TTag& tag, size_t start, size_t to) const {
  const size_t after = start + tag.Open.size();
  return FText[after] == '>' ? after : Find(">", start, to);
}

size_t TCutForm::EndTagOf(const TTag& tag, size_t close, size_t to, size_t around) const {
  const size_t end = Find(tag.End, close + 1, to);
  if (end == npos) Fail(ExpectingEndTag(tag.Name), around);
  // Elements are not counted: a start tag of the same name inside means one of the two lost its end.
  const size_t inner = FindStartTag(tag, close + 1, end);
  if (inner != npos) Fail(ExpectingEndTag(tag.Name), inner);
  return end;
}

int TCutForm::LineAt(size_t at) const {
  // A line ends at each carriage return; the reader counts the lines it has read.
  size_t lines = FTakenLineEnds;
  if (at == npos) {
    lines += static_cast<size_t>(std::count(FText, FText + FSize, '\r')) + (FLastLineOpen ? 1 : 0);
  } else {
    lines = 1 + static_cast<size_t>(std::count(FText, FText + at, '\r'));
    for (const TTakenOut& taken : FTakenOut)
      if (taken.At <= at) lines += taken.LineEnds;
  }
  return lines > INT_MAX ? INT_MAX : static_cast<int>(lines);
}

void TCutForm::Fail(const std::string& msg, size_t at) const {
  throw EXMLInputError(TXMLFileInput::ErrorText(msg, LineAt(at), FFileName));
}

void TCutForm::TakeOut(size_t from, size_t to) {
  const size_t lineEnds = static_cast<size_t>(std::count(FText + from, FText + to, '\r'));
  for (TTakenOut& taken : FTakenOut)
    if (taken.At > from) taken.At = taken.At >= to ? taken.At - (to - from) : from;
  FTakenOut.push_back({from, lineEnds});
  FTakenLineEnds += lineEnds;
  if (from < FSize - to) {
    std::memmove(FText + (to - from), FText, from);
    FText += to - from;
  } else {
    std::memmove(FText + from, FText + to, FSize - to);
  }
  FSize -= to - from;
}

void TCutForm::TakeOutComments() {
  // A "<!-" is found by its "!", which a form holds rarely anywhere else: faster than by its "<".
  const auto findComment = [this](size_t from) {
    for (size_t p = from + 1; p < FSize; ++p) {
      const void* bang = std::memchr(FText + p, '!', FSize - p);
      if (bang == nullptr) break;
      p = static_cast<size_t>(static_cast<const char*>(bang) - FText);
      if (FText[p - 1] == '<' && p + 1 < FSize && FText[p + 1] == '-') return p - 1;
    }
    return npos;
  };
  std::vector<std::pair<size_t, size_t>> comments;
  for (size_t p = findComment(0); p != npos;) {
    TerminationCheckpoint();
    const size_t close = Find("->", p + 3, FSize);
    if (close == npos) {
      comments.push_back({p, FSize});
      FCommentToEnd = true;
      break;
    }
    comments.push_back({p, close + 2});
    size_t next = close + 2;
    // A "<!-" right behind a comment is text to the reader: its next "<" starts a tag.
    if (Find("<!-", next, std::min(next + 3, FSize)) == next) ++next;
    p = findComment(next);
  }
  if (comments.empty()) return;
  // One pass from the first comment on moves each piece of text between them once.
  size_t out = comments[0].first;
  for (size_t i = 0; i < comments.size(); ++i) {
    TerminationCheckpoint();
    const auto [from, to] = comments[i];
    const size_t lineEnds = static_cast<size_t>(std::count(FText + from, FText + to, '\r'));
    FTakenOut.push_back({out, lineEnds});
    FTakenLineEnds += lineEnds;
    const size_t next = i + 1 < comments.size() ? comments[i + 1].first : FSize;
    std::memmove(FText + out, FText + to, next - to);
    out += next - to;
  }
  FSize = out;
}

void TCutForm::Cut() {
  // The reader counts what follows the last line end as one more line, when there is anything.
  const void* lastReturn = ::memrchr(FText, '\r', FSize);
  size_t lastLine = lastReturn ? static_cast<size_t>(static_cast<const char*>(lastReturn) - FText) + 1 : 0;
  if (lastReturn && lastLine < FSize && FText[lastLine] == '\n') ++lastLine;
  FLastLineOpen = lastLine < FSize;

  TakeOutComments();
  const TTag xmlTable("xmltable");
  const size_t start = FindStartTag(xmlTable, 0, FSize);
  const size_t close = start == npos ? npos : StartTagEnd(xmlTable, start, FSize);
  const bool empty = close != npos && FText[close - 1] == '/';
  // A comment that runs to the end of the text has taken the element's end, or all of it, with it.
  if (FCommentToEnd && (close == npos || (!empty && Find(xmlTable.End, close + 1, FSize) == npos)))
    Fail(CommentToTheEnd, npos);
  if (start == npos) Fail(NoXmlTable, npos);
  if (close == npos) Fail(TagDoesNotFinish, start);
  if (empty) return;
  size_t end = EndTagOf(xmlTable, close, FSize, npos);

  const TTag header("header");
  const size_t headerStart = FindStartTag(header, close + 1, end);
  if (headerStart != npos) {
    const size_t headerClose = StartTagEnd(header, headerStart, end);
    if (headerClose == npos) Fail(TagDoesNotFinish, headerStart);
    const size_t headerEnd = FText[headerClose - 1] == '/'
                                 ? headerClose + 1
                                 : EndTagOf(header, headerClose, end, end) + header.End.size();
    TakeOut(headerStart, headerEnd);
    end -= headerEnd - headerStart;
  }
  CutTables(close + 1, end);
}

void TCutForm::CutTables(size_t from, size_t to) {
  // Each table is cut at the first "<" that is left, so what stood before it never holds a tag: the
  // tables lie one after another, as the cuts would leave them.
  for (size_t p = from;;) {
    TerminationCheckpoint();
    const size_t open = Find("<", p, to);
    if (open == npos) return;
    const size_t bracket = Find(">", open, to);
    if (bracket == npos) Fail(TagDoesNotFinish, open);
    size_t nameEnd = open + 1;
    while (FText[nameEnd] != ' ' && FText[nameEnd] != '>') ++nameEnd;
    if (nameEnd == open + 1) Fail(TagHasNoName, open);
    const TTag tag(std::string(FText + open + 1, nameEnd - open - 1));
    const size_t close = FText[nameEnd] == '>' ? nameEnd : bracket;
    FTables.push_back(TFormTable{tag.Name});
    if (FText[close - 1] == '/' || (NeedsNoEndTag(tag.Name) && Find(tag.End, close + 1, to) == npos)) {
      p = close + 1;
      continue;
    }
    const size_t end = EndTagOf(tag, close, to, to);
    FTables.back().From = close + 1;
    FTables.back().Size = end - close - 1;
    // The check's walk of the rows; the import's walks find the same.
    TRows rows(*this, FTables.back());
    for (std::string_view row; rows.Next(row);) {
    }
    p = end + tag.End.size();
  }
}

TCutForm::TRows::TRows(const TCutForm& form, const TFormTable& table)
    : FForm(form), FPos(table.From), FTo(table.From + table.Size) {
  FStart = FForm.FindStartTag(Row(), FPos, FTo);
}

bool TCutForm::TRows::Next(std::string_view& content) {
  const TTag& row = Row();
  if (FEnded) return false;
  TerminationCheckpoint();
  const char* text = FForm.FText;
  // What stood before a cut row stays in front of what follows it, so a tag begun there ("<ro" before
  // a row, "w>" behind it) would be read as a start tag: a tag that does not finish where it begins.
  // Only the last characters kept can begin one.
  for (size_t i = 0; i < FKeptCount; ++i) {
    if (FKept[i] != '<') continue;
    std::string joined(FKept + i, FKeptCount - i);
    joined.append(text + FPos, std::min(FTo - FPos, row.Open.size() + 1));
    if (joined.compare(0, row.Open.size(), row.Open) == 0 && joined.size() > row.Open.size() &&
        (joined[row.Open.size()] == '>' || joined[row.Open.size()] == ' '))
      FForm.Fail(TagDoesNotFinish, FKeptAt[i]);
  }
  FEnded = true;
  if (FStart == npos) return false;
  const size_t close = FForm.StartTagEnd(row, FStart, FTo);
  if (close == npos) FForm.Fail(TagDoesNotFinish, FStart);
  if (text[close - 1] == '/') return false;  // an empty row ends the rows
  // The row's end tag, tag by tag: a row's start tag before it means that this row lost its end.
  size_t end = close + 1;
  for (;; ++end) {
    const void* tag = std::memchr(text + end, '<', FTo - end);
    if (tag == nullptr) FForm.Fail(ExpectingEndTag(row.Name), FTo);
    end = static_cast<size_t>(static_cast<const char*>(tag) - text);
    if (FTo - end >= row.End.size() && std::memcmp(text + end, row.End.data(), row.End.size()) == 0) break;
    if (FForm.IsStartTag(row, end, FTo)) FForm.Fail(ExpectingEndTag(row.Name), end);
  }
  if (end == close + 1) return false;
  content = std::string_view(text + close + 1, end - close - 1);

  const size_t added = std::min(FStart - FPos, KeptSize);
  const size_t stays = std::min(FKeptCount, KeptSize - added);
  std::memmove(FKept, FKept + FKeptCount - stays, stays);
  std::memmove(FKeptAt, FKeptAt + FKeptCount - stays, stays * sizeof FKeptAt[0]);
  for (size_t i = 0; i < added; ++i) {
    FKept[stays + i] = text[FStart - added + i];
    FKeptAt[stays + i] = FStart - added + i;
  }
  FKeptCount = stays + added;
  FPos = end + row.End.size();
  FStart = FForm.FindStartTag(row, FPos, FTo);
  FEnded = false;
  return true;
}
