#include "kintrail/platform/folders.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include <gtest/gtest.h>

TEST(Folders, ProgramFolderHoldsTheExecutable) {
  const std::string folder = kt::ProgramFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.back(), '/');
  EXPECT_TRUE(std::filesystem::exists(folder + "platform_test_folders"));
}

TEST(Folders, DataFolderIsTheWritableProgramFolder) {
  // The build tree is writable, as a portable install is.
  EXPECT_EQ(kt::DataFolder(), kt::ProgramFolder());
}

TEST(Folders, XdgVariablesAndTheirDefaults) {
  setenv("HOME", "/home/ann", 1);
  unsetenv("XDG_DATA_HOME");
  EXPECT_EQ(kt::XdgDataHome(), "/home/ann/.local/share/");
  setenv("XDG_DATA_HOME", "relative/ignored", 1);
  EXPECT_EQ(kt::XdgDataHome(), "/home/ann/.local/share/");
  setenv("XDG_STATE_HOME", "/var/state", 1);
  EXPECT_EQ(kt::XdgStateHome(), "/var/state/");
}
