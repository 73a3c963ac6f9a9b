#pragma once
// The library-wide output channel: per-thread settings and the one file an
// output (summary or extract) is written to.
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace kt::winnow {

struct OutputSettings {
  std::string OutputFileName;
  std::string StringAtBeginning;
  std::string StringAtEnd;
  int16_t CharEncoding = 0;
  std::FILE* file = nullptr;  // open between the first write and FinishOutput

  OutputSettings() = default;
  OutputSettings(const OutputSettings&) = delete;
  OutputSettings& operator=(const OutputSettings&) = delete;
  ~OutputSettings() {
    if (file != nullptr) std::fclose(file);  // an output that failed half-way
  }
};

// The calling thread's settings.
OutputSettings& ThreadOutput();

// first = true starts an output: the file is created (or emptied) and
// StringAtBeginning plus CR LF written. Then text is written unchanged.
void WriteOutput(std::string_view text, bool first);
// Writes StringAtEnd and closes the file.
void FinishOutput();

// Collects the pieces of an output and hands them to WriteOutput in large
// blocks; the file receives exactly the same bytes.
class OutputBuffer {
 public:
  OutputBuffer() { buffer_.reserve(4096); }
  // Starts the output (writes StringAtBeginning) at once, so that a file that
  // cannot be created fails before anything else happens.
  void Start() { WriteOutput({}, true); }
  OutputBuffer& operator<<(std::string_view text) {
    buffer_.append(text);
    if (buffer_.size() >= kFlushSize) Flush();
    return *this;
  }
  OutputBuffer& operator<<(char c) {
    buffer_ += c;
    return *this;
  }
  OutputBuffer& operator<<(long long number);
  void Flush() {
    if (buffer_.empty()) return;
    WriteOutput(buffer_, false);
    buffer_.clear();
  }
  void Finish() {
    Flush();
    FinishOutput();
  }

 private:
  static constexpr size_t kFlushSize = 1 << 16;
  std::string buffer_;
};

}  // namespace kt::winnow
