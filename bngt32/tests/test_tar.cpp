// tar creation, adding, deletion (gt 2, 3, 7) and extraction (ugt 2), checked
// against GNU tar.
#include <sys/stat.h>
#include <utime.h>

#include <map>

#include "testsupport.h"

namespace bngt32test {
namespace {

class Bngt32Tar : public TempFolderTest {
protected:
  // Stored names lose the folder each item was named in, unless told otherwise.
  int32_t Add(const std::string& archive, const std::string& items, int32_t grow = 0,
              int32_t recurse = 0, uint32_t subOptions = GT_SUBOPT_STRIP_BASE_FOLDER) {
    GTCMDSTRUCT s = Quiet(GT_FUNCTION_TAR);
    s.lpszGTFile = archive.c_str();
    s.lpszItemList = items.c_str();
    s.bGrowExistingFlag = grow;
    s.bRecurseFlag = recurse;
    s.dwGTSubOptions = subOptions;
    return gt(&s);
  }

  int32_t Extract(const std::string& archive, const std::string& destination,
                  const char* filespec = nullptr, int32_t* count = nullptr) {
    UGTCMDSTRUCT s = QuietUgt(UGT_FUNCTION_UNTAR);
    s.lpszGTFile = archive.c_str();
    s.lpszDestination = destination.c_str();
    s.lpszFilespec = filespec;
    s.bOverWriteFlag = 1;
    const int32_t code = ugt(&s);
    if (count != nullptr) *count = s.lReturnCount;
    return code;
  }

  std::string GnuList(const std::string& archive) {
    std::string out;
    EXPECT_EQ(Shell("tar --numeric-owner --full-time -tvf " + Quoted(archive) + " 2>/dev/null", &out), 0);
    return out;
  }
};

TEST_F(Bngt32Tar, OneByteFileMakesThreeBlocks) {
  WriteFile(Path("one.txt"), "1");
  ASSERT_EQ(Add(Path("one.tar"), Path("one.txt")), 0);
  const std::string tar = ReadFile(Path("one.tar"));
  ASSERT_EQ(tar.size(), 1536u);
  EXPECT_EQ(tar.substr(0, 8), std::string("one.txt\0", 8));
  EXPECT_EQ(tar.substr(100, 8), std::string("000666 \0", 8));
  EXPECT_EQ(tar.substr(124, 12), "00000000001 ");
  EXPECT_EQ(tar[156], '0');
  EXPECT_EQ(tar.substr(257, 8), std::string("ustar  \0", 8));
  EXPECT_EQ(tar[512], '1');
  EXPECT_EQ(tar.substr(1024), std::string(512, '\0'));
}

TEST_F(Bngt32Tar, GnuTarListsAndExtractsWhatGtWrites) {
  WriteFile(Path("src/plain.txt"), "hello\n");
  WriteFile(Path("src/run.BAT"), "@echo off\n");
  WriteFile(Path("src/locked.txt"), "do not touch");
  ::chmod(Path("src/locked.txt").c_str(), 0444);
  const std::string longName =
      "src/" + std::string(60, 'f') + "/" + std::string(60, 'g') + "/" + std::string(50, 'h') + ".txt";
  WriteFile(Path(longName), "deep");
  struct utimbuf t{1234567890, 1234567890};
  for (const char* f : {"src/plain.txt", "src/run.BAT", "src/locked.txt"}) ::utime(Path(f).c_str(), &t);
  // The folder given is stored with its own name, without the folders above it.
  ASSERT_EQ(Add(Path("a.tar"), Path("src"), 0, 1), 0);

  std::istringstream list(GnuList(Path("a.tar")));
  std::map<std::string, std::string> lines;  // name -> "mode owner size date"
  for (std::string mode, owner, size, date, time, name; list >> mode >> owner >> size >> date >> time >> name;) {
    lines[name] = mode + " " + owner + " " + size + " " + date;
  }
  EXPECT_EQ(lines["src/plain.txt"], "-rw-rw-rw- 0/0 6 2009-02-13");
  EXPECT_EQ(lines["src/run.BAT"], "-rwxrwxrwx 0/0 10 2009-02-13");
  EXPECT_EQ(lines["src/locked.txt"], "-r--r--r-- 0/0 12 2009-02-13");
  EXPECT_EQ(lines[longName].substr(0, 17), "-rw-rw-rw- 0/0 4 ") << "long name through the prefix";
  EXPECT_EQ(lines.size(), 4u);

  fs::create_directories(Path("gnu"));
  ASSERT_EQ(Shell("tar -xf " + Quoted(Path("a.tar")) + " -C " + Quoted(Path("gnu")) + " 2>/dev/null"), 0);
  EXPECT_EQ(ReadFile(Path("gnu/src/plain.txt")), "hello\n");
  EXPECT_EQ(ReadFile(Path("gnu/") + longName), "deep");
  struct stat st{};
  ASSERT_EQ(::stat(Path("gnu/src/plain.txt").c_str(), &st), 0);
  EXPECT_EQ(st.st_mtime, 1234567890);
}

TEST_F(Bngt32Tar, NameLengthsAroundTheNameField) {
  struct Case {
    std::string stored;
    bool usesPrefix;
    int32_t expected;
  } cases[] = {
      {std::string(95, 'x') + ".txt", false, 0},                              // 99: name field only
      {std::string(50, 'p') + "/" + std::string(45, 'n') + ".txt", true, 0},  // 100 with a folder
      {std::string(96, 'n') + ".txt", false, 14},                             // 100 without a folder
      {std::string(150, 'p') + "/" + std::string(95, 'n') + ".txt", true, 0}, // prefix 151, name 99
      {std::string(160, 'p') + "/" + std::string(56, 'n') + ".txt", false, 14},  // prefix over 152
  };
  // Relative item names are stored as given.
  const fs::path previous = fs::current_path();
  fs::current_path(dir_);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored.size());
    fs::remove(Path("n.tar"));
    fs::remove_all(Path("out"));
    WriteFile(Path(c.stored), "z");
    const int32_t code = Add("n.tar", c.stored, 0, 0, 0);
    fs::remove(Path(c.stored));
    EXPECT_EQ(code, c.expected);
    if (code != 0) {
      EXPECT_FALSE(fs::exists(Path("n.tar")));
      continue;
    }
    const std::string tar = ReadFile(Path("n.tar"));
    EXPECT_EQ(tar[345] != '\0', c.usesPrefix);
    std::string names;
    EXPECT_EQ(Shell("tar -tf n.tar 2>/dev/null", &names), 0);
    EXPECT_EQ(names, c.stored + "\n");
    ASSERT_EQ(Extract(Path("n.tar"), Path("out")), 0);
    EXPECT_EQ(ReadFile(Path("out/") + c.stored), "z");
  }
  fs::current_path(previous);
}

TEST_F(Bngt32Tar, AddingKeepsOldItemsAndOneEndBlock) {
  WriteFile(Path("a.txt"), "aaa");
  WriteFile(Path("b.txt"), "bbbb");
  WriteFile(Path("c.txt"), "cc");
  ASSERT_EQ(Add(Path("t.tar"), Path("a.txt")), 0);
  ASSERT_EQ(Add(Path("t.tar"), Path("b.txt")), 0);
  ASSERT_EQ(Add(Path("t.tar"), Path("c.txt"), 1), 0) << "grow in place";
  const std::string tar = ReadFile(Path("t.tar"));
  EXPECT_EQ(tar.size(), 3u * 1024u + 512u);
  std::string names;
  EXPECT_EQ(Shell("tar -tf " + Quoted(Path("t.tar")) + " 2>/dev/null", &names), 0);
  EXPECT_EQ(names, "a.txt\nb.txt\nc.txt\n");
  int32_t count = 0;
  ASSERT_EQ(Extract(Path("t.tar"), Path("out"), nullptr, &count), 0);
  EXPECT_EQ(count, 3);
  EXPECT_EQ(ReadFile(Path("out/b.txt")), "bbbb");
}

TEST_F(Bngt32Tar, DeletingByPatternAndByIndex) {
  for (const char* n : {"a.txt", "b.log", "c.txt", "d.log"}) WriteFile(Path(n), n);
  ASSERT_EQ(Add(Path("t.tar"), Path("*.txt") + " " + Path("*.log")), 0);
  GTCMDSTRUCT s = Quiet(GT_FUNCTION_TAR_DELETE);
  const std::string archive = Path("t.tar");
  s.lpszGTFile = archive.c_str();
  s.lpszItemList = "*.log";
  ASSERT_EQ(gt(&s), 0);
  std::string names;
  EXPECT_EQ(Shell("tar -tf " + Quoted(archive) + " 2>/dev/null", &names), 0);
  EXPECT_EQ(names, "a.txt\nc.txt\n");

  s.lpszItemList = nullptr;
  for (int32_t bad : {-1, 2, 100}) {
    s.lIndex = bad;
    EXPECT_EQ(gt(&s), GT_INDEX_OUT_OF_BOUNDS) << bad;
  }
  s.lIndex = 0;
  s.bGrowExistingFlag = 1;
  ASSERT_EQ(gt(&s), 0);
  EXPECT_EQ(Shell("tar -tf " + Quoted(archive) + " 2>/dev/null", &names), 0);
  EXPECT_EQ(names, "c.txt\n");
  ASSERT_EQ(Extract(archive, Path("out")), 0);
  EXPECT_EQ(ReadFile(Path("out/c.txt")), "c.txt");
  s.lpszItemList = "nothing*";
  EXPECT_EQ(gt(&s), GT_NO_MATCH);
}

TEST_F(Bngt32Tar, UgtExtractsGnuUstarArchives) {
  WriteFile(Path("in/top.txt"), "top");
  const std::string deep = std::string(70, 'k') + "/" + std::string(70, 'm') + "/file.bin";
  WriteFile(Path("in/") + deep, std::string(5000, '\x7f'));
  ::chmod(Path("in/top.txt").c_str(), 0640);
  struct utimbuf t{1300000000, 1300000000};
  ::utime(Path("in/top.txt").c_str(), &t);
  ASSERT_EQ(Shell("cd " + Quoted(Path("in")) + " && tar --format=ustar -cf ../g.tar top.txt " +
                  std::string(70, 'k')),
            0);
  int32_t count = 0;
  ASSERT_EQ(Extract(Path("g.tar"), Path("out"), nullptr, &count), 0);
  EXPECT_EQ(count, 2);
  EXPECT_EQ(ReadFile(Path("out/top.txt")), "top");
  EXPECT_EQ(ReadFile(Path("out/") + deep), std::string(5000, '\x7f'));
  struct stat st{};
  ASSERT_EQ(::stat(Path("out/top.txt").c_str(), &st), 0);
  EXPECT_EQ(st.st_mtime, 1300000000);

  fs::remove_all(Path("out"));
  ASSERT_EQ(Extract(Path("g.tar"), Path("out"), "*.bin", &count), 0);
  EXPECT_EQ(count, 1);
  EXPECT_FALSE(fs::exists(Path("out/top.txt")));
}

TEST_F(Bngt32Tar, UgtExtractsGnuLongNamesAndPaxArchives) {
  const std::string deep = std::string(120, 'q') + "/" + std::string(90, 'r') + ".txt";
  WriteFile(Path("in/") + deep, "long");
  for (const char* format : {"gnu", "pax"}) {
    SCOPED_TRACE(format);
    fs::remove_all(Path("out"));
    ASSERT_EQ(Shell("cd " + Quoted(Path("in")) + " && tar --format=" + format + " -cf ../l.tar " +
                    std::string(120, 'q')),
              0);
    int32_t count = 0;
    ASSERT_EQ(Extract(Path("l.tar"), Path("out"), nullptr, &count), 0);
    EXPECT_EQ(count, 1);
    EXPECT_EQ(ReadFile(Path("out/") + deep), "long");
  }
}

TEST_F(Bngt32Tar, FreshenAndUpdateCompareWithTheExistingFile) {
  WriteFile(Path("src/a.txt"), "archived");
  struct utimbuf itemTime{1500000000, 1500000000};
  ::utime(Path("src/a.txt").c_str(), &itemTime);
  ASSERT_EQ(Add(Path("t.tar"), Path("src/a.txt")), 0);
  enum Existing { kMissing, kOlder, kNewer };
  struct Case {
    const char* name;
    bool freshen;
    Existing existing;
    int32_t expected;
    const char* content;  // nullptr: no file
  } cases[] = {
      {"freshen, missing", true, kMissing, UGT_FILE_SKIPPED, nullptr},
      {"freshen, older", true, kOlder, 0, "archived"},
      {"freshen, newer", true, kNewer, UGT_FILE_SKIPPED, "local"},
      {"update, missing", false, kMissing, 0, "archived"},
      {"update, older", false, kOlder, 0, "archived"},
      {"update, newer", false, kNewer, UGT_FILE_SKIPPED, "local"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(Path("out"));
    if (c.existing != kMissing) {
      WriteFile(Path("out/a.txt"), "local");
      const time_t t = c.existing == kOlder ? 1400000000 : 1600000000;
      struct utimbuf local{t, t};
      ::utime(Path("out/a.txt").c_str(), &local);
    }
    UGTCMDSTRUCT s = QuietUgt(UGT_FUNCTION_UNTAR);
    const std::string archive = Path("t.tar"), destination = Path("out");
    s.lpszGTFile = archive.c_str();
    s.lpszDestination = destination.c_str();
    s.bOverWriteFlag = 1;
    (c.freshen ? s.bFreshenFlag : s.bUpdateFlag) = 1;
    EXPECT_EQ(ugt(&s), c.expected);
    if (c.content == nullptr) {
      EXPECT_FALSE(fs::exists(Path("out/a.txt")));
    } else {
      EXPECT_EQ(ReadFile(Path("out/a.txt")), c.content);
    }
  }
  UGTCMDSTRUCT s = QuietUgt(UGT_FUNCTION_UNTAR);
  const std::string archive = Path("t.tar");
  s.lpszGTFile = archive.c_str();
  s.TestFlag = 1;
  s.bUpdateFlag = 1;
  EXPECT_EQ(ugt(&s), GT_BAD_PARAMETERS) << "updating needs a destination";
}

TEST_F(Bngt32Tar, EventLogNamesWhatHappenedToEachItem) {
  WriteFile(Path("src/a.txt"), "a");
  WriteFile(Path("src/b.txt"), "b");
  ASSERT_EQ(Add(Path("t.tar"), Path("src/*.txt")), 0);
  WriteFile(Path("out/b.txt"), "existing");
  UGTCMDSTRUCT s = QuietUgt(UGT_FUNCTION_UNTAR);  // quiet: existing files are skipped
  const std::string archive = Path("t.tar"), destination = Path("out");
  s.lpszGTFile = archive.c_str();
  s.lpszDestination = destination.c_str();
  s.dwUGTSubOptions = GT_SUBOPT_EVENT_LOG;
  EXPECT_EQ(ugt(&s), UGT_FILE_SKIPPED);
  EXPECT_EQ(s.lReturnCount, 1);
  s.bOverWriteFlag = 1;
  EXPECT_EQ(ugt(&s), 0);
  const std::string events = ReadFile(Path("logs/BNGTLOG.TXT"));
  for (const std::string& line : {Path("out/a.txt") + " [Extracted]", Path("out/b.txt") + " [Skipped]",
                                 Path("out/a.txt") + " [Overwritten]", Path("out/b.txt") + " [Overwritten]"}) {
    EXPECT_NE(events.find(line + "\n"), std::string::npos) << line << "\n" << events;
  }
  GTCMDSTRUCT d = Quiet(GT_FUNCTION_TAR_DELETE);
  d.lpszGTFile = archive.c_str();
  d.lpszItemList = "b.*";
  d.dwGTSubOptions = GT_SUBOPT_EVENT_LOG;
  ASSERT_EQ(gt(&d), 0);
  EXPECT_NE(ReadFile(Path("logs/BNGTLOG.TXT")).find("b.txt [Deleted]\n"), std::string::npos);
}

TEST_F(Bngt32Tar, DamagedArchivesEndWithTheirCode) {
  WriteFile(Path("a.txt"), std::string(1000, 'a'));
  ASSERT_EQ(Add(Path("t.tar"), Path("a.txt")), 0);
  const std::string good = ReadFile(Path("t.tar"));
  std::string badChecksum = good;
  badChecksum[10] = 'X';
  std::string badSize = good;
  badSize[124] = '9';
  struct Case {
    const char* name;
    std::string bytes;
    int32_t expected;
  } cases[] = {
      {"damaged checksum", badChecksum, GT_BAD_STRUCTURE},
      {"size not octal", badSize, GT_BAD_STRUCTURE},
      {"cut in the header", good.substr(0, 300), GT_UNEXPECTED_EOF},
      {"cut in the data", good.substr(0, 700), GT_UNEXPECTED_EOF},
      {"empty", "", GT_UNEXPECTED_EOF},
      {"only an end block", std::string(512, '\0'), GT_UNEXPECTED_EOF},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(Path("out"));
    WriteFile(Path("bad.tar"), c.bytes);
    EXPECT_EQ(Extract(Path("bad.tar"), Path("out")), c.expected);
    EXPECT_FALSE(fs::exists(Path("out/a.txt")));
  }
}

TEST_F(Bngt32Tar, ExtractionStaysInsideTheDestination) {
  // Hand-made headers with unsafe names, the rest of the archive as GNU writes it.
  auto archiveWith = [&](const std::string& name, char type = '0', const std::string& link = "") {
    std::string header(512, '\0');
    name.copy(header.data(), std::min<size_t>(name.size(), 100));
    std::string("000644 ").copy(header.data() + 100, 7);
    std::string("00000000004 ").copy(header.data() + 124, 12);
    std::string("00000000000 ").copy(header.data() + 136, 12);
    header[156] = type;
    link.copy(header.data() + 157, link.size());
    std::string("ustar  ").copy(header.data() + 257, 7);
    unsigned sum = 0;
    for (size_t i = 0; i < 512; ++i) sum += (i >= 148 && i < 156) ? ' ' : static_cast<unsigned char>(header[i]);
    char field[8];
    std::snprintf(field, sizeof field, "%06o", sum);
    std::string(field, 6).copy(header.data() + 148, 6);
    header[154] = ' ';
    std::string data = "evil" + std::string(508, '\0');
    return header + data + std::string(1024, '\0');
  };
  for (const char* name : {"../escape.txt", "sub/../../escape.txt", "/tmp/bngt32-escape.txt"}) {
    SCOPED_TRACE(name);
    fs::remove_all(Path("out"));
    fs::create_directories(Path("out"));
    WriteFile(Path("evil.tar"), archiveWith(name));
    EXPECT_EQ(Extract(Path("evil.tar"), Path("out")), GT_BAD_STRUCTURE);
    EXPECT_FALSE(fs::exists(Path("escape.txt")));
    EXPECT_FALSE(fs::exists("/tmp/bngt32-escape.txt"));
    EXPECT_TRUE(fs::is_empty(Path("out")));
  }
  // A link in the destination that leads out of it is not followed.
  fs::remove_all(Path("out"));
  fs::create_directories(Path("out"));
  fs::create_directories(Path("elsewhere"));
  fs::create_directory_symlink(Path("elsewhere"), Path("out/link"));
  WriteFile(Path("evil.tar"), archiveWith("link/escape.txt"));
  EXPECT_EQ(Extract(Path("evil.tar"), Path("out")), GT_BAD_STRUCTURE);
  EXPECT_TRUE(fs::is_empty(Path("elsewhere")));
  // An output name that is a link to a file outside: the link is replaced, the
  // file it pointed to stays as it was.
  fs::remove_all(Path("out"));
  fs::create_directories(Path("out"));
  WriteFile(Path("elsewhere/victim.txt"), "untouched");
  ::chmod(Path("elsewhere/victim.txt").c_str(), 0444);
  fs::create_symlink(Path("elsewhere/victim.txt"), Path("out/victim.txt"));
  WriteFile(Path("evil.tar"), archiveWith("victim.txt"));
  for (uint32_t subOptions : {0u, UGT_SUBOPT_DELETE_EXISTING}) {
    UGTCMDSTRUCT s = QuietUgt(UGT_FUNCTION_UNTAR);
    const std::string archive = Path("evil.tar"), destination = Path("out");
    s.lpszGTFile = archive.c_str();
    s.lpszDestination = destination.c_str();
    s.bOverWriteFlag = 1;
    s.dwUGTSubOptions = subOptions;
    EXPECT_EQ(ugt(&s), 0);
    EXPECT_FALSE(fs::is_symlink(Path("out/victim.txt")));
    EXPECT_EQ(ReadFile(Path("out/victim.txt")), "evil");
    EXPECT_EQ(ReadFile(Path("elsewhere/victim.txt")), "untouched");
    EXPECT_EQ(fs::status(Path("elsewhere/victim.txt")).permissions() & fs::perms::owner_write,
              fs::perms::none);
    fs::remove(Path("out/victim.txt"));
    fs::create_symlink(Path("elsewhere/victim.txt"), Path("out/victim.txt"));
  }
  // Symbolic link items themselves are not extracted.
  fs::remove_all(Path("out"));
  WriteFile(Path("evil.tar"), archiveWith("innocent", '2', "/etc/passwd"));
  EXPECT_EQ(Extract(Path("evil.tar"), Path("out")), GT_UNEXPECTED_EOF);
  EXPECT_FALSE(fs::exists(Path("out/innocent")));
}

TEST_F(Bngt32Tar, ListingFunctionsWalkTheItems) {
  for (const char* n : {"a.txt", "b.log", "c.txt"}) WriteFile(Path(n), n);
  ASSERT_EQ(Add(Path("t.tar"), Path("*.*")), 0);
  const std::string archive = Path("t.tar");
  TARINFO info{};
  info.ulStructSize = TARINFO_SIZE;
  UGTCMDSTRUCT s = QuietUgt(UGT_FUNCTION_TAR_FIND_FIRST);
  s.lpszGTFile = archive.c_str();
  s.lpszFilespec = "*.txt";
  s.tarInfo = &info;
  std::vector<std::string> names;
  for (int32_t code = ugt(&s); code == 0; code = ugt(&s)) {
    names.push_back(info.szName);
    s.lFunction = UGT_FUNCTION_TAR_FIND_NEXT;
  }
  EXPECT_EQ(names, (std::vector<std::string>{"a.txt", "c.txt"}));
  s.lFunction = UGT_FUNCTION_TAR_BY_INDEX;
  s.lIndex = 1;
  ASSERT_EQ(ugt(&s), 0);
  EXPECT_STREQ(info.szName, "b.log");
  s.lIndex = 3;
  EXPECT_EQ(ugt(&s), GT_INDEX_OUT_OF_BOUNDS);
  s.lFunction = UGT_FUNCTION_COUNT_MATCHING;
  ASSERT_EQ(ugt(&s), 0);
  EXPECT_EQ(s.lReturnCount, 2);
  s.lFunction = UGT_FUNCTION_COUNT;
  ASSERT_EQ(ugt(&s), 0);
  EXPECT_EQ(s.lReturnCount, 3);
}

}  // namespace
}  // namespace bngt32test
