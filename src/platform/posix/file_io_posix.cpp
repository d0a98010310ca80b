// The Linux build's file access, for the native tests.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>

#include "platform/platform.h"

namespace ombrelo::platform {

// Nothing here locks files, so there is no lock to wait out.
Result<FileBytes> read_file(const std::string& path, std::size_t limit) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return Result<FileBytes>::failure(std::strerror(errno));
  FileBytes r;
  r.bytes.resize(limit + 1);
  std::size_t got = 0;
  while (got < r.bytes.size()) {
    const ssize_t n = ::read(fd, r.bytes.data() + got, r.bytes.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      const int e = errno;
      ::close(fd);
      return Result<FileBytes>::failure(std::strerror(e));
    }
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  ::close(fd);
  r.complete = got <= limit;
  r.bytes.resize(got <= limit ? got : limit);
  return r;
}

namespace {

// Writes all of `bytes` to `fd` and flushes them; 0 or the error.
int write_all(int fd, std::string_view bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return errno;
    if (n == 0) return ENOSPC;
    done += static_cast<std::size_t>(n);
  }
  return ::fsync(fd) == 0 ? 0 : errno;
}

// The plain write, for a folder that takes no new file. The file grows to
// its new size before any old byte is overwritten; where there is no room
// it goes back to its old size intact.
std::string write_in_place(const std::string& target, std::string_view bytes) {
  const int fd = ::open(target.c_str(), O_WRONLY | O_CLOEXEC);
  if (fd < 0) return std::strerror(errno);
  struct stat st = {};
  int err = ::fstat(fd, &st) == 0 ? 0 : errno;
  const auto old_end = static_cast<std::size_t>(st.st_size);
  if (!err && bytes.size() > old_end) {
    if (::lseek(fd, static_cast<off_t>(old_end), SEEK_SET) < 0) err = errno;
    if (!err) err = write_all(fd, std::string(bytes.size() - old_end, '\0'));
    if (err && ::ftruncate(fd, static_cast<off_t>(old_end)) != 0) err = errno;
  }
  if (!err && ::lseek(fd, 0, SEEK_SET) < 0) err = errno;
  if (!err) err = write_all(fd, bytes);
  if (!err && ::ftruncate(fd, static_cast<off_t>(bytes.size())) != 0) err = errno;
  if (::close(fd) != 0 && !err) err = errno;
  return err ? std::strerror(err) : std::string();
}

}  // namespace

Result<Replaced> replace_file(const std::string& path, std::string_view bytes, bool keep_old) {
  using Failed = Result<Replaced>;
  // A symbolic link stays a link: its target is what gets replaced.
  std::string target = path;
  if (char* real = ::realpath(path.c_str(), nullptr)) {
    target = real;
    std::free(real);
  }
  auto reason = [&](std::string words) {
    return Reason{.words = std::move(words), .file = target == path ? "" : target};
  };
  struct stat old = {};
  const bool exists = ::stat(target.c_str(), &old) == 0;
  if (exists && S_ISDIR(old.st_mode)) {
    Reason r = reason("");
    r.kind = Reason::Kind::folder_in_the_way;
    return Failed::failure(r);
  }
  // A read-only settings file stays as it is, as it does on Windows (and for
  // root, whom access() would let through).
  if (exists && (old.st_mode & S_IWUSR) == 0) return Failed::failure(std::strerror(EACCES));

  std::string tmp = target + ".XXXXXX";  // unique: a stale one is never in the way
  const int fd = ::mkstemp(tmp.data());
  if (fd < 0) {
    if (errno == EACCES && exists && !keep_old) {
      const std::string e = write_in_place(target, bytes);
      if (!e.empty()) return Failed::failure(reason(e));
      return Replaced{};
    }
    const int e = errno;
    return Failed::failure(
        Reason{.words = std::strerror(e), .file = target.substr(0, target.find_last_of('/'))});
  }
  auto fail = [&tmp](int err) {
    ::unlink(tmp.c_str());
    return Failed::failure(std::strerror(err));
  };
  int err = write_all(fd, bytes);
  if (!err && ::fchmod(fd, exists ? old.st_mode & 07777 : 0644) != 0) err = errno;
  if (::close(fd) != 0 && !err) err = errno;
  if (err) return fail(err);
  // The old file gets a second name first, never one that exists.
  std::string backup;
  for (int n = 1; exists && keep_old && n < 100 && backup.empty(); ++n) {
    const std::string name = target + ".bak" + (n > 1 ? std::to_string(n) : "");
    if (::link(target.c_str(), name.c_str()) == 0) {
      backup = name;
    } else if (errno != EEXIST) {
      const int e = errno;
      ::unlink(tmp.c_str());
      return Failed::failure(Reason{.words = std::strerror(e), .file = name});
    }
  }
  if (exists && keep_old && backup.empty()) return fail(EEXIST);  // every name taken
  if (::rename(tmp.c_str(), target.c_str()) != 0) {
    if (!backup.empty()) ::unlink(backup.c_str());
    return fail(errno);
  }
  return Replaced{backup};
}

bool takes_new_file_beside(const std::string& path) {
  std::string probe = path + ".XXXXXX";
  const int fd = ::mkstemp(probe.data());
  if (fd < 0) return false;
  ::close(fd);
  ::unlink(probe.c_str());
  return true;
}

bool is_ordinary_file(const std::string& path) {
  struct stat st = {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string executable_path() {
  std::string buf(4096, '\0');
  const ssize_t n = ::readlink("/proc/self/exe", buf.data(), buf.size());
  buf.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
  return buf;
}

std::string temporary_folder() {
  const char* tmp = std::getenv("TMPDIR");
  return tmp && *tmp ? tmp : "/tmp";
}

std::vector<std::string> temporary_folder_fallbacks() {
  const char* home = std::getenv("HOME");
  if (home && *home) return {home};
  return {};
}

}  // namespace ombrelo::platform
