#include "xmlreader/QuXMLFileIn.h"

#include <climits>
#include <cstring>
#include <utility>

#include "platform/system/TerminationSignals.h"

namespace {

constexpr std::size_t npos = std::string::npos;
const char* const LineBreak = "\r\n";
// Names up to this length are copied onto the tag stack; longer ones share a copy of their text.
constexpr std::size_t OwnNameLength = 64;
// Longer names are shown shortened in messages: a box with a name of megabytes helps nobody.
constexpr std::size_t MessageNameLength = 256;

// Replaces every occurrence of entity by replacement, again and again until none is left, in one
// pass: an occurrence can only appear anew as the end of what has been written so far, because no
// entity begins with a part of its own end.
std::string ReplaceRepeatedly(std::string s, std::string_view entity, char replacement) {
  if (s.find(entity) == npos) return s;
  std::string out;
  out.reserve(s.size());
  for (const char c : s) {
    out.push_back(c);
    if (out.size() >= entity.size() && std::string_view(out).substr(out.size() - entity.size()) == entity) {
      out.resize(out.size() - entity.size());
      out.push_back(replacement);
    }
  }
  return out;
}

}  // namespace

std::vector<std::string> TXMLTagStack::Lines() const {
  std::vector<std::string> lines;
  lines.reserve(FEntries.size());
  for (const TEntry& entry : FEntries) lines.emplace_back(View(entry));
  return lines;
}

void TXMLTagStack::Push(const TXMLName& name) {
  if (name.FSource) {
    FEntries.push_back({name.FSource, name.FOffset, name.FLength});
  } else {
    FEntries.push_back({nullptr, FOwnNames.size(), name.FOwn.size()});
    FOwnNames += name.FOwn;
  }
}

void TXMLTagStack::Pop() {
  const TEntry& entry = FEntries.back();
  if (!entry.Source) FOwnNames.resize(entry.Offset);
  FEntries.pop_back();
}

void TXMLTagStack::Clear() {
  FEntries.clear();
  FOwnNames.clear();
}

TXMLFileInput::TXMLFileInput() = default;

TXMLFileInput::~TXMLFileInput() {
  if (FFileOpen) {
    try {
      Close();
    } catch (const EInOutError&) {
      // A destructor must not throw; the handle is released all the same.
    }
  }
}

std::string TXMLFileInput::ErrorText(const std::string& msg, int lineNumber, const std::string& fileName) {
  std::string message = "Error";
  message += LineBreak;
  message += msg;
  if (lineNumber > 0) {
    message += LineBreak;
    message += "Line " + std::to_string(lineNumber);
  }
  if (!fileName.empty()) {
    message += LineBreak;
    message += "File \"" + fileName + "\"";
  }
  return message;
}

void TXMLFileInput::RaiseError(const std::string& msg) const {
  throw EXMLInputError(ErrorText(msg, FLineNumber, FFileName));
}

std::string TXMLFileInput::EndTagText(std::string_view name) {
  std::string shown(name.substr(0, MessageNameLength));
  if (name.size() > MessageNameLength) shown += "...";
  return "\"</" + shown + ">\"";
}

void TXMLFileInput::ReadLine(std::string& s) {
  s = FFile.ReadLine();
  // Saturates rather than overflows on a file of more than two thousand million lines.
  if (FLineNumber < INT_MAX) ++FLineNumber;
}

bool TXMLFileInput::HeldStartsWith(std::string_view prefix) const {
  return FLine.size() - FLineStart >= prefix.size() && FLine.compare(FLineStart, prefix.size(), prefix) == 0;
}

void TXMLFileInput::ReplaceHeld(std::string line) {
  FLine = std::move(line);
  FLineStart = 0;
  HeldChanged();
}

void TXMLFileInput::HeldChanged() {
  FBracket.Known = false;
  FNameStop.Known = false;
  FSlash.Known = false;
  FAmpersand.Known = false;
  FShared.reset();
}

void TXMLFileInput::ClearHeld() { ReplaceHeld(std::string()); }

std::size_t TXMLFileInput::FindInHeldOrLinesAfter(std::string_view what) {
  std::size_t at = FLine.find(what, FLineStart);
  while (at == npos && !FFile.Eof()) {
    std::string line;
    ReadLine(line);
    ReplaceHeld(std::move(line));
    at = FLine.find(what);
  }
  return at;
}

std::size_t TXMLFileInput::FindCached(TFindCache& cache, std::size_t from) {
  if (from >= FLine.size()) return npos;
  if (!cache.Known || (cache.At != npos && from > cache.At)) {
    cache.At = FLine.find_first_of(cache.Chars, from);
    cache.From = from;
    cache.Known = true;
  } else if (from < cache.From) {
    // Only the stretch in front of the last search is new.
    const std::size_t at = std::string_view(FLine).substr(from, cache.From - from).find_first_of(cache.Chars);
    if (at != npos) cache.At = from + at;
    cache.From = from;
  }
  return cache.At;
}

std::size_t TXMLFileInput::TagNameEnd() {
  const std::size_t stop = FindCached(FNameStop, FLineStart);
  if (stop == npos) return npos;
  if (FLine[stop] == '>') return stop;
  // A blank ends the name only when a ">" follows somewhere on the line.
  return FindClosingBracket(stop) == npos ? npos : stop;
}

void TXMLFileInput::Open(const std::string& fileName) {
  if (FFileOpen) RaiseError("A file is currently open");
  FFileName.clear();
  FFile.Open(fileName);
  FFileOpen = true;
  FFileName = fileName;
  ClearHeld();
  FTagClosed = false;
  FTagOpened = false;
  FInProlog = true;
  FLineNumber = 0;
  FNotOpened = false;
  FTagStack.Clear();
}

void TXMLFileInput::Close() {
  FFileName.clear();
  ClearHeld();
  FTagClosed = false;
  FInProlog = false;
  FFileOpen = false;
  FTagStack.Clear();
  // The reader's state is cleared first, so that a failure to close leaves no half-open reader.
  FFile.Close();
}

bool TXMLFileInput::EndOfFile() {
  if (FNotOpened || !FFileOpen) return true;
  return HeldEmpty() && FFile.Eof();
}

bool TXMLFileInput::HeldTagRange(std::size_t& begin, std::size_t& end, std::size_t& stop) {
  if (HeldEmpty()) return false;
  stop = TagNameEnd();
  if (stop == npos) return false;
  end = stop;
  if (FTagOpened && FTagClosed && end > 0) --end;
  begin = FLineStart + 1;
  return end > begin;
}

TXMLName TXMLFileInput::HeldTagName() {
  std::size_t begin, end, stop;
  if (!HeldTagRange(begin, end, stop)) return TXMLName();
  if (end - begin <= OwnNameLength) return TXMLName(FLine.substr(begin, end - begin));
  if (!FShared || FShareStop != stop || begin < FShareStart) {
    FShared = std::make_shared<const std::string>(FLine, begin, stop - begin);
    FShareStart = begin;
    FShareStop = stop;
  }
  return TXMLName(FShared, begin - FShareStart, end - begin);
}

void TXMLFileInput::ReadTag(std::string_view& name) {
  // A form held on one long line is walked tag by tag without a read: a signal need not wait for it.
  TerminationCheckpoint();
  name = std::string_view();
  if (HeldStartsWith("<")) ++FLineStart;
  for (;;) {
    // Search: text before the next tag is dropped.
    const std::size_t open = FindInHeldOrLinesAfter("<");
    if (open == npos) {
      ClearHeld();
      return;
    }
    FLineStart = open;
    if (!HeldStartsWith("<!-")) break;

    // A comment runs from "<!-" to the first "->" behind it, over any number of lines.
    FLineStart += 3;
    const std::size_t close = FindInHeldOrLinesAfter("->");
    if (close == npos) {
      ClearHeld();
      name = std::string_view();
      RaiseError("Unexpected End Of File in Comment");
    }
    FLineStart = close + 2;
    // A comment right behind this one is searched as text: only a "<" inside it starts a tag.
    if (HeldStartsWith("<!-")) ++FLineStart;
  }

  const std::size_t end = TagNameEnd();
  if (end == npos) RaiseError("Tag does not finish on the line it started");
  const std::size_t begin = FLineStart + 1;
  name = std::string_view(FLine).substr(begin, end - begin);
  if (name.empty()) RaiseError("Tag does not have a name");

  FTagOpened = false;
  FTagClosed = false;
  if (FInProlog) return;

  if (name[0] == '/') {
    name.remove_prefix(1);
    FTagClosed = true;
    if (FTagStack.Count() == 0) RaiseError("No element open for end tag:" + EndTagText(name));
    if (name != FTagStack.Top()) RaiseError("Expecting end tag:" + EndTagText(FTagStack.Top()));
    FTagStack.Pop();
  } else if (FindCached(FSlash, begin) == end - 1) {
    // The first "/" of the name is its last character: an empty-element tag.
    name.remove_suffix(1);
    FTagClosed = true;
    FTagOpened = true;
  } else {
    FTagOpened = true;
    FTagStack.Push(HeldTagName());
  }
}

std::string TXMLFileInput::RawTagName() {
  std::size_t begin, end, stop;
  return HeldTagRange(begin, end, stop) ? FLine.substr(begin, end - begin) : std::string();
}

std::string TXMLFileInput::RawTagValue() {
  if (FTagClosed || HeldEmpty()) return std::string();

  // T is the held text behind the current tag's "<". Comments are cut out of it by gathering the
  // pieces between them in kept (which begins with that "<"), so that each byte is moved once.
  std::string kept;
  std::size_t pieceStart = FLineStart;
  std::size_t scan = FLineStart + 1;
  std::size_t open;  // the "<" that ends the text; it keeps its place when the pieces are put back
  for (;;) {
    open = FLine.find('<', scan);
    while (open == npos && !FFile.Eof()) {
      scan = FLine.size();
      std::string line;
      ReadLine(line);
      FLine += LineBreak;
      FLine += line;
      HeldChanged();
      open = FLine.find('<', scan);
    }
    if (open == npos) break;  // the text runs to the end of the file
    if (FLine.compare(open, 3, "<!-") != 0) break;

    // The comment's "->" may share the hyphen of its "<!-".
    std::size_t close = FLine.find("->", open + 1);
    if (close == npos) {
      // Only the line that ends the comment is kept; the lines inside it are dropped.
      std::string line;
      bool anyRead = false;
      while (!FFile.Eof()) {
        ReadLine(line);
        anyRead = true;
        if (line.find("->") != npos) break;
      }
      if (anyRead) {
        FLine += line;
        HeldChanged();
        close = FLine.find("->", open + 1);
      }
      if (close == npos) {
        ClearHeld();
        RaiseError("Unexpected End Of File");
      }
    }
    kept.append(FLine, pieceStart, open - pieceStart);
    pieceStart = close + 2;
    scan = pieceStart;
  }

  if (!kept.empty()) {
    // The pieces are shorter than the stretch they came from: put them right before the rest.
    const std::size_t newStart = pieceStart - kept.size();
    std::memcpy(&FLine[newStart], kept.data(), kept.size());
    FLineStart = newStart;
    HeldChanged();
  }

  const std::size_t textFrom = FLineStart + 1;
  const std::size_t bracket = FindClosingBracket(textFrom);
  const std::size_t begin = bracket == npos ? textFrom : bracket + 1;
  const std::size_t end = open == npos ? FLine.size() : open;
  return end > begin ? FLine.substr(begin, end - begin) : std::string();
}

std::string TXMLFileInput::DecodeEntities(std::string s) {
  if (s.find('&') == npos) return s;
  // "&amp;" first and over and over, so that "&amp;lt;" ends as "<".
  s = ReplaceRepeatedly(std::move(s), "&amp;", '&');
  s = ReplaceRepeatedly(std::move(s), "&lt;", '<');
  s = ReplaceRepeatedly(std::move(s), "&gt;", '>');
  s = ReplaceRepeatedly(std::move(s), "&quot;", '"');
  s = ReplaceRepeatedly(std::move(s), "&apos;", '\'');
  return s;
}

std::string TXMLFileInput::GetTagName() {
  if (!FFileOpen) return std::string();
  return DecodeEntities(RawTagName());
}

bool TXMLFileInput::TagNameIs(std::string_view name) {
  // Decoding keeps an "&" or turns it, with what follows, into one of these characters: a name
  // without them is the decoded name only when it is the name as written.
  if (!FFileOpen || name.find_first_of("&<>\"'") != npos) return GetTagName() == name;
  std::size_t begin, end, stop;
  if (!HeldTagRange(begin, end, stop)) return name.empty();
  if (FindCached(FAmpersand, begin) < end) return false;
  return std::string_view(FLine).substr(begin, end - begin) == name;
}

std::string TXMLFileInput::GetTagValue() {
  if (!FFileOpen) return std::string();
  return DecodeEntities(RawTagValue());
}

void TXMLFileInput::ReadRoot(std::string& name) {
  if (!FInProlog) return;
  ClearHeld();
  name.clear();
  // Declarations, the document type, comments and names of one character are passed over.
  std::string_view tag;
  do {
    ReadTag(tag);
  } while (!EndOfFile() && (tag.size() < 2 || tag[0] == '!' || tag[0] == '?'));
  name.assign(tag);
  if (EndOfFile()) RaiseError("No XML Header");
  FTagStack.Push(TXMLName(GetTagName()));
  FInProlog = false;
  FTagClosed = true;
}

void TXMLFileInput::NextChildTag() {
  if (EndOfFile()) RaiseError("End of XML file");
  if (FInProlog || FTagStack.Count() == 0) RaiseError("Cannot have a child tag at root level");
  if (FTagClosed) return;
  const TXMLName currentName = HeldTagName();
  std::string_view name;
  ReadTag(name);
  if (HeldEmpty()) RaiseError("Expecting end tag:" + EndTagText(FTagStack.Top()));
  if (FTagClosed && !FTagOpened && name != currentName.View())
    RaiseError("Tag out of place:" + EndTagText(name));
}

void TXMLFileInput::SkipElement() {
  if (EndOfFile()) RaiseError("End of XML file");
  if (FInProlog) {
    std::string root;
    ReadRoot(root);
  }
  std::string_view name;
  if (FTagClosed) {
    ReadTag(name);
    if (HeldEmpty() && FTagStack.Count() > 0)
      RaiseError(std::string("Unexpected End Of File") + LineBreak +
                 "Expecting end tag:" + EndTagText(FTagStack.Top()));
    return;
  }
  const int depth = FTagStack.Count();
  do {
    ReadTag(name);
  } while (FTagStack.Count() >= depth && !EndOfFile());
  if (FTagStack.Count() >= depth) RaiseError("Expecting end tag:" + EndTagText(FTagStack.Top()));
  // Onto the tag behind the element; the end of the file here is no error.
  ReadTag(name);
}
