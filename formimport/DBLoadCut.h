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
  TCutBuffer(TTextBlock text, size_t size);
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
