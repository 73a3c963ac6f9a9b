// gt functions 1, 4, 5 and 6: each item into a gzip file of one member.
#include <fcntl.h>
#include <unistd.h>

#include <ctime>

#include "callcontext.h"
#include "catalogue.h"
#include "fileops.h"
#include "gzipformat.h"
#include "itemrecord.h"
#include "kintrail/platform/text.h"
#include "operations.h"

namespace bngt32 {
namespace {

GzipWriteOptions OptionsFor(const GtJob& job, const std::string& storedName, int64_t mtime) {
  GzipWriteOptions options;
  options.storedName = ToHeaderName(storedName);
  options.addComment = job.command->bAddComment != 0 && job.command->lpszComment != nullptr;
  if (options.addComment) options.comment = kt::Utf8ToWin1252(job.command->lpszComment);
  options.mtime = static_cast<uint32_t>(mtime);
  options.level = job.level;
  options.lfToCrlf = job.command->bLFtoCRLF != 0;
  return options;
}

bool DataFromMemoryBlock(const GTCMDSTRUCT& c, const GtJob& job) {
  return c.lMemBlockSize >= 0 && c.lpMemBlock != nullptr && !job.pieces.empty();
}

uint32_t RecordedAttributes(const GtJob& job, uint32_t attributes) {
  const uint32_t both = GT_SUBOPT_ARCHIVE_ONLY | GT_SUBOPT_CLEAR_ARCHIVE;
  if ((job.collect.subOptions & both) == both) attributes &= ~GT_ATTR_ARCHIVE;
  return attributes;
}

std::string FailureDetail(Call& call, const std::string& path) {
  return call.Text(kMsgWasAboutToCompress) + " " + path;
}

// Compresses one item into the sink; reports its failures.
int32_t CompressItem(Call& call, const GtJob& job, Item& item, ByteSink& sink) {
  const GTCMDSTRUCT& c = *job.command;
  if (!item.storedName.empty() && item.storedName.back() == '/') {
    return call.Report(GT_FILE_OPEN_ERROR, item.sourcePath);
  }
  int fd = -1;
  if (!DataFromMemoryBlock(c, job)) {
    fd = ::open(item.sourcePath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
      call.Note(call.Text(kMsgCouldNotOpenForReading) + item.sourcePath);
      return call.Report(GT_FILE_OPEN_ERROR, item.sourcePath);
    }
  }
  ItemFields fields{item.storedName, item.sourcePath, item.mtime, item.attributes};
  OfferToRenameCallback(call, 2, fields);
  item.storedName = fields.storedName;
  item.mtime = fields.mtime;
  item.attributes = fields.attributes;

  const std::string progressName = item.storedName;
  const uint64_t total = item.size;
  auto progress = [&](uint64_t done) { return call.MinorCancel(progressName, done, total); };
  int32_t code;
  if (fd >= 0) {
    FileSource source(fd);
    code = WriteGzipMember(source, sink, OptionsFor(job, item.storedName, item.mtime), progress);
    ::close(fd);
  } else {
    MemorySource source(c.lpMemBlock, static_cast<size_t>(c.lMemBlockSize));
    code = WriteGzipMember(source, sink, OptionsFor(job, item.storedName, item.mtime), progress);
  }
  if (code != 0) return call.Report(code, FailureDetail(call, item.sourcePath));
  return 0;
}

int32_t ItemsOf(Call& call, const GtJob& job, std::vector<Item>& items) {
  const GTCMDSTRUCT& c = *job.command;
  if (DataFromMemoryBlock(c, job)) {
    // The single item's data is the caller's block; the list only names it.
    Item item;
    item.sourcePath = job.pieces.front();
    item.storedName = StoredNameFor(item.sourcePath, FolderOf(item.sourcePath), job.collect);
    item.size = static_cast<uint64_t>(c.lMemBlockSize);
    item.mtime = static_cast<int64_t>(std::time(nullptr));
    item.attributes = GT_ATTR_ARCHIVE;
    items.push_back(item);
    return 0;
  }
  return CollectItems(call, job.pieces, job.collect, items);
}

}  // namespace

std::string ToHeaderName(const std::string& name) {
  return kt::Win1252ToCp437(kt::Utf8ToWin1252(name, '_'));
}

std::string FromHeaderName(const std::string& bytes) {
  // Names written by Unix tools are UTF-8 already; others are CP437.
  bool ascii = true;
  for (unsigned char c : bytes) ascii = ascii && c < 0x80;
  if (!ascii && kt::IsValidUtf8(bytes)) return bytes;
  return kt::Win1252ToUtf8(kt::Cp437ToWin1252(bytes));
}

int32_t GzipItems(Call& call, const GtJob& job) {
  std::vector<Item> items;
  if (const int32_t code = ItemsOf(call, job, items); code != 0) return call.Report(code);
  // The output folder holds the temporary files too; it is made when missing.
  if (!job.destination.empty() && job.tempPath == job.destination) {
    CreateMissingFolders(job.destination);
  }
  const long total = static_cast<long>(items.size());
  for (long i = 0; i < total; ++i) {
    Item& item = items[static_cast<size_t>(i)];
    TempFile temp;
    if (!CreateTempFile(job.tempPath, temp)) {
      return call.Report(GT_FILE_CREATE_ERROR, job.tempPath.empty() ? "./" : job.tempPath);
    }
    if (call.MajorStop(call.Format(kMsgGtItemOfTotal, i + 1, total),
                       static_cast<int32_t>((i + 1) * 100 / total))) {
      CloseAndRemove(temp);
      return call.Report(GT_ABORTED);
    }
    FileSink sink(temp.fd);
    if (const int32_t code = CompressItem(call, job, item, sink); code != 0) {
      CloseAndRemove(temp);
      return code;
    }
    const bool closed = ::close(temp.fd) == 0;
    temp.fd = -1;
    if (!closed) {
      CloseAndRemove(temp);
      return call.Report(GT_FILE_WRITE_ERROR, FailureDetail(call, item.sourcePath));
    }
    const std::string output =
        !job.gtFile.empty() ? job.gtFile : job.destination + FileNameOf(item.sourcePath) + ".gz";
    if (!CreateMissingFolders(FolderOf(output))) {
      CloseAndRemove(temp);
      return call.Report(GT_FILE_CREATE_ERROR, output);
    }
    if (const int32_t code = ReplaceWithTemp(temp.path, output); code != 0) {
      CloseAndRemove(temp);
      return call.Report(code, output);
    }
    ApplyReadOnly(output, (RecordedAttributes(job, item.attributes) & GT_ATTR_READONLY) != 0);
    call.Event(kMsgEventAdded, item.sourcePath);
  }
  return 0;
}

int32_t GzipItemsToCallback(Call& call, const GtJob& job) {
  std::vector<Item> items;
  if (const int32_t code = ItemsOf(call, job, items); code != 0) return call.Report(code);
  const GTCALLBACKSTRUCT& block = *job.command->lpCallbackStruct;
  CallbackSink sink(block.lpDataProc, block.lpDataUserData);
  const long total = static_cast<long>(items.size());
  for (long i = 0; i < total; ++i) {
    Item& item = items[static_cast<size_t>(i)];
    if (call.MajorStop(call.Format(kMsgGtItemOfTotal, i + 1, total),
                       static_cast<int32_t>((i + 1) * 100 / total))) {
      return call.Report(GT_ABORTED);
    }
    if (const int32_t code = CompressItem(call, job, item, sink); code != 0) return code;
    call.Event(kMsgEventMemory, item.sourcePath);
  }
  return 0;
}

int32_t GzipMemoryToMemory(Call& call, const GtJob& job) {
  const GTCALLBACKSTRUCT& block = *job.command->lpCallbackStruct;
  CallbackSource source(block.lpDataProc, block.lpDataUserData);
  CallbackSink sink(block.lpDataProc, block.lpDataUserData);
  const GzipWriteOptions options = OptionsFor(job, std::string(), std::time(nullptr));
  if (const int32_t code = WriteGzipMember(source, sink, options); code != 0) {
    return call.Report(code);
  }
  call.Event(kMsgEventMemoryToMemory, std::string());
  return 0;
}

}  // namespace bngt32
