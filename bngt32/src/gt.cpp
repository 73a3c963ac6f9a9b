// The gt entry point: checks the creation structure and runs its function.
#include <new>

#include "bngt32.h"
#include "callcontext.h"
#include "catalogue.h"
#include "fileops.h"
#include "logs.h"
#include "operations.h"
#include "presenter.h"

namespace bngt32 {
namespace {

int32_t KindOf(int32_t function) {
  switch (function) {
    case GT_FUNCTION_GZIP: return 0;
    case GT_FUNCTION_TAR:
    case GT_FUNCTION_TAR_DELETE: return 1;
    case GT_FUNCTION_MEM_TO_MEM: return 2;
    case GT_FUNCTION_GZIP_TO_FILE:
    case GT_FUNCTION_GZIP_TO_MEM: return 3;
    case GT_FUNCTION_TAR_ALT: return 4;
    default: return 0;
  }
}

std::string Text(const char* p) { return p == nullptr ? std::string() : std::string(p); }

bool HasCallbackFunction(const GTCMDSTRUCT& c) {
  return c.lpCallbackStruct != nullptr && c.lpCallbackStruct->lpDataProc != nullptr;
}

bool FunctionRequirementsMet(const GTCMDSTRUCT& c, const GtJob& job) {
  const bool file = !job.gtFile.empty();
  const bool destination = !job.destination.empty();
  switch (c.lFunction) {
    case GT_FUNCTION_GZIP:
      return (file && !destination && !job.pieces.empty()) || (destination && !file);
    case GT_FUNCTION_TAR:
    case GT_FUNCTION_TAR_DELETE:
    case GT_FUNCTION_GZIP_TO_FILE:
    case GT_FUNCTION_TAR_ALT:
      return file && !destination;
    case GT_FUNCTION_MEM_TO_MEM:
      return c.lpMemBlock == nullptr && !file && HasCallbackFunction(c);
    case GT_FUNCTION_GZIP_TO_MEM:
      return !job.pieces.empty() && HasCallbackFunction(c);
    default:
      return false;
  }
}

int32_t RunGt(Call& call, const GTCMDSTRUCT& c) {
  GtJob job;
  job.command = &c;
  job.function = c.lFunction;
  job.gtFile = StripQuotes(Text(c.lpszGTFile));
  job.destination = WithTrailingSlash(StripQuotes(Text(c.lpszDestination)));
  job.tempPath = WithTrailingSlash(StripQuotes(Text(c.lpszTempPath)));
  job.pieces = SplitItemList(Text(c.lpszItemList));
  if (c.lFunction < GT_FUNCTION_GZIP || c.lFunction > GT_FUNCTION_TAR_ALT) {
    return call.Report(GT_BAD_PARAMETERS, call.Text(kMsgInvalidOptions));
  }
  if (!FunctionRequirementsMet(c, job)) return call.Report(GT_BAD_PARAMETERS);
  if (job.tempPath.empty()) job.tempPath = job.gtFile.empty() ? job.destination : FolderOf(job.gtFile);
  if (c.bEncryptFlag != 0) {
    return call.Report(GT_BAD_PARAMETERS, call.Text(kMsgEncryptionNotSupported));
  }
  const bool tar = c.lFunction == GT_FUNCTION_TAR || c.lFunction == GT_FUNCTION_TAR_ALT ||
                   c.lFunction == GT_FUNCTION_TAR_DELETE;
  if (tar && c.bLFtoCRLF != 0) {
    // The header's size must match the stored bytes; translation is not offered for tar.
    return call.Report(GT_BAD_PARAMETERS, call.Text(kMsgCantTranslateEol));
  }

  CollectOptions& o = job.collect;
  o.recurse = c.bRecurseFlag != 0;
  o.noDirectoryNames = c.bNoDirectoryNames != 0;
  o.dosify = c.bDosify != 0;
  o.includeSysHidden = c.bIncludeSysHidden != 0;
  o.subOptions = c.dwGTSubOptions;
  o.includeList = Text(c.lpszIncludeList);
  o.excludeList = Text(c.lpszExludeList);
  o.includeDates = c.bInclDate != 0;
  o.excludeDates = c.bExclDate != 0;
  if (o.includeDates || o.excludeDates) {
    const std::string d1 = Text(c.lpszDate1), d2 = Text(c.lpszDate2);
    bool ok = true;
    if (!d1.empty()) ok = ok && ParseFilterDate(d1, false, o.dateFrom);
    if (!d2.empty()) ok = ok && ParseFilterDate(d2, true, o.dateTo);
    if (!ok) return call.Report(GT_BAD_PARAMETERS, call.Text(kMsgInvalidDate));
    o.haveDates = !d1.empty() && !d2.empty();
  }
  job.level = c.lCompFactor < 1 ? 1 : (c.lCompFactor > 9 ? 9 : c.lCompFactor);

  switch (c.lFunction) {
    case GT_FUNCTION_GZIP:
    case GT_FUNCTION_GZIP_TO_FILE: return GzipItems(call, job);
    case GT_FUNCTION_TAR:
    case GT_FUNCTION_TAR_ALT: return TarAddItems(call, job);
    case GT_FUNCTION_TAR_DELETE: return TarDeleteItems(call, job);
    case GT_FUNCTION_MEM_TO_MEM: return GzipMemoryToMemory(call, job);
    case GT_FUNCTION_GZIP_TO_MEM: return GzipItemsToCallback(call, job);
    default: return call.Report(GT_BAD_PARAMETERS);
  }
}

}  // namespace
}  // namespace bngt32

using namespace bngt32;

extern "C" BNGT32_API int32_t BNGT32_CALLBACK gt(const GTCMDSTRUCT* command) {
  try {
    if (command == nullptr) return GT_BAD_PARAMETERS;
    // Nothing past the size field is read until the size is known to be right.
    const bool sizeRight = command->ulgtStructSize == GTCMDSTRUCT_SIZE;
    const CallSettings settings = sizeRight ? SettingsOf(*command) : CallSettings{};
    BusyGuard busy;
    if (!busy.Acquired()) return ReportBusy(settings);
    const GTCMDSTRUCT copy = sizeRight ? *command : GTCMDSTRUCT{};
    CallSettings callSettings = settings;
    callSettings.kind = KindOf(copy.lFunction);
    Call call(callSettings);
    if (sizeRight && copy.bDiagnosticLog != 0) WriteDiagnosticStructure(call, copy);
    if (!sizeRight) return call.Report(GT_BAD_PARAMETERS);
    const int32_t code = RunGt(call, copy);
    return call.Report(code);
  } catch (const std::bad_alloc&) {
    return GT_OUT_OF_MEMORY;
  } catch (...) {
    return GT_INCOMPLETE;
  }
}

extern "C" BNGT32_API void BNGT32_CALLBACK gtSetPresenter(const GTPRESENTER* presenter) {
  InstallPresenter(presenter);
}
