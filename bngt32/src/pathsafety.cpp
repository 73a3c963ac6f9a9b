#include "pathsafety.h"

#include <sys/stat.h>

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>

namespace bngt32 {
namespace {

std::string RealPath(const std::string& path) {
  char resolved[PATH_MAX];
  if (::realpath(path.c_str(), resolved) == nullptr) return {};
  std::string out = resolved;
  if (out.empty() || out.back() != '/') out += '/';
  return out;
}

}  // namespace

std::string NormalizeSeparators(std::string name) {
  for (char& c : name) {
    if (c == '\\') c = '/';
  }
  return name;
}

bool IsSafeRelativeName(const std::string& raw) {
  const std::string name = NormalizeSeparators(raw);
  if (name.empty() || name[0] == '/') return false;
  if (name.size() >= 2 && std::isalpha(static_cast<unsigned char>(name[0])) && name[1] == ':') {
    return false;
  }
  size_t start = 0;
  while (start <= name.size()) {
    size_t end = name.find('/', start);
    if (end == std::string::npos) end = name.size();
    if (name.compare(start, end - start, "..") == 0) return false;
    start = end + 1;
  }
  return name.back() != '/';
}

int32_t PrepareFoldersInside(const std::string& destination, const std::string& relativeFolder) {
  const std::string root = RealPath(destination);
  std::string current = destination;
  size_t start = 0;
  while (start < relativeFolder.size()) {
    size_t end = relativeFolder.find('/', start);
    if (end == std::string::npos) end = relativeFolder.size();
    const std::string part = relativeFolder.substr(start, end - start);
    start = end + 1;
    if (part.empty() || part == ".") continue;
    current += part;
    struct stat st{};
    if (::lstat(current.c_str(), &st) == 0) {
      if (S_ISLNK(st.st_mode)) {
        const std::string target = RealPath(current);
        if (root.empty() || target.compare(0, root.size(), root) != 0) return 3;
      }
      if (::stat(current.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return 8;
    } else if (::mkdir(current.c_str(), 0777) != 0 && errno != EEXIST) {
      return 8;
    }
    current += '/';
  }
  return 0;
}

}  // namespace bngt32
