#include "tests/support/UnreadableFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

std::string UnreadableFile() {
  const std::string path = "/sys/bus/pci/rescan";
  const int probe = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  const int probeError = errno;
  if (probe >= 0) {
    ::close(probe);
    return std::string();
  }
  std::error_code error;
  if (probeError != EACCES || !std::filesystem::is_regular_file(path, error)) return std::string();
  return path;
}
