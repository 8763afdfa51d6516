// Reading files as raw bytes, and the one wording of EInOutError that every file operation uses.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <memory>
#include <string>

#include "platform/system/Exceptions.h"

// The message of EInOutError for an operating system error number: the short texts "File not found",
// "Path not found", "File access denied" (also for a folder opened as a file), "Too many open files" and
// "File not open", and the system's own text for any other error.
std::string InOutErrorText(int errorCode);
// EInOutError with that message and errorCode as its ErrorCode.
EInOutError InOutError(int errorCode);

// A block of memory that std::malloc or std::aligned_alloc gave.
struct TFreeBlock {
  void operator()(char* block) const { std::free(block); }
};
using TTextBlock = std::unique_ptr<char[], TFreeBlock>;

// One file opened for reading as raw bytes. Every failure raises EInOutError (see InOutErrorText).
class TFileReader {
 public:
  TFileReader() = default;
  // Closes a file that is still open, ignoring a failure to close.
  ~TFileReader();
  TFileReader(const TFileReader&) = delete;
  TFileReader& operator=(const TFileReader&) = delete;
  TFileReader(TFileReader&& other) noexcept;
  TFileReader& operator=(TFileReader&& other) noexcept;

  // Opens fileName at its start; a file already open is closed first, ignoring a failure to close. A
  // folder is refused like a file that cannot be read.
  void Open(const std::string& fileName);
  // Closes the file; nothing happens when none is open. The file counts as closed afterwards even when
  // the system reports a failure.
  void Close();
  bool IsOpen() const { return FHandle >= 0; }
  // EInOutError "File not open" when no file is open.
  void RequireOpen() const;

  // Reads up to count bytes into buffer and gives how many were read: 0 only at the end of the file.
  std::size_t Read(char* buffer, std::size_t count);
  // Reads the rest of the file (all of it right after Open) into a fresh block allocated for the size
  // the file has when the read begins; a large block asks for huge pages. size receives the bytes
  // read: fewer when the file became shorter meanwhile, never more. It reads in pieces of a few
  // megabytes with a termination checkpoint between them.
  TTextBlock ReadBlock(std::size_t& size);
  // The same into buffer, replacing what it held; the buffer's room serves again.
  void ReadInto(std::string& buffer);

 private:
  std::size_t FileSize() const;
  // Reads until count bytes are in or the file ends, piece by piece; gives how many were read.
  std::size_t ReadFull(char* buffer, std::size_t count);

  int FHandle = -1;
};
