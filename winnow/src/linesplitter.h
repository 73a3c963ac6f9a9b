#pragma once
// Cuts a byte stream, fed in blocks of any size, into lines ending at CR LF,
// CR or LF; the line end is not part of the line. A last line without a line
// end is a line too.
#include <cstring>
#include <string>
#include <string_view>

namespace kt::winnow {

template <class OnLine>
class LineSplitter {
 public:
  explicit LineSplitter(OnLine& onLine) : onLine_(onLine) {}

  void Feed(std::string_view block) {
    const char* p = block.data();
    const char* const end = p + block.size();
    if (skipLineFeed_ && p < end) {
      if (*p == '\n') ++p;
      skipLineFeed_ = false;
    }
    // Lines mostly end in LF: find LFs with memchr and look for a CR only
    // inside the line found (and only when the block has one at all), so
    // CR LF, LF and CR files all take one pass.
    const bool hasCarriageReturn = std::memchr(p, '\r', static_cast<size_t>(end - p)) != nullptr;
    const char* nextLineFeed = nullptr;
    while (p < end) {
      if (nextLineFeed == nullptr || nextLineFeed < p) {
        nextLineFeed = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)));
        if (nextLineFeed == nullptr) nextLineFeed = end;
      }
      const char* lineEnd =
          hasCarriageReturn ? static_cast<const char*>(std::memchr(p, '\r', static_cast<size_t>(nextLineFeed - p)))
                            : nullptr;
      if (lineEnd == nullptr) lineEnd = nextLineFeed;
      if (lineEnd == end) {
        carry_.append(p, static_cast<size_t>(end - p));
        return;
      }
      Emit(std::string_view(p, static_cast<size_t>(lineEnd - p)));
      p = lineEnd + 1;
      if (*lineEnd == '\r') {
        if (p == end) {
          skipLineFeed_ = true;
        } else if (*p == '\n') {
          ++p;
        }
      }
    }
  }

  // The end of the stream: a last line without a line end.
  void Finish() {
    if (!carry_.empty()) {
      std::string last = std::move(carry_);
      carry_.clear();
      onLine_(std::string_view(last));
    }
  }

 private:
  void Emit(std::string_view line) {
    if (carry_.empty()) {
      onLine_(line);
      return;
    }
    carry_.append(line);
    onLine_(std::string_view(carry_));
    carry_.clear();
  }

  OnLine& onLine_;
  std::string carry_;
  bool skipLineFeed_ = false;
};

}  // namespace kt::winnow
