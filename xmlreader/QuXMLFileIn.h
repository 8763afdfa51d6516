// The XML file reader: walks one XML file forward, a line and a tag at a time, with a stack of open elements.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/system/Exceptions.h"
#include "platform/system/StringList.h"
#include "platform/system/TextFile.h"

// A format error in the file being read. The message has up to four lines joined by CR LF: "Error",
// the text, "Line n" (when a line has been read) and File "name" (while a file is open).
class EXMLInputError : public Exception {
 public:
  using Exception::Exception;
};

// A strict, line-oriented reader, not a general XML parser: tags are found by their angle brackets,
// comments are skipped, attributes are never parsed, and five entities are decoded in names and text.
// The file is read sequentially and never held whole: the reader keeps the rest of the current line
// and, after GetTagValue, the element text up to the next tag.
//
// Calling order: Open; ReadRoot (or SkipElement, which reads the root itself); then any sequence of
// NextChildTag, SkipElement, GetTagName, GetTagValue and EndOfFile; then Close. A closed reader may
// be opened again. After an error the caller abandons the walk and closes or destroys the reader.
//
// Choices of this reader where its callers make no demands:
// - EndOfFile is true while no file is open, before the first Open and after Close alike.
// - An end tag that comes when no element is open (after the root's end tag) raises
//   "No element open for end tag:" followed by the tag in double quotes.
// - GetTagValue with no held text (before the first tag, or once the end of the file has been found)
//   yields empty and reads nothing.
// - Comments inside element text are all removed, also when the text ends on the file's last line.
class TXMLFileInput {
 public:
  TXMLFileInput();
  // Closes a file that is still open.
  virtual ~TXMLFileInput();
  TXMLFileInput(const TXMLFileInput&) = delete;
  TXMLFileInput& operator=(const TXMLFileInput&) = delete;

  // Opens a file and starts reading at its prolog. Raises EXMLInputError "A file is currently open"
  // when one is (that file stays open), and EInOutError when the file cannot be opened.
  void Open(const std::string& fileName);
  void Close();
  // True when a step has found no further tag and the file has no more text.
  bool EndOfFile();

  // The current tag's name with entities decoded ("/name" for an end tag); empty while no file is open.
  std::string GetTagName();
  // The current element's text up to the next tag, entities decoded, lines joined by CR LF and
  // comments removed; empty for a closed tag and while no file is open. Asking again yields the same.
  std::string GetTagValue();

  // Reads past the prolog to the root tag and enters it: Name receives its name as written. Does
  // nothing once the root has been read.
  void ReadRoot(std::string& name);
  // Steps into the current element: to its first child tag, or to its own end tag when it has no
  // child elements. Does nothing on a closed tag (end tag, empty-element tag, the root just read).
  void NextChildTag();
  // Steps over the current element to the tag behind it; after a closed tag, to the next tag.
  void SkipElement();

  // Read-only views of the reading state.
  int LineNumber() const { return FLineNumber; }
  const TStringList& TagStack() const { return FTagStack; }
  const std::string& FileName() const { return FFileName; }
  bool TagOpened() const { return FTagOpened; }
  bool TagClosed() const { return FTagClosed; }

 private:
  void ReadTag(std::string& name);
  std::string RawTagName();
  std::string RawTagValue();
  void ReadLine(std::string& s);
  [[noreturn]] void RaiseError(const std::string& msg) const;
  static std::string DecodeEntities(std::string s);

  // FLine holds the held text from FLineStart on; what lies before FLineStart has been consumed.
  // Consuming moves FLineStart instead of shifting the text, so a long line with many tags costs
  // linear time.
  bool HeldEmpty() const { return FLineStart >= FLine.size(); }
  bool HeldStartsWith(std::string_view prefix) const;
  void ReplaceHeld(std::string line);
  void ClearHeld();
  // Position of what in the held text; while there is none, each following line replaces the held
  // text until one holds it. npos when the file ends first.
  std::size_t FindInHeldOrLinesAfter(std::string_view what);
  // Absolute position in FLine where the name of the held tag ends: the first blank when a ">"
  // follows it, else the first ">"; npos when no ">" follows the tag's "<".
  std::size_t TagNameEnd();
  // First ">" at or after from; remembers its last answer, since after a blank the search for a
  // ">" may run far ahead and would otherwise be repeated for every tag of the line.
  std::size_t FindClosingBracket(std::size_t from);
  std::string InnermostName() const;
  static std::string EndTagText(const std::string& name);

  std::string FLine;
  TTextFile FFile;
  std::string FFileName;
  bool FTagClosed = false;
  bool FTagOpened = false;
  bool FInProlog = false;
  int FLineNumber = 0;
  bool FNotOpened = true;
  TStringList FTagStack;
  bool FFileOpen = false;

  std::size_t FLineStart = 0;
  std::size_t FBracketFrom = 0;
  std::size_t FBracketAt = 0;
  bool FBracketKnown = false;
};
