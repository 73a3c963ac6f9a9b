#pragma once
// The bngt32 tool's commands, parsed from argv and run through gt and ugt.
#include <string>
#include <vector>

namespace bngt32tool {

struct Command {
  std::string verb;              // gzip, gunzip, test, tar-create, tar-add, tar-delete, tar-extract, tar-list, help
  std::vector<std::string> names;
  std::string archive;           // tar archive or gzip file
  std::string output;            // gzip -o
  std::string folder;            // -d
  std::string comment;
  int level = 6;
  int index = -1;
  bool keepFolders = false;
  bool recurse = false;
  bool overwrite = false;
  bool quiet = false;
  bool noDirectoryNames = false;
};

// Parses the arguments after the program name; an error text on misuse.
bool ParseCommandLine(const std::vector<std::string>& args, Command& command, std::string& error);

// Runs the command; returns the library's result code.
int Run(const Command& command);

const char* HelpText();

}  // namespace bngt32tool
