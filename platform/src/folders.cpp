#include "kintrail/platform/folders.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace kt {
namespace {

std::string WithSlash(std::string path) {
  if (path.empty() || path.back() != '/') path += '/';
  return path;
}

std::string HomeFolder() {
  const char* home = std::getenv("HOME");
  return home && *home ? home : "/tmp";
}

std::string XdgFolder(const char* variable, const char* fallbackUnderHome) {
  const char* value = std::getenv(variable);
  // The XDG rules ignore relative values.
  if (value && value[0] == '/') return WithSlash(value);
  return WithSlash(HomeFolder() + "/" + fallbackUnderHome);
}

}  // namespace

std::string ProgramFolder() {
  std::error_code error;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return WithSlash(std::filesystem::current_path().string());
  return WithSlash(exe.parent_path().string());
}

std::string XdgDataHome() { return XdgFolder("XDG_DATA_HOME", ".local/share"); }

std::string XdgStateHome() { return XdgFolder("XDG_STATE_HOME", ".local/state"); }

std::string DataFolder() {
  const std::string program = ProgramFolder();
  if (access(program.c_str(), W_OK) == 0) return program;
  const std::string data = XdgDataHome() + "kintrail/";
  std::error_code error;
  std::filesystem::create_directories(data, error);
  return data;
}

}  // namespace kt
