#include "fileops.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <random>

#include "bngt32.h"
#include "streams.h"

namespace bngt32 {

FdCloser::~FdCloser() {
  if (fd_ >= 0) ::close(fd_);
}

FileInfo StatFile(const std::string& path) {
  FileInfo info;
  struct stat st{};
  if (::lstat(path.c_str(), &st) != 0) return info;
  info.isSymlink = S_ISLNK(st.st_mode);
  if (info.isSymlink && ::stat(path.c_str(), &st) != 0) {
    info.exists = true;  // a dangling link: there, but nothing to read
    return info;
  }
  info.exists = true;
  info.isDirectory = S_ISDIR(st.st_mode);
  info.size = static_cast<uint64_t>(st.st_size);
  info.mtime = static_cast<int64_t>(st.st_mtim.tv_sec);
  info.device = static_cast<uint64_t>(st.st_dev);
  info.inode = static_cast<uint64_t>(st.st_ino);
  info.attributes = GT_ATTR_ARCHIVE;
  if ((st.st_mode & S_IWUSR) == 0) info.attributes |= GT_ATTR_READONLY;
  if (info.isDirectory) info.attributes |= GT_ATTR_DIRECTORY;
  const std::string name = FileNameOf(path);
  if (!name.empty() && name[0] == '.' && name != "." && name != "..") {
    info.attributes |= GT_ATTR_HIDDEN;
  }
  return info;
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string FileNameOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string WithTrailingSlash(std::string folder) {
  if (!folder.empty() && folder.back() != '/') folder += '/';
  return folder;
}

std::string StripQuotes(const std::string& text) {
  std::string out = text;
  if (!out.empty() && out.front() == '"') out.erase(0, 1);
  if (!out.empty() && out.back() == '"') out.pop_back();
  return out;
}

std::string AbsolutePath(const std::string& path) {
  if (!path.empty() && path[0] == '/') return path;
  char cwd[4096];
  if (::getcwd(cwd, sizeof cwd) == nullptr) return path;
  return WithTrailingSlash(cwd) + path;
}

bool CreateTempFile(const std::string& folder, TempFile& temp) {
  static constexpr char kAlphabet[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ_";
  const auto thread = static_cast<uint64_t>(::gettid());
  std::string prefix = "G";
  prefix += kAlphabet[thread % 37];
  prefix += kAlphabet[(thread / 37) % 37];
  thread_local std::mt19937 random{std::random_device{}()};
  for (int attempt = 0; attempt < 100; ++attempt) {
    char unique[16];
    std::snprintf(unique, sizeof unique, "%05X", static_cast<unsigned>(random() & 0xFFFFF));
    const std::string path = folder + prefix + unique + ".TMP";
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) {
      temp.fd = fd;
      temp.path = path;
      return true;
    }
    if (errno != EEXIST) return false;
  }
  return false;
}

void CloseAndRemove(TempFile& temp) {
  if (temp.fd >= 0) ::close(temp.fd);
  temp.fd = -1;
  if (!temp.path.empty()) ::unlink(temp.path.c_str());
  temp.path.clear();
}

int32_t ReplaceWithTemp(const std::string& tempPath, const std::string& target) {
  const FileInfo existing = StatFile(target);
  if (existing.exists && existing.isDirectory && !existing.isSymlink) return 8;
  // rename() replaces the old file in one step: there is never a moment
  // without a complete file of that name.
  if (::rename(tempPath.c_str(), target.c_str()) == 0) return 0;
  if (errno != EXDEV) return 8;
  const int in = ::open(tempPath.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return 10;
  const std::string partial = target + ".part";
  const int out = ::open(partial.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (out < 0) {
    ::close(in);
    return 8;
  }
  FileSource source(in);
  FileSink sink(out);
  char buffer[65536];
  bool ok = true;
  for (;;) {
    const ptrdiff_t n = source.Read(buffer, sizeof buffer);
    if (n < 0) { ok = false; break; }
    if (n == 0) break;
    if (!sink.Write(buffer, static_cast<size_t>(n))) { ok = false; break; }
  }
  ::close(in);
  if (::close(out) != 0) ok = false;
  if (!ok || ::rename(partial.c_str(), target.c_str()) != 0) {
    ::unlink(partial.c_str());
    return 10;
  }
  ::unlink(tempPath.c_str());
  return 0;
}

bool CreateMissingFolders(const std::string& folder) {
  if (folder.empty()) return true;
  for (size_t pos = 1; pos <= folder.size(); ++pos) {
    if (pos != folder.size() && folder[pos] != '/') continue;
    const std::string part = folder.substr(0, pos);
    if (::mkdir(part.c_str(), 0777) != 0 && errno != EEXIST) return false;
  }
  struct stat st{};
  return ::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

void ApplyReadOnly(const std::string& path, bool readOnly) {
  struct stat st{};
  if (::stat(path.c_str(), &st) != 0) return;
  mode_t mode = st.st_mode & 07777;
  if (readOnly) {
    mode &= ~static_cast<mode_t>(0222);
  } else {
    mode |= S_IWUSR;
  }
  if (mode != (st.st_mode & 07777)) ::chmod(path.c_str(), mode);
}

void SetFileTimes(const std::string& path, int64_t mtime) {
  struct timespec times[2];
  times[0].tv_sec = static_cast<time_t>(mtime);
  times[0].tv_nsec = 0;
  times[1] = times[0];
  ::utimensat(AT_FDCWD, path.c_str(), times, 0);
}

}  // namespace bngt32
