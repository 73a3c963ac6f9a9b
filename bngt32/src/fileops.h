#pragma once
// File-system work shared by the operations: attributes as the items record
// them, temporary files, replacing a file, folders, times.
#include <cstdint>
#include <string>

namespace bngt32 {

// Closes a file descriptor when it goes out of scope.
class FdCloser {
public:
  explicit FdCloser(int fd) : fd_(fd) {}
  ~FdCloser();
  FdCloser(const FdCloser&) = delete;
  FdCloser& operator=(const FdCloser&) = delete;

private:
  int fd_;
};

struct FileInfo {
  bool exists = false;
  bool isDirectory = false;
  bool isSymlink = false;
  uint64_t size = 0;
  int64_t mtime = 0;
  uint32_t attributes = 0;  // GT_ATTR_*
  uint64_t device = 0;
  uint64_t inode = 0;
};

// Read-only = no owner write bit, hidden = name starting with ".", archive always.
FileInfo StatFile(const std::string& path);

std::string FolderOf(const std::string& path);    // with its trailing '/', "" for a bare name
std::string FileNameOf(const std::string& path);
std::string WithTrailingSlash(std::string folder);
std::string StripQuotes(const std::string& text);  // surrounding double quotes removed
std::string AbsolutePath(const std::string& path); // made absolute against the working folder

// An open temporary file "G<two characters of the thread>....TMP" in `folder`.
struct TempFile {
  int fd = -1;
  std::string path;
};
bool CreateTempFile(const std::string& folder, TempFile& temp);
void CloseAndRemove(TempFile& temp);

// Moves the closed temporary file to `target`, replacing it (a copy when the
// move is impossible); 0, 8 (the target cannot be replaced) or 10 (the copy failed).
int32_t ReplaceWithTemp(const std::string& tempPath, const std::string& target);

// Creates the missing folders of `folder` (an absolute or relative path).
bool CreateMissingFolders(const std::string& folder);

void ApplyReadOnly(const std::string& path, bool readOnly);
void SetFileTimes(const std::string& path, int64_t mtime);

}  // namespace bngt32
