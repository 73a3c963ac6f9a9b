#pragma once
// The command line of the process: arguments 1 to N, verbatim.
#include <string>
#include <vector>

class TVeskParams {
 public:
  TVeskParams();  // from the running application's arguments

  std::vector<std::string> Arguments;

  // Some argument equals `name`, ignoring letter case.
  bool HasParam(const std::string& name) const;
  // Text after the first "=" of the first argument named `name` (letter case
  // ignored) before its "="; empty when there is none.
  std::string ParamValue(const std::string& name) const;
};
