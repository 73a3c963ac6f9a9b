// Callbacks, the busy rule, threads, messages, presenter answers and logs.
#include <algorithm>
#include <atomic>
#include <map>
#include <thread>
#include <vector>

#include "testsupport.h"

namespace bngt32test {
namespace {

// Records what the library presents and answers as told.
struct Recorder {
  std::vector<std::pair<int32_t, std::string>> boxes;  // (type, text) of types other than 7
  std::map<int32_t, std::string> rewrites;             // message number -> new text
  int32_t answer = 0;                                  // for every box
  std::vector<int32_t> overwriteAnswers;               // for type 3, in turn
  size_t questionsAsked = 0;
};

int32_t BNGT32_CALLBACK Display(int32_t type, uint32_t, int32_t code, int32_t, char* text, char*,
                                void* data) {
  auto* r = static_cast<Recorder*>(data);
  if (type == 7) {
    if (auto it = r->rewrites.find(code); it != r->rewrites.end()) {
      std::snprintf(text, 260, "%s", it->second.c_str());
    }
    return 0;
  }
  r->boxes.emplace_back(type, text);
  if (type == 3 && r->questionsAsked < r->overwriteAnswers.size()) {
    return r->overwriteAnswers[r->questionsAsked++];
  }
  return r->answer;
}

struct PresenterLog {
  std::vector<std::string> boxes;
  std::vector<std::string> questions;
  int32_t overwriteAnswer = 7;
  std::string renameTo;
};
PresenterLog* g_presenterLog = nullptr;

GTPRESENTER TestPresenter(PresenterLog& log) {
  g_presenterLog = &log;
  GTPRESENTER p{};
  p.ulStructSize = sizeof p;
  p.lpMessageBox = [](const char* text, const char*, uint32_t, void*) -> int32_t {
    g_presenterLog->boxes.emplace_back(text);
    return 1;
  };
  p.lpOverwriteDialog = [](const char* question, const char*, void*) -> int32_t {
    g_presenterLog->questions.emplace_back(question);
    return g_presenterLog->overwriteAnswer;
  };
  p.lpRenameDialog = [](const char*, const char*, char* out, uint32_t size, void*) -> int32_t {
    if (g_presenterLog->renameTo.empty()) return 0;
    std::snprintf(out, size, "%s", g_presenterLog->renameTo.c_str());
    return 1;
  };
  return p;
}

class Bngt32Callbacks : public TempFolderTest {
protected:
  void SetUp() override {
    TempFolderTest::SetUp();
    source = Path("in/data.xml");
    WriteFile(source, SummaryLikeXml(400));
    item = "\"" + source + "\"";
    target = Path("in/data.xml.gz");
  }

  GTCMDSTRUCT Client() { return ClientGzip(item, target); }

  std::string source, item, target;
};

struct Reentry {
  std::string item, target;
  std::vector<int32_t> nestedCodes;
};

TEST_F(Bngt32Callbacks, ACallFromInsideACallbackGetsBusyAndTheFirstGoesOn) {
  Reentry reentry{item, Path("nested.gz"), {}};
  GTCMDSTRUCT s = Client();
  s.lpMinorUserData = &reentry;
  s.lpMinorStatus = [](const char*, int32_t, int32_t, void* data) -> int32_t {
    auto* r = static_cast<Reentry*>(data);
    GTCMDSTRUCT nested{};
    nested.ulgtStructSize = GTCMDSTRUCT_SIZE;
    nested.lFunction = GT_FUNCTION_GZIP;
    nested.lpszItemList = r->item.c_str();
    nested.lpszGTFile = r->target.c_str();
    nested.bAllQuiet = 1;
    r->nestedCodes.push_back(gt(&nested));
    UGTCMDSTRUCT reading{};
    reading.ulugtStructSize = UGTCMDSTRUCT_SIZE;
    reading.lFunction = UGT_FUNCTION_GUNZIP;
    reading.bAllQuiet = 1;
    r->nestedCodes.push_back(ugt(&reading));
    return 0;
  };
  EXPECT_EQ(gt(&s), 0);
  ASSERT_FALSE(reentry.nestedCodes.empty());
  for (int32_t code : reentry.nestedCodes) EXPECT_EQ(code, GT_BUSY);
  EXPECT_FALSE(fs::exists(Path("nested.gz")));
  EXPECT_EQ(Shell("gzip -t " + Quoted(target)), 0);
  // The thread is free again once the call returned.
  GTCMDSTRUCT again = Client();
  EXPECT_EQ(gt(&again), 0);
}

TEST_F(Bngt32Callbacks, BusyIsShownUnlessQuiet) {
  struct Nested {
    Recorder recorder;
    int32_t code = -1;
  } nested;
  GTCMDSTRUCT s = Client();
  s.lpMinorUserData = &nested;
  s.lpMinorStatus = [](const char*, int32_t, int32_t, void* data) -> int32_t {
    auto* n = static_cast<Nested*>(data);
    if (n->code != -1) return 0;
    GTCMDSTRUCT inner{};
    inner.ulgtStructSize = GTCMDSTRUCT_SIZE;
    inner.lFunction = GT_FUNCTION_GZIP;
    inner.lpMessageDisplay = Display;
    inner.lpMessageDisplayData = &n->recorder;
    n->recorder.answer = 1;
    n->code = gt(&inner);
    return 0;
  };
  EXPECT_EQ(gt(&s), 0);
  EXPECT_EQ(nested.code, GT_BUSY);
  ASSERT_EQ(nested.recorder.boxes.size(), 1u);
  EXPECT_EQ(nested.recorder.boxes[0], std::make_pair(5, std::string("Busy, can't re-enter now")));
}

TEST_F(Bngt32Callbacks, TwoThreadsCompressAtOnce) {
  std::vector<std::string> sources;
  for (int t = 0; t < 2; ++t) {
    sources.push_back(Path("t" + std::to_string(t) + "/data.xml"));
    WriteFile(sources.back(), SummaryLikeXml(200 + 50 * static_cast<size_t>(t)));
  }
  std::atomic<int> failures{0};
  auto work = [&](int t) {
    const std::string quoted = "\"" + sources[static_cast<size_t>(t)] + "\"";
    const std::string out = "\"" + sources[static_cast<size_t>(t)] + ".gz\"";
    for (int round = 0; round < 10; ++round) {
      GTCMDSTRUCT s = ClientGzip(quoted, out);
      s.bAllQuiet = 1;
      // The callback keeps the thread inside the call long enough to overlap.
      s.lpMinorStatus = [](const char*, int32_t, int32_t, void*) -> int32_t {
        std::this_thread::yield();
        return 0;
      };
      if (gt(&s) != 0) ++failures;
    }
  };
  std::thread a(work, 0), b(work, 1);
  a.join();
  b.join();
  EXPECT_EQ(failures.load(), 0);
  for (const std::string& s : sources) {
    std::string out;
    EXPECT_EQ(Shell("gzip -dc " + Quoted(s + ".gz"), &out), 0);
    EXPECT_EQ(out, ReadFile(s));
  }
}

TEST_F(Bngt32Callbacks, ARewrittenMessage261IsTheAbortReport) {
  Recorder recorder;
  recorder.rewrites[261] = "Compression stopped by you";
  recorder.answer = 1;
  GTCMDSTRUCT s = Client();
  s.lpMessageDisplay = Display;
  s.lpMessageDisplayData = &recorder;
  s.lpMajorStatus = [](const char* text, int32_t, int32_t, void*) -> int32_t {
    return std::string(text).rfind("Item", 0) == 0 ? 1 : 0;
  };
  EXPECT_EQ(gt(&s), GT_ABORTED);
  ASSERT_EQ(recorder.boxes.size(), 1u);
  EXPECT_EQ(recorder.boxes[0], std::make_pair(5, std::string("Compression stopped by you")));
  EXPECT_FALSE(fs::exists(target));
  for (const auto& e : fs::directory_iterator(Path("in"))) {
    EXPECT_EQ(e.path().filename(), "data.xml") << "temporary file left";
  }
}

TEST_F(Bngt32Callbacks, AnAnswerTheBoxDoesNotAllowIsIgnored) {
  PresenterLog log;
  const GTPRESENTER presenter = TestPresenter(log);
  gtSetPresenter(&presenter);
  Recorder recorder;
  recorder.answer = 6;  // Yes, for an OK box
  GTCMDSTRUCT s = Client();
  s.ulgtStructSize = GTCMDSTRUCT_SIZE + 1;
  s.lpMessageDisplay = Display;
  s.lpMessageDisplayData = &recorder;
  EXPECT_EQ(gt(&s), GT_BAD_PARAMETERS);
  // A wrong size means nothing else in the structure is read, callbacks included.
  EXPECT_TRUE(recorder.boxes.empty());
  ASSERT_EQ(log.boxes.size(), 1u);

  log.boxes.clear();
  s.ulgtStructSize = GTCMDSTRUCT_SIZE;
  s.lpszDate1 = "13012020";
  s.lpszDate2 = "01012021";
  s.bInclDate = 1;
  EXPECT_EQ(gt(&s), GT_BAD_PARAMETERS);
  ASSERT_EQ(recorder.boxes.size(), 1u);
  EXPECT_EQ(recorder.boxes[0].second, "Parameters missing or bad (invalid date)");
  ASSERT_EQ(log.boxes.size(), 1u) << "answer 6 is not an OK box's answer: the box is shown";
  EXPECT_EQ(log.boxes[0], "Parameters missing or bad (invalid date)");
}

TEST_F(Bngt32Callbacks, QuietFailureShowsNothingButIsLogged) {
  PresenterLog log;
  const GTPRESENTER presenter = TestPresenter(log);
  gtSetPresenter(&presenter);
  Recorder recorder;
  GTCMDSTRUCT s = Client();
  const std::string missing = "\"" + Path("none.xml") + "\"";
  s.lpszItemList = missing.c_str();
  s.bAllQuiet = 1;
  s.bDiagnosticLog = 1;
  s.lpMessageDisplay = Display;
  s.lpMessageDisplayData = &recorder;
  EXPECT_EQ(gt(&s), GT_NO_MATCH);
  EXPECT_TRUE(recorder.boxes.empty());
  EXPECT_TRUE(log.boxes.empty());
  const std::string diagnostic = ReadFile(Path("logs/BNGT32.LOG"));
  EXPECT_NE(diagnostic.find("--- Brennet-GT Diagnostic Log - "), std::string::npos);
  EXPECT_NE(diagnostic.find("ulgtStructSize:  " + std::to_string(GTCMDSTRUCT_SIZE) + " \n"),
            std::string::npos);
  EXPECT_NE(diagnostic.find("lpszItemList: 0x"), std::string::npos);
  EXPECT_NE(diagnostic.find(missing + "\n"), std::string::npos) << "the text follows its pointer";
  EXPECT_NE(diagnostic.find("lCompFactor: 9 \n"), std::string::npos);
  EXPECT_EQ(diagnostic.find("bNoDirectoryNames"), std::string::npos);
  EXPECT_NE(diagnostic.find("\nItemList does not match any file names\n"), std::string::npos);
}

TEST_F(Bngt32Callbacks, EventLogHasOneHeaderPerCall) {
  for (int i = 0; i < 2; ++i) {
    GTCMDSTRUCT s = Client();
    s.dwGTSubOptions = GT_SUBOPT_EVENT_LOG;
    ASSERT_EQ(gt(&s), 0);
  }
  const std::string events = ReadFile(Path("logs/BNGTLOG.TXT"));
  size_t headers = 0;
  for (size_t at = events.find("--- Brennet-GT Event Log - "); at != std::string::npos;
       at = events.find("--- Brennet-GT Event Log - ", at + 1)) {
    ++headers;
  }
  EXPECT_EQ(headers, 2u);
  EXPECT_NE(events.find(source + " [Added]\n"), std::string::npos);
}

TEST_F(Bngt32Callbacks, RenameCallbackChangesNameAndTime) {
  GTCMDSTRUCT s = Client();
  s.lpRenameProc = [](GTRENAMESTRUCT* r, void*) -> int32_t {
    EXPECT_EQ(r->ulStructSize, 628u);
    EXPECT_STREQ(r->szStoredName, "data.xml");
    EXPECT_EQ(r->lKind, 2);
    std::snprintf(r->szStoredName, sizeof r->szStoredName, "renamed.xml");
    std::snprintf(r->szDateTime, sizeof r->szDateTime, "01/02/2003 04:05:06");
    return 0;
  };
  ASSERT_EQ(gt(&s), 0);
  const std::string gz = ReadFile(target);
  EXPECT_EQ(gz.substr(10, 12), std::string("renamed.xml\0", 12));
  const uint32_t mtime = static_cast<unsigned char>(gz[4]) | static_cast<unsigned char>(gz[5]) << 8 |
                         static_cast<unsigned char>(gz[6]) << 16 |
                         static_cast<uint32_t>(static_cast<unsigned char>(gz[7])) << 24;
  std::tm local{};
  local.tm_year = 103;
  local.tm_mon = 0;
  local.tm_mday = 2;
  local.tm_hour = 4;
  local.tm_min = 5;
  local.tm_sec = 6;
  local.tm_isdst = -1;
  EXPECT_EQ(mtime, static_cast<uint32_t>(std::mktime(&local)));
}

class Bngt32Overwrite : public Bngt32Callbacks {
protected:
  // Two items already extracted once, then extracted again with the given answers.
  int32_t ExtractAgain(Recorder& recorder) {
    WriteFile(Path("src/a.txt"), "new a");
    WriteFile(Path("src/b.txt"), "new b");
    GTCMDSTRUCT add = Quiet(GT_FUNCTION_TAR);
    const std::string archive = Path("t.tar"), items = Path("src/*.txt");
    add.lpszGTFile = archive.c_str();
    add.lpszItemList = items.c_str();
    add.dwGTSubOptions = GT_SUBOPT_STRIP_BASE_FOLDER;
    EXPECT_EQ(gt(&add), 0);
    WriteFile(Path("out/a.txt"), "old a");
    WriteFile(Path("out/b.txt"), "old b");
    UGTCMDSTRUCT s{};
    s.ulugtStructSize = UGTCMDSTRUCT_SIZE;
    s.lFunction = UGT_FUNCTION_UNTAR;
    s.lIndex = -1;
    const std::string destination = Path("out");
    s.lpszGTFile = archive.c_str();
    s.lpszDestination = destination.c_str();
    s.lpMessageDisplay = Display;
    s.lpMessageDisplayData = &recorder;
    recorder.answer = 1;
    return ugt(&s);
  }
};

TEST_F(Bngt32Overwrite, AnswersToTheOverwriteQuestion) {
  PresenterLog log;
  log.renameTo = Path("chosen/a-renamed.txt");
  const GTPRESENTER presenter = TestPresenter(log);
  gtSetPresenter(&presenter);
  struct Case {
    const char* name;
    std::vector<int32_t> answers;
    int32_t expected;
    const char* a;
    const char* b;
    size_t questions;
  } cases[] = {
      {"yes, yes", {6, 6}, 0, "new a", "new b", 2},
      {"no, yes", {7, 6}, UGT_FILE_SKIPPED, "old a", "new b", 2},
      {"yes to all", {100}, 0, "new a", "new b", 1},
      {"yes to all (5)", {5}, 0, "new a", "new b", 1},
      {"cancel", {2}, GT_ABORTED, "old a", "old b", 1},
      {"rename, no", {101, 7}, UGT_FILE_SKIPPED, "old a", "old b", 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(Path("chosen"));
    Recorder recorder;
    recorder.overwriteAnswers = c.answers;
    EXPECT_EQ(ExtractAgain(recorder), c.expected);
    EXPECT_EQ(ReadFile(Path("out/a.txt")), c.a);
    EXPECT_EQ(ReadFile(Path("out/b.txt")), c.b);
    EXPECT_EQ(recorder.questionsAsked, c.questions);
    ASSERT_FALSE(recorder.boxes.empty());
    EXPECT_EQ(recorder.boxes[0].first, 3);
    EXPECT_EQ(recorder.boxes[0].second, Path("out/a.txt") + " exists, do you want to overwrite it?");
  }
  EXPECT_EQ(ReadFile(Path("chosen/a-renamed.txt")), "new a");
}

TEST_F(Bngt32Overwrite, WithoutAnAnswerThePresenterOrTheDefaultDecides) {
  Recorder silent;  // answers 0 to type 3: not an answer of the question
  EXPECT_EQ(ExtractAgain(silent), UGT_FILE_SKIPPED) << "no presenter: No";
  EXPECT_EQ(ReadFile(Path("out/a.txt")), "old a");

  PresenterLog log;
  log.overwriteAnswer = 100;
  const GTPRESENTER presenter = TestPresenter(log);
  gtSetPresenter(&presenter);
  Recorder again;
  EXPECT_EQ(ExtractAgain(again), 0);
  EXPECT_EQ(log.questions.size(), 1u);
  EXPECT_EQ(ReadFile(Path("out/b.txt")), "new b");
}

TEST_F(Bngt32Overwrite, ReadOnlyFilesGetTheirOwnQuestion) {
  PresenterLog log;
  const GTPRESENTER presenter = TestPresenter(log);
  gtSetPresenter(&presenter);
  Recorder recorder;
  recorder.overwriteAnswers = {6, 6};
  WriteFile(Path("out/a.txt"), "old a");
  ::chmod(Path("out/a.txt").c_str(), 0444);
  EXPECT_EQ(ExtractAgain(recorder), 0);
  ASSERT_FALSE(recorder.boxes.empty());
  EXPECT_EQ(recorder.boxes[0].second,
            Path("out/a.txt") + " exists and is Read Only, do you want to overwrite it?");
  EXPECT_EQ(ReadFile(Path("out/a.txt")), "new a");
}

TEST_F(Bngt32Callbacks, MinorStatusCancelsOnlyWithSubOption1) {
  auto cancel = [](const char*, int32_t, int32_t, void*) -> int32_t { return 1; };
  GTCMDSTRUCT s = Client();
  s.bAllQuiet = 1;
  s.lpMinorStatus = cancel;
  EXPECT_EQ(gt(&s), 0) << "the return is ignored without bit 1";
  fs::remove(target);
  s.dwGTSubOptions = GT_SUBOPT_MINOR_CANCELS;
  EXPECT_EQ(gt(&s), GT_ABORTED);
  EXPECT_FALSE(fs::exists(target));
  for (const auto& e : fs::directory_iterator(Path("in"))) {
    EXPECT_EQ(e.path().filename(), "data.xml") << "temporary file left";
  }
}

TEST_F(Bngt32Callbacks, TheTemporaryFileIsNamedAfterTheThread) {
  struct Seen {
    std::string folder;
    std::vector<std::string> names;
  } seen{Path("in"), {}};
  GTCMDSTRUCT s = Client();
  s.lpMinorUserData = &seen;
  s.lpMinorStatus = [](const char*, int32_t, int32_t, void* data) -> int32_t {
    auto* seen = static_cast<Seen*>(data);
    for (const auto& e : fs::directory_iterator(seen->folder)) {
      const std::string name = e.path().filename().string();
      if (name != "data.xml" && name != "data.xml.gz") seen->names.push_back(name);
    }
    return 0;
  };
  ASSERT_EQ(gt(&s), 0);
  ASSERT_FALSE(seen.names.empty());
  const std::string name = seen.names.front();
  const std::string alphabet = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ_";
  const auto thread = static_cast<unsigned long>(::gettid());
  EXPECT_EQ(name.substr(0, 3), std::string("G") + alphabet[thread % 37] + alphabet[(thread / 37) % 37]);
  EXPECT_EQ(name.substr(name.size() - 4), ".TMP");
}

TEST_F(Bngt32Callbacks, AnOutputThatCannotBeReplacedFailsWithCreateError) {
  fs::create_directories(target);  // a folder where the .gz should go
  GTCMDSTRUCT s = Client();
  s.bAllQuiet = 1;
  EXPECT_EQ(gt(&s), GT_FILE_CREATE_ERROR);
  EXPECT_TRUE(fs::is_directory(target));
  size_t files = 0;
  for (const auto& e : fs::directory_iterator(Path("in"))) files += e.is_regular_file();
  EXPECT_EQ(files, 1u) << "temporary file left";
}

TEST_F(Bngt32Callbacks, UgtLogsItsStructureAndResponse) {
  GTCMDSTRUCT first = Client();
  ASSERT_EQ(gt(&first), 0);
  UGTCMDSTRUCT u{};
  u.ulugtStructSize = UGTCMDSTRUCT_SIZE;
  u.lFunction = UGT_FUNCTION_GUNZIP;
  u.bAllQuiet = 1;
  u.bDiagnosticLog = 1;
  u.TestFlag = 1;
  u.dwUGTSubOptions = GT_SUBOPT_EVENT_LOG;
  u.lpszGTFile = target.c_str();
  ASSERT_EQ(ugt(&u), 0);
  const std::string diagnostic = ReadFile(Path("logs/BNGT32.LOG"));
  EXPECT_NE(diagnostic.find("ulugtStructSize:  " + std::to_string(UGTCMDSTRUCT_SIZE) + " \n"),
            std::string::npos);
  EXPECT_NE(diagnostic.find("TestFlag: 1 \n"), std::string::npos);
  EXPECT_NE(diagnostic.find(target + "\n"), std::string::npos);
  const std::string events = ReadFile(Path("logs/BNGTLOG.TXT"));
  EXPECT_NE(events.find("data.xml [Tested]\n"), std::string::npos) << events;
  EXPECT_NE(events.find("Brennet-GT Response: 0 -\nlReturnCount: 1\nlpszReturnString: "),
            std::string::npos)
      << events;

  // A failure is logged with the reading structure's own form of the text.
  u.lpszGTFile = source.c_str();
  EXPECT_EQ(ugt(&u), GT_BAD_STRUCTURE);
  EXPECT_NE(ReadFile(Path("logs/BNGT32.LOG"))
                .find("\nBrennet-GT Error Problem with structure of GZIP/TAR file (" + source + ")\n"),
            std::string::npos);
}

TEST_F(Bngt32Callbacks, RewrittenFormatsCannotMisuseTheirArguments) {
  Recorder recorder;
  recorder.rewrites[190] = "%n%s%p %d %s %f";
  recorder.rewrites[191] = "size %s %n %x %d %%\n";
  recorder.rewrites[391] = "%s of %n %d %d %d";
  recorder.rewrites[703] = "%d %s %s";
  GTCMDSTRUCT s = Client();
  s.bDiagnosticLog = 1;
  s.dwGTSubOptions = GT_SUBOPT_EVENT_LOG;
  s.lpMessageDisplay = Display;
  s.lpMessageDisplayData = &recorder;
  std::vector<std::string> majors;
  s.lpMajorUserData = &majors;
  s.lpMajorStatus = [](const char* text, int32_t, int32_t, void* data) -> int32_t {
    static_cast<std::vector<std::string>*>(data)->push_back(text);
    return 0;
  };
  ASSERT_EQ(gt(&s), 0);
  EXPECT_NE(std::find(majors.begin(), majors.end(), " of %n 1 1 0"), majors.end());
  const std::string log = ReadFile(Path("logs/BNGT32.LOG"));
  EXPECT_NE(log.find("size  %n " ), std::string::npos) << log.substr(0, 200);
  EXPECT_NE(ReadFile(Path("logs/BNGTLOG.TXT")).find("0 " + source + " " + source + "\n"),
            std::string::npos);
}

}  // namespace
}  // namespace bngt32test
