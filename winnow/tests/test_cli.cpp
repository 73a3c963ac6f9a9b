// The `winnow` command line, through the function its main() calls.
#include <gtest/gtest.h>

#include <sstream>

#include "testsupport.h"
#include "winnowcommand.h"

using kt::winnow::RunWinnowCommand;

namespace {

struct CommandRun {
  int code;
  std::string out, err;
};

CommandRun Winnow(std::vector<std::string> args) {
  std::ostringstream out, err;
  const int code = RunWinnowCommand(args, out, err);
  return {code, out.str(), err.str()};
}

TEST(WinnowCli, StatsCountsAndCharacterSet) {
  const CommandRun r = Winnow({"stats", winnowtest::TestDataFile("royal92.ged").string()});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_NE(r.out.find("charset: ANSEL\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("individuals: 3010\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("marriages: 1422\n"), std::string::npos) << r.out;
}

TEST(WinnowCli, SummaryWithIdAndBeginning) {
  const auto out = winnowtest::FreshFolder() / "s.xml";
  const CommandRun r = Winnow({"summary", winnowtest::TestDataFile("basic.ged").string(), "-o", out.string(), "--id", "42",
                        "--begin", "<?xml version=\"1.0\"?>"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(winnowtest::ReadFile(out).substr(0, 39), "<?xml version=\"1.0\"?>\r\n<gedcom id=\"42\">");
}

TEST(WinnowCli, Extracts) {
  const auto folder = winnowtest::FreshFolder();
  for (const char* kind : {"ascendants", "descendants", "family"}) {
    const auto out = folder / (std::string(kind) + ".xml");
    const CommandRun r = Winnow({"extract", kind, winnowtest::TestDataFile("kennedy.ged").string(), "I1", "--question", "77",
                          "-o", out.string()});
    ASSERT_EQ(r.code, 0) << r.err;
    const std::string file = winnowtest::ReadFile(out);
    EXPECT_EQ(file.substr(0, 27), "\r\n<result questionid='77'><") << kind;
    EXPECT_NE(file.find("0 @I1@ INDI\r\n"), std::string::npos) << kind;
  }
}

TEST(WinnowCli, UsageAndFailures) {
  struct Case {
    std::vector<std::string> args;
    int code;
    std::string inErr;
  };
  const std::string ged = winnowtest::TestDataFile("basic.ged").string();
  for (const Case& c : std::vector<Case>{
           {{}, 2, "usage"},
           {{"frobnicate", ged}, 2, "usage"},
           {{"summary", ged}, 2, "usage"},  // no -o
           {{"summary", ged, "-o"}, 2, "needs a value"},
           {{"summary", ged, "-o", "x.xml", "--id", "12a"}, 2, "number"},
           {{"extract", "cousins", ged, "I1", "--question", "1", "-o", "x.xml"}, 2, "unknown extract"},
           {{"extract", "family", ged, "I1", "-o", "x.xml"}, 2, "usage"},  // no --question
           {{"stats", "/no/such/file.ged"}, 1, "/no/such/file.ged"},
           {{"summary", ged, "-o", "/no/such/folder/x.xml"}, 1, "/no/such/folder/x.xml"},
       }) {
    const CommandRun r = Winnow(c.args);
    EXPECT_EQ(r.code, c.code) << r.err;
    EXPECT_NE(r.err.find(c.inErr), std::string::npos) << r.err;
  }
}

}  // namespace
