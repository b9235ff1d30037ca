#include "platform/native/native_begin.h"
#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include "platform/native/native_end.h"

#include "platform/zrio/native_file.h"

namespace zr {

NativeFile::NativeFile(const std::string& unixPath) : m_fd(::open(unixPath.c_str(), O_RDONLY | O_CLOEXEC)) {
  struct stat info;
  // A folder opens too, but reads nothing.
  if (m_fd >= 0 && (fstat(m_fd, &info) != 0 || !S_ISREG(info.st_mode))) close();
}

NativeFile::~NativeFile() { close(); }

void NativeFile::close() {
  if (m_fd >= 0) ::close(m_fd);
  m_fd = -1;
}

bool NativeFile::size(long long* bytes) const {
  struct stat info;
  if (m_fd < 0 || fstat(m_fd, &info) != 0) return false;
  *bytes = info.st_size;
  return true;
}

bool NativeFile::readStart(size_t size, char* data) const {
  size_t at = 0;
  while (at < size) {
    ssize_t done = pread(m_fd, data + at, size - at, off_t(at));
    if (done < 0 && errno == EINTR) continue;
    if (done <= 0) return false;
    at += size_t(done);
  }
  return true;
}

}  // namespace zr
