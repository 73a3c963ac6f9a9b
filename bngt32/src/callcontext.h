#pragma once
// The state of one gt or ugt call and the calling thread's context: busy flag,
// settings taken from the command structure, first-report rule, status
// callbacks, message texts and boxes, the event log.
#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <string>

#include "bngt32.h"

namespace bngt32 {

struct CallSettings {
  bool isUgt = false;
  bool allQuiet = false;
  bool diagnosticLog = false;
  bool eventLog = false;
  bool pumpMessages = true;
  bool minorCancels = false;
  int32_t kind = 0;
  GTMAJORSTATUSPROC major = nullptr;
  void* majorData = nullptr;
  GTMINORSTATUSPROC minor = nullptr;
  void* minorData = nullptr;
  GTMESSAGEDISPLAYPROC display = nullptr;
  void* displayData = nullptr;
  GTRENAMEPROC rename = nullptr;
  void* renameData = nullptr;
};

CallSettings SettingsOf(const GTCMDSTRUCT& command);
CallSettings SettingsOf(const UGTCMDSTRUCT& command);

// Message box types of the message display callback.
enum BoxType : int32_t {
  kBoxFileOpenError = 0,
  kBoxFileReadError = 1,
  kBoxFileWriteError = 2,
  kBoxOverwriteQuestion = 3,
  kBoxUgtError = 4,
  kBoxOperationError = 5,
  kBoxNote = 6,
  kBoxTextLookup = 7,
};

// Windows message-box button flags and answers.
constexpr uint32_t kButtonsOk = 0x0;
constexpr uint32_t kButtonsOverwrite = 15;
constexpr uint32_t kIconError = 0x10;
constexpr uint32_t kIconInformation = 0x40;
constexpr int32_t kAnswerOk = 1;
constexpr int32_t kAnswerCancel = 2;
constexpr int32_t kAnswerYes = 6;
constexpr int32_t kAnswerNo = 7;
constexpr int32_t kAnswerYesToAll = 100;
constexpr int32_t kAnswerYesToAllAlt = 5;
constexpr int32_t kAnswerRename = 101;

class Call {
public:
  explicit Call(const CallSettings& settings);
  ~Call();
  Call(const Call&) = delete;
  Call& operator=(const Call&) = delete;

  const CallSettings& Settings() const { return settings_; }

  // A catalogue text after the caller had its chance to rewrite it (type 7).
  std::string Text(int32_t number);
  // Text(number) with one printf argument.
  std::string Format(int32_t number, const std::string& argument);
  std::string Format(int32_t number, long first, long second);

  // Reports the call's result; only the first report of a call counts and 0 is
  // silent. Returns `code`.
  int32_t Report(int32_t code, const std::string& detail = {});
  bool Reported() const { return reported_; }
  // A note that does not stop the operation (not shown with bAllQuiet).
  void Note(const std::string& text);
  // A box through the message display callback, the presenter or stderr;
  // returns the answer.
  int32_t Present(int32_t type, uint32_t flags, int32_t code, const std::string& text,
                  const std::string& caption);
  // The overwrite question; returns one of the kAnswer* values (Yes to All as 100).
  int32_t AskOverwrite(const std::string& question);
  // The rename dialog; an empty result means cancelled.
  std::string AskRename(const std::string& originalPath);

  // Status callbacks; true means stop.
  bool MajorStop(const std::string& text, int32_t percent);
  bool MinorCancel(const std::string& itemName, uint64_t done, uint64_t total);

  // One line of the event log (opened with its header on the first event).
  void Event(int32_t number, const std::string& path);
  // A line appended to the diagnostic log (when on).
  void Diagnostic(const std::string& line);

  bool yesToAll = false;

private:
  void PumpMessages();

  CallSettings settings_;
  bool reported_ = false;
  std::FILE* eventLog_ = nullptr;
};

// The calling thread's busy flag: Acquire fails while a call runs on the thread.
class BusyGuard {
public:
  BusyGuard();
  ~BusyGuard();
  bool Acquired() const { return acquired_; }

private:
  bool acquired_;
};

// Reports "Busy" for a call refused on a busy thread, without touching the
// running call's state.
int32_t ReportBusy(const CallSettings& settings);

// Per-thread scratch data of the tar listing functions.
struct TarListingState {
  std::string archive;
  std::string pattern;
  int64_t nextIndex = 0;
};
TarListingState& ThreadTarListing();

// printf-like formatting of catalogue texts, which callers may rewrite: only
// %d, %i, %x, %X (with flags, width and "l") taking the numbers in turn, %s
// taking the text, and %%; anything else stays as it is written.
std::string FormatSafely(const std::string& format, std::initializer_list<long> numbers,
                         const std::string& text = {});

// The local date-time text of the item records: "MM/DD/YYYY hh:mm:ss".
std::string FormatLocalDateTime(int64_t unixTime);

}  // namespace bngt32
