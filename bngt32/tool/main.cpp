#include <cstdio>

#include "commandline.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  bngt32tool::Command command;
  std::string error;
  if (!bngt32tool::ParseCommandLine(args, command, error)) {
    std::fprintf(stderr, "bngt32: %s\nTry 'bngt32 --help'.\n", error.c_str());
    return 64;
  }
  if (command.verb == "help") {
    std::fputs(bngt32tool::HelpText(), stdout);
    return 0;
  }
  return bngt32tool::Run(command);
}
