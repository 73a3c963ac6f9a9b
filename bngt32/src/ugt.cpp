// The ugt entry point: checks the reading structure and runs its function.
#include <cstring>
#include <new>

#include "bngt32.h"
#include "callcontext.h"
#include "catalogue.h"
#include "fileops.h"
#include "logs.h"
#include "operations.h"

namespace bngt32 {
namespace {

std::string Text(const char* p) { return p == nullptr ? std::string() : std::string(p); }

bool IsExtraction(int32_t function) {
  return function == UGT_FUNCTION_GUNZIP || function == UGT_FUNCTION_UNTAR ||
         function == UGT_FUNCTION_UNTAR_ALT1 || function == UGT_FUNCTION_UNTAR_ALT2;
}

// The checks every reading function makes before it starts (0 or 11).
int32_t CheckCommon(Call& call, UGTCMDSTRUCT& c, UgtJob& job) {
  if (job.gtFile.empty() && c.lFunction != UGT_FUNCTION_GUNZIP_TO_CALLBACK) {
    return call.Report(GT_BAD_PARAMETERS, call.Text(kMsgGzipTarFilenameNotProvided));
  }
  if (IsExtraction(c.lFunction) && c.TestFlag == 0) {
    if (job.destination.empty()) {
      return call.Report(GT_BAD_PARAMETERS, call.Text(kMsgDestinationNotProvided));
    }
    if (job.destination[0] != '/') {
      return call.Report(GT_BAD_PARAMETERS, call.Text(kMsgDestinationMustBeAbsolute));
    }
  }
  if (c.bFreshenFlag != 0 && c.bUpdateFlag != 0) {
    return call.Report(GT_BAD_PARAMETERS, call.Text(kMsgFreshenAndUpdate));
  }
  if (IsExtraction(c.lFunction) && (c.bFreshenFlag != 0 || c.bUpdateFlag != 0) &&
      job.destination.empty()) {
    return call.Report(GT_BAD_PARAMETERS, call.Text(kMsgNeedDestinationToFreshen));
  }
  if (c.lpszDecryptCode != nullptr && strnlen(c.lpszDecryptCode, 67) > 65) {
    return call.Report(GT_BAD_PARAMETERS, call.Text(kMsgDecryptionKey));
  }
  return 0;
}

int32_t RunUgt(Call& call, UGTCMDSTRUCT& c) {
  UgtJob job;
  job.command = &c;
  job.gtFile = StripQuotes(Text(c.lpszGTFile));
  job.destination = WithTrailingSlash(StripQuotes(Text(c.lpszDestination)));
  job.filespec = Text(c.lpszFilespec);
  if (c.lFunction < UGT_FUNCTION_GUNZIP || c.lFunction > UGT_FUNCTION_TAR_BY_INDEX) {
    return call.Report(GT_BAD_PARAMETERS, call.Text(kMsgUnknownFunction));
  }
  if (const int32_t code = CheckCommon(call, c, job); code != 0) return code;
  switch (c.lFunction) {
    case UGT_FUNCTION_GUNZIP: return Gunzip(call, job);
    case UGT_FUNCTION_UNTAR:
    case UGT_FUNCTION_UNTAR_ALT1:
    case UGT_FUNCTION_UNTAR_ALT2: return Untar(call, job);
    case UGT_FUNCTION_GUNZIP_TO_MEM:
    case UGT_FUNCTION_GUNZIP_TO_MEM_ALT: return GunzipToMemory(call, job);
    case UGT_FUNCTION_GUNZIP_TO_CALLBACK: return GunzipToCallback(call, job);
    case UGT_FUNCTION_COUNT: return CountItems(call, job, false);
    case UGT_FUNCTION_COUNT_MATCHING: return CountItems(call, job, true);
    case UGT_FUNCTION_GZIP_INFO: return FillGzipInfo(call, job);
    default: return FillTarInfo(call, job);
  }
}

void WriteResponse(Call& call, int32_t code, const UGTCMDSTRUCT& c) {
  if (!call.Settings().diagnosticLog) return;
  std::string text = call.Text(kMsgUgtResponse) + " " + std::to_string(code) + " " +
                     call.Text(kMsgUgtResultBase + code) + "\n";
  text += FormatSafely(call.Text(kMsgReturnCountLine), {static_cast<long>(c.lReturnCount)}) + "\n";
  text += FormatSafely(call.Text(kMsgReturnStringLine) + " %#08lx",
                       {static_cast<long>(reinterpret_cast<uintptr_t>(c.lpszReturnString))}) +
          "\n";
  AppendToFile(LogPath(call.Text(kMsgEventLogFile)), text);
}

}  // namespace
}  // namespace bngt32

using namespace bngt32;

extern "C" BNGT32_API int32_t BNGT32_CALLBACK ugt(UGTCMDSTRUCT* command) {
  try {
    if (command == nullptr) return GT_BAD_PARAMETERS;
    const bool sizeRight = command->ulugtStructSize == UGTCMDSTRUCT_SIZE;
    CallSettings settings = sizeRight ? SettingsOf(*command) : CallSettings{};
    settings.isUgt = true;
    BusyGuard busy;
    if (!busy.Acquired()) return ReportBusy(settings);
    if (sizeRight) {
      settings.kind = (command->lFunction == UGT_FUNCTION_GUNZIP ||
                       command->lFunction == UGT_FUNCTION_GUNZIP_TO_MEM ||
                       command->lFunction == UGT_FUNCTION_GUNZIP_TO_CALLBACK ||
                       command->lFunction == UGT_FUNCTION_GUNZIP_TO_MEM_ALT)
                          ? 0
                          : 1;
    }
    Call call(settings);
    if (!sizeRight) return call.Report(GT_BAD_PARAMETERS, call.Text(kMsgUgtSizeIncorrect));
    if (command->bDiagnosticLog != 0) WriteDiagnosticStructure(call, *command);
    // Work on a copy; only the outputs go back to the caller's structure.
    UGTCMDSTRUCT copy = *command;
    copy.lReturnCount = 0;
    const int32_t code = call.Report(RunUgt(call, copy));
    command->lReturnCount = copy.lReturnCount;
    WriteResponse(call, code, copy);
    return code;
  } catch (const std::bad_alloc&) {
    return GT_OUT_OF_MEMORY;
  } catch (...) {
    return GT_INCOMPLETE;
  }
}
