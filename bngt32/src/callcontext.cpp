#include "callcontext.h"

#include <algorithm>
#include <cstring>
#include <ctime>

#include "catalogue.h"
#include "kintrail/platform/messagepump.h"
#include "logs.h"
#include "presenter.h"

namespace bngt32 {
namespace {

constexpr size_t kTextBufferSize = 260;
constexpr size_t kReportLimit = 250;

// The calling thread's context: its busy flag and scratch data. Built on the
// thread's first call, freed when the thread ends.
struct ThreadContext {
  bool busy = false;
  bool reportingBusy = false;
  char textBuffers[3][kTextBufferSize] = {};
  int nextBuffer = 0;
  TarListingState tarListing;
};

ThreadContext& Context() {
  thread_local ThreadContext context;
  return context;
}

bool AnswerAllowed(uint32_t flags, int32_t answer) {
  if (flags == kButtonsOverwrite) {
    return answer == kAnswerYes || answer == kAnswerNo || answer == kAnswerCancel ||
           answer == kAnswerYesToAll || answer == kAnswerYesToAllAlt || answer == kAnswerRename;
  }
  switch (flags & 0xF) {
    case 0: return answer == 1;
    case 1: return answer == 1 || answer == 2;
    case 2: return answer == 3 || answer == 4 || answer == 5;
    case 3: return answer == 2 || answer == 6 || answer == 7;
    case 4: return answer == 6 || answer == 7;
    case 5: return answer == 2 || answer == 4;
    default: return false;
  }
}

void CopyText(char* buffer, size_t size, const std::string& text) {
  const size_t n = std::min(text.size(), size - 1);
  std::memcpy(buffer, text.data(), n);
  buffer[n] = '\0';
}

}  // namespace

namespace {

// The fields both command structures share under the same names.
template <typename Command>
CallSettings CommonSettings(const Command& c, uint32_t subOptions) {
  CallSettings s;
  s.allQuiet = c.bAllQuiet != 0;
  s.diagnosticLog = c.bDiagnosticLog != 0;
  s.eventLog = (subOptions & GT_SUBOPT_EVENT_LOG) != 0;
  s.pumpMessages = (subOptions & GT_SUBOPT_NO_MESSAGE_PUMP) == 0;
  s.minorCancels = (subOptions & GT_SUBOPT_MINOR_CANCELS) != 0;
  s.major = c.lpMajorStatus;
  s.majorData = c.lpMajorUserData;
  s.minor = c.lpMinorStatus;
  s.minorData = c.lpMinorUserData;
  s.display = c.lpMessageDisplay;
  s.displayData = c.lpMessageDisplayData;
  s.rename = c.lpRenameProc;
  s.renameData = c.lpRenameUserData;
  return s;
}

}  // namespace

CallSettings SettingsOf(const GTCMDSTRUCT& c) { return CommonSettings(c, c.dwGTSubOptions); }

CallSettings SettingsOf(const UGTCMDSTRUCT& c) {
  CallSettings s = CommonSettings(c, c.dwUGTSubOptions);
  s.isUgt = true;
  return s;
}

Call::Call(const CallSettings& settings) : settings_(settings) {}

Call::~Call() {
  if (eventLog_ != nullptr) std::fclose(eventLog_);
}

std::string Call::Text(int32_t number) {
  ThreadContext& context = Context();
  char* buffer = context.textBuffers[context.nextBuffer];
  context.nextBuffer = (context.nextBuffer + 1) % 3;
  CopyText(buffer, kTextBufferSize, CatalogueText(number));
  if (settings_.display != nullptr) {
    char caption[kTextBufferSize] = " ";
    settings_.display(kBoxTextLookup, 0, number, 0, buffer, caption, settings_.displayData);
    buffer[kTextBufferSize - 1] = '\0';
  }
  return std::string(buffer);
}

std::string Call::Format(int32_t number, const std::string& argument) {
  return FormatSafely(Text(number), {}, argument);
}

std::string Call::Format(int32_t number, long first, long second) {
  return FormatSafely(Text(number), {first, second});
}

int32_t Call::Present(int32_t type, uint32_t flags, int32_t code, const std::string& text,
                      const std::string& caption) {
  if (settings_.display != nullptr) {
    char textBuffer[1024];
    char captionBuffer[kTextBufferSize];
    CopyText(textBuffer, sizeof textBuffer, text);
    CopyText(captionBuffer, sizeof captionBuffer, caption);
    const int32_t answer = settings_.display(type, flags, code, 0, textBuffer, captionBuffer,
                                             settings_.displayData);
    if (AnswerAllowed(flags, answer)) return answer;
  }
  if (type == kBoxOverwriteQuestion) return ShowOverwriteDialog(text, caption);
  return ShowMessageBox(text, caption, flags);
}

int32_t Call::Report(int32_t code, const std::string& detail) {
  if (reported_) return code;
  reported_ = true;
  if (code == 0) return 0;
  std::string text;
  const int32_t base = settings_.isUgt ? kMsgUgtResultBase : kMsgGtResultBase;
  if (settings_.isUgt) text = Text(kMsgErrorCaption) + " ";
  text += Text(base + code);
  if (!detail.empty()) {
    const size_t room = text.size() + 3 < kReportLimit ? kReportLimit - text.size() - 3 : 0;
    text += " (" + detail.substr(0, room) + ")";
  }
  if (settings_.isUgt) text += "\n";
  Diagnostic(text);
  if (!settings_.allQuiet) {
    Present(settings_.isUgt ? kBoxUgtError : kBoxOperationError, kButtonsOk | kIconError, code,
            text, Text(kMsgErrorCaption));
  }
  return code;
}

void Call::Note(const std::string& text) {
  if (settings_.allQuiet) return;
  Present(kBoxNote, kButtonsOk | kIconInformation, 0, text, Text(kMsgWarningCaption));
}

int32_t Call::AskOverwrite(const std::string& question) {
  int32_t answer =
      Present(kBoxOverwriteQuestion, kButtonsOverwrite, 0, question, Text(kMsgWarningCaption));
  if (answer == kAnswerYesToAllAlt) answer = kAnswerYesToAll;
  return answer;
}

std::string Call::AskRename(const std::string& originalPath) {
  return ShowRenameDialog(Text(kMsgRenameRequest), originalPath);
}

void Call::PumpMessages() {
  if (settings_.pumpMessages) kt::ProcessPendingMessages();
}

bool Call::MajorStop(const std::string& text, int32_t percent) {
  if (settings_.major == nullptr) return false;
  const int32_t answer = settings_.major(text.c_str(), percent, settings_.kind, settings_.majorData);
  PumpMessages();
  return answer != 0;
}

bool Call::MinorCancel(const std::string& itemName, uint64_t done, uint64_t total) {
  if (settings_.minor == nullptr) return false;
  uint64_t percent = total == 0 ? 100 : done * 100 / total;
  if (percent > 100) percent = 100;
  const int32_t answer = settings_.minor(itemName.c_str(), static_cast<int32_t>(percent),
                                         settings_.kind, settings_.minorData);
  PumpMessages();
  return settings_.minorCancels && answer != 0;
}

void Call::Event(int32_t number, const std::string& path) {
  if (!settings_.eventLog) return;
  if (eventLog_ == nullptr) {
    eventLog_ = std::fopen(LogPath(Text(kMsgEventLogFile)).c_str(), "ab");
    if (eventLog_ == nullptr) return;
    const std::string header =
        Format(kMsgEventLogHeader, FormatLocalDateTime(static_cast<int64_t>(std::time(nullptr))));
    std::fprintf(eventLog_, "%s\n", header.c_str());
  }
  const std::string line = Format(number, path);
  std::fprintf(eventLog_, "%s\n", line.c_str());
}

void Call::Diagnostic(const std::string& line) {
  if (!settings_.diagnosticLog) return;
  AppendToFile(LogPath(Text(kMsgDiagnosticLogFile)), "\n" + line + "\n");
}

BusyGuard::BusyGuard() {
  ThreadContext& context = Context();
  acquired_ = !context.busy;
  if (acquired_) context.busy = true;
}

BusyGuard::~BusyGuard() {
  if (acquired_) Context().busy = false;
}

int32_t ReportBusy(const CallSettings& settings) {
  ThreadContext& context = Context();
  // A display callback that calls in again while this is shown gets 2 silently.
  if (context.reportingBusy) return GT_BUSY;
  context.reportingBusy = true;
  Call call(settings);
  call.Report(GT_BUSY);
  context.reportingBusy = false;
  return GT_BUSY;
}

TarListingState& ThreadTarListing() { return Context().tarListing; }

std::string FormatSafely(const std::string& format, std::initializer_list<long> numbers,
                         const std::string& text) {
  std::string out;
  auto number = numbers.begin();
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%') {
      out += format[i];
      continue;
    }
    size_t j = i + 1;
    std::string flags;
    while (j < format.size() && std::strchr("#0-+ ", format[j]) != nullptr) flags += format[j++];
    std::string width;
    while (j < format.size() && width.size() < 3 && format[j] >= '0' && format[j] <= '9') {
      width += format[j++];
    }
    while (j < format.size() && format[j] == 'l') ++j;
    const char conversion = j < format.size() ? format[j] : '\0';
    char piece[64];
    if (conversion == 'd' || conversion == 'i' || conversion == 'x' || conversion == 'X') {
      const long value = number != numbers.end() ? *number++ : 0;
      const std::string spec = "%" + flags + width + "l" + conversion;
      std::snprintf(piece, sizeof piece, spec.c_str(), value);
      out += piece;
    } else if (conversion == 's') {
      out += text;
    } else if (conversion == '%' && j == i + 1) {
      out += '%';
    } else {
      out.append(format, i, j - i + (conversion != '\0' ? 1 : 0));
    }
    i = conversion != '\0' ? j : format.size();
  }
  return out;
}

std::string FormatLocalDateTime(int64_t unixTime) {
  const std::time_t t = static_cast<std::time_t>(unixTime);
  std::tm local{};
  localtime_r(&t, &local);
  char text[64];
  std::snprintf(text, sizeof text, "%02u/%02u/%04u %02u:%02u:%02u",
                static_cast<unsigned>(local.tm_mon + 1), static_cast<unsigned>(local.tm_mday),
                static_cast<unsigned>(local.tm_year + 1900), static_cast<unsigned>(local.tm_hour),
                static_cast<unsigned>(local.tm_min), static_cast<unsigned>(local.tm_sec));
  return text;
}

}  // namespace bngt32
