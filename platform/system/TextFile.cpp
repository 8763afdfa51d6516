#include "platform/system/TextFile.h"

#include <cstring>
#include <utility>

#include "platform/system/TerminationSignals.h"

namespace {

constexpr char CarriageReturn = '\r';
constexpr char LineFeed = '\n';

}  // namespace

std::size_t TextLength(const char* bytes, std::size_t size) {
  const void* end = std::memchr(bytes, EndOfText, size);
  return end ? static_cast<std::size_t>(static_cast<const char*>(end) - bytes) : size;
}

std::size_t ByteOrderMarkLength(std::string_view text) {
  constexpr std::string_view mark = "\xEF\xBB\xBF";
  return text.starts_with(mark) ? mark.size() : 0;
}

TTextFile::TTextFile() = default;

TTextFile::~TTextFile() = default;

TTextFile::TTextFile(TTextFile&& other) noexcept
    : FFile(std::move(other.FFile)),
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
    FFile = std::move(other.FFile);
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

void TTextFile::Open(const std::string& fileName) {
  FFileName.clear();
  FPos = FEnd = 0;
  FPhysicalEnd = FTextEnded = false;
  FFile.Open(fileName);
  FFileName = fileName;
}

void TTextFile::Close() {
  if (!FFile.IsOpen()) return;
  FFileName.clear();
  FPos = FEnd = 0;
  FPhysicalEnd = FTextEnded = false;
  FFile.Close();
}

bool TTextFile::Fill() {
  if (FPhysicalEnd) return false;
  // A long file is read here block by block: a signal need not wait for its end.
  TerminationCheckpoint();
  if (!FBuffer) FBuffer = std::make_unique<char[]>(BufferSize);
  const std::size_t count = FFile.Read(FBuffer.get(), BufferSize);
  FPos = 0;
  FEnd = count;
  if (count == 0) FPhysicalEnd = true;
  return count > 0;
}

bool TTextFile::Eof() {
  FFile.RequireOpen();
  if (FTextEnded) return true;
  if (FPos == FEnd && !Fill()) {
    FTextEnded = true;
    return true;
  }
  if (FBuffer[FPos] == EndOfText) FTextEnded = true;
  return FTextEnded;
}

std::string TTextFile::ReadLine() {
  FFile.RequireOpen();
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
