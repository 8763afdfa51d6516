#include "platform/system/FileRead.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>
#include <utility>

#include "platform/system/TerminationSignals.h"

namespace {

// A whole file is read in pieces of this size, with a checkpoint between them, so that a signal does
// not wait for the read of a file of a gigabyte.
constexpr std::size_t ReadPiece = 4 << 20;

// A block for a whole file. A large one asks for huge pages: where each fresh page costs a fault (in a
// virtual machine above all), filling a large file's 4 KiB pages costs several times reading it.
TTextBlock NewBlock(std::size_t size) {
  constexpr std::size_t HugePage = 2 << 20;
  TTextBlock block;
  if (size < HugePage) {
    block.reset(static_cast<char*>(std::malloc(size + 1)));
  } else {
    const std::size_t rounded = (size + HugePage - 1) / HugePage * HugePage;
    block.reset(static_cast<char*>(std::aligned_alloc(HugePage, rounded)));
    if (block) ::madvise(block.get(), rounded, MADV_HUGEPAGE);
  }
  if (!block) throw std::bad_alloc();
  return block;
}

}  // namespace

std::string InOutErrorText(int errorCode) {
  switch (errorCode) {
    case ENOENT:
      return "File not found";
    case ENOTDIR:
      return "Path not found";
    case EACCES:
    case EPERM:
    case EISDIR:
      return "File access denied";
    case EMFILE:
    case ENFILE:
      return "Too many open files";
    case EBADF:
      return "File not open";
    default: {
      char buffer[256];
      // The GNU variant returns the text, which need not be in buffer.
      return strerror_r(errorCode, buffer, sizeof buffer);
    }
  }
}

EInOutError InOutError(int errorCode) { return EInOutError(InOutErrorText(errorCode), errorCode); }

TFileReader::~TFileReader() {
  if (FHandle >= 0) ::close(FHandle);
}

TFileReader::TFileReader(TFileReader&& other) noexcept : FHandle(std::exchange(other.FHandle, -1)) {}

TFileReader& TFileReader::operator=(TFileReader&& other) noexcept {
  if (this != &other) {
    if (FHandle >= 0) ::close(FHandle);
    FHandle = std::exchange(other.FHandle, -1);
  }
  return *this;
}

void TFileReader::Open(const std::string& fileName) {
  if (FHandle >= 0) ::close(std::exchange(FHandle, -1));
  int handle;
  do {
    handle = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC);
  } while (handle < 0 && errno == EINTR);
  if (handle < 0) throw InOutError(errno);
  struct stat info;
  int errorCode = 0;
  if (::fstat(handle, &info) != 0)
    errorCode = errno;
  else if (S_ISDIR(info.st_mode))
    errorCode = EISDIR;
  if (errorCode != 0) {
    ::close(handle);
    throw InOutError(errorCode);
  }
  FHandle = handle;
}

void TFileReader::Close() {
  if (FHandle < 0) return;
  // Whatever close reports, the handle is gone: retrying could close someone else's file.
  if (::close(std::exchange(FHandle, -1)) != 0 && errno != EINTR) throw InOutError(errno);
}

void TFileReader::RequireOpen() const {
  if (FHandle < 0) throw InOutError(EBADF);
}

std::size_t TFileReader::Read(char* buffer, std::size_t count) {
  RequireOpen();
  ssize_t got;
  do {
    got = ::read(FHandle, buffer, count);
  } while (got < 0 && errno == EINTR);
  if (got < 0) throw InOutError(errno);
  return static_cast<std::size_t>(got);
}

std::size_t TFileReader::ReadFull(char* buffer, std::size_t count) {
  std::size_t done = 0;
  while (done < count) {
    const std::size_t got = Read(buffer + done, std::min(count - done, ReadPiece));
    if (got == 0) break;  // the file became shorter while it was read
    done += got;
    TerminationCheckpoint();
  }
  return done;
}

std::size_t TFileReader::FileSize() const {
  RequireOpen();
  struct stat info;
  if (::fstat(FHandle, &info) != 0) throw InOutError(errno);
  return static_cast<std::size_t>(info.st_size);
}

TTextBlock TFileReader::ReadBlock(std::size_t& size) {
  const std::size_t fileSize = FileSize();
  TTextBlock block = NewBlock(fileSize);
  size = ReadFull(block.get(), fileSize);
  return block;
}

void TFileReader::ReadInto(std::string& buffer) {
  buffer.resize(FileSize());
  buffer.resize(ReadFull(buffer.data(), buffer.size()));
}
