#include "kintrail/platform/atomicfile.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <stdexcept>

#include <gtest/gtest.h>

using namespace kt;
namespace fs = std::filesystem;

namespace {

class AtomicFileTest : public ::testing::Test {
protected:
  void SetUp() override {
    folder_ = fs::current_path() / ::testing::UnitTest::GetInstance()->current_test_info()->name();
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override { SetAtomicWriteHookForTests(nullptr); }
  std::string Path(const char* name) const { return (folder_ / name).string(); }
  size_t EntryCount() const {
    return static_cast<size_t>(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()));
  }
  fs::path folder_;
};

}  // namespace

TEST_F(AtomicFileTest, ReplacesContentAndKeepsNoTemporary) {
  const std::string path = Path("config.xml");
  WriteFileAtomically(path, "first");
  WriteFileAtomically(path, std::string("second\0with zero", 16));
  EXPECT_EQ(ReadWholeFile(path), std::string("second\0with zero", 16));
  EXPECT_EQ(EntryCount(), 1u);
}

TEST_F(AtomicFileTest, PrivateModeIs0600) {
  const std::string path = Path("secret.xml");
  WriteFileAtomically(path, "password", {.privateMode = true});
  struct stat info {};
  ASSERT_EQ(stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
  WriteFileAtomically(Path("plain.txt"), "x");
  ASSERT_EQ(stat(Path("plain.txt").c_str(), &info), 0);
  EXPECT_NE(info.st_mode & 0044, 0u);  // readable by others under the usual umask
}

TEST_F(AtomicFileTest, CrashBeforeRenameLeavesTheOldFile) {
  const std::string path = Path("config.xml");
  WriteFileAtomically(path, "old content");
  SetAtomicWriteHookForTests([](const std::string&) { throw std::runtime_error("crash"); });
  EXPECT_THROW(WriteFileAtomically(path, "new content"), std::runtime_error);
  EXPECT_EQ(ReadWholeFile(path), "old content");
  EXPECT_EQ(EntryCount(), 1u);  // the temporary file was removed
}

TEST_F(AtomicFileTest, UnwritableFolderThrowsSystemError) {
  try {
    WriteFileAtomically(Path("missing-folder/config.xml"), "x");
    FAIL() << "no exception";
  } catch (const std::system_error& e) {
    EXPECT_EQ(e.code().value(), ENOENT);
  }
  EXPECT_THROW(ReadWholeFile(Path("absent")), std::system_error);
}
