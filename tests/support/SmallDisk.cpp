#include "tests/support/SmallDisk.h"

#include <sys/mount.h>

#include <cerrno>
#include <cstring>

TSmallDisk::TSmallDisk(const std::string& size) {
  const std::string options = "size=" + size;
  if (::mount("tmpfs", FFolder.Path().c_str(), "tmpfs", MS_NOSUID | MS_NODEV, options.c_str()) != 0)
    FReason = "cannot mount a " + size + " tmpfs on " + FFolder.Path() + ": " + std::strerror(errno);
}

TSmallDisk::~TSmallDisk() {
  if (Mounted()) ::umount2(FFolder.Path().c_str(), MNT_DETACH);
}
