// The progress window's gauge, the splash tick by tick and the about box.
#include <QApplication>
#include <QKeyEvent>

#include "fprogress.h"
#include "frmabout.h"
#include "frmsplash.h"
#include "kintrail/testing/screenshot.h"
#include "texttable.h"
#include "windowtesting.h"

namespace ktviewer {
namespace {

class OtherWindowsTest : public testing::WindowTest {};

TEST_F(OtherWindowsTest, ProgressGauge) {
  SetLanguageTexts(kEnglish);
  FProgress progress;
  EXPECT_EQ(progress.windowTitle(), "Progress...");
  progress.GaugeMin() = 0;
  progress.GaugeMax() = 0;
  progress.SetValue(5);  // no range: nothing drawn
  EXPECT_EQ(progress.BarWidth(), 0);
  progress.GaugeMax() = 100;
  progress.SetValue(50);
  EXPECT_EQ(progress.BarWidth(), 337 / 2 + 0);  // 168.5 rounds to the even 168
  progress.SetValue(1000);
  EXPECT_EQ(progress.BarWidth(), 337);
  EXPECT_EQ(progress.GaugeValue(), 100);
  progress.LInfo->setText("Loading file /tmp/royal92.ged");
  progress.show();
  kt::testing::SaveScreenshot(progress, "viewer_progress");
}

TEST_F(OtherWindowsTest, SplashFadesAndClosesAtTick150) {
  SetLanguageTexts(kEnglish);
  frmSplash splash;
  splash.show();
  EXPECT_EQ(splash.size(), QSize(656, 359));
  EXPECT_TRUE(splash.Timer1->isActive());
  EXPECT_EQ(splash.Timer1->interval(), 60);
  EXPECT_EQ(splash.BClose->text(), "OK");
  EXPECT_FALSE(splash.lblVersion->isVisibleTo(&splash));
  splash.Timer1->stop();  // the test drives the ticks
  for (int t = 1; t <= 50; ++t) splash.Timer1Timer();
  EXPECT_EQ(splash.POrvanePresents->TextColour(), QColor(255, 153, 0));
  for (int t = 51; t <= 75; ++t) splash.Timer1Timer();
  kt::testing::SaveScreenshot(splash, "viewer_splash_tick75");
  for (int t = 76; t <= 100; ++t) splash.Timer1Timer();
  EXPECT_EQ(splash.PProductName->TextColour(), QColor(42, 139, 158));
  EXPECT_TRUE(splash.lblVersion->isVisibleTo(&splash));
  EXPECT_EQ(splash.lblVersion->text(), "Version " + ProgramVersion());
  kt::testing::SaveScreenshot(splash, "viewer_splash_tick100");
  for (int t = 101; t < 150; ++t) splash.Timer1Timer();
  EXPECT_TRUE(splash.isVisible());
  splash.Timer1Timer();
  EXPECT_FALSE(splash.isVisible());
  EXPECT_FALSE(splash.Timer1->isActive());
  EXPECT_EQ(splash.Ticks(), 150);
}

TEST_F(OtherWindowsTest, SplashClosesEarly) {
  SetLanguageTexts(kEnglish);
  {
    frmSplash splash;
    splash.show();
    splash.Timer1->stop();
    QKeyEvent key(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " ");
    QApplication::sendEvent(&splash, &key);  // before the first tick
    EXPECT_FALSE(splash.isVisible());
    EXPECT_EQ(splash.Ticks(), 0);
    EXPECT_EQ(splash.POrvanePresents->TextColour(), splash.POrvanePresents->Background());
  }
  for (const char* name : {"Frame1", "imgLogo", "POrvanePresents", "PProductName", "BClose"}) {
    frmSplash splash;
    splash.show();
    splash.Timer1Timer();
    QTest::mouseClick(splash.findChild<QWidget*>(name), Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_FALSE(splash.isVisible()) << name;
    EXPECT_FALSE(splash.Timer1->isActive()) << name;
  }
}

TEST_F(OtherWindowsTest, AboutBox) {
  SetLanguageTexts(kFrench);
  frmAbout about;
  EXPECT_EQ(about.windowTitle(), QString::fromUtf8("A propos de Kintrail Viewer"));
  EXPECT_EQ(about.cmdSysInfo->text(), QString::fromUtf8("&Infos système..."));
  EXPECT_EQ(about.lblTitle->text(), "Kintrail Viewer");
  EXPECT_TRUE(about.lblDisclaimer->text().contains("\nCe format est devenu"));
  EXPECT_TRUE(about.cmdOK->isDefault());
  about.show();
  kt::testing::SaveScreenshot(about, "viewer_about_french");

  SetLanguageTexts(kEnglish);
  about.InitAboutCaptions();
  kt::testing::SaveScreenshot(about, "viewer_about_english");
  // No system information program: the message, in French, without icon.
  const QByteArray path = qgetenv("PATH");
  qputenv("PATH", "/nonexistent");
  about.cmdSysInfo->click();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, "Les informations système ne sont pas disponibles actuellement");
  EXPECT_EQ(messages[0].icon, QMessageBox::NoIcon);

  // One on PATH is started; one that fails to start gives the message too.
  QTemporaryDir bin;
  QFile program(bin.path() + "/hardinfo");
  ASSERT_TRUE(program.open(QIODevice::WriteOnly));
  program.close();
  program.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
  qputenv("PATH", bin.path().toLocal8Bit());
  QStringList started;
  bool starts = true;
  SetProgramStarterForTests([&](const QString& p, const QStringList&) {
    started << p;
    return starts;
  });
  about.cmdSysInfo->click();
  EXPECT_EQ(started, QStringList({bin.path() + "/hardinfo"}));
  EXPECT_EQ(messages.size(), 1u);
  starts = false;
  about.cmdSysInfo->click();
  EXPECT_EQ(messages.size(), 2u);
  qputenv("PATH", path);

  QTest::mouseClick(about.Image1, Qt::LeftButton, {}, QPoint(5, 5));
  ASSERT_EQ(urls.size(), 1u);
  EXPECT_EQ(urls[0], "http://127.0.0.1:8080/");
  about.cmdOK->click();
  EXPECT_EQ(about.result(), QDialog::Accepted);
  EXPECT_FALSE(about.isVisible());
}

}  // namespace
}  // namespace ktviewer
