#include "xmlreader/QuXMLFileIn.h"

#include <climits>
#include <cstring>
#include <utility>

namespace {

constexpr std::size_t npos = std::string::npos;
const char* const LineBreak = "\r\n";

// Replaces every occurrence of entity by replacement, again and again until none is left, in one
// pass: an occurrence can only appear anew as the end of what has been written so far, because no
// entity begins with a part of its own end.
std::string ReplaceRepeatedly(const std::string& s, std::string_view entity, char replacement) {
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

void TXMLFileInput::RaiseError(const std::string& msg) const {
  std::string message = "Error";
  message += LineBreak;
  message += msg;
  if (FLineNumber > 0) {
    message += LineBreak;
    message += "Line " + std::to_string(FLineNumber);
  }
  if (!FFileName.empty()) {
    message += LineBreak;
    message += "File \"" + FFileName + "\"";
  }
  throw EXMLInputError(message);
}

std::string TXMLFileInput::EndTagText(const std::string& name) { return "\"</" + name + ">\""; }

std::string TXMLFileInput::InnermostName() const {
  return FTagStack.Count() > 0 ? FTagStack[FTagStack.Count() - 1] : std::string();
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
  FBracketKnown = false;
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

std::size_t TXMLFileInput::FindClosingBracket(std::size_t from) {
  if (!FBracketKnown || from < FBracketFrom || (FBracketAt != npos && from > FBracketAt)) {
    FBracketFrom = from;
    FBracketAt = FLine.find('>', from);
    FBracketKnown = true;
  }
  return FBracketAt;
}

std::size_t TXMLFileInput::TagNameEnd() {
  const std::size_t stop = FLine.find_first_of(" >", FLineStart);
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

void TXMLFileInput::ReadTag(std::string& name) {
  name.clear();
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
      name.clear();
      RaiseError("Unexpected End Of File in Comment");
    }
    FLineStart = close + 2;
    // A comment right behind this one is searched as text: only a "<" inside it starts a tag.
    if (HeldStartsWith("<!-")) ++FLineStart;
  }

  const std::size_t end = TagNameEnd();
  if (end == npos) RaiseError("Tag does not finish on the line it started");
  name.assign(FLine, FLineStart + 1, end - FLineStart - 1);
  if (name.empty()) RaiseError("Tag does not have a name");

  FTagOpened = false;
  FTagClosed = false;
  if (FInProlog) return;

  if (name[0] == '/') {
    name.erase(0, 1);
    FTagClosed = true;
    if (FTagStack.Count() == 0) RaiseError("No element open for end tag:" + EndTagText(name));
    if (name != FTagStack[FTagStack.Count() - 1])
      RaiseError("Expecting end tag:" + EndTagText(FTagStack[FTagStack.Count() - 1]));
    FTagStack.Delete(FTagStack.Count() - 1);
  } else if (name.find('/') == name.size() - 1) {
    name.pop_back();
    FTagClosed = true;
    FTagOpened = true;
  } else {
    FTagOpened = true;
    FTagStack.Add(name);
  }
}

std::string TXMLFileInput::RawTagName() {
  if (HeldEmpty()) return std::string();
  std::size_t end = TagNameEnd();
  if (end == npos) return std::string();
  if (FTagOpened && FTagClosed && end > 0) --end;
  const std::size_t begin = FLineStart + 1;
  return end > begin ? FLine.substr(begin, end - begin) : std::string();
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
      FBracketKnown = false;
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
        FBracketKnown = false;
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
    FBracketKnown = false;
  }

  const std::size_t textFrom = FLineStart + 1;
  const std::size_t bracket = FLine.find('>', textFrom);
  const std::size_t begin = bracket == npos ? textFrom : bracket + 1;
  const std::size_t end = open == npos ? FLine.size() : open;
  return end > begin ? FLine.substr(begin, end - begin) : std::string();
}

std::string TXMLFileInput::DecodeEntities(std::string s) {
  // "&amp;" first and over and over, so that "&amp;lt;" ends as "<".
  s = ReplaceRepeatedly(s, "&amp;", '&');
  s = ReplaceRepeatedly(s, "&lt;", '<');
  s = ReplaceRepeatedly(s, "&gt;", '>');
  s = ReplaceRepeatedly(s, "&quot;", '"');
  s = ReplaceRepeatedly(s, "&apos;", '\'');
  return s;
}

std::string TXMLFileInput::GetTagName() {
  if (!FFileOpen) return std::string();
  return DecodeEntities(RawTagName());
}

std::string TXMLFileInput::GetTagValue() {
  if (!FFileOpen) return std::string();
  return DecodeEntities(RawTagValue());
}

void TXMLFileInput::ReadRoot(std::string& name) {
  if (!FInProlog) return;
  ClearHeld();
  // Declarations, the document type, comments and names of one character are passed over.
  do {
    ReadTag(name);
  } while (!EndOfFile() && (name.size() < 2 || name[0] == '!' || name[0] == '?'));
  if (EndOfFile()) RaiseError("No XML Header");
  FTagStack.Add(GetTagName());
  FInProlog = false;
  FTagClosed = true;
}

void TXMLFileInput::NextChildTag() {
  if (EndOfFile()) RaiseError("End of XML file");
  if (FInProlog || FTagStack.Count() == 0) RaiseError("Cannot have a child tag at root level");
  if (FTagClosed) return;
  const std::string currentName = RawTagName();
  std::string name;
  ReadTag(name);
  if (HeldEmpty()) RaiseError("Expecting end tag:" + EndTagText(InnermostName()));
  if (FTagClosed && !FTagOpened && name != currentName) RaiseError("Tag out of place:" + EndTagText(name));
}

void TXMLFileInput::SkipElement() {
  if (EndOfFile()) RaiseError("End of XML file");
  if (FInProlog) {
    std::string root;
    ReadRoot(root);
  }
  std::string name;
  if (FTagClosed) {
    ReadTag(name);
    if (HeldEmpty() && FTagStack.Count() > 0)
      RaiseError(std::string("Unexpected End Of File") + LineBreak +
                 "Expecting end tag:" + EndTagText(InnermostName()));
    return;
  }
  const int depth = FTagStack.Count();
  do {
    ReadTag(name);
  } while (FTagStack.Count() >= depth && !EndOfFile());
  if (FTagStack.Count() >= depth) RaiseError("Expecting end tag:" + EndTagText(InnermostName()));
  // Onto the tag behind the element; the end of the file here is no error.
  ReadTag(name);
}
