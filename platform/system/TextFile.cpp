#include "platform/system/TextFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

#include "platform/system/Exceptions.h"

namespace {

constexpr char CarriageReturn = '\r';
constexpr char LineFeed = '\n';
constexpr char EndOfText = 26;  // Ctrl-Z

std::string SystemErrorText(int errorCode) {
  char buffer[256];
  // The GNU variant returns the text, which need not be in buffer.
  return strerror_r(errorCode, buffer, sizeof buffer);
}

EInOutError SystemError(const char* what, const std::string& fileName, int errorCode) {
  return EInOutError(std::string(what) + " \"" + fileName + "\": " + SystemErrorText(errorCode) + " (error " +
                         std::to_string(errorCode) + ")",
                     errorCode);
}

}  // namespace

TTextFile::TTextFile() = default;

TTextFile::~TTextFile() {
  if (FHandle >= 0) ::close(FHandle);
}

TTextFile::TTextFile(TTextFile&& other) noexcept
    : FHandle(std::exchange(other.FHandle, -1)),
      FFileName(std::move(other.FFileName)),
      FBuffer(std::move(other.FBuffer)),
      FPos(std::exchange(other.FPos, 0)),
      FEnd(std::exchange(other.FEnd, 0)),
      FPhysicalEnd(std::exchange(other.FPhysicalEnd, false)),
      FTextEnded(std::exchange(other.FTextEnded, false)) {
  other.FFileName.clear();
}

TTextFile& TTextFile::operator=(TTextFile&& other) noexcept {
  if (this != &other) {
    if (FHandle >= 0) ::close(FHandle);
    FHandle = std::exchange(other.FHandle, -1);
    FFileName = std::move(other.FFileName);
    other.FFileName.clear();
    FBuffer = std::move(other.FBuffer);
    FPos = std::exchange(other.FPos, 0);
    FEnd = std::exchange(other.FEnd, 0);
    FPhysicalEnd = std::exchange(other.FPhysicalEnd, false);
    FTextEnded = std::exchange(other.FTextEnded, false);
  }
  return *this;
}

void TTextFile::RequireOpen() const {
  if (FHandle < 0) throw EInOutError("File not open", EBADF);
}

void TTextFile::Open(const std::string& fileName) {
  if (FHandle >= 0) {
    ::close(FHandle);
    FHandle = -1;
  }
  FFileName.clear();
  FPos = FEnd = 0;
  FPhysicalEnd = FTextEnded = false;

  int handle;
  do {
    handle = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC);
  } while (handle < 0 && errno == EINTR);
  if (handle < 0) throw SystemError("Cannot open file", fileName, errno);
  struct stat info;
  int errorCode = 0;
  if (::fstat(handle, &info) != 0)
    errorCode = errno;
  else if (S_ISDIR(info.st_mode))
    errorCode = EISDIR;
  if (errorCode != 0) {
    ::close(handle);
    throw SystemError("Cannot open file", fileName, errorCode);
  }
  FHandle = handle;
  FFileName = fileName;
}

void TTextFile::Close() {
  if (FHandle < 0) return;
  const int handle = std::exchange(FHandle, -1);
  const std::string fileName = std::exchange(FFileName, std::string());
  FPos = FEnd = 0;
  FPhysicalEnd = FTextEnded = false;
  // Whatever close reports, the handle is gone: retrying could close someone else's file.
  if (::close(handle) != 0 && errno != EINTR) throw SystemError("Cannot close file", fileName, errno);
}

bool TTextFile::Fill() {
  if (FPhysicalEnd) return false;
  if (!FBuffer) FBuffer = std::make_unique<char[]>(BufferSize);
  ssize_t count;
  do {
    count = ::read(FHandle, FBuffer.get(), BufferSize);
  } while (count < 0 && errno == EINTR);
  if (count < 0) throw SystemError("Cannot read file", FFileName, errno);
  FPos = 0;
  FEnd = static_cast<std::size_t>(count);
  if (count == 0) FPhysicalEnd = true;
  return count > 0;
}

bool TTextFile::Eof() {
  RequireOpen();
  if (FTextEnded) return true;
  if (FPos == FEnd && !Fill()) {
    FTextEnded = true;
    return true;
  }
  if (FBuffer[FPos] == EndOfText) FTextEnded = true;
  return FTextEnded;
}

std::string TTextFile::ReadLine() {
  RequireOpen();
  std::string line;
  if (FTextEnded) return line;
  for (;;) {
    if (FPos == FEnd && !Fill()) {
      FTextEnded = true;
      return line;
    }
    const char* begin = FBuffer.get() + FPos;
    const char* end = FBuffer.get() + FEnd;
    const char* stop = begin;
    while (stop != end && *stop != CarriageReturn && *stop != EndOfText) ++stop;
    line.append(begin, stop);
    FPos += static_cast<std::size_t>(stop - begin);
    if (stop == end) continue;
    if (*stop == EndOfText) {
      FTextEnded = true;
      return line;
    }
    ++FPos;  // the CR
    // An LF right after the CR belongs to this line end, also when it starts the next block.
    if (FPos == FEnd && !Fill()) return line;
    if (FBuffer[FPos] == LineFeed) ++FPos;
    return line;
  }
}
