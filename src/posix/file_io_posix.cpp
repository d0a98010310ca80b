// The Linux build's file access, for the native tests.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/platform.h"

namespace ombrelo::platform {

// Nothing here locks files, so there is no lock to wait out.
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

std::string replace_file(const std::string& path, std::string_view bytes,
                         const std::string& keep_old_as) {
  // A symbolic link stays a link: its target is what gets replaced.
  std::string target = path;
  if (char* real = ::realpath(path.c_str(), nullptr)) {
    target = real;
    std::free(real);
  }
  struct stat old {};
  const bool exists = ::stat(target.c_str(), &old) == 0;
  // A read-only settings file stays as it is, as it does on Windows (and for
  // root, whom access() would let through).
  if (exists && (old.st_mode & S_IWUSR) == 0) return std::strerror(EACCES);

  std::string tmp = target + ".XXXXXX";  // unique: a stale one is never in the way
  const int fd = ::mkstemp(tmp.data());
  if (fd < 0) return tmp + ": " + std::strerror(errno);
  auto fail = [&tmp](int err) {
    ::unlink(tmp.c_str());
    return std::string(std::strerror(err));
  };
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      const int err = errno;
      ::close(fd);
      return fail(err);
    }
    done += static_cast<std::size_t>(n);
  }
  if (::fchmod(fd, exists ? old.st_mode & 07777 : 0644) != 0 || ::fsync(fd) != 0) {
    const int err = errno;
    ::close(fd);
    return fail(err);
  }
  if (::close(fd) != 0) return fail(errno);
  if (exists && !keep_old_as.empty() && ::link(target.c_str(), keep_old_as.c_str()) != 0) {
    const int err = errno;
    ::unlink(tmp.c_str());
    return keep_old_as + ": " + std::strerror(err);
  }
  if (::rename(tmp.c_str(), target.c_str()) != 0) return fail(errno);
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

}  // namespace ombrelo::platform
