#pragma once
// Shared by the bngt32 tests: a fresh folder per test, small file helpers, the
// command structures filled as callers fill them, and running GNU tools.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "bngt32.h"

namespace bngt32test {

namespace fs = std::filesystem;

inline void WriteFile(const std::string& path, const std::string& bytes) {
  fs::create_directories(fs::path(path).parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// Runs a shell command; returns its exit status and fills `output` with stdout.
inline int Shell(const std::string& command, std::string* output = nullptr) {
  std::string text;
  FILE* p = ::popen(command.c_str(), "r");
  if (p == nullptr) return -1;
  char buffer[4096];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, p)) > 0) text.append(buffer, n);
  const int status = ::pclose(p);
  if (output != nullptr) *output = text;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

inline std::string Quoted(const std::string& s) { return "'" + s + "'"; }

// Text resembling a summary document, `kilobytes` long.
inline std::string SummaryLikeXml(size_t kilobytes) {
  std::string xml = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<summary id=\"42\">\n";
  const char* names[] = {"Smith", "Dupont", "Müller", "García", "Bach", "Kennedy"};
  const char* places[] = {"Paris", "Lyon", "Boston, Massachusetts", "Leipzig", "Sevilla"};
  for (unsigned i = 0; xml.size() < kilobytes * 1024; ++i) {
    xml += "  <indi id=\"I" + std::to_string(i) + "\" name=\"" + names[i % 6] + "\" birth=\"" +
           std::to_string(1700 + (i * 7) % 300) + "\" place=\"" + places[(i * 3) % 5] + "\"/>\n";
  }
  return xml + "</summary>\n";
}

class TempFolderTest : public ::testing::Test {
protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "." + info->name();
    for (char& c : name) {
      if (c == '/') c = '_';
    }
    dir_ = fs::absolute(fs::path("work") / name).string() + "/";
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    ::setenv("BNGT32_LOG_DIR", (dir_ + "logs").c_str(), 1);
    gtSetPresenter(nullptr);
  }
  void TearDown() override { gtSetPresenter(nullptr); }

  std::string Path(const std::string& relative) const { return dir_ + relative; }

  // The structure as the client fills it for its summaries.
  static GTCMDSTRUCT ClientGzip(const std::string& quotedItem, const std::string& quotedTarget) {
    GTCMDSTRUCT s{};
    s.ulgtStructSize = GTCMDSTRUCT_SIZE;
    s.lFunction = GT_FUNCTION_GZIP;
    s.lCompFactor = 9;
    s.bNoDirectoryNames = 1;
    s.lpszItemList = quotedItem.c_str();
    s.lpszGTFile = quotedTarget.c_str();
    return s;
  }

  static GTCMDSTRUCT Quiet(int32_t function) {
    GTCMDSTRUCT s{};
    s.ulgtStructSize = GTCMDSTRUCT_SIZE;
    s.lFunction = function;
    s.lCompFactor = 6;
    s.bAllQuiet = 1;
    return s;
  }

  static UGTCMDSTRUCT QuietUgt(int32_t function) {
    UGTCMDSTRUCT s{};
    s.ulugtStructSize = UGTCMDSTRUCT_SIZE;
    s.lFunction = function;
    s.lIndex = -1;
    s.bAllQuiet = 1;
    return s;
  }

  std::string dir_;
};

}  // namespace bngt32test
