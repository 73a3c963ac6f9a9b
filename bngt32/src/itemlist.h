#pragma once
// The item list of gt: splitting it, finding the files it names, the stored
// names, and the include, exclude and date filters.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace bngt32 {

class Call;

// `*` and `?` wildcards, compared without regard to ASCII case.
bool WildcardMatch(std::string_view pattern, std::string_view text);
bool HasWildcards(std::string_view text);

// Pieces separated by blanks outside double quotes; a quote toggles quoting.
std::vector<std::string> SplitItemList(std::string_view list);

// "MMDDYYYY": month 1-12, day 1-31, year 1970-2079; local midnight (or
// 23:59:59 with `endOfDay`) as seconds since 1970. False when malformed.
bool ParseFilterDate(std::string_view text, bool endOfDay, int64_t& out);

// 8.3 rules of sub-options 4 and 5, on one name part.
bool IsShortName(std::string_view name);
std::string ShortenPath(const std::string& storedName);

struct Item {
  std::string sourcePath;
  std::string storedName;
  uint32_t attributes = 0;
  uint64_t size = 0;
  int64_t mtime = 0;
  bool isDirectory = false;
};

struct CollectOptions {
  bool recurse = false;
  bool noDirectoryNames = false;
  bool dosify = false;
  bool includeSysHidden = false;
  uint32_t subOptions = 0;
  std::string includeList;
  std::string excludeList;
  bool includeDates = false;
  bool excludeDates = false;
  bool haveDates = false;
  int64_t dateFrom = 0;
  int64_t dateTo = 0;
};

// The stored name of a found file: separators "/", no leading slashes or
// "./", then the option rules. `base` is the folder the piece named.
std::string StoredNameFor(const std::string& path, const std::string& base,
                          const CollectOptions& options);

// Finds, names, sorts, de-duplicates and filters the items of the pieces.
// Returns 0, 5 (stopped by the major status callback) or 6 (nothing left).
int32_t CollectItems(Call& call, const std::vector<std::string>& pieces,
                     const CollectOptions& options, std::vector<Item>& items);

}  // namespace bngt32
