// The command line and the system information program.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "commandline.h"
#include "sysinfo.h"

namespace ktviewer {
namespace {

TEST(CommandLine, OnePathTakenWhole) {
  EXPECT_EQ(CommandLinePath({}), "");
  EXPECT_EQ(CommandLinePath({"/home/me/My Family.ged"}), "/home/me/My Family.ged");
  // Unquoted, the shell split it: joined back.
  EXPECT_EQ(CommandLinePath({"/home/me/My", "Family.ged"}), "/home/me/My Family.ged");
  // Quotes are part of the name, as given.
  EXPECT_EQ(CommandLinePath({"\"a.ged\""}), "\"a.ged\"");
  EXPECT_EQ(CommandLineCandidates("royal.ged", "/opt/kintrail"),
            QStringList({"royal.ged", "/opt/kintrail/royal.ged"}));
  EXPECT_EQ(CommandLineCandidates("royal.ged", "/opt/kintrail/"),
            QStringList({"royal.ged", "/opt/kintrail/royal.ged"}));
}

TEST(SysInfo, FirstKnownProgramOnPath) {
  QTemporaryDir first, second;
  auto makeProgram = [](const QString& path, bool executable) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("#!/bin/sh\n");
    file.close();
    file.setPermissions(executable ? QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                   : QFile::ReadOwner | QFile::WriteOwner);
  };
  const QString path = first.path() + ":" + second.path();
  EXPECT_EQ(FindSysInfoProgram(path), "");
  makeProgram(first.path() + "/hardinfo", false);  // not executable: not a program
  EXPECT_EQ(FindSysInfoProgram(path), "");
  makeProgram(second.path() + "/hardinfo", true);
  EXPECT_EQ(FindSysInfoProgram(path), second.path() + "/hardinfo");
  EXPECT_EQ(FindSysInfoProgram(path, {"kinfocenter"}), "");
  EXPECT_EQ(FindSysInfoProgram(""), "");
}

}  // namespace
}  // namespace ktviewer
