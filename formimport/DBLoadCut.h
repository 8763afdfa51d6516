// The loader's cutting of an advanced form file's text into tables, rows and column values:
// exact, case-sensitive string search, with no XML parsing.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/system/FileRead.h"

// The first position p >= from (positions from 1) at which s holds sub; 0 when there is none.
size_t FindFrom(std::string_view sub, std::string_view s, size_t from);

// A text from which elements are cut one after another. Cutting deletes from the middle of the
// text, where the elements are; this buffer keeps the text before and after the last deletion in one
// block with a gap between them, and remembers how far a search has already found nothing, so that
// cutting every row out of a table costs time in proportion to the table's size.
//
// A buffer owns its text, or is a view of an element's content that a cut left inside another
// buffer's gap (see CutElement): the file is then held once, however deeply it is cut.
class TCutBuffer {
 public:
  TCutBuffer() = default;
  explicit TCutBuffer(const std::string& text);
  TCutBuffer(TCutBuffer&& other) noexcept;
  TCutBuffer& operator=(TCutBuffer&& other) noexcept;
  TCutBuffer(const TCutBuffer&) = delete;
  TCutBuffer& operator=(const TCutBuffer&) = delete;

  size_t Length() const { return FSize - (FGapEnd - FGapStart); }
  bool Empty() const { return Length() == 0; }
  // The character at index (from 0).
  char At(size_t index) const {
    return index < FGapStart ? FText[index] : FText[index + FGapEnd - FGapStart];
  }
  // The text of [from, to) (indices from 0).
  std::string Copy(size_t from, size_t to) const;
  // The same text into result, whose room is used again.
  void CopyTo(size_t from, size_t to, std::string& result) const;
  std::string Str() const { return Copy(0, Length()); }
  // The first index >= from at which the text holds sub; npos when none.
  size_t Find(std::string_view sub, size_t from) const;
  // Deletes [from, to).
  void Delete(size_t from, size_t to);
  // Deletes [from, to) and gives where that text now lies: in one block inside the gap, unchanged
  // until this buffer changes again.
  char* Remove(size_t from, size_t to);
  // Makes this buffer an empty one, or a view of size characters at text, which it does not own.
  void Clear() { View(nullptr, 0); }
  void View(char* text, size_t size);

  // The index of the first start tag of name: "<" name ">" or "<" name " "; npos when none.
  size_t FindStartTag(std::string_view name);
  // The index of the first "<"; npos when none.
  size_t FindFirstTag();

  static constexpr size_t npos = std::string::npos;

 private:
  struct TClean {
    std::string Open;  // "<" and the name
    size_t Before;     // no start tag of the name begins before this index
  };
  void MoveGap(size_t to);
  TTextBlock FOwned;
  char* FText = nullptr;
  size_t FSize = 0;  // of the block, gap included
  size_t FGapStart = 0;
  size_t FGapEnd = 0;
  size_t FNoTagBefore = 0;  // no "<" stands before this index
  std::vector<TClean> FClean;
  size_t FLastClean = 0;  // the entry of FClean that the last search used
};

// Removes the first element of that name from buffer and gives its content (empty when there is none
// or the element is empty). An element without its end tag loses its start tag and gives nothing.
void CutElement(const std::string& name, TCutBuffer& buffer, std::string& inner);
void CutElement(const std::string& name, std::string& buffer, std::string& inner);
// The same cut without copying the content: inner becomes a view of it where the cut left it, in
// buffer's gap. The view holds until buffer is changed again; cutting inside the view never touches
// buffer's own text.
void CutElement(const std::string& name, TCutBuffer& buffer, TCutBuffer& inner);

// The name of the first tag of s: the text from its first "<" up to the next blank or ">" (or the end
// of the text); empty when s has no "<".
std::string FirstTagName(std::string_view s);
std::string FirstTagName(TCutBuffer& s);

// Decodes "&lt;", "&gt;", "&apos;", "&quot;" and "&amp;" (in that order, each a pass of its own) and
// then drops every carriage return and line feed pair, also those that a deletion brings together.
std::string DecodeXMLEntities(std::string s);

// One table element of a cut form: its name as the file writes it, and where its content lies in the
// form's text (none for an empty element).
struct TFormTable {
  std::string Name;
  size_t From = 0;
  size_t Size = 0;
};

// A form file's text cut once into its tables, whose rows are walked (TRows) in place, so that every
// database receives the same rows. The tables and rows are those that CutElement gives when it cuts
// "xmltable" out of the text, "header" out of its content, each table that FirstTagName names and each
// "row" of a table, one after another. The text, which the form owns, does not change once it is cut:
// a walk of a table's rows finds the same rows every time, and keeps nothing per row.
//
// What the XML reader takes for a comment is taken out first: from "<!-" to the first "->" behind it,
// except that a "<!-" right behind a comment starts no comment, as the reader has it.
//
// The whole text is checked on the way, before anything is written. Where the cutting needs an end that
// is not there, EXMLInputError is raised with the reader's message form (the file's name, and the line
// where the element ends: where a start tag of its own name begins inside it, or where the element
// around it ends), and nothing is cut:
// - no "xmltable" element: "Expecting start tag:" and the tag;
// - an "xmltable", "header", table or row element without its end tag, or holding a start tag of its
//   own name: the reader's "Expecting end tag:" text ("</xmltable>" at the end of the text);
// - a tag there whose ">" never comes, or one begun right before a row that the row's cut would
//   join to what follows the row: "Tag does not finish on the line it started";
// - a tag among the tables without a name: "Tag does not have a name";
// - a comment that runs to the end of the text, where the "xmltable" element has not ended before it:
//   "Unexpected End Of File in Comment".
// An empty element needs no end tag, nor do an end tag, a declaration or a processing instruction
// standing among the tables (a name beginning with "/", "!" or "?").
class TCutForm {
 public:
  TCutForm() = default;
  // size: the text's length, up to its first Ctrl-Z. fileName names the file in messages.
  TCutForm(TTextBlock text, size_t size, const std::string& fileName);
  TCutForm(const std::string& text, const std::string& fileName);

  const std::vector<TFormTable>& Tables() const { return FTables; }

  // The rows of one of the form's tables, one after another, up to the first empty row, which ends them.
  // The first walk of each table is the check's, made when the form is cut.
  class TRows {
   public:
    TRows(const TCutForm& form, const TFormTable& table);
    // The next row's content, which stays as long as the form; false once the rows have ended.
    bool Next(std::string_view& row);

   private:
    static constexpr size_t KeptSize = 4;  // "<row"
    const TCutForm& FForm;
    size_t FPos;
    size_t FTo;
    size_t FStart;  // where the next row's start tag stands; npos when none does
    bool FEnded = false;
    // The last characters that stood before the rows cut so far (see Next).
    char FKept[KeptSize];
    size_t FKeptAt[KeptSize];
    size_t FKeptCount = 0;
  };

 private:
  // A stretch taken out of the text: where it stood in the text as it is now, and its line ends.
  struct TTakenOut {
    size_t At;
    size_t LineEnds;
  };
  // An element name with its start tag's beginning ("<" name) and its end tag ("</" name ">").
  struct TTag {
    std::string Name, Open, End;
    explicit TTag(std::string name);
  };
  static const TTag& Row();
  void Cut();
  void TakeOutComments();
  // Takes [from, to) out of the text, moving the shorter side of it.
  void TakeOut(size_t from, size_t to);
  void CutTables(size_t from, size_t to);
  // The first index in [from, to) at which the text holds what; npos when none.
  size_t Find(std::string_view what, size_t from, size_t to) const;
  // The first start tag of the tag's name in [from, to), followed by ">" or a blank before to; npos
  // when none.
  size_t FindStartTag(const TTag& tag, size_t from, size_t to) const;
  // A start tag of the tag's name at at, its ">" or blank before to.
  bool IsStartTag(const TTag& tag, size_t at, size_t to) const;
  // The ">" that ends the start tag at start, before to; npos when none.
  size_t StartTagEnd(const TTag& tag, size_t start, size_t to) const;
  // The end tag of the element whose start tag ends at close, before to. When it has none, or holds a
  // start tag of its own name, raises the expecting-end-tag error there, or at around for a missing end.
  size_t EndTagOf(const TTag& tag, size_t close, size_t to, size_t around) const;
  // at: where in the text the error lies; npos for the end of the text.
  [[noreturn]] void Fail(const std::string& msg, size_t at) const;
  int LineAt(size_t at) const;

  TTextBlock FBlock;
  char* FText = nullptr;
  size_t FSize = 0;
  std::vector<TFormTable> FTables;
  std::string FFileName;
  std::vector<TTakenOut> FTakenOut;
  size_t FTakenLineEnds = 0;
  bool FLastLineOpen = false;  // text follows the last line end: the reader counts one line more
  bool FCommentToEnd = false;
};
