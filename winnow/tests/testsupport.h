#pragma once
// Small helpers of the library's tests: a fresh folder per test, files in and
// out, GEDCOM fixtures written line by line.
#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include <kintrail/winnow/winnowgedcom.h>

namespace winnowtest {

// A new empty folder under the test's working folder, named after the test.
std::filesystem::path FreshFolder();

void WriteFile(const std::filesystem::path& path, std::string_view bytes);
std::string ReadFile(const std::filesystem::path& path);

// The lines joined, each followed by `lineEnd`.
std::string Lines(std::initializer_list<std::string_view> lines, std::string_view lineEnd = "\r\n");

// Path of a file of the shared GEDCOM test data.
std::filesystem::path TestDataFile(std::string_view name);

// Records every event.
struct EventLog : kt::winnow::WinnowGEDCOMEvents {
  struct Event {
    int kind;  // 1 OnAddIndividual, 2 OnAddMarriage
    int32_t number;
    int32_t status;
    bool operator==(const Event&) const = default;
  };
  std::vector<Event> events;
  void OnAddIndividual(int32_t n, int32_t status) override { events.push_back({1, n, status}); }
  void OnAddMarriage(int32_t n, int32_t status) override { events.push_back({2, n, status}); }
};

}  // namespace winnowtest
