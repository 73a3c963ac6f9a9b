// ugt functions 1, 3, 4 and 5: a gzip file back into a file, a memory block
// or the caller's data function.
#include <fcntl.h>
#include <unistd.h>

#include <ctime>

#include "callcontext.h"
#include "catalogue.h"
#include "extractoutput.h"
#include "fileops.h"
#include "gzipformat.h"
#include "operations.h"

namespace bngt32 {
namespace {

// The stored name, or the gzip file's own path without its folder root and
// without its last extension.
std::string NameOf(const GzipHeader& header, const std::string& gzipPath) {
  if (header.hasName && !header.name.empty()) return FromHeaderName(header.name);
  std::string path = AbsolutePath(gzipPath);
  while (!path.empty() && path[0] == '/') path.erase(0, 1);
  const size_t dot = path.rfind('.');
  const size_t slash = path.rfind('/');
  if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) path.erase(dot);
  return path;
}

// Opens the file and reads its header; reports failures.
int32_t OpenGzip(Call& call, const UgtJob& job, int& fd, GzipHeader& header) {
  fd = ::open(job.gtFile.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return call.Report(GT_FILE_OPEN_ERROR, call.Text(601));
  FileSource source(fd);
  if (const int32_t code = ReadGzipHeader(source, header); code != 0) {
    return call.Report(code, job.gtFile);
  }
  return 0;
}

int32_t DecodeTo(Call& call, const UgtJob& job, ByteSink& sink, uint64_t* size) {
  int fd = -1;
  GzipHeader header;
  const int32_t opened = OpenGzip(call, job, fd, header);
  FdCloser closer(fd);
  if (opened != 0) return opened;
  FileSource source(fd);
  GzipBodyResult result;
  const uint64_t total = StatFile(job.gtFile).size;
  const std::string name = NameOf(header, job.gtFile);
  auto progress = [&](uint64_t done) { return call.MinorCancel(name, done, total); };
  const int32_t code = DecodeGzipBody(source, header, sink, result, progress);
  if (code != 0) return call.Report(code, job.gtFile);
  if (size != nullptr) *size = result.size;
  return 0;
}

}  // namespace

int32_t Gunzip(Call& call, const UgtJob& job) {
  UGTCMDSTRUCT& c = *job.command;
  int fd = -1;
  GzipHeader header;
  const int32_t opened = OpenGzip(call, job, fd, header);
  FdCloser closer(fd);
  if (opened != 0) return opened;

  const FileInfo gzipFile = StatFile(job.gtFile);
  const ExtractSettings settings = ExtractSettingsOf(c, job.destination, job.gtFile);
  ExtractItemRequest request;
  request.storedName = NameOf(header, job.gtFile);
  request.mtime = header.mtime;
  request.attributes = gzipFile.attributes | GT_ATTR_ARCHIVE;
  request.kind = 2;
  if (call.MajorStop(call.Format(settings.test ? kMsgTesting : kMsgExtracting, request.storedName),
                     0)) {
    return call.Report(GT_ABORTED);
  }
  FileSource source(fd);
  auto decode = [&](ByteSink& sink) {
    GzipBodyResult result;
    auto progress = [&](uint64_t done) {
      return call.MinorCancel(request.storedName, done, gzipFile.size);
    };
    return DecodeGzipBody(source, header, sink, result, progress);
  };
  // Without a stored time the file keeps the time it was written.
  if (header.mtime == 0) request.mtime = static_cast<int64_t>(std::time(nullptr));
  const ExtractOutcome outcome = ExtractItem(call, settings, request, decode);
  if (outcome.done) c.lReturnCount = 1;
  return call.Report(outcome.code, outcome.detail);
}

int32_t GunzipToMemory(Call& call, const UgtJob& job) {
  UGTCMDSTRUCT& c = *job.command;
  if (c.lpMemBlock == nullptr || c.lMemBlockSize <= 0 || c.lStartingOffset < 0 ||
      c.lStartingOffset > c.lMemBlockSize) {
    return call.Report(GT_BAD_PARAMETERS, call.Text(kMsgInconsistentFileToMem));
  }
  MemorySink sink(static_cast<unsigned char*>(c.lpMemBlock) + c.lStartingOffset,
                  static_cast<size_t>(c.lMemBlockSize - c.lStartingOffset));
  const int32_t code = DecodeTo(call, job, sink, nullptr);
  c.lReturnCount = static_cast<int32_t>(sink.Written());
  return code;
}

int32_t GunzipToCallback(Call& call, const UgtJob& job) {
  UGTCMDSTRUCT& c = *job.command;
  if (c.lpCallbackStruct == nullptr || c.lpCallbackStruct->lpDataProc == nullptr ||
      job.gtFile.empty()) {
    return call.Report(GT_BAD_PARAMETERS, call.Text(kMsgInconsistentFileToMem));
  }
  CallbackSink sink(c.lpCallbackStruct->lpDataProc, c.lpCallbackStruct->lpDataUserData);
  uint64_t size = 0;
  const int32_t code = DecodeTo(call, job, sink, &size);
  if (code == 0) c.lReturnCount = 1;
  return code;
}

int32_t FillGzipInfo(Call& call, const UgtJob& job) {
  UGTCMDSTRUCT& c = *job.command;
  auto* info = static_cast<GZIPINFO*>(c.gzipInfo);
  if (info == nullptr || info->ulStructSize != GZIPINFO_SIZE) {
    return call.Report(GT_BAD_PARAMETERS, call.Text(kMsgGzipInfoInvalid));
  }
  int fd = -1;
  GzipHeader header;
  const int32_t opened = OpenGzip(call, job, fd, header);
  FdCloser closer(fd);
  if (opened != 0) return opened;
  FileSource source(fd);
  NullSink none;
  GzipBodyResult result;
  const int32_t code = DecodeGzipBody(source, header, none, result);
  *info = GZIPINFO{};
  info->ulStructSize = GZIPINFO_SIZE;
  info->dwMethod = header.method;
  info->dwFlags = header.flags;
  info->dwModTime = header.mtime;
  info->dwExtraFlags = header.extraFlags;
  info->dwOS = header.os;
  info->dwCRC = result.trailerCrc;
  info->dwOriginalSize = result.trailerSize;
  info->dwCompressedSize = static_cast<uint32_t>(result.compressedSize);
  const std::string name = NameOf(header, job.gtFile).substr(0, sizeof info->szName - 1);
  name.copy(info->szName, name.size());
  const std::string date = FormatLocalDateTime(header.mtime);
  date.copy(info->szDateTime, std::min(date.size(), sizeof info->szDateTime - 1));
  if (code != 0) return call.Report(code, job.gtFile);
  c.lReturnCount = 1;
  return 0;
}

}  // namespace bngt32
