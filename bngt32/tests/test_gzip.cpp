// gzip creation (gt 1 and 4) and extraction (ugt 1), checked against GNU gzip and pigz.
#include <sys/stat.h>
#include <utime.h>

#include <algorithm>
#include <cstring>

#include "testsupport.h"

namespace bngt32test {
namespace {

class Bngt32Gzip : public TempFolderTest {
protected:
  // Gzips `path` exactly as the client does and returns the result code.
  int32_t ClientCall(const std::string& path) {
    const std::string item = "\"" + path + "\"";
    const std::string target = "\"" + path + ".gz\"";
    GTCMDSTRUCT s = ClientGzip(item, target);
    s.lpMinorStatus = [](const char*, int32_t percent, int32_t, void* data) -> int32_t {
      static_cast<std::vector<int32_t>*>(data)->push_back(percent);
      return 0;
    };
    s.lpMinorUserData = &percents;
    return gt(&s);
  }

  int32_t Gunzip(const std::string& gz, const std::string& destination, int32_t overwrite = 1) {
    UGTCMDSTRUCT s = QuietUgt(UGT_FUNCTION_GUNZIP);
    s.lpszGTFile = gz.c_str();
    s.lpszDestination = destination.c_str();
    s.bOverWriteFlag = overwrite;
    return ugt(&s);
  }

  std::vector<int32_t> percents;
};

uint32_t Little32(const std::string& b, size_t at) {
  return static_cast<uint32_t>(static_cast<unsigned char>(b[at])) |
         static_cast<uint32_t>(static_cast<unsigned char>(b[at + 1])) << 8 |
         static_cast<uint32_t>(static_cast<unsigned char>(b[at + 2])) << 16 |
         static_cast<uint32_t>(static_cast<unsigned char>(b[at + 3])) << 24;
}

TEST_F(Bngt32Gzip, ClientCallWritesTheDesignedMemberThatGnuGzipRestores) {
  const std::string source = Path("prog/smith.ged.xml");
  const std::string xml = SummaryLikeXml(300);
  WriteFile(source, xml);
  struct utimbuf times{1600000000, 1600000000};
  ASSERT_EQ(::utime(source.c_str(), &times), 0);

  ASSERT_EQ(ClientCall(source), 0);
  const std::string gz = ReadFile(source + ".gz");
  ASSERT_GT(gz.size(), 30u);
  EXPECT_EQ(static_cast<unsigned char>(gz[0]), 0x1f);
  EXPECT_EQ(static_cast<unsigned char>(gz[1]), 0x8b);
  EXPECT_EQ(gz[2], 8);
  EXPECT_EQ(gz[3], 0x08) << "FLG: FNAME only";
  EXPECT_EQ(Little32(gz, 4), 1600000000u) << "MTIME of the source";
  EXPECT_EQ(gz[8], 0);
  EXPECT_EQ(gz[9], 0);
  EXPECT_EQ(gz.substr(10, 14), std::string("smith.ged.xml\0", 14)) << "name without folder";
  EXPECT_EQ(Little32(gz, gz.size() - 4), xml.size());

  EXPECT_EQ(Shell("gzip -t " + Quoted(source + ".gz")), 0);
  std::string restored;
  EXPECT_EQ(Shell("gzip -dc " + Quoted(source + ".gz"), &restored), 0);
  EXPECT_EQ(restored, xml);
  ASSERT_FALSE(percents.empty());
  EXPECT_EQ(percents.back(), 100);
  // No temporary file stays behind.
  int files = 0;
  for (const auto& e : fs::directory_iterator(Path("prog"))) files += e.is_regular_file();
  EXPECT_EQ(files, 2);
}

TEST_F(Bngt32Gzip, ClientCallWorksInTheDataFolderAndOnNamesWithBlanks) {
  // The data folder may be ~/.local/share/kintrail/; summary names may hold blanks.
  for (const char* relative : {".local/share/kintrail/smith.ged.xml", "my files/the smiths.ged.xml"}) {
    SCOPED_TRACE(relative);
    const std::string source = Path(relative);
    WriteFile(source, "<gedcom id=\"1\"></gedcom>");
    ASSERT_EQ(ClientCall(source), 0);
    std::string out;
    EXPECT_EQ(Shell("gzip -dc " + Quoted(source + ".gz"), &out), 0);
    EXPECT_EQ(out, "<gedcom id=\"1\"></gedcom>");
    const std::string name = fs::path(source).filename().string();
    EXPECT_EQ(ReadFile(source + ".gz").substr(10, name.size() + 1), name + std::string(1, '\0'));
  }
}

TEST_F(Bngt32Gzip, NamesTravelInTheOemCodePage) {
  const std::string source = Path("m\xc3\xbcller.ged.xml");  // "müller" in UTF-8
  WriteFile(source, "data");
  ASSERT_EQ(ClientCall(source), 0);
  EXPECT_EQ(ReadFile(source + ".gz").substr(10, 15), std::string("m\x81ller.ged.xml\0", 15)) << "CP437";
  ASSERT_EQ(Gunzip(source + ".gz", Path("out")), 0);
  EXPECT_EQ(ReadFile(Path("out/m\xc3\xbcller.ged.xml")), "data");
}

TEST_F(Bngt32Gzip, UgtRestoresBytesAndTimeOfTheClientFile) {
  const std::string source = Path("prog/smith.ged.xml");
  WriteFile(source, SummaryLikeXml(50));
  struct utimbuf times{1500000000, 1500000000};
  ::utime(source.c_str(), &times);
  ASSERT_EQ(ClientCall(source), 0);
  ASSERT_EQ(Gunzip(source + ".gz", Path("out")), 0);
  EXPECT_EQ(ReadFile(Path("out/smith.ged.xml")), ReadFile(source));
  struct stat st{};
  ASSERT_EQ(::stat(Path("out/smith.ged.xml").c_str(), &st), 0);
  EXPECT_EQ(st.st_mtime, 1500000000);
}

TEST_F(Bngt32Gzip, UgtRestoresFilesOfGnuGzipAndPigz) {
  const std::string data = SummaryLikeXml(60);
  WriteFile(Path("in/data.txt"), data);
  struct Case {
    const char* command;
    const char* expectedOutput;  // relative to the destination
  } cases[] = {
      {"gzip -c", "data.txt"},
      {"gzip -9c", "data.txt"},
      {"pigz -c", "data.txt"},
      {"pigz -11c", "data.txt"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.command);
    fs::remove_all(Path("out"));
    ASSERT_EQ(Shell(std::string(c.command) + " " + Quoted(Path("in/data.txt")) + " > " +
                    Quoted(Path("made.gz"))),
              0);
    ASSERT_EQ(Gunzip(Path("made.gz"), Path("out")), 0);
    EXPECT_EQ(ReadFile(Path("out/") + c.expectedOutput), data);
  }
}

TEST_F(Bngt32Gzip, NameWithoutFnameComesFromTheGzipPath) {
  WriteFile(Path("a/data.txt"), "plain text\n");
  ASSERT_EQ(Shell("gzip -nc " + Quoted(Path("a/data.txt")) + " > " + Quoted(Path("a/data.txt.gz"))), 0);
  // The gzip file's path without its root and last extension, under the destination.
  ASSERT_EQ(Gunzip(Path("a/data.txt.gz"), Path("out")), 0);
  EXPECT_EQ(ReadFile(Path("out/") + Path("a/data.txt").substr(1)), "plain text\n");
  UGTCMDSTRUCT s = QuietUgt(UGT_FUNCTION_GUNZIP);
  const std::string gz = Path("a/data.txt.gz"), out = Path("flat");
  s.lpszGTFile = gz.c_str();
  s.lpszDestination = out.c_str();
  s.bNoDirectoryNames = 1;
  ASSERT_EQ(ugt(&s), 0);
  EXPECT_EQ(ReadFile(Path("flat/data.txt")), "plain text\n");
}

TEST_F(Bngt32Gzip, StructureSizeAndFunctionRequirements) {
  WriteFile(Path("f.txt"), "x");
  const std::string item = "\"" + Path("f.txt") + "\"", target = Path("f.txt.gz");
  const std::string destination = Path("dest");
  struct Case {
    const char* name;
    void (*change)(GTCMDSTRUCT&, const std::string&);
  } cases[] = {
      {"size 195", [](GTCMDSTRUCT& s, const std::string&) { s.ulgtStructSize = GTCMDSTRUCT_SIZE - 1; }},
      {"designed 32-bit size on this build",
       [](GTCMDSTRUCT& s, const std::string&) { s.ulgtStructSize = sizeof(void*) == 4 ? 0 : 196; }},
      {"function 0", [](GTCMDSTRUCT& s, const std::string&) { s.lFunction = 0; }},
      {"function 8", [](GTCMDSTRUCT& s, const std::string&) { s.lFunction = 8; }},
      {"file and destination", [](GTCMDSTRUCT& s, const std::string& d) { s.lpszDestination = d.c_str(); }},
      {"neither file nor destination", [](GTCMDSTRUCT& s, const std::string&) { s.lpszGTFile = nullptr; }},
      {"encryption", [](GTCMDSTRUCT& s, const std::string&) {
         s.bEncryptFlag = 1;
         s.lpszEncryptCode = "secret";
       }},
      {"function 4 without file", [](GTCMDSTRUCT& s, const std::string& d) {
         s.lFunction = 4;
         s.lpszGTFile = nullptr;
         s.lpszDestination = d.c_str();
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GTCMDSTRUCT s = Quiet(GT_FUNCTION_GZIP);
    s.lpszItemList = item.c_str();
    s.lpszGTFile = target.c_str();
    c.change(s, destination);
    EXPECT_EQ(gt(&s), GT_BAD_PARAMETERS);
    EXPECT_FALSE(fs::exists(target));
    EXPECT_FALSE(fs::exists(destination));
  }
}

TEST_F(Bngt32Gzip, LevelsOutsideOneToNineAreClamped) {
  WriteFile(Path("f.xml"), SummaryLikeXml(64));
  auto compress = [&](int32_t level) {
    GTCMDSTRUCT s = Quiet(GT_FUNCTION_GZIP);
    const std::string item = Path("f.xml"), target = Path("f.gz");
    s.lpszItemList = item.c_str();
    s.lpszGTFile = target.c_str();
    s.bNoDirectoryNames = 1;
    s.lCompFactor = level;
    EXPECT_EQ(gt(&s), 0);
    return ReadFile(target);
  };
  struct Case {
    int32_t given, expected;
  } cases[] = {{0, 1}, {-5, 1}, {12, 9}, {1000, 9}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.given);
    EXPECT_EQ(compress(c.given), compress(c.expected));
  }
  EXPECT_NE(compress(1), compress(9));
}

TEST_F(Bngt32Gzip, BadFilterDatesFailWithInvalidDate) {
  WriteFile(Path("f.txt"), "x");
  const char* bad[] = {"0101200", "13012020", "00012020", "01322020", "01011969", "01012080", "0101202a"};
  for (const char* date : bad) {
    SCOPED_TRACE(date);
    GTCMDSTRUCT s = Quiet(GT_FUNCTION_GZIP);
    const std::string item = Path("f.txt"), target = Path("f.gz");
    s.lpszItemList = item.c_str();
    s.lpszGTFile = target.c_str();
    s.bInclDate = 1;
    s.lpszDate1 = date;
    s.lpszDate2 = "12312030";
    s.bDiagnosticLog = 1;
    EXPECT_EQ(gt(&s), GT_BAD_PARAMETERS);
    EXPECT_FALSE(fs::exists(target));
  }
  EXPECT_NE(ReadFile(Path("logs/BNGT32.LOG")).find("Parameters missing or bad (invalid date)"),
            std::string::npos);
}

TEST_F(Bngt32Gzip, DateFiltersKeepOrDropItems) {
  WriteFile(Path("old.txt"), "old");
  WriteFile(Path("new.txt"), "new");
  struct utimbuf old{946728000, 946728000};  // 2000-01-01 12:00 UTC
  ::utime(Path("old.txt").c_str(), &old);
  const std::string items = Path("*.txt");
  const std::string destination = Path("out/");
  auto run = [&](int32_t include, int32_t exclude) {
    fs::remove_all(destination);
    GTCMDSTRUCT s = Quiet(GT_FUNCTION_GZIP);
    s.lpszItemList = items.c_str();
    s.lpszDestination = destination.c_str();
    s.bInclDate = include;
    s.bExclDate = exclude;
    s.lpszDate1 = "12301999";
    s.lpszDate2 = "01022000";
    return gt(&s);
  };
  ASSERT_EQ(run(1, 0), 0);
  EXPECT_TRUE(fs::exists(destination + "old.txt.gz"));
  EXPECT_FALSE(fs::exists(destination + "new.txt.gz"));
  ASSERT_EQ(run(0, 1), 0);
  EXPECT_FALSE(fs::exists(destination + "old.txt.gz"));
  EXPECT_TRUE(fs::exists(destination + "new.txt.gz"));
}

TEST_F(Bngt32Gzip, TwoItemsIntoOneFileLeaveTheLastOne) {
  WriteFile(Path("a.txt"), "first");
  WriteFile(Path("b.txt"), "second");
  const std::string items = "\"" + Path("a.txt") + "\" \"" + Path("b.txt") + "\"";
  const std::string target = Path("both.gz");
  GTCMDSTRUCT s = Quiet(GT_FUNCTION_GZIP_TO_FILE);
  s.lpszItemList = items.c_str();
  s.lpszGTFile = target.c_str();
  ASSERT_EQ(gt(&s), 0);
  std::string out;
  EXPECT_EQ(Shell("gzip -dc " + Quoted(target), &out), 0);
  EXPECT_EQ(out, "second");
}

TEST_F(Bngt32Gzip, ReadOnlyOutputIsReplaced) {
  WriteFile(Path("f.txt"), "new data");
  WriteFile(Path("f.txt.gz"), "old");
  ::chmod(Path("f.txt.gz").c_str(), 0444);
  ASSERT_EQ(ClientCall(Path("f.txt")), 0);
  std::string out;
  EXPECT_EQ(Shell("gzip -dc " + Quoted(Path("f.txt.gz")), &out), 0);
  EXPECT_EQ(out, "new data");
}

TEST_F(Bngt32Gzip, MissingSourceAndCommentAndLineEnds) {
  GTCMDSTRUCT s = Quiet(GT_FUNCTION_GZIP);
  const std::string missing = Path("none.txt"), target = Path("none.gz");
  s.lpszItemList = missing.c_str();
  s.lpszGTFile = target.c_str();
  EXPECT_EQ(gt(&s), GT_NO_MATCH);
  EXPECT_FALSE(fs::exists(target));

  WriteFile(Path("t.txt"), "a\nb\n");
  const std::string item = Path("t.txt"), out = Path("t.gz");
  s.lpszItemList = item.c_str();
  s.lpszGTFile = out.c_str();
  s.bAddComment = 1;
  s.lpszComment = "made for a test";
  s.bLFtoCRLF = 1;
  ASSERT_EQ(gt(&s), 0);
  const std::string gz = ReadFile(out);
  EXPECT_EQ(gz[3], 0x18) << "FNAME and FCOMMENT";
  EXPECT_NE(gz.find(std::string("made for a test\0", 16)), std::string::npos);
  std::string data;
  EXPECT_EQ(Shell("gzip -dc " + Quoted(out), &data), 0);
  EXPECT_EQ(data, "a\r\nb\r\n");
}

TEST_F(Bngt32Gzip, DamagedFilesEndWithTheirCodeAndLeaveNothing) {
  const std::string data = SummaryLikeXml(40);
  WriteFile(Path("d.xml"), data);
  ASSERT_EQ(Shell("gzip -c " + Quoted(Path("d.xml")) + " > " + Quoted(Path("good.gz"))), 0);
  const std::string good = ReadFile(Path("good.gz"));
  std::string badCrc = good;
  badCrc[badCrc.size() - 6] ^= 0x40;
  std::string badData = good;
  badData[40] ^= 0x55;
  badData[41] ^= 0x55;
  std::string twoMembers = good + good;
  std::string unknownMethod = good;
  unknownMethod[2] = 7;
  std::string encrypted = good;
  encrypted[3] = static_cast<char>(encrypted[3] | 0x20);
  struct Case {
    const char* name;
    std::string bytes;
    int32_t expected;
  } cases[] = {
      {"not gzip", "PK\x03\x04 something", GT_BAD_STRUCTURE},
      {"empty", "", GT_UNEXPECTED_EOF},
      {"header only", good.substr(0, 12), GT_UNEXPECTED_EOF},
      {"no trailer", good.substr(0, good.size() - 8), GT_UNEXPECTED_EOF},
      {"half trailer", good.substr(0, good.size() - 3), GT_UNEXPECTED_EOF},
      {"bad crc", badCrc, UGT_BAD_CRC},
      {"two members", twoMembers, GT_BAD_STRUCTURE},
      {"unknown method", unknownMethod, UGT_UNKNOWN_METHOD},
      {"encrypted", encrypted, UGT_BAD_DECRYPTION_KEY},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(Path("out"));
    WriteFile(Path("bad.gz"), c.bytes);
    EXPECT_EQ(Gunzip(Path("bad.gz"), Path("out")), c.expected);
    EXPECT_FALSE(fs::exists(Path("out/d.xml")));
    if (fs::exists(Path("out"))) {
      EXPECT_TRUE(fs::is_empty(Path("out")));
    }
  }
  // Damaged deflate data: any failure code, never success, nothing left.
  fs::remove_all(Path("out"));
  WriteFile(Path("bad.gz"), badData);
  EXPECT_NE(Gunzip(Path("bad.gz"), Path("out")), 0);
  EXPECT_FALSE(fs::exists(Path("out/d.xml")));
}

TEST_F(Bngt32Gzip, KeepPartialSubOptionLeavesWhatWasDecoded) {
  WriteFile(Path("d.xml"), SummaryLikeXml(200));
  ASSERT_EQ(Shell("gzip -c " + Quoted(Path("d.xml")) + " > " + Quoted(Path("g.gz"))), 0);
  const std::string good = ReadFile(Path("g.gz"));
  WriteFile(Path("cut.gz"), good.substr(0, good.size() / 2));
  UGTCMDSTRUCT s = QuietUgt(UGT_FUNCTION_GUNZIP);
  const std::string gz = Path("cut.gz"), out = Path("out");
  s.lpszGTFile = gz.c_str();
  s.lpszDestination = out.c_str();
  s.dwUGTSubOptions = UGT_SUBOPT_KEEP_PARTIAL;
  EXPECT_EQ(ugt(&s), GT_UNEXPECTED_EOF);
  ASSERT_TRUE(fs::exists(Path("out/d.xml")));
  EXPECT_GT(fs::file_size(Path("out/d.xml")), 0u);
}

TEST_F(Bngt32Gzip, ExtractingOntoTheGzipFileItselfIsRefused) {
  // A member whose stored name is its own file name, extracted into its own folder.
  WriteFile(Path("self.gz"), "placeholder");
  WriteFile(Path("src/self.gz"), "payload");
  GTCMDSTRUCT s = Quiet(GT_FUNCTION_GZIP);
  const std::string item = Path("src/self.gz"), target = Path("self.gz");
  s.lpszItemList = item.c_str();
  s.lpszGTFile = target.c_str();
  s.bNoDirectoryNames = 1;
  ASSERT_EQ(gt(&s), 0);
  const std::string before = ReadFile(target);
  EXPECT_EQ(Gunzip(target, dir_), UGT_FILE_SKIPPED);
  EXPECT_EQ(ReadFile(target), before);
}

TEST_F(Bngt32Gzip, UnsafeStoredNamesAreRefusedAndNothingIsWritten) {
  struct Case {
    const char* storedName;
  } cases[] = {{"../escape.txt"}, {"a/../../escape.txt"}, {"/tmp/escape.txt"},
               {"..\\escape.txt"}, {"C:\\escape.txt"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.storedName);
    // A member carrying that name, built with our own writer's framing.
    std::string member("\x1f\x8b\x08\x08\0\0\0\0\0\0", 10);
    member += c.storedName;
    member += '\0';
    std::string body;
    ASSERT_EQ(Shell("printf data | gzip -nc | tail -c +11", &body), 0);
    WriteFile(Path("evil.gz"), member + body);
    fs::remove_all(Path("out"));
    fs::create_directories(Path("out"));
    EXPECT_EQ(Gunzip(Path("evil.gz"), Path("out")), GT_BAD_STRUCTURE);
    EXPECT_FALSE(fs::exists(Path("escape.txt")));
    EXPECT_FALSE(fs::exists("/tmp/escape.txt"));
    EXPECT_TRUE(fs::is_empty(Path("out")));
  }
}

TEST_F(Bngt32Gzip, GunzipChecksItsParameters) {
  WriteFile(Path("x.gz"), "");
  const std::string gz = Path("x.gz");
  struct Case {
    const char* name;
    void (*change)(UGTCMDSTRUCT&, const std::string&);
  } cases[] = {
      {"size", [](UGTCMDSTRUCT& s, const std::string&) { s.ulugtStructSize = 172; }},
      {"no file", [](UGTCMDSTRUCT& s, const std::string&) { s.lpszGTFile = nullptr; }},
      {"no destination", [](UGTCMDSTRUCT& s, const std::string&) { s.lpszDestination = nullptr; }},
      {"relative destination", [](UGTCMDSTRUCT& s, const std::string&) { s.lpszDestination = "out"; }},
      {"freshen and update", [](UGTCMDSTRUCT& s, const std::string&) {
         s.bFreshenFlag = 1;
         s.bUpdateFlag = 1;
       }},
      {"long key", [](UGTCMDSTRUCT& s, const std::string&) {
         s.lpszDecryptCode = "0123456789012345678901234567890123456789012345678901234567890123456789";
       }},
      {"function 16", [](UGTCMDSTRUCT& s, const std::string&) { s.lFunction = 16; }},
      {"memory without block", [](UGTCMDSTRUCT& s, const std::string&) { s.lFunction = 3; }},
      {"info without record", [](UGTCMDSTRUCT& s, const std::string&) { s.lFunction = 10; }},
      {"tar info without record", [](UGTCMDSTRUCT& s, const std::string&) { s.lFunction = 11; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    UGTCMDSTRUCT s = QuietUgt(UGT_FUNCTION_GUNZIP);
    s.lpszGTFile = gz.c_str();
    s.lpszDestination = "/tmp";
    c.change(s, gz);
    if (sizeof(void*) == 4 && std::string(c.name) == "size") s.ulugtStructSize = 171;
    EXPECT_EQ(ugt(&s), GT_BAD_PARAMETERS);
  }
}

TEST_F(Bngt32Gzip, TestModeAndMemoryAndInformation) {
  const std::string data = SummaryLikeXml(20);
  WriteFile(Path("m.xml"), data);
  ASSERT_EQ(Shell("gzip -c " + Quoted(Path("m.xml")) + " > " + Quoted(Path("m.gz"))), 0);
  const std::string gz = Path("m.gz");

  UGTCMDSTRUCT test = QuietUgt(UGT_FUNCTION_GUNZIP);
  test.lpszGTFile = gz.c_str();
  test.TestFlag = 1;
  EXPECT_EQ(ugt(&test), 0);
  EXPECT_EQ(test.lReturnCount, 1);

  std::string block(data.size() + 16, '#');
  UGTCMDSTRUCT mem = QuietUgt(UGT_FUNCTION_GUNZIP_TO_MEM);
  mem.lpszGTFile = gz.c_str();
  mem.lpMemBlock = block.data();
  mem.lMemBlockSize = static_cast<int32_t>(block.size());
  mem.lStartingOffset = 8;
  EXPECT_EQ(ugt(&mem), 0);
  EXPECT_EQ(mem.lReturnCount, static_cast<int32_t>(data.size()));
  EXPECT_EQ(block.substr(8, data.size()), data);
  EXPECT_EQ(block.substr(0, 8), "########");
  EXPECT_EQ(block.substr(8 + data.size()), "########");

  std::string small(100, '#');
  std::string guard = small;
  mem.lpMemBlock = small.data();
  mem.lMemBlockSize = 90;
  mem.lStartingOffset = 0;
  EXPECT_EQ(ugt(&mem), UGT_DISK_FULL);
  EXPECT_EQ(small.substr(90), guard.substr(90)) << "nothing written past the block";

  GZIPINFO info{};
  info.ulStructSize = GZIPINFO_SIZE;
  UGTCMDSTRUCT query = QuietUgt(UGT_FUNCTION_GZIP_INFO);
  query.lpszGTFile = gz.c_str();
  query.gzipInfo = &info;
  EXPECT_EQ(ugt(&query), 0);
  EXPECT_EQ(info.dwOriginalSize, data.size());
  EXPECT_STREQ(info.szName, "m.xml");
  EXPECT_EQ(info.dwMethod, 8u);
}

// The caller's data function: input from `input`, output appended to `output`.
struct MemoryData {
  std::string input;
  size_t position = 0;
  std::string output;
};

int32_t BNGT32_CALLBACK MemoryProc(int32_t request, void* buffer, int32_t size, void* user) {
  auto* m = static_cast<MemoryData*>(user);
  if (request == GT_MEMREQUEST_WRITE) {
    m->output.append(static_cast<const char*>(buffer), static_cast<size_t>(size));
    return 0;
  }
  const size_t n = std::min(static_cast<size_t>(size), m->input.size() - m->position);
  std::memcpy(buffer, m->input.data() + m->position, n);
  m->position += n;
  return static_cast<int32_t>(n);
}

TEST_F(Bngt32Gzip, MemoryFunctionsGoThroughTheCallbackBlock) {
  const std::string data = SummaryLikeXml(30);
  MemoryData memory{data, 0, {}};
  GTCALLBACKSTRUCT block{sizeof(GTCALLBACKSTRUCT), MemoryProc, &memory, nullptr, nullptr};
  GTCMDSTRUCT s = Quiet(GT_FUNCTION_MEM_TO_MEM);
  s.lpCallbackStruct = &block;
  ASSERT_EQ(gt(&s), 0);
  WriteFile(Path("mem.gz"), memory.output);
  std::string out;
  EXPECT_EQ(Shell("gzip -dc " + Quoted(Path("mem.gz")), &out), 0);
  EXPECT_EQ(out, data);

  WriteFile(Path("f.xml"), data);
  const std::string item = Path("f.xml");
  memory = MemoryData{};
  GTCMDSTRUCT toCallback = Quiet(GT_FUNCTION_GZIP_TO_MEM);
  toCallback.lpszItemList = item.c_str();
  toCallback.lpCallbackStruct = &block;
  ASSERT_EQ(gt(&toCallback), 0);
  WriteFile(Path("f.gz"), memory.output);
  EXPECT_EQ(Shell("gzip -dc " + Quoted(Path("f.gz")), &out), 0);
  EXPECT_EQ(out, data);

  memory = MemoryData{};
  UGTCMDSTRUCT back = QuietUgt(UGT_FUNCTION_GUNZIP_TO_CALLBACK);
  const std::string gz = Path("f.gz");
  back.lpszGTFile = gz.c_str();
  back.lpCallbackStruct = &block;
  ASSERT_EQ(ugt(&back), 0);
  EXPECT_EQ(memory.output, data);

  // Data of the single item from the caller's block, named by the list.
  GTCMDSTRUCT fromBlock = Quiet(GT_FUNCTION_GZIP);
  const std::string named = Path("virtual.xml"), target = Path("virtual.gz");
  fromBlock.lpszItemList = named.c_str();
  fromBlock.lpszGTFile = target.c_str();
  fromBlock.bNoDirectoryNames = 1;
  fromBlock.lpMemBlock = const_cast<char*>(data.data());
  fromBlock.lMemBlockSize = static_cast<int32_t>(data.size());
  ASSERT_EQ(gt(&fromBlock), 0);
  EXPECT_EQ(Shell("gzip -dc " + Quoted(target), &out), 0);
  EXPECT_EQ(out, data);
  EXPECT_EQ(ReadFile(target).substr(10, 12), std::string("virtual.xml\0", 12));
}

}  // namespace
}  // namespace bngt32test
