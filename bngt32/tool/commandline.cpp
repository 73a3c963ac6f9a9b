#include "commandline.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "bngt32.h"

namespace bngt32tool {
namespace {

std::string Absolute(const std::string& path) {
  if (!path.empty() && path[0] == '/') return path;
  char cwd[4096];
  if (::getcwd(cwd, sizeof cwd) == nullptr) return path;
  std::string out = cwd;
  if (path.empty() || path == ".") return out;
  return out + "/" + path;
}

// The library's item lists are blank-separated with double quotes grouping.
std::string QuotedList(const std::vector<std::string>& names) {
  std::string list;
  for (const std::string& name : names) {
    if (!list.empty()) list += ' ';
    list += '"' + name + '"';
  }
  return list;
}

GTCMDSTRUCT NewGt(const Command& c, int32_t function) {
  GTCMDSTRUCT s{};
  s.ulgtStructSize = GTCMDSTRUCT_SIZE;
  s.lFunction = function;
  s.lCompFactor = c.level;
  s.bAllQuiet = c.quiet ? 1 : 0;
  s.bRecurseFlag = c.recurse ? 1 : 0;
  s.dwGTSubOptions = GT_SUBOPT_NO_MESSAGE_PUMP;
  return s;
}

UGTCMDSTRUCT NewUgt(const Command& c, int32_t function) {
  UGTCMDSTRUCT s{};
  s.ulugtStructSize = UGTCMDSTRUCT_SIZE;
  s.lFunction = function;
  s.lIndex = -1;
  s.bAllQuiet = c.quiet ? 1 : 0;
  s.bOverWriteFlag = c.overwrite ? 1 : 0;
  s.bNoDirectoryNames = c.noDirectoryNames ? 1 : 0;
  s.dwUGTSubOptions = GT_SUBOPT_NO_MESSAGE_PUMP;
  return s;
}

int RunGzip(const Command& c) {
  if (c.output.empty() && c.folder.empty()) {
    // Beside each file, as name.gz: the same call the client makes.
    for (const std::string& name : c.names) {
      GTCMDSTRUCT s = NewGt(c, GT_FUNCTION_GZIP);
      const std::string list = '"' + name + '"';
      const std::string target = '"' + name + ".gz\"";
      s.lpszItemList = list.c_str();
      s.lpszGTFile = target.c_str();
      s.bNoDirectoryNames = c.keepFolders ? 0 : 1;
      s.bAddComment = c.comment.empty() ? 0 : 1;
      s.lpszComment = c.comment.c_str();
      if (const int code = gt(&s); code != 0) return code;
    }
    return 0;
  }
  GTCMDSTRUCT s = NewGt(c, GT_FUNCTION_GZIP);
  const std::string list = QuotedList(c.names);
  const std::string folder = c.folder.empty() ? std::string() : Absolute(c.folder) + "/";
  s.lpszItemList = list.c_str();
  s.lpszGTFile = c.output.empty() ? nullptr : c.output.c_str();
  s.lpszDestination = folder.empty() ? nullptr : folder.c_str();
  s.bNoDirectoryNames = c.keepFolders ? 0 : 1;
  s.bAddComment = c.comment.empty() ? 0 : 1;
  s.lpszComment = c.comment.c_str();
  return gt(&s);
}

int RunGunzip(const Command& c, bool test) {
  for (const std::string& name : c.names) {
    UGTCMDSTRUCT s = NewUgt(c, UGT_FUNCTION_GUNZIP);
    const std::string destination = Absolute(c.folder.empty() ? "." : c.folder);
    s.lpszGTFile = name.c_str();
    s.lpszDestination = destination.c_str();
    s.TestFlag = test ? 1 : 0;
    if (const int code = ugt(&s); code != 0) return code;
  }
  return 0;
}

int RunTar(const Command& c) {
  if (c.verb == "tar-create" || c.verb == "tar-add") {
    if (c.verb == "tar-create") ::unlink(c.archive.c_str());
    GTCMDSTRUCT s = NewGt(c, GT_FUNCTION_TAR);
    const std::string list = QuotedList(c.names);
    s.lpszGTFile = c.archive.c_str();
    s.lpszItemList = list.c_str();
    s.bNoDirectoryNames = c.noDirectoryNames ? 1 : 0;
    return gt(&s);
  }
  if (c.verb == "tar-delete") {
    GTCMDSTRUCT s = NewGt(c, GT_FUNCTION_TAR_DELETE);
    const std::string list = QuotedList(c.names);
    s.lpszGTFile = c.archive.c_str();
    s.lpszItemList = list.empty() ? nullptr : list.c_str();
    s.lIndex = c.index;
    return gt(&s);
  }
  if (c.verb == "tar-list") {
    TARINFO info{};
    info.ulStructSize = TARINFO_SIZE;
    UGTCMDSTRUCT s = NewUgt(c, UGT_FUNCTION_TAR_FIRST);
    s.lpszGTFile = c.archive.c_str();
    s.tarInfo = &info;
    s.bAllQuiet = 1;
    int code = ugt(&s);
    while (code == 0) {
      std::printf("%s\t%u\t%s\n", info.szDateTime, info.dwSize, info.szName);
      s.lFunction = UGT_FUNCTION_TAR_NEXT;
      code = ugt(&s);
    }
    return code == GT_INDEX_OUT_OF_BOUNDS ? 0 : code;
  }
  UGTCMDSTRUCT s = NewUgt(c, UGT_FUNCTION_UNTAR);
  const std::string destination = Absolute(c.folder.empty() ? "." : c.folder);
  const std::string spec = QuotedList(c.names);
  s.lpszGTFile = c.archive.c_str();
  s.lpszDestination = destination.c_str();
  s.lpszFilespec = spec.c_str();
  s.TestFlag = c.verb == "tar-test" ? 1 : 0;
  return ugt(&s);
}

}  // namespace

bool ParseCommandLine(const std::vector<std::string>& args, Command& c, std::string& error) {
  if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    c.verb = "help";
    return true;
  }
  size_t i = 0;
  c.verb = args[i++];
  if (c.verb == "tar") {
    if (i >= args.size()) {
      error = "tar needs create, add, delete, extract, test or list";
      return false;
    }
    c.verb = "tar-" + args[i++];
    if (c.verb != "tar-create" && c.verb != "tar-add" && c.verb != "tar-delete" &&
        c.verb != "tar-extract" && c.verb != "tar-list" && c.verb != "tar-test") {
      error = "unknown tar command '" + c.verb.substr(4) + "'";
      return false;
    }
  } else if (c.verb != "gzip" && c.verb != "gunzip" && c.verb != "test") {
    error = "unknown command '" + c.verb + "'";
    return false;
  }
  const bool tar = c.verb.rfind("tar-", 0) == 0;
  for (; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&](std::string& out) {
      if (i + 1 >= args.size()) {
        error = a + " needs a value";
        return false;
      }
      out = args[++i];
      return true;
    };
    if (a.size() == 2 && a[0] == '-' && a[1] >= '0' && a[1] <= '9') {
      c.level = a[1] - '0';
    } else if (a == "-o") {
      if (!value(c.output)) return false;
    } else if (a == "-d") {
      if (!value(c.folder)) return false;
    } else if (a == "-c") {
      if (!value(c.comment)) return false;
    } else if (a == "--index") {
      std::string n;
      if (!value(n)) return false;
      c.index = std::atoi(n.c_str());
    } else if (a == "-p") {
      c.keepFolders = true;
    } else if (a == "-r") {
      c.recurse = true;
    } else if (a == "-f") {
      c.overwrite = true;
    } else if (a == "-q") {
      c.quiet = true;
    } else if (a == "-n") {
      c.noDirectoryNames = true;
    } else if (a == "--") {
      for (++i; i < args.size(); ++i) c.names.push_back(args[i]);
    } else if (!a.empty() && a[0] == '-') {
      error = "unknown option " + a;
      return false;
    } else if (tar && c.archive.empty()) {
      c.archive = a;
    } else {
      c.names.push_back(a);
    }
  }
  for (const std::string& name : c.names) {
    if (name.find('"') != std::string::npos) {
      error = "names with double quotes cannot be passed: " + name;
      return false;
    }
  }
  if (tar && c.archive.empty()) {
    error = "no archive named";
    return false;
  }
  if (!tar && c.names.empty()) {
    error = "no file named";
    return false;
  }
  if ((c.verb == "tar-create" || c.verb == "tar-add") && c.names.empty()) {
    error = "no file to add";
    return false;
  }
  if (c.verb == "tar-delete" && c.names.empty() && c.index < 0) {
    error = "name the items to delete or give --index N";
    return false;
  }
  return true;
}

int Run(const Command& c) {
  if (c.verb == "gzip") return RunGzip(c);
  if (c.verb == "gunzip") return RunGunzip(c, false);
  if (c.verb == "test") return RunGunzip(c, true);
  return RunTar(c);
}

const char* HelpText() {
  return "Usage: bngt32 COMMAND [OPTIONS] NAMES...\n"
         "gzip files and tar archives through the bngt32 library.\n"
         "\n"
         "  gzip [-1..-9] [-o FILE.gz | -d FOLDER] [-p] [-r] [-c TEXT] FILE...\n"
         "        compress each FILE into FILE.gz beside it (or into FOLDER, or all\n"
         "        into FILE.gz, which then holds the last one); -p stores folders\n"
         "        in the name, -c adds a comment; patterns with * and ? are allowed\n"
         "  gunzip [-d FOLDER] [-f] [-n] FILE.gz...\n"
         "        restore each file into FOLDER (default: here); -f overwrites,\n"
         "        -n drops the stored folders\n"
         "  test FILE.gz...        check the data and its CRC, write nothing\n"
         "  tar create ARCHIVE [-r] [-n] FILE...   a new archive of the FILEs\n"
         "  tar add ARCHIVE [-r] [-n] FILE...      add FILEs after the existing items\n"
         "  tar delete ARCHIVE PATTERN... | --index N   remove items\n"
         "  tar extract ARCHIVE [-d FOLDER] [-f] [-n] [PATTERN...]   extract items\n"
         "  tar test ARCHIVE [PATTERN...]          read items, write nothing\n"
         "  tar list ARCHIVE                       date, size and name of each item\n"
         "\n"
         "  -q   no messages on standard error\n"
         "The exit status is the library's result code (0 success).\n";
}

}  // namespace bngt32tool
