// Which files an item list selects and under which stored names (seen through
// the names a tar archive gets).
#include "testsupport.h"

namespace bngt32test {
namespace {

class Bngt32ItemList : public TempFolderTest {
protected:
  void SetUp() override {
    TempFolderTest::SetUp();
    for (const char* name : {"a.txt", "B.TXT", ".hidden.txt", "sub/c.txt", "sub/.h/d.txt",
                             "long name.text", "sub/deep/e.log", "sub/deep/c.txt"}) {
      WriteFile(Path(name), name);
    }
    previous_ = fs::current_path();
    fs::current_path(dir_);
  }
  void TearDown() override {
    fs::current_path(previous_);
    TempFolderTest::TearDown();
  }
  fs::path previous_;
};

TEST_F(Bngt32ItemList, SelectionAndStoredNames) {
  struct Case {
    const char* name;
    const char* items;
    void (*set)(GTCMDSTRUCT&);
    const char* expected;  // names in archive order, blank-separated; "" for code 6
  } cases[] = {
      {"pattern, any case", "*.txt", [](GTCMDSTRUCT&) {}, "B.TXT a.txt"},
      {"recursion skips dot folders and files", "*.txt",
       [](GTCMDSTRUCT& s) { s.bRecurseFlag = 1; }, "B.TXT a.txt sub/c.txt sub/deep/c.txt"},
      {"hidden files on request", "*.txt",
       [](GTCMDSTRUCT& s) { s.bIncludeSysHidden = 1; }, ".hidden.txt B.TXT a.txt"},
      {"a folder with recursion", "sub", [](GTCMDSTRUCT& s) { s.bRecurseFlag = 1; },
       "sub/c.txt sub/deep/c.txt sub/deep/e.log"},
      {"quoted name with a blank", "\"long name.text\" a.txt", [](GTCMDSTRUCT&) {},
       "a.txt long name.text"},
      {"exclude list", "*", [](GTCMDSTRUCT& s) {
         s.bRecurseFlag = 1;
         s.lpszExludeList = "*.log \"long name.*\" *c.txt";
       },
       "B.TXT a.txt"},
      {"include list", "*", [](GTCMDSTRUCT& s) {
         s.bRecurseFlag = 1;
         s.lpszIncludeList = "c.*";
       },
       "sub/c.txt sub/deep/c.txt"},
      {"upper case", "a.txt", [](GTCMDSTRUCT& s) { s.bDosify = 1; }, "A.TXT"},
      {"no folders, duplicates dropped", "c.txt", [](GTCMDSTRUCT& s) {
         s.bRecurseFlag = 1;
         s.bNoDirectoryNames = 1;
       },
       "c.txt"},
      {"base folder removed", "sub/*.txt",
       [](GTCMDSTRUCT& s) { s.dwGTSubOptions = GT_SUBOPT_STRIP_BASE_FOLDER; }, "c.txt"},
      {"8.3 names only", "*", [](GTCMDSTRUCT& s) { s.dwGTSubOptions = GT_SUBOPT_SKIP_NON_83; },
       "B.TXT a.txt"},
      {"shortened to 8.3", "\"long name.text\"",
       [](GTCMDSTRUCT& s) { s.dwGTSubOptions = GT_SUBOPT_SHORTEN_TO_83; }, "longname.tex"},
      {"nothing matches", "*.none", [](GTCMDSTRUCT&) {}, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove("t.tar");
    GTCMDSTRUCT s = Quiet(GT_FUNCTION_TAR);
    s.lpszGTFile = "t.tar";
    s.lpszItemList = c.items;
    c.set(s);
    const int32_t code = gt(&s);
    if (*c.expected == '\0') {
      EXPECT_EQ(code, GT_NO_MATCH);
      EXPECT_FALSE(fs::exists("t.tar"));
      continue;
    }
    ASSERT_EQ(code, 0);
    std::string names;
    ASSERT_EQ(Shell("tar -tf t.tar 2>/dev/null | tr '\\n' ' '", &names), 0);
    EXPECT_EQ(names, std::string(c.expected) + " ");
  }
}

}  // namespace
}  // namespace bngt32test
