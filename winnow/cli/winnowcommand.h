#pragma once
// The `winnow` command line: statistics, summary and extracts of a GEDCOM
// file, through the library's public interface only.
#include <ostream>
#include <string>
#include <vector>

namespace kt::winnow {

// Runs one command; returns the process exit code (0 success, 1 failure,
// 2 usage error). Results go to out, messages to err.
int RunWinnowCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace kt::winnow
