// gt functions 2, 3 and 7: adding items to a tar archive and deleting them.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "callcontext.h"
#include "catalogue.h"
#include "fileops.h"
#include "itemrecord.h"
#include "operations.h"
#include "tarformat.h"

namespace bngt32 {
namespace {

// Offset where new items may follow the existing ones: the end block, or the
// end of the last complete item of a truncated archive. 3 for a damaged one.
int32_t FindEndOfEntries(int fd, uint64_t& end) {
  ::lseek(fd, 0, SEEK_SET);
  FileSource source(fd);
  TarReader reader(source);
  TarEntry entry;
  for (;;) {
    const int32_t code = reader.Next(entry);
    if (code == -1) break;
    if (code == 1) break;
    if (code != 0) return code;
    if (const int32_t skipped = reader.SkipData(); skipped != 0) {
      if (skipped == 1) break;
      return skipped;
    }
  }
  end = reader.EndOfEntries();
  return 0;
}

// Copies `length` bytes from `offset` of one file to the end of another.
bool CopyRange(int from, uint64_t offset, uint64_t length, ByteSink& to) {
  char buffer[65536];
  while (length > 0) {
    const size_t chunk = static_cast<size_t>(std::min<uint64_t>(length, sizeof buffer));
    const ssize_t n = ::pread(from, buffer, chunk, static_cast<off_t>(offset));
    if (n <= 0) return false;
    if (!to.Write(buffer, static_cast<size_t>(n))) return false;
    offset += static_cast<uint64_t>(n);
    length -= static_cast<uint64_t>(n);
  }
  return true;
}

int32_t WriteItem(Call& call, Item& item, ByteSink& sink) {
  const int fd = ::open(item.sourcePath.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    call.Note(call.Text(kMsgCouldNotOpenForReading) + item.sourcePath);
    return call.Report(GT_FILE_OPEN_ERROR, item.sourcePath);
  }
  FdCloser closer(fd);
  ItemFields fields{item.storedName, item.sourcePath, item.mtime, item.attributes};
  OfferToRenameCallback(call, 1, fields);
  item.storedName = fields.storedName;
  unsigned char header[kTarBlock];
  if (const int32_t code =
          BuildTarHeader(item.storedName, item.size, fields.mtime, fields.attributes, header);
      code != 0) {
    return call.Report(code, item.storedName);
  }
  if (!sink.Write(header, sizeof header)) return call.Report(GT_FILE_WRITE_ERROR, item.sourcePath);
  constexpr size_t kCopyBlock = 8192;
  unsigned char buffer[kCopyBlock];
  uint64_t done = 0;
  FileSource source(fd);
  // Exactly the size in the header is stored, even if the file changes meanwhile.
  while (done < item.size) {
    const size_t chunk = static_cast<size_t>(std::min<uint64_t>(item.size - done, kCopyBlock));
    const ptrdiff_t n = ReadFully(source, buffer, chunk);
    if (n < 0 || static_cast<size_t>(n) < chunk) {
      return call.Report(GT_FILE_READ_ERROR, item.sourcePath);
    }
    if (!sink.Write(buffer, chunk)) return call.Report(GT_FILE_WRITE_ERROR, item.sourcePath);
    done += chunk;
    if (call.MinorCancel(item.storedName, done, item.size)) return call.Report(GT_ABORTED);
  }
  const size_t padding = static_cast<size_t>(TarPadded(item.size) - item.size);
  std::memset(buffer, 0, kTarBlock);
  if (padding > 0 && !sink.Write(buffer, padding)) {
    return call.Report(GT_FILE_WRITE_ERROR, item.sourcePath);
  }
  return 0;
}

bool WriteEndBlock(ByteSink& sink) {
  unsigned char zeros[kTarBlock] = {};
  return sink.Write(zeros, sizeof zeros);
}

// Replaces the archive with the finished temporary file.
int32_t InstallArchive(Call& call, TempFile& temp, const std::string& archive) {
  const bool closed = ::close(temp.fd) == 0;
  temp.fd = -1;
  if (!closed) {
    CloseAndRemove(temp);
    return call.Report(GT_FILE_WRITE_ERROR, call.Text(kMsgWasReplacingOriginal));
  }
  if (!CreateMissingFolders(FolderOf(archive))) {
    CloseAndRemove(temp);
    return call.Report(GT_FILE_CREATE_ERROR, archive);
  }
  if (const int32_t code = ReplaceWithTemp(temp.path, archive); code != 0) {
    CloseAndRemove(temp);
    return call.Report(code, archive);
  }
  return 0;
}

// Grow mode: the archive itself is cut at its end and the new part appended.
int32_t AppendToArchive(Call& call, TempFile& temp, const std::string& archive) {
  const int fd = ::open(archive.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0) {
    CloseAndRemove(temp);
    return call.Report(GT_FILE_OPEN_ERROR, archive);
  }
  FdCloser closer(fd);
  uint64_t end = 0;
  if (const int32_t code = FindEndOfEntries(fd, end); code != 0) {
    CloseAndRemove(temp);
    return call.Report(code, archive);
  }
  struct stat st{};
  ::fstat(temp.fd, &st);
  FileSink sink(fd);
  const bool ok = ::ftruncate(fd, static_cast<off_t>(end)) == 0 &&
                  ::lseek(fd, static_cast<off_t>(end), SEEK_SET) >= 0 &&
                  CopyRange(temp.fd, 0, static_cast<uint64_t>(st.st_size), sink);
  CloseAndRemove(temp);
  if (!ok) return call.Report(GT_FILE_WRITE_ERROR, archive);
  return 0;
}

}  // namespace

int32_t TarAddItems(Call& call, const GtJob& job) {
  std::vector<Item> items;
  if (const int32_t code = CollectItems(call, job.pieces, job.collect, items); code != 0) {
    return call.Report(code);
  }
  // Folders are walked into by the search; they are not items of their own here.
  items.erase(std::remove_if(items.begin(), items.end(), [](const Item& i) { return i.isDirectory; }),
              items.end());
  if (items.empty()) return call.Report(GT_NO_MATCH);
  const bool grow = job.command->bGrowExistingFlag != 0;
  TempFile temp;
  if (!CreateTempFile(job.tempPath, temp)) {
    return call.Report(GT_FILE_CREATE_ERROR, call.Text(kMsgAllocatingTempFilename));
  }
  FileSink sink(temp.fd);
  if (!grow) {
    const int old = ::open(job.gtFile.c_str(), O_RDONLY | O_CLOEXEC);
    if (old >= 0) {
      FdCloser closer(old);
      uint64_t end = 0;
      if (const int32_t code = FindEndOfEntries(old, end); code != 0) {
        CloseAndRemove(temp);
        return call.Report(code, job.gtFile);
      }
      if (!CopyRange(old, 0, end, sink)) {
        CloseAndRemove(temp);
        return call.Report(GT_TEMP_FILE_ERROR, call.Text(kMsgWasAddingFiles));
      }
    }
  }
  const long total = static_cast<long>(items.size());
  for (long i = 0; i < total; ++i) {
    if (call.MajorStop(call.Format(kMsgGtItemOfTotal, i + 1, total),
                       static_cast<int32_t>((i + 1) * 100 / total))) {
      CloseAndRemove(temp);
      return call.Report(GT_ABORTED);
    }
    if (const int32_t code = WriteItem(call, items[static_cast<size_t>(i)], sink); code != 0) {
      CloseAndRemove(temp);
      return code;
    }
  }
  if (!WriteEndBlock(sink)) {
    CloseAndRemove(temp);
    return call.Report(GT_FILE_WRITE_ERROR, call.Text(kMsgWasAddingFiles));
  }
  const int32_t code =
      grow ? AppendToArchive(call, temp, job.gtFile) : InstallArchive(call, temp, job.gtFile);
  if (code != 0) return code;
  for (const Item& item : items) call.Event(kMsgEventAdded, item.sourcePath);
  return 0;
}

int32_t TarDeleteItems(Call& call, const GtJob& job) {
  const int fd = ::open(job.gtFile.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return call.Report(GT_FILE_OPEN_ERROR, job.gtFile);
  FdCloser closer(fd);
  struct Range {
    uint64_t offset, length;
    std::string name;
  };
  std::vector<Range> entries;
  {
    FileSource source(fd);
    TarReader reader(source);
    TarEntry entry;
    for (;;) {
      int32_t code = reader.Next(entry);
      if (code == -1) break;
      if (code == 0) code = reader.SkipData();
      if (code != 0) return call.Report(code, job.gtFile);
      entries.push_back({entry.headerOffset, entry.blockCount * kTarBlock, entry.name});
    }
  }
  std::vector<bool> remove(entries.size(), false);
  if (!job.pieces.empty()) {
    for (size_t i = 0; i < entries.size(); ++i) {
      for (const std::string& pattern : job.pieces) {
        if (WildcardMatch(pattern, entries[i].name)) remove[i] = true;
      }
    }
    if (std::find(remove.begin(), remove.end(), true) == remove.end()) {
      return call.Report(GT_NO_MATCH);
    }
  } else {
    const int32_t index = job.command->lIndex;
    if (index < 0 || static_cast<size_t>(index) >= entries.size()) {
      return call.Report(GT_INDEX_OUT_OF_BOUNDS);
    }
    remove[static_cast<size_t>(index)] = true;
  }

  TempFile temp;
  if (!CreateTempFile(job.tempPath, temp)) {
    return call.Report(GT_FILE_CREATE_ERROR, call.Text(kMsgAllocatingTempFilename));
  }
  FileSink sink(temp.fd);
  const long total = static_cast<long>(entries.size());
  for (long i = 0; i < total; ++i) {
    const Range& range = entries[static_cast<size_t>(i)];
    if (call.MajorStop(call.Format(kMsgGtItemOfTotal, i + 1, total),
                       static_cast<int32_t>((i + 1) * 100 / total))) {
      CloseAndRemove(temp);
      return call.Report(GT_ABORTED);
    }
    if (remove[static_cast<size_t>(i)]) continue;
    if (!CopyRange(fd, range.offset, range.length, sink)) {
      CloseAndRemove(temp);
      return call.Report(GT_TEMP_FILE_ERROR, job.gtFile);
    }
  }
  if (!WriteEndBlock(sink)) {
    CloseAndRemove(temp);
    return call.Report(GT_TEMP_FILE_ERROR, job.gtFile);
  }
  if (job.command->bGrowExistingFlag != 0) {
    // In place: the archive's own bytes are rewritten from the finished copy.
    struct stat st{};
    ::fstat(temp.fd, &st);
    const int out = ::open(job.gtFile.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    bool ok = out >= 0;
    if (ok) {
      FileSink archive(out);
      ok = CopyRange(temp.fd, 0, static_cast<uint64_t>(st.st_size), archive);
      ok = ::close(out) == 0 && ok;
    }
    CloseAndRemove(temp);
    if (!ok) return call.Report(GT_FILE_WRITE_ERROR, job.gtFile);
  } else if (const int32_t code = InstallArchive(call, temp, job.gtFile); code != 0) {
    return code;
  }
  for (size_t i = 0; i < entries.size(); ++i) {
    if (remove[i]) call.Event(kMsgEventDeleted, entries[i].name);
  }
  return 0;
}

}  // namespace bngt32
