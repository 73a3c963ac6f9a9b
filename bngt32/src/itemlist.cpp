#include "itemlist.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <ctime>

#include "bngt32.h"
#include "callcontext.h"
#include "catalogue.h"
#include "fileops.h"

namespace bngt32 {
namespace {

unsigned char Lower(char c) { return static_cast<unsigned char>(std::tolower(static_cast<unsigned char>(c))); }

bool EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return true;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && EqualNoCase(text.substr(0, prefix.size()), prefix);
}

struct Finder {
  const CollectOptions& options;
  std::vector<Item>& found;

  void Add(const std::string& path, const std::string& base, const FileInfo& info) {
    Item item;
    item.sourcePath = path;
    item.storedName = StoredNameFor(path, base, options);
    if (info.isDirectory) item.storedName += '/';
    item.attributes = info.attributes;
    item.size = info.size;
    item.mtime = info.mtime;
    item.isDirectory = info.isDirectory;
    found.push_back(std::move(item));
  }

  bool Hidden(const FileInfo& info) const {
    return !options.includeSysHidden && (info.attributes & (GT_ATTR_HIDDEN | GT_ATTR_SYSTEM));
  }

  // Files of `folder` matching `pattern`, and of its sub-folders when recursing.
  void Search(const std::string& folder, const std::string& pattern, const std::string& base,
              bool recurse, int depth) {
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (dir == nullptr) return;
    std::vector<std::string> names;
    while (dirent* entry = ::readdir(dir)) names.emplace_back(entry->d_name);
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    std::vector<std::string> subFolders;
    for (const std::string& name : names) {
      if (name == "." || name == "..") continue;
      const std::string path = folder + name;
      const FileInfo info = StatFile(path);
      if (!info.exists) continue;
      if (info.isDirectory) {
        // Sub-folders starting with "." are never searched; links to folders
        // are not followed, so a loop cannot trap the search.
        if (recurse && name[0] != '.' && !info.isSymlink) subFolders.push_back(path + "/");
        continue;
      }
      if (Hidden(info) || !WildcardMatch(pattern, name)) continue;
      Add(path, base, info);
    }
    if (depth > 64) return;
    for (const std::string& sub : subFolders) Search(sub, pattern, base, recurse, depth + 1);
  }

  void Piece(const std::string& piece) {
    const std::string folder = FolderOf(piece);
    const std::string last = FileNameOf(piece);
    const FileInfo info = StatFile(piece);
    if (!HasWildcards(last)) {
      if (info.exists && info.isDirectory && options.recurse) {
        Search(WithTrailingSlash(piece), "*", folder, true, 0);
        return;
      }
      if (info.exists && !Hidden(info)) Add(piece, folder, info);
      if (options.recurse && !info.isDirectory) {
        // A plain name is also looked for in the sub-folders.
        Search(folder, last, folder, true, 0);
      }
      return;
    }
    Search(folder, last, folder, options.recurse, 0);
  }
};

bool PassesFilters(const Item& item, const CollectOptions& options,
                   const std::vector<std::string>& include,
                   const std::vector<std::string>& exclude) {
  const std::string name = FileNameOf(item.storedName);
  auto matches = [&](const std::vector<std::string>& patterns) {
    return std::any_of(patterns.begin(), patterns.end(), [&](const std::string& p) {
      return WildcardMatch(p, item.storedName) || WildcardMatch(p, name);
    });
  };
  if (!include.empty() && !matches(include)) return false;
  if (matches(exclude)) return false;
  if (options.haveDates && (options.includeDates || options.excludeDates)) {
    const bool inRange = item.mtime >= options.dateFrom && item.mtime <= options.dateTo;
    if (options.includeDates && !inRange) return false;
    if (!options.includeDates && options.excludeDates && inRange) return false;
  }
  if ((options.subOptions & GT_SUBOPT_SKIP_NON_83) && !IsShortName(name)) return false;
  if (options.subOptions & GT_SUBOPT_READABLE_ONLY) {
    const int fd = ::open(item.sourcePath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    ::close(fd);
  }
  if ((options.subOptions & GT_SUBOPT_ARCHIVE_ONLY) && !(item.attributes & GT_ATTR_ARCHIVE)) {
    return false;
  }
  return true;
}

}  // namespace

bool WildcardMatch(std::string_view pattern, std::string_view text) {
  // Iterative matching with one backtrack point: linear in practice, no recursion.
  size_t p = 0, t = 0, starP = std::string_view::npos, starT = 0;
  while (t < text.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || Lower(pattern[p]) == Lower(text[t]))) {
      ++p;
      ++t;
    } else if (p < pattern.size() && pattern[p] == '*') {
      starP = p++;
      starT = t;
    } else if (starP != std::string_view::npos) {
      p = starP + 1;
      t = ++starT;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

bool HasWildcards(std::string_view text) {
  return text.find_first_of("*?") != std::string_view::npos;
}

std::vector<std::string> SplitItemList(std::string_view list) {
  std::vector<std::string> pieces;
  std::string current;
  bool quoted = false;
  bool any = false;
  for (char c : list) {
    if (c == '"') {
      quoted = !quoted;
      any = true;
    } else if (c == ' ' && !quoted) {
      if (any || !current.empty()) pieces.push_back(current);
      current.clear();
      any = false;
    } else {
      current += c;
    }
  }
  if (!current.empty()) pieces.push_back(current);
  pieces.erase(std::remove(pieces.begin(), pieces.end(), std::string()), pieces.end());
  return pieces;
}

bool ParseFilterDate(std::string_view text, bool endOfDay, int64_t& out) {
  if (text.size() != 8) return false;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  auto number = [&](size_t pos, size_t len) {
    int v = 0;
    for (size_t i = pos; i < pos + len; ++i) v = v * 10 + (text[i] - '0');
    return v;
  };
  const int month = number(0, 2), day = number(2, 2), year = number(4, 4);
  if (month < 1 || month > 12 || day < 1 || day > 31 || year < 1970 || year > 2079) return false;
  std::tm local{};
  local.tm_year = year - 1900;
  local.tm_mon = month - 1;
  local.tm_mday = day;
  local.tm_hour = endOfDay ? 23 : 0;
  local.tm_min = endOfDay ? 59 : 0;
  local.tm_sec = endOfDay ? 59 : 0;
  local.tm_isdst = -1;
  out = static_cast<int64_t>(std::mktime(&local));
  return true;
}

bool IsShortName(std::string_view name) {
  if (name.find_first_of(" \"") != std::string_view::npos) return false;
  const size_t dot = name.rfind('.');
  const size_t base = dot == std::string_view::npos ? name.size() : dot;
  const size_t extension = dot == std::string_view::npos ? 0 : name.size() - dot - 1;
  return base <= 8 && extension <= 3;
}

std::string ShortenPath(const std::string& storedName) {
  std::string out;
  size_t start = 0;
  while (start <= storedName.size()) {
    size_t end = storedName.find('/', start);
    const bool last = end == std::string::npos;
    if (last) end = storedName.size();
    std::string part;
    for (size_t i = start; i < end; ++i) {
      if (storedName[i] != ' ' && storedName[i] != '"') part += storedName[i];
    }
    const size_t dot = part.rfind('.');
    if (dot == std::string::npos || dot == 0) {
      part = part.substr(0, 8);
    } else {
      part = part.substr(0, std::min<size_t>(dot, 8)) + "." + part.substr(dot + 1, 3);
    }
    out += part;
    if (last) break;
    out += '/';
    start = end + 1;
  }
  return out;
}

std::string StoredNameFor(const std::string& path, const std::string& base,
                          const CollectOptions& options) {
  auto strip = [](std::string name) {
    // "C:" of a Windows-style path, then leading slashes and "./" parts.
    if (name.size() >= 2 && std::isalpha(static_cast<unsigned char>(name[0])) && name[1] == ':') {
      name.erase(0, 2);
    }
    for (;;) {
      if (!name.empty() && name[0] == '/') {
        name.erase(0, 1);
      } else if (name.rfind("./", 0) == 0) {
        name.erase(0, 2);
      } else {
        break;
      }
    }
    return name;
  };
  std::string name = strip(path);
  if (options.subOptions & GT_SUBOPT_STRIP_BASE_FOLDER) {
    const std::string folder = strip(base);
    if (!folder.empty() && StartsWithNoCase(name, folder)) name.erase(0, folder.size());
  }
  if (options.noDirectoryNames) name = FileNameOf(name);
  if (options.dosify) {
    for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }
  if (options.subOptions & GT_SUBOPT_SHORTEN_TO_83) name = ShortenPath(name);
  return name;
}

int32_t CollectItems(Call& call, const std::vector<std::string>& pieces,
                     const CollectOptions& options, std::vector<Item>& items) {
  items.clear();
  if (call.MajorStop(call.Text(kMsgProcessingItemList), 0)) return 5;
  Finder finder{options, items};
  for (const std::string& piece : pieces) finder.Piece(piece);
  if (call.MajorStop(call.Text(kMsgProcessingItemList), 50)) return 5;

  std::sort(items.begin(), items.end(),
            [](const Item& a, const Item& b) { return a.storedName < b.storedName; });
  items.erase(std::unique(items.begin(), items.end(),
                          [](const Item& a, const Item& b) {
                            return EqualNoCase(a.storedName, b.storedName);
                          }),
              items.end());
  const std::vector<std::string> include = SplitItemList(options.includeList);
  const std::vector<std::string> exclude = SplitItemList(options.excludeList);
  items.erase(std::remove_if(items.begin(), items.end(),
                             [&](const Item& item) {
                               return !PassesFilters(item, options, include, exclude);
                             }),
              items.end());
  if (call.MajorStop(call.Text(kMsgProcessingItemList), 100)) return 5;
  if (items.empty()) return 6;
  return 0;
}

}  // namespace bngt32
