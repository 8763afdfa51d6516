// The XML file reader: walks one XML file forward, a line and a tag at a time, with a stack of open elements.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/system/Exceptions.h"
#include "platform/system/TextFile.h"

// A format error in the file being read. The message has up to four lines joined by CR LF: "Error",
// the text, "Line n" (when a line has been read) and File "name" (while a file is open).
class EXMLInputError : public Exception {
 public:
  using Exception::Exception;
};

// One name on the tag stack: its own text, or, when it is long, a stretch of a shared copy of the text
// it was read from. Tags that begin inside another tag's name (as in "<a<a<a>") all end where that
// name ends, so their names are stretches of one copy, and a line of them costs memory in proportion
// to its length, not to its length squared.
class TXMLName {
 public:
  TXMLName() = default;
  explicit TXMLName(std::string text) : FOwn(std::move(text)) {}
  TXMLName(std::shared_ptr<const std::string> source, std::size_t offset, std::size_t length)
      : FSource(std::move(source)), FOffset(offset), FLength(length) {}
  std::string_view View() const {
    return FSource ? std::string_view(*FSource).substr(FOffset, FLength) : std::string_view(FOwn);
  }

 private:
  friend class TXMLTagStack;
  std::string FOwn;
  std::shared_ptr<const std::string> FSource;
  std::size_t FOffset = 0;
  std::size_t FLength = 0;
};

// The names of the open elements, outermost first, innermost last. Names of their own are kept one
// after another in one text, which grows and shrinks with the stack; names that share a copy point
// into it and keep it alive.
class TXMLTagStack {
 public:
  int Count() const { return static_cast<int>(FEntries.size()); }
  std::vector<std::string> Lines() const;
  // The innermost name; empty when none is open.
  std::string_view Top() const { return FEntries.empty() ? std::string_view() : View(FEntries.back()); }
  void Push(const TXMLName& name);
  void Pop();
  void Clear();

 private:
  struct TEntry {
    std::shared_ptr<const std::string> Source;  // none: the name stands in FOwnNames
    std::size_t Offset;
    std::size_t Length;
  };
  std::string_view View(const TEntry& entry) const {
    return std::string_view(entry.Source ? *entry.Source : FOwnNames).substr(entry.Offset, entry.Length);
  }
  std::vector<TEntry> FEntries;
  std::string FOwnNames;
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
// - A name of more than 256 characters is shown in a message by its first 256 and "...".
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
  // GetTagName() == name, without copying the current tag's name: a line of many long names costs
  // no more than its length.
  bool TagNameIs(std::string_view name);
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
  const TXMLTagStack& TagStack() const { return FTagStack; }
  const std::string& FileName() const { return FFileName; }
  bool TagOpened() const { return FTagOpened; }
  bool TagClosed() const { return FTagClosed; }

  // The message of an EXMLInputError: "Error", msg, "Line n" when lineNumber > 0 and File "name" when
  // fileName is not empty, joined by CR LF. Others that find a file malformed say it the same way.
  static std::string ErrorText(const std::string& msg, int lineNumber, const std::string& fileName);
  // "</name>" in double quotes, a long name shortened, as the expecting-end-tag message shows it.
  static std::string EndTagText(std::string_view name);

 private:
  // Name: a view of the held text, valid until the held text changes.
  void ReadTag(std::string_view& name);
  std::string RawTagName();
  std::string RawTagValue();
  void ReadLine(std::string& s);
  [[noreturn]] void RaiseError(const std::string& msg) const;
  // Where the current tag's name as RawTagName gives it lies in FLine, [begin, end), and stop, where
  // the name ends before an empty-element tag's "/" is taken off; false when there is none.
  bool HeldTagRange(std::size_t& begin, std::size_t& end, std::size_t& stop);
  // The current tag's name as RawTagName gives it, without copying a long name again and again.
  TXMLName HeldTagName();
  static std::string DecodeEntities(std::string s);

  // FLine holds the held text from FLineStart on; what lies before FLineStart has been consumed.
  // Consuming moves FLineStart instead of shifting the text, so a long line with many tags costs
  // linear time.
  bool HeldEmpty() const { return FLineStart >= FLine.size(); }
  bool HeldStartsWith(std::string_view prefix) const;
  void ReplaceHeld(std::string line);
  void ClearHeld();
  // Forgets every answer remembered about the held text; called whenever it changes.
  void HeldChanged();
  // Position of what in the held text; while there is none, each following line replaces the held
  // text until one holds it. npos when the file ends first.
  std::size_t FindInHeldOrLinesAfter(std::string_view what);
  // Absolute position in FLine where the name of the held tag ends: the first blank when a ">"
  // follows it, else the first ">"; npos when no ">" follows the tag's "<".
  std::size_t TagNameEnd();
  // The first position at or after from in FLine that holds one of the cache's characters. Each
  // cache remembers its last answer, which holds for every start up to that position: the tags of
  // a line are searched from left to right, and a search may run far ahead (to the ">" behind a
  // blank, to the end of a name that other tags begin inside), so without it a line of many tags
  // would be searched again for every one of them.
  struct TFindCache {
    const char* Chars;
    bool Known = false;
    std::size_t From = 0;
    std::size_t At = 0;
  };
  std::size_t FindCached(TFindCache& cache, std::size_t from);
  std::size_t FindClosingBracket(std::size_t from) { return FindCached(FBracket, from); }

  std::string FLine;
  TTextFile FFile;
  std::string FFileName;
  bool FTagClosed = false;
  bool FTagOpened = false;
  bool FInProlog = false;
  int FLineNumber = 0;
  bool FNotOpened = true;
  TXMLTagStack FTagStack;
  bool FFileOpen = false;

  std::size_t FLineStart = 0;
  TFindCache FBracket{">"};
  TFindCache FNameStop{" >"};
  TFindCache FSlash{"/"};
  TFindCache FAmpersand{"&"};
  // The copy that long names of the held text share: FLine from FShareStart up to FShareStop, the
  // end of the name it was made for; empty when there is none for the held text as it is.
  std::shared_ptr<const std::string> FShared;
  std::size_t FShareStart = 0;
  std::size_t FShareStop = 0;
};
