#include "testsupport.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace winnowtest {

std::filesystem::path FreshFolder() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = info ? std::string(info->test_suite_name()) + "." + info->name() : "folder";
  for (char& c : name)
    if (c == '/') c = '_';
  const auto folder = std::filesystem::current_path() / "tmp" / name;
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  return folder;
}

void WriteFile(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream f(path, std::ios::binary);
  f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream f(path, std::ios::binary);
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}

std::string Lines(std::initializer_list<std::string_view> lines, std::string_view lineEnd) {
  std::string text;
  for (std::string_view line : lines) {
    text.append(line);
    text.append(lineEnd);
  }
  return text;
}

std::filesystem::path TestDataFile(std::string_view name) {
  return std::filesystem::path(KINTRAIL_TESTDATA_DIR) / "gedcom" / name;
}

}  // namespace winnowtest
