// The viewer's settings in the per-user store.
#include <gtest/gtest.h>

#include <QDir>
#include <QSettings>
#include <QTemporaryDir>

#include "kintrail/platform/folders.h"
#include "viewersettings.h"

namespace ktviewer {
namespace {

class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder_.isValid());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder_.path());
  }
  void Store(const QString& key, const QString& value) {
    QSettings(QSettings::IniFormat, QSettings::UserScope, "Kintrail", "KTViewer")
        .setValue(key, value);
  }
  QTemporaryDir folder_;
};

TEST_F(SettingsTest, LanguageDefaultsAndLimits) {
  EXPECT_EQ(ViewerSettings::Language(), 0);
  const std::pair<QString, int> cases[] = {{"1", 1},  {"0", 0},   {"7", 1},
                                           {"-2", 0}, {"abc", 0}, {"", 0}};
  for (const auto& [stored, expected] : cases) {
    Store("options/language", stored);
    EXPECT_EQ(ViewerSettings::Language(), expected) << stored.toStdString();
  }
  ViewerSettings::SetLanguage(1);
  EXPECT_EQ(ViewerSettings::Language(), 1);
  // The store is the INI file of application KTViewer under organisation Kintrail.
  EXPECT_TRUE(QFile::exists(folder_.path() + "/Kintrail/KTViewer.ini"));
}

TEST_F(SettingsTest, GedPathHasTrailingSlash) {
  EXPECT_EQ(ViewerSettings::GedPath(), QString::fromStdString(kt::ProgramFolder()));
  ViewerSettings::SetGedPath("/home/user/genealogy");
  EXPECT_EQ(ViewerSettings::GedPath(), "/home/user/genealogy/");
  ViewerSettings::SetGedPath("/data/");
  EXPECT_EQ(ViewerSettings::GedPath(), "/data/");
}

TEST_F(SettingsTest, WebAddressesFromOneSetting) {
  EXPECT_EQ(HomePageUrl(), "http://127.0.0.1:8080/");
  EXPECT_EQ(SoftLinkUrl("ktviewer/help.asp"),
            "http://127.0.0.1:8080/web/_client/softlinks.asp?folder=ktviewer/help.asp");
  Store("options/webhost", "https://kintrail.example.org/");
  EXPECT_EQ(
      SoftLinkUrl("ktviewer/infowindowhelp.asp"),
      "https://kintrail.example.org/web/_client/softlinks.asp?folder=ktviewer/infowindowhelp.asp");
}

}  // namespace
}  // namespace ktviewer
