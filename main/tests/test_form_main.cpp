// The main window and its two dialogs, started as the program starts them.
#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTabWidget>
#include <QToolButton>
#include <QWebEngineView>
#include "kintrail/platform/atomicfile.h"

#include "core/account.h"
#include "core/connectedwebclient.h"
#include "core/requestchecker.h"
#include "forms/errordisplay.h"
#include "forms/featurepages.h"
#include "forms/form_config.h"
#include "forms/form_connect.h"
#include "forms/form_news.h"
#include "kintrail/testing/screenshot.h"
#include "windowfixture.h"

namespace {

struct ENotConnectedErrorDerived : ENotConnectedError {};

template <typename T>
T* Find(QWidget& root, const char* name) {
  T* child = root.findChild<T*>(name);
  EXPECT_NE(child, nullptr) << name;
  return child;
}

// Fills the login dialog and presses Connect; the dialog's result so far.
int ConnectWith(QDialog& dialog, const char* password) {
  Find<QLineEdit>(dialog, "EditPassword")->setText(password);
  Find<QPushButton>(dialog, "ButtonConnect")->click();
  return dialog.result();
}

void ExpectOnline(bool online) {
  EXPECT_EQ(FormMain->StatusText(0), online ? "Online" : "Offline");
  EXPECT_EQ(FormMain->TrayIconIndex(), online ? 4 : 5);
  EXPECT_EQ(FormMain->ActionConnect->isEnabled(), !online);
  EXPECT_EQ(FormMain->ActionDisconnect->isEnabled(), online);
}

TEST_F(VeskWindowTest, StartsOfflineWithItsDesignedControls) {
  Start();
  EXPECT_EQ(FormMain->windowTitle(), "Kintrail");
  EXPECT_EQ(FormMain->size(), QSize(800, 600));
  EXPECT_EQ(FormMain->StatusText(0), "") << "empty until the first notice";
  EXPECT_EQ(FormMain->TrayIconIndex(), 5);
  EXPECT_FALSE(FormMain->ActionDisconnect->isEnabled());
  EXPECT_EQ(FormMain->ActionQuit->shortcut(), QKeySequence("Ctrl+Q"));
  const char* buttons[] = {"SpeedButtonNews", "SpeedButtonWorldSearch", "SpeedButtonAdvancedSearch",
                           "SpeedButtonSharedGedcoms", "SpeedButtonRequests"};
  for (const char* name : buttons) EXPECT_EQ(Find<QAbstractButton>(*FormMain, name)->width(), 120);
  EXPECT_TRUE(FormMain->SpeedButtonNews->isChecked());
  EXPECT_EQ(FormMain->PopupMenuTray->defaultAction(), FormMain->ActionRestore);
  EXPECT_EQ(FormSharedGedcoms->windowTitle(), "Shared gedcoms");
  EXPECT_EQ(FormRequests->objectName(), "FormRequests");
}

TEST_F(VeskWindowTest, FirstActivationShowsNewsAndTheLoginDialogOnce) {
  OnDialog = [](QDialog& dialog) {
    EXPECT_EQ(Find<QLineEdit>(dialog, "EditLogin")->text(), "ann");
    EXPECT_EQ(Find<QLineEdit>(dialog, "EditPassword")->echoMode(), QLineEdit::Password);
    kt::testing::SaveScreenshot(dialog, "main_login_dialog");
    return int(QDialog::Rejected);
  };
  Start({}, true);
  ASSERT_TRUE(WaitUntil([] { return !FormMain->FirstActivation; }, std::chrono::seconds(5)))
      << "the shown window is activated";
  EXPECT_EQ(FormMain->CurrentPage(), FormNews);
  EXPECT_EQ(Dialogs, std::vector<std::string>{"FormConnect"});
  FormMain->FormActivate();
  EXPECT_EQ(Dialogs.size(), 1u) << "only the first activation";
  kt::testing::SaveScreenshot(*FormMain, "main_window_offline");
}

TEST_F(VeskWindowTest, WrongPasswordShows1025AndKeepsTheDialogThenTheRightOneConnects) {
  std::vector<int> results;
  OnDialog = [&](QDialog& dialog) {
    results.push_back(ConnectWith(dialog, "wrong"));
    results.push_back(ConnectWith(dialog, "right"));
    return dialog.result();
  };
  Start();
  FormMain->FirstActivation = true;
  FormMain->FormActivate();
  EXPECT_EQ(results, (std::vector<int>{QDialog::Rejected, QDialog::Accepted}));
  ASSERT_EQ(BoxTexts(), std::vector<std::string>{"Unable to log in with given data"});
  EXPECT_EQ(Boxes[0].Icon, QMessageBox::Warning);
  EXPECT_EQ(Boxes[0].Caption, "Kintrail");
  ExpectOnline(true);
  EXPECT_EQ(FormNews->WebBrowser->url().toString(), NewsAddress);
  EXPECT_EQ(Config().Account->Password, "right");
  kt::testing::SaveScreenshot(*FormMain, "main_window_online");
}

TEST_F(VeskWindowTest, UnreachableServerShows1026) {
  int port = 0;
  {
    RecordingServer gone;
    port = gone.Port();
  }
  WriteConfig("<server>127.0.0.1:" + std::to_string(port) + "</server>");
  OnDialog = [](QDialog& dialog) { return ConnectWith(dialog, "right"); };
  Start();
  FormMain->ActionConnect->trigger();
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Could not connect"});
  EXPECT_FALSE(Session().IsConnected());
}

TEST_F(VeskWindowTest, UpdateNeededAtLoginGoesToTheGeneralErrorDisplay) {
  Server.SetHandler([](const RecordedRequest&) {
    return RecordingServer::Reply("<connect><error code='1'/></connect>");
  });
  bool buttonEnabledAgain = false;
  OnDialog = [&](QDialog& dialog) {
    const int result = ConnectWith(dialog, "right");
    buttonEnabledAgain = Find<QPushButton>(dialog, "ButtonConnect")->isEnabled();
    return result;
  };
  Answers = {QMessageBox::Yes};
  Start();
  FormMain->ActionConnect->trigger();
  EXPECT_TRUE(buttonEnabledAgain);
  ASSERT_EQ(Boxes.size(), 1u);
  EXPECT_EQ(Boxes[0].Icon, QMessageBox::Question);
  EXPECT_EQ(Boxes[0].Text.rfind("A new version of Kintrail has been released.", 0), 0u);
  EXPECT_EQ(Shell,
            std::vector<std::string>{Server.Url() + "/web/_client/softlinks.asp?folder=download"});
}

TEST_F(VeskWindowTest, SupersededTurnsOfflineThenAsks1285AndNoShows1284) {
  OnDialog = [](QDialog& dialog) { return ConnectWith(dialog, "right"); };
  Start();
  FormMain->ActionConnect->trigger();
  ASSERT_TRUE(Session().IsConnected());
  Server.SetHandler([](const RecordedRequest&) { return RecordingServer::Reply("<superseded/>"); });
  // A feature's exchange, with nothing catching what it raises.
  Guarded([&] {
    auto client = Session().CreateWebClient();
    client->Post(page::GetQuestions, "", true);
    client->ReceivedDataToXMLDocument();
  });
  ASSERT_EQ(Boxes.size(), 2u);
  EXPECT_EQ(Boxes[0].Icon, QMessageBox::Question);
  EXPECT_EQ(Boxes[0].OnlineState, "Offline") << "offline before the question";
  EXPECT_EQ(Boxes[1].Text,
            "You've been disconnected.\nYou need to update your version of Kintrail before "
            "connecting again.");
  EXPECT_EQ(Boxes[1].Icon, QMessageBox::Information);
  ExpectOnline(false);
  EXPECT_TRUE(Shell.empty());
}

TEST_F(VeskWindowTest, NotConnectedOffersToConnectAndOtherErrorsShowTheirMessage) {
  Start();
  Answers = {QMessageBox::Yes};
  Guarded([&] { Session().CreateWebClient(); });
  EXPECT_EQ(BoxTexts(),
            std::vector<std::string>{"You're not connected, would you like to connect now ?"});
  EXPECT_EQ(Dialogs, std::vector<std::string>{"FormConnect"}) << "Yes opens the login dialog";

  Boxes.clear();
  Guarded([] { throw std::runtime_error("Disk full"); });
  Guarded([] { throw ENotConnectedErrorDerived(); });
  ASSERT_EQ(Boxes.size(), 2u);
  EXPECT_EQ(Boxes[0].Text, "Disk full");
  EXPECT_EQ(Boxes[0].Icon, QMessageBox::Critical);
  EXPECT_EQ(Boxes[1].Text, "Attempting to get data while not connected.")
      << "only the exact class gets the offer";
}

TEST_F(VeskWindowTest, CloseHidesQuitSavesAndEnds) {
  Start();
  ASSERT_TRUE(FormMain->isVisible());
  FormMain->close();
  EXPECT_FALSE(FormMain->isVisible());
  EXPECT_FALSE(ApplicationTerminating());
  FormMain->ActionRestore->trigger();
  EXPECT_TRUE(FormMain->isVisible());

  std::filesystem::remove(Path);
  Config().Account->Login = "zoe";
  FormMain->ActionQuit->trigger();
  EXPECT_TRUE(ApplicationTerminating());
  EXPECT_NE(kt::ReadWholeFile(Path).find("<login>zoe</login>"), std::string::npos);
}

TEST_F(VeskWindowTest, QuitThatCannotSaveShowsTheErrorAndKeepsRunning) {
  Start();
  Config().FileName = "/nonexistent-folder/config.xml";
  FormMain->ActionQuit->trigger();
  EXPECT_FALSE(ApplicationTerminating());
  ASSERT_EQ(Boxes.size(), 1u);
  EXPECT_EQ(Boxes[0].Icon, QMessageBox::Critical);
  Config().FileName = Path;
}

TEST_F(VeskWindowTest, DisconnectFromTheMenuTurnsOfflineWithoutAMessage) {
  OnDialog = [](QDialog& dialog) { return ConnectWith(dialog, "right"); };
  Start();
  FormMain->ActionConnect->trigger();
  ExpectOnline(true);
  FormMain->ActionDisconnect->trigger();
  ExpectOnline(false);
  EXPECT_TRUE(Boxes.empty());
  EXPECT_TRUE(WaitUntil([&] { return Server.RequestsFor(page::Disconnect).size() == 1; }));
}

TEST_F(VeskWindowTest, RequestCheckerNoticesAndStatus) {
  Start();
  TRequestChecker& checker = *Config().RequestChecker;
  const struct {
    int State;
    const char* Text;
  } cases[] = {{1, "One of your request has been answered."},
               {2, "You received a new request."},
               {3, "You received a new request and an answer to one of your request."},
               {0, nullptr},
               {4, nullptr}};
  for (const auto& c : cases) {
    Boxes.clear();
    checker.ChangeState = c.State;
    emit checker.OnChanged();
    if (c.Text)
      EXPECT_EQ(BoxTexts(), std::vector<std::string>{c.Text});
    else
      EXPECT_TRUE(Boxes.empty()) << c.State;
  }
  // A second notice while the box shows is dropped, not queued.
  Boxes.clear();
  checker.ChangeState = 3;
  OnBox = [&] {
    OnBox = nullptr;
    emit checker.OnChanged();
  };
  emit checker.OnChanged();
  EXPECT_EQ(Boxes.size(), 1u);
  EXPECT_FALSE(FormMain->Notifying);

  emit checker.OnStarted();
  EXPECT_EQ(FormMain->StatusText(1), "Checking for new requests...");
  emit checker.OnFinished();
  EXPECT_EQ(FormMain->StatusText(1), "");
}

TEST_F(VeskWindowTest, AutoconnectShowsTheSessionOnceTheWindowsExist) {
  Start({"AutoConnect"}, true);
  EXPECT_TRUE(Session().IsConnected());
  ASSERT_TRUE(WaitUntil([] { return FormMain->StatusText(0) == "Online"; }));
  ExpectOnline(true);
  EXPECT_EQ(FormNews->WebBrowser->url().toString(), NewsAddress);
  FormMain->FormActivate();
  EXPECT_EQ(FormMain->CurrentPage(), FormNews);
  EXPECT_TRUE(Dialogs.empty()) << "no login dialog with autoconnect";
}

TEST_F(VeskWindowTest, AutoconnectFailureIsSilent) {
  WriteConfig("<server>" + Server.Url() +
              "</server><account><login>ann</login><password>bad</password></account>");
  Start({"autoconnect"});
  WaitUntil([] { return false; }, std::chrono::milliseconds(100));
  EXPECT_FALSE(Session().IsConnected());
  EXPECT_TRUE(Boxes.empty());
  EXPECT_EQ(FormMain->TrayIconIndex(), 5);
}

TEST_F(VeskWindowTest, MinimizedStartsHiddenAndTheLoginWaitsForTheRestore) {
  Start({"Minimized"}, true);
  WaitUntil([] { return false; }, std::chrono::milliseconds(100));
  EXPECT_FALSE(FormMain->isVisible());
  EXPECT_TRUE(Dialogs.empty());
  FormMain->ActionRestore->trigger();
  EXPECT_TRUE(WaitUntil([&] { return !Dialogs.empty(); }, std::chrono::seconds(5)));
}

TEST_F(VeskWindowTest, PagesComeInFrontWithoutHidingTheOthers) {
  Start();
  FormMain->SpeedButtonWorldSearch->click();
  EXPECT_EQ(FormMain->CurrentPage(), FormWorldSearch);
  FormMain->SpeedButtonRequests->click();
  EXPECT_EQ(FormMain->CurrentPage(), FormRequests);
  EXPECT_TRUE(FormMain->SpeedButtonRequests->isChecked());
  EXPECT_FALSE(FormMain->SpeedButtonWorldSearch->isChecked());
  EXPECT_EQ(FormWorldSearch->parentWidget(), static_cast<QWidget*>(FormMain->PageArea))
      << "covered, not destroyed";
}

TEST_F(VeskWindowTest, WebLinksViewerAndAbout) {
  WriteConfig("<server>HTTP://host.example</server>");
  Start();
  FormMain->ActionWebHelp->trigger();
  FormMain->ActionWebSupport->trigger();
  FormMain->ActionWebWhatsNew->trigger();
  FormMain->ActionLaunchViewer->trigger();
  FormMain->ActionAbout->trigger();
  const std::string links = "http://HTTP://host.example/web/_client/softlinks.asp?folder=";
  EXPECT_EQ(Shell, (std::vector<std::string>{links + "help", links + "support", links + "news",
                                             Globals().ProgramFolder + "ktviewer"}));
  EXPECT_EQ(Dialogs, std::vector<std::string>{"FormAbout"});
}

TEST_F(VeskWindowTest, CreateMyAccountOpensTheRegisterPage) {
  WriteConfig("<server>host.example</server>");
  OnDialog = [](QDialog& dialog) {
    Find<QPushButton>(dialog, "ButtonCreate")->click();
    return dialog.result();
  };
  Start();
  FormMain->ActionConnect->trigger();
  EXPECT_EQ(Shell, std::vector<std::string>{
                       "http://host.example/web/_client/softlinks.asp?folder=register"});
}

// Config dialog: which edits, and whether connected, lead to message 769.
TEST_F(VeskWindowTest, ConfigurationDialogReconnectRule) {
  const struct {
    const char* Name;
    bool Connected;
    const char* Field;  // nullptr: only the period changes
    QString Value;
    bool Message;
  } cases[] = {
      {"period only while connected", true, nullptr, "", false},
      {"same password typed again", true, "EditPassword", "right", false},
      {"server changed while connected", true, "EditServerURL", "other.example", true},
      {"blank added to the proxy port", true, "EditProxyPort", " ", true},
      {"server changed while offline", false, "EditServerURL", "other.example", false},
  };
  OnDialog = [](QDialog& dialog) {
    return dialog.objectName() == "FormConnect" ? ConnectWith(dialog, "right")
                                                : int(QDialog::Rejected);
  };
  Start();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    if (c.Connected && !Session().IsConnected()) FormMain->ActionConnect->trigger();
    if (!c.Connected && Session().IsConnected()) FormMain->ActionDisconnect->trigger();
    ASSERT_EQ(Session().IsConnected(), c.Connected);
    const std::string serverBefore = Config().Server;
    const std::string sessionServer = Session().Server;
    Boxes.clear();
    OnDialog = [&](QDialog& dialog) {
      if (c.Field) Find<QLineEdit>(dialog, c.Field)->setText(c.Value);
      Find<QSpinBox>(dialog, "CSpinEditAutoUpdateInterval")->setValue(33);
      Find<QPushButton>(dialog, "ButtonOK")->click();
      return dialog.result();
    };
    FormMain->ActionConfig->trigger();
    EXPECT_EQ(Boxes.size(), c.Message ? 1u : 0u);
    if (c.Message) {
      EXPECT_EQ(Boxes[0].Text, "You need to reconnect to use this new configuration");
    }
    EXPECT_NE(kt::ReadWholeFile(Path).find("<interval>33</interval>"), std::string::npos)
        << "saved";
    EXPECT_EQ(Session().Server, sessionServer)
        << "the session keeps its settings until the next connect";
    Config().Server = serverBefore;
    Config().ProxyPort.clear();
    OnDialog = [](QDialog& dialog) {
      return dialog.objectName() == "FormConnect" ? ConnectWith(dialog, "right")
                                                  : int(QDialog::Rejected);
    };
  }
}

TEST_F(VeskWindowTest, ConfigurationDialogFieldsSpinBoundsAndCheckBox) {
  WriteConfig(
      "<server>s.example</server><proxy><address>p</address><port> 8080</port>"
      "<username>u</username><password>w</password></proxy>"
      "<requests><autoupdate><disabled/><interval>0</interval></autoupdate></requests>");
  Start();
  TFormConfig dialog(FormMain);
  EXPECT_EQ(dialog.windowTitle(), "Configuration");
  EXPECT_EQ(dialog.PageControl->currentWidget(), dialog.TabSheetAccount);
  EXPECT_EQ(dialog.EditProxyPort->text(), " 8080");
  EXPECT_EQ(dialog.EditProxyPassword->echoMode(), QLineEdit::Password);
  EXPECT_FALSE(dialog.CheckBoxAutoUpdateEnabled->isChecked());
  EXPECT_EQ(dialog.CSpinEditAutoUpdateInterval->value(), 1) << "a period below 1 shows as 1";
  EXPECT_FALSE(dialog.CSpinEditAutoUpdateInterval->isEnabled());
  dialog.CheckBoxAutoUpdateEnabled->click();
  EXPECT_TRUE(dialog.CSpinEditAutoUpdateInterval->isEnabled());
  dialog.CSpinEditAutoUpdateInterval->setValue(500);
  EXPECT_EQ(dialog.CSpinEditAutoUpdateInterval->value(), 120);
  dialog.CSpinEditAutoUpdateInterval->setValue(-4);
  EXPECT_EQ(dialog.CSpinEditAutoUpdateInterval->value(), 1);
  for (int page = 0; page < 3; ++page) {
    dialog.PageControl->setCurrentIndex(page);
    kt::testing::SaveScreenshot(dialog, QString("main_config_dialog_%1").arg(page));
  }
  dialog.CSpinEditAutoUpdateInterval->setValue(7);
  dialog.ButtonOK->click();
  EXPECT_TRUE(Config().RequestChecker->Enabled());
  EXPECT_EQ(Config().RequestChecker->IntervalMinutes(), 7);

  TFormConfig cancelled(FormMain);
  cancelled.EditLogin->setText("someone");
  cancelled.ButtonCancel->click();
  EXPECT_EQ(Config().Account->Login, "");
}

}  // namespace
