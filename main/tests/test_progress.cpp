// The transfer and step progress windows through real exchanges, and the
// about box in several languages.
#include <QLabel>
#include <QLocale>
#include <QPlainTextEdit>
#include <QProgressBar>

#include "core/veskglobals.h"
#include "core/webclient.h"
#include "forms/form_about.h"
#include "forms/form_progress.h"
#include "forms/form_webprogress.h"
#include "kintrail/testing/screenshot.h"
#include "recordingserver.h"

#include <gtest/gtest.h>

namespace {

// What a window showed just after it handled each transfer event.
struct Seen {
  std::string Event;
  QString Text;
  int Minimum, Maximum, Value;
  bool Visible;
};

class VeskProgressTest : public ::testing::Test {
 protected:
  VeskProgressTest()
      : Server([this](const RecordedRequest&) {
          return RecordingServer::Reply(std::string(ReplyLength, 'r'));
        }) {
    Client.SetBaseURL(Server.Url());
  }
  int ReplyLength = 5000;
  RecordingServer Server;
  TWebClient Client;
};

// The events a window saw, recorded by connecting after it.
class Recorder {
 public:
  template <typename Window>
  Recorder(TWebClient& client, Window& window, std::function<QString()> text) {
    const auto record = [this, &window, text](const char* event) {
      return [this, &window, text, event] {
        Events.push_back({event, text(), window.ProgressBar->minimum(),
                          window.ProgressBar->maximum(), window.ProgressBar->value(),
                          window.isVisible()});
      };
    };
    QObject::connect(&client, &TWebClient::OnSendBegin, &window, record("SendBegin"));
    QObject::connect(&client, &TWebClient::OnSendData, &window, record("SendData"));
    QObject::connect(&client, &TWebClient::OnSendEnd, &window, record("SendEnd"));
    QObject::connect(&client, &TWebClient::OnDocBegin, &window, record("DocBegin"));
    QObject::connect(&client, &TWebClient::OnDocData, &window, record("DocData"));
    QObject::connect(&client, &TWebClient::OnDocEnd, &window, record("DocEnd"));
  }
  // The last record of `event`.
  const Seen& Last(const std::string& event) const {
    for (auto it = Events.rbegin(); it != Events.rend(); ++it)
      if (it->Event == event) return *it;
    static const Seen none{"none", {}, 0, 0, 0, false};
    ADD_FAILURE() << "no " << event;
    return none;
  }
  std::vector<Seen> Events;
};

TEST_F(VeskProgressTest, WebProgressTextsAndBarThroughAnExchange) {
  TFormWebProgress window(nullptr, Client);
  EXPECT_EQ(window.windowTitle(), "Data transfer in progress...");
  Recorder seen(Client, window, [&] { return window.StaticText->text(); });
  EXPECT_FALSE(window.isVisible()) << "shown only when sending begins";
  Client.Post("/p", std::string(3000, 's'), true);

  const Seen& begin = seen.Last("SendBegin");
  EXPECT_TRUE(begin.Visible);
  EXPECT_EQ(begin.Text, "Sending...");
  EXPECT_EQ(begin.Maximum, 3000);
  EXPECT_EQ(seen.Last("SendData").Value, 3000);
  EXPECT_EQ(seen.Last("SendEnd").Text, "Waiting for response...");
  EXPECT_EQ(seen.Last("SendEnd").Value, 0);
  EXPECT_EQ(seen.Last("DocBegin").Text, "Receiving...");
  EXPECT_EQ(seen.Last("DocBegin").Maximum, 5000);
  EXPECT_EQ(seen.Last("DocData").Value, 5000);
  EXPECT_FALSE(seen.Last("DocEnd").Visible) << "closed at the end";
}

TEST_F(VeskProgressTest, WebProgressOfAnExchangeThatFailsBeforeSendingIsNeverShown) {
  int port = 0;
  {
    RecordingServer gone;
    port = gone.Port();
  }
  TWebClient client;
  client.SetBaseURL("http://127.0.0.1:" + std::to_string(port));
  TFormWebProgress window(nullptr, client);
  bool everShown = false;
  QObject::connect(&client, &TWebClient::OnSendBegin, &window,
                   [&] { everShown = window.isVisible(); });
  EXPECT_ANY_THROW(client.Post("/p", "x", true));
  EXPECT_FALSE(everShown);
  EXPECT_FALSE(window.isVisible());
}

TEST_F(VeskProgressTest, StepWindowLayoutAndSteps) {
  TFormProgress window(nullptr, 3, Client);
  EXPECT_EQ(window.width(), 446);
  EXPECT_EQ(window.Panel->height(), 3 * 30 + 20);
  ASSERT_EQ(window.Steps.size(), 3u);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(window.Steps[i]->geometry(), QRect(40, i * 30 + 10, 446 - 48, 30)) << i;
  }
  EXPECT_EQ(window.height(),
            window.Panel->y() + window.Panel->height() + window.ProgressBar->height() + 10);
  EXPECT_EQ(window.CurrentStep(), 0);
  window.SetStep(1);
  EXPECT_EQ(window.STCursor->y(), window.Steps[1]->y());
  window.SetStep(3);
  EXPECT_EQ(window.CurrentStep(), 2) << "beyond the last step means the last";
  EXPECT_EQ(window.STCursor->y(), window.Steps[2]->y());
  window.SetText("Compressing");
  EXPECT_EQ(window.Steps[2]->text(), "Compressing");
}

TEST_F(VeskProgressTest, StepWindowBarFillsHalfPerDirection) {
  TFormProgress window(nullptr, 3, Client);
  window.setWindowTitle("Sharing smith.ged");
  for (int i = 0; i < 3; ++i) window.SetStepText(i, QString("Step %1").arg(i + 1));
  window.SetStep(1);
  window.show();
  Recorder seen(Client, window, [&] { return window.Steps[1]->text(); });
  Client.Post("/uploadgedcom/uploadfile.asp", std::string(3000, 's'), true);

  EXPECT_EQ(seen.Last("SendBegin").Text, "Sending...");
  EXPECT_EQ(seen.Last("SendBegin").Maximum, 6000);
  EXPECT_EQ(seen.Last("SendData").Value, 3000) << "half the bar after sending";
  EXPECT_EQ(seen.Last("SendEnd").Text, "Data sent. Waiting for response...");
  const Seen& doc = seen.Last("DocBegin");
  EXPECT_EQ(doc.Text, "Receiving...");
  EXPECT_EQ(doc.Minimum, -5000);
  EXPECT_EQ(doc.Maximum, 5000);
  EXPECT_EQ(doc.Value, 0);
  EXPECT_EQ(seen.Last("DocEnd").Value, 5000);
  EXPECT_EQ(seen.Last("DocEnd").Text, "OK");
  EXPECT_EQ(window.Steps[0]->text(), "Step 1") << "other steps untouched";
  kt::testing::SaveScreenshot(window, "main_step_progress");

  window.SetStep(2);
  EXPECT_EQ(window.ProgressBar->value(), 0);
  EXPECT_EQ(window.ProgressBar->minimum(), -5000) << "the minimum stays what the reply set";
}

TEST_F(VeskProgressTest, WindowsLetGoOfTheClientWhenDestroyed) {
  auto window = std::make_unique<TFormProgress>(nullptr, 2, Client);
  window.reset();
  auto web = std::make_unique<TFormWebProgress>(nullptr, Client);
  web.reset();
  EXPECT_NO_THROW(Client.Post("/p", "x", true)) << "no handler of a destroyed window runs";
}

QStringList AboutLines(const QLocale& locale) {
  QLocale::setDefault(locale);
  TFormAbout about;
  QLocale::setDefault(QLocale::c());
  kt::testing::SaveScreenshot(about, "main_about_" + locale.name());
  return about.About->toPlainText().split('\n');
}

TEST(VeskAboutBox, LinesInTheUsersLanguageOrTheFallback) {
  const QStringList english = AboutLines(QLocale(QLocale::English, QLocale::UnitedStates));
  ASSERT_EQ(english.size(), 10);
  EXPECT_EQ(english[0], "Kintrail");
  EXPECT_EQ(english[1], "Version: 0.2.1.0");
  EXPECT_EQ(english[2], " ");
  EXPECT_EQ(english[7], "Patented technologies");
  EXPECT_TRUE(english[5].startsWith("Copyright"));

  const QStringList french = AboutLines(QLocale(QLocale::French, QLocale::France));
  EXPECT_EQ(french[7], QString::fromUtf8("Technologies brevet\xc3\xa9"
                                         "es"));
  EXPECT_EQ(AboutLines(QLocale(QLocale::German, QLocale::Germany))[7], "Patentierte Technologien");
  EXPECT_EQ(AboutLines(QLocale(QLocale::Spanish, QLocale::Spain)), english)
      << "no Spanish table: every line from the fallback";
  EXPECT_EQ(AboutLines(QLocale(QLocale::French, QLocale::Switzerland)), english)
      << "Swiss French (040C's neighbour 100C) has no table of its own";
  DestroyVeskObjects();
}

}  // namespace
