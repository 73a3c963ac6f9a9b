// libFuzzer target: any bytes as a gzip file and as a tar archive, extracted
// through ugt into a fresh folder. Nothing may appear outside that folder.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "bngt32.h"

namespace fs = std::filesystem;

namespace {

const fs::path& Root() {
  static const fs::path root = [] {
    char pattern[] = "/tmp/bngt32-fuzz-XXXXXX";
    const char* made = ::mkdtemp(pattern);
    if (made == nullptr) std::abort();
    ::setenv("BNGT32_LOG_DIR", (std::string(made) + "/logs").c_str(), 1);
    return fs::path(made);
  }();
  return root;
}

void Extract(int32_t function, const std::string& input, const std::string& destination) {
  UGTCMDSTRUCT s{};
  s.ulugtStructSize = UGTCMDSTRUCT_SIZE;
  s.lFunction = function;
  s.lIndex = -1;
  s.bAllQuiet = 1;
  s.bOverWriteFlag = 1;
  s.lpszGTFile = input.c_str();
  s.lpszDestination = destination.c_str();
  ugt(&s);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const fs::path root = Root();
  const fs::path work = root / "work";
  const fs::path destination = work / "dest";
  fs::remove_all(work);
  fs::create_directories(destination);
  const std::string input = (root / "input.bin").string();
  {
    std::ofstream out(input, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  Extract(UGT_FUNCTION_GUNZIP, input, destination.string());
  Extract(UGT_FUNCTION_UNTAR, input, destination.string());
  // Only the destination may have been written to.
  for (const auto& entry : fs::directory_iterator(work)) {
    if (entry.path() != destination) std::abort();
  }
  for (const auto& entry : fs::directory_iterator(root)) {
    const std::string name = entry.path().filename().string();
    if (name != "work" && name != "input.bin" && name != "logs") std::abort();
  }
  return 0;
}
