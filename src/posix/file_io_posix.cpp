// The Linux build's file access, for the native tests.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "settings/file_io.h"

namespace ombrelo::fs {

ReadResult read_file(const std::string& path, std::size_t limit) {
  ReadResult r;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    r.error = std::strerror(errno);
    return r;
  }
  r.bytes.resize(limit + 1);
  std::size_t got = 0;
  while (got < r.bytes.size()) {
    const ssize_t n = ::read(fd, r.bytes.data() + got, r.bytes.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      r.error = std::strerror(errno);
      ::close(fd);
      r.bytes.clear();
      return r;
    }
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  ::close(fd);
  r.complete = got <= limit;
  r.bytes.resize(got <= limit ? got : limit);
  r.ok = true;
  return r;
}

std::string replace_file(const std::string& path, std::string_view bytes) {
  const std::string tmp = path + ".tmp";
  const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return std::strerror(errno);
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      const std::string reason = std::strerror(errno);
      ::close(fd);
      ::unlink(tmp.c_str());
      return reason;
    }
    done += static_cast<std::size_t>(n);
  }
  if (::fsync(fd) != 0 || ::close(fd) != 0) {
    const std::string reason = std::strerror(errno);
    ::unlink(tmp.c_str());
    return reason;
  }
  // A read-only settings file stays as it is, as it does on Windows (and for
  // root, whom access() would let through).
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0 && (st.st_mode & S_IWUSR) == 0) {
    ::unlink(tmp.c_str());
    return std::strerror(EACCES);
  }
  if (::rename(tmp.c_str(), path.c_str()) != 0) {
    const std::string reason = std::strerror(errno);
    ::unlink(tmp.c_str());
    return reason;
  }
  return {};
}

bool is_ordinary_file(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string executable_path() {
  std::string buf(4096, '\0');
  const ssize_t n = ::readlink("/proc/self/exe", buf.data(), buf.size());
  buf.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
  return buf;
}

}  // namespace ombrelo::fs
