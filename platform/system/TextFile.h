// Text-file input: reads a file line by line through a fixed-size buffer, never holding it whole.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "platform/system/FileRead.h"

// A Ctrl-Z ends a file's text: what follows it is never read as text.
inline constexpr char EndOfText = 26;
// How many bytes of bytes[0, size) are text: those before the first Ctrl-Z, or all of them.
std::size_t TextLength(const char* bytes, std::size_t size);
// Some editors begin a UTF-8 file with a byte-order mark, which is no part of its first line: its
// length when text begins with one, else 0.
std::size_t ByteOrderMarkLength(std::string_view text);

// Lines end at a carriage return (CR); a line feed (LF) right after the CR belongs to that line end,
// while an LF anywhere else is an ordinary character of the line. A Ctrl-Z (code 26) or the physical
// end of the file ends the text: nothing behind a Ctrl-Z is ever read. Line ends are never part of a
// line. Every failure to open, read or close the file raises EInOutError with the message InOutErrorText
// gives and the operating system's error number as its ErrorCode.
class TTextFile {
 public:
  static constexpr std::size_t BufferSize = 64 * 1024;

  TTextFile();
  // Closes a file that is still open, ignoring a failure to close.
  ~TTextFile();
  TTextFile(const TTextFile&) = delete;
  TTextFile& operator=(const TTextFile&) = delete;
  TTextFile(TTextFile&& other) noexcept;
  TTextFile& operator=(TTextFile&& other) noexcept;

  // Opens fileName for reading as text, at its start. A file already open is closed first.
  // A folder is refused like a file that cannot be read.
  void Open(const std::string& fileName);
  // Closes the file; nothing happens when none is open. The file counts as closed afterwards even
  // when the system reports a failure.
  void Close();
  bool IsOpen() const { return FFile.IsOpen(); }
  // The name given to Open while the file is open; empty otherwise.
  const std::string& FileName() const { return FFileName; }

  // True when no more text can be read: the physical end has been reached or the next character
  // is a Ctrl-Z. May read the next block to find out.
  bool Eof();
  // The next line without its line end; empty once the text has ended.
  std::string ReadLine();

 private:
  // Reads the next block; false at the physical end of the file.
  bool Fill();

  TFileReader FFile;
  std::string FFileName;
  std::unique_ptr<char[]> FBuffer;  // made on the first read
  std::size_t FPos = 0;
  std::size_t FEnd = 0;
  bool FPhysicalEnd = false;
  bool FTextEnded = false;
};
