#include "outputchannel.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <system_error>

#include <kintrail/platform/folders.h>

namespace kt::winnow {
namespace {

[[noreturn]] void ThrowErrno(const std::string& what) {
  throw std::system_error(errno, std::generic_category(), what);
}

// Folder of this library's file, with a trailing '/'; the data folder when it
// cannot be written.
std::string LibraryFolder() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&LibraryFolder), &info) != 0 && info.dli_fname != nullptr) {
    std::string path = info.dli_fname;
    const size_t slash = path.rfind('/');
    std::string folder = slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
    if (access(folder.c_str(), W_OK) == 0) return folder;
  }
  return kt::DataFolder();
}

void WriteBytes(OutputSettings& out, std::string_view text) {
  if (text.empty()) return;
  if (out.file == nullptr) {
    errno = EBADF;
    ThrowErrno("no output is open");
  }
  if (std::fwrite(text.data(), 1, text.size(), out.file) != text.size())
    ThrowErrno("cannot write " + out.OutputFileName);
}

}  // namespace

OutputSettings& ThreadOutput() {
  thread_local OutputSettings settings;
  return settings;
}

void WriteOutput(std::string_view text, bool first) {
  OutputSettings& out = ThreadOutput();
  if (first) {
    if (out.OutputFileName.empty()) out.OutputFileName = LibraryFolder() + "winnow.tmp.ged";
    if (out.file != nullptr) {
      // Left open by an output that failed half-way.
      std::fclose(out.file);
      out.file = nullptr;
    }
    out.file = std::fopen(out.OutputFileName.c_str(), "wb");
    if (out.file == nullptr) ThrowErrno("cannot create " + out.OutputFileName);
    WriteBytes(out, out.StringAtBeginning);
    WriteBytes(out, "\r\n");
  }
  WriteBytes(out, text);
}

void FinishOutput() {
  OutputSettings& out = ThreadOutput();
  WriteBytes(out, out.StringAtEnd);
  if (out.file == nullptr) return;
  std::FILE* file = out.file;
  out.file = nullptr;
  const bool failed = std::ferror(file) != 0;
  if (std::fclose(file) != 0 || failed) ThrowErrno("cannot write " + out.OutputFileName);
}

OutputBuffer& OutputBuffer::operator<<(long long number) {
  char digits[24];
  const auto [end, ec] = std::to_chars(digits, digits + sizeof digits, number);
  (void)ec;
  buffer_.append(digits, end);
  return *this;
}

}  // namespace kt::winnow
