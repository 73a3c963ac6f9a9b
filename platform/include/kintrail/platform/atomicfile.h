#pragma once
// Replacing a file so that a crash never leaves half of it.
#include <string>
#include <string_view>

namespace kt {

struct AtomicWriteOptions {
  bool privateMode = false;  // create with mode 0600 (files holding passwords)
};

// Writes `data` to a temporary file beside `path`, flushes it to disk and
// renames it over `path`. Throws std::system_error; the old file is then intact.
void WriteFileAtomically(const std::string& path, std::string_view data,
                         AtomicWriteOptions options = {});

// Test hook: called between the flush and the rename; throwing from it
// simulates a crash at that point.
using AtomicWriteHook = void (*)(const std::string& temporaryPath);
void SetAtomicWriteHookForTests(AtomicWriteHook hook);

// Whole file into a string; throws std::system_error.
std::string ReadWholeFile(const std::string& path);

}  // namespace kt
