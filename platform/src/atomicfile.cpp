#include "kintrail/platform/atomicfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <system_error>

namespace kt {
namespace {

AtomicWriteHook writeHook = nullptr;

[[noreturn]] void ThrowErrno(const std::string& what) {
  throw std::system_error(errno, std::generic_category(), what);
}

// Closes and removes the temporary file unless released.
class TemporaryFile {
public:
  explicit TemporaryFile(std::string path, int fd) : path_(std::move(path)), fd_(fd) {}
  ~TemporaryFile() {
    if (fd_ >= 0) close(fd_);
    if (!released_) unlink(path_.c_str());
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  int fd() const { return fd_; }
  const std::string& path() const { return path_; }
  void CloseOrThrow() {
    const int fd = fd_;
    fd_ = -1;
    if (close(fd) != 0) ThrowErrno(path_);
  }
  void Release() { released_ = true; }

private:
  std::string path_;
  int fd_;
  bool released_ = false;
};

std::string FolderOf(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

}  // namespace

void SetAtomicWriteHookForTests(AtomicWriteHook hook) { writeHook = hook; }

void WriteFileAtomically(const std::string& path, std::string_view data,
                         AtomicWriteOptions options) {
  std::string pattern = path + ".XXXXXX";
  const int fd = mkstemp(pattern.data());
  if (fd < 0) ThrowErrno(path);
  TemporaryFile temporary(pattern, fd);

  // mkstemp creates 0600; other files get the usual mode the umask allows.
  if (!options.privateMode) {
    const mode_t mask = umask(0);
    umask(mask);
    if (fchmod(fd, 0666 & ~mask) != 0) ThrowErrno(temporary.path());
  }
  size_t written = 0;
  while (written < data.size()) {
    const ssize_t n = write(fd, data.data() + written, data.size() - written);
    if (n < 0) {
      if (errno == EINTR) continue;
      ThrowErrno(temporary.path());
    }
    written += static_cast<size_t>(n);
  }
  if (fsync(fd) != 0) ThrowErrno(temporary.path());
  temporary.CloseOrThrow();
  if (writeHook) writeHook(temporary.path());
  if (rename(temporary.path().c_str(), path.c_str()) != 0) ThrowErrno(path);
  temporary.Release();

  // Makes the rename itself durable.
  const int folder = open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY);
  if (folder >= 0) {
    fsync(folder);
    close(folder);
  }
}

std::string ReadWholeFile(const std::string& path) {
  FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) ThrowErrno(path);
  std::string content;
  char buffer[65536];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) content.append(buffer, n);
  const bool failed = std::ferror(file);
  std::fclose(file);
  if (failed) throw std::system_error(EIO, std::generic_category(), path);
  return content;
}

}  // namespace kt
