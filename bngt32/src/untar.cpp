// ugt functions 2, 6 and 7 (extract from a tar archive), 8 and 9 (count) and
// 11 to 15 (describe one tar item).
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "callcontext.h"
#include "catalogue.h"
#include "extractoutput.h"
#include "fileops.h"
#include "gzipformat.h"
#include "itemlist.h"
#include "operations.h"
#include "pathsafety.h"
#include "tarformat.h"

namespace bngt32 {
namespace {

bool Matches(const std::string& filespec, const std::string& name) {
  const std::vector<std::string> patterns = SplitItemList(filespec);
  if (patterns.empty()) return true;
  const std::string normalized = NormalizeSeparators(name);
  const std::string last = FileNameOf(normalized);
  return std::any_of(patterns.begin(), patterns.end(), [&](const std::string& p) {
    const std::string pattern = NormalizeSeparators(p);
    return WildcardMatch(pattern, normalized) || WildcardMatch(pattern, last);
  });
}

// Walks the archive and calls `visit(index, entry, reader)` for every item;
// visit returns 0 to go on, -1 to stop, or a code. Returns 0 or a code.
template <typename Visit>
int32_t Walk(int fd, Visit visit) {
  ::lseek(fd, 0, SEEK_SET);
  FileSource source(fd);
  TarReader reader(source);
  TarEntry entry;
  for (int64_t index = 0;; ++index) {
    const int32_t code = reader.Next(entry);
    if (code == -1) return 0;
    if (code != 0) return code;
    const int32_t visited = visit(index, entry, reader);
    if (visited == -1) return 0;
    if (visited != 0) return visited;
  }
}

int32_t OpenArchive(Call& call, const UgtJob& job, int& fd) {
  fd = ::open(job.gtFile.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return call.Report(GT_FILE_OPEN_ERROR, job.gtFile);
  return 0;
}

uint32_t AttributesOf(const TarEntry& entry) {
  uint32_t attributes = GT_ATTR_ARCHIVE;
  if ((entry.mode & 0200) == 0) attributes |= GT_ATTR_READONLY;
  if (entry.IsDirectory()) attributes |= GT_ATTR_DIRECTORY;
  return attributes;
}

}  // namespace

int32_t Untar(Call& call, const UgtJob& job) {
  UGTCMDSTRUCT& c = *job.command;
  int fd = -1;
  if (const int32_t code = OpenArchive(call, job, fd); code != 0) return code;
  FdCloser closer(fd);
  const bool all = c.lIndex == -1;
  auto selected = [&](int64_t index, const TarEntry& entry) {
    return all ? Matches(job.filespec, entry.name) : index == c.lIndex;
  };
  // First walk: how many items will be extracted (and whether the archive is sound).
  int64_t total = 0;
  if (const int32_t code = Walk(fd, [&](int64_t index, const TarEntry& entry, TarReader&) {
        if (entry.IsRegularFile() && selected(index, entry)) ++total;
        return 0;
      });
      code != 0) {
    return call.Report(code, job.gtFile);
  }
  if (!all && total == 0) return call.Report(GT_INDEX_OUT_OF_BOUNDS, call.Text(kMsgIndexOutOfRange));

  const ExtractSettings settings = ExtractSettingsOf(c, job.destination, job.gtFile);
  int64_t done = 0, extracted = 0, skipped = 0;
  const int32_t code = Walk(fd, [&](int64_t index, const TarEntry& entry, TarReader& reader) {
    if (!selected(index, entry)) return 0;
    if (entry.IsDirectory()) {
      // Folders are made as their items need them; an empty one is made here.
      if (!settings.test && !settings.noDirectoryNames) {
        const std::string name = NormalizeSeparators(entry.name);
        if (!IsSafeRelativeName(name.substr(0, name.find_last_not_of('/') + 1))) {
          return call.Report(GT_BAD_STRUCTURE, entry.name);
        }
        if (!CreateMissingFolders(settings.destination) ||
            PrepareFoldersInside(settings.destination, name) != 0) {
          return call.Report(GT_FILE_CREATE_ERROR, entry.name);
        }
      }
      return 0;
    }
    if (!entry.IsRegularFile()) return 0;  // links and devices are not extracted
    ++done;
    if (call.MajorStop(call.Format(kMsgUgtItemOfTotal, static_cast<long>(done),
                                   static_cast<long>(total)),
                       static_cast<int32_t>(total == 0 ? 100 : done * 100 / total))) {
      return call.Report(GT_ABORTED);
    }
    ExtractItemRequest request;
    request.storedName = entry.name;
    request.mtime = entry.mtime;
    request.attributes = AttributesOf(entry);
    request.mode = entry.mode;
    request.kind = 1;
    const std::string name = entry.name;
    const uint64_t size = entry.size;
    auto decode = [&](ByteSink& sink) {
      return reader.CopyData(sink, [&](uint64_t n) { return call.MinorCancel(name, n, size); });
    };
    const ExtractOutcome outcome = ExtractItem(call, settings, request, decode);
    if (outcome.done) ++extracted;
    if (outcome.code == 15) {
      ++skipped;
      return 0;
    }
    if (outcome.code != 0) return call.Report(outcome.code, outcome.detail);
    return all ? 0 : -1;
  });
  c.lReturnCount = static_cast<int32_t>(extracted);
  if (code != 0) return call.Report(code, job.gtFile);
  if (skipped > 0) return call.Report(UGT_FILE_SKIPPED);
  if (extracted == 0) return call.Report(GT_UNEXPECTED_EOF, call.Text(kMsgNoItemsMatch));
  return 0;
}

int32_t CountItems(Call& call, const UgtJob& job, bool matchingOnly) {
  UGTCMDSTRUCT& c = *job.command;
  int fd = -1;
  if (const int32_t code = OpenArchive(call, job, fd); code != 0) return code;
  FdCloser closer(fd);
  unsigned char magic[2] = {};
  if (::pread(fd, magic, 2, 0) == 2 && magic[0] == 0x1f && magic[1] == 0x8b) {
    // A gzip file holds one item.
    FileSource source(fd);
    GzipHeader header;
    if (const int32_t code = ReadGzipHeader(source, header); code != 0) {
      return call.Report(code, job.gtFile);
    }
    c.lReturnCount = 1;
    return 0;
  }
  int64_t count = 0;
  const int32_t code = Walk(fd, [&](int64_t, const TarEntry& entry, TarReader&) {
    if (!matchingOnly || Matches(job.filespec, entry.name)) ++count;
    return 0;
  });
  if (code != 0) return call.Report(code, job.gtFile);
  c.lReturnCount = static_cast<int32_t>(count);
  return 0;
}

int32_t FillTarInfo(Call& call, const UgtJob& job) {
  UGTCMDSTRUCT& c = *job.command;
  auto* info = static_cast<TARINFO*>(c.tarInfo);
  if (info == nullptr || info->ulStructSize != TARINFO_SIZE) {
    return call.Report(GT_BAD_PARAMETERS, call.Text(kMsgTarInfoInvalid));
  }
  TarListingState& state = ThreadTarListing();
  const int32_t f = c.lFunction;
  if (f == UGT_FUNCTION_TAR_FIRST || f == UGT_FUNCTION_TAR_FIND_FIRST ||
      f == UGT_FUNCTION_TAR_BY_INDEX || state.archive != job.gtFile) {
    state.archive = job.gtFile;
    state.pattern = (f == UGT_FUNCTION_TAR_FIND_FIRST || f == UGT_FUNCTION_TAR_FIND_NEXT)
                        ? job.filespec
                        : std::string();
    state.nextIndex = 0;
  }
  const bool byIndex = f == UGT_FUNCTION_TAR_BY_INDEX;
  if (byIndex && c.lIndex < 0) return call.Report(GT_INDEX_OUT_OF_BOUNDS, call.Text(kMsgIndexOutOfRange));
  int fd = -1;
  if (const int32_t code = OpenArchive(call, job, fd); code != 0) return code;
  FdCloser closer(fd);
  bool found = false;
  const int32_t code = Walk(fd, [&](int64_t index, const TarEntry& entry, TarReader&) {
    if (byIndex ? index != c.lIndex
                : (index < state.nextIndex || !Matches(state.pattern, entry.name))) {
      return 0;
    }
    *info = TARINFO{};
    info->ulStructSize = TARINFO_SIZE;
    info->lIndex = static_cast<int32_t>(index);
    info->dwSize = static_cast<uint32_t>(entry.size);
    info->dwModTime = static_cast<uint32_t>(entry.mtime);
    info->dwMode = entry.mode;
    info->dwAttributes = AttributesOf(entry);
    info->dwTypeFlag = static_cast<unsigned char>(entry.typeflag);
    info->dwHeaderOffset = static_cast<uint32_t>(entry.headerOffset);
    const std::string name = entry.name.substr(0, sizeof info->szName - 1);
    name.copy(info->szName, name.size());
    const std::string date = FormatLocalDateTime(entry.mtime);
    date.copy(info->szDateTime, std::min(date.size(), sizeof info->szDateTime - 1));
    state.nextIndex = index + 1;
    found = true;
    return -1;
  });
  if (code != 0) return call.Report(code, job.gtFile);
  if (!found) {
    return call.Report(GT_INDEX_OUT_OF_BOUNDS,
                       call.Text(byIndex ? kMsgIndexOutOfRange : kMsgNoMoreItems));
  }
  c.lReturnCount = 1;
  return 0;
}

}  // namespace bngt32
