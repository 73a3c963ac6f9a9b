// The client against the real Kintrail server: log in with a test account,
// stay online across several keep-alive periods (shortened for the test),
// log out; the server's request log shows the pings and the logout.
#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>
#include <filesystem>

#include "core/account.h"
#include "core/connectedwebclient.h"
#include "core/versinfo.h"
#include "core/veskserver.h"
#include "core/webclientfactory.h"
#include "core/xmlparser.h"
#include "core/xmlresponse.h"
#include "recordingserver.h"

namespace {

const char* const ServerBinary = KINTRAIL_SERVER_BINARY;

class VeskRealServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (std::string(ServerBinary).empty() || !std::filesystem::exists(ServerBinary))
      GTEST_SKIP() << "kintrail-server is not built in this tree (configure with the server "
                      "component, or -DKINTRAIL_SERVER_BINARY=<path>)";
    ASSERT_TRUE(Folder.isValid());
    const QString database = Folder.filePath("kintrail.sqlite");
    QProcess add;
    add.start(ServerBinary,
              {"--db", database, "--gazetteer", "none", "user", "add", "tester", "--password-stdin",
               "--town", "Paris", "--country", "FR", "--lat", "48.85", "--lon", "2.35"});
    add.write("secret123");
    add.closeWriteChannel();
    ASSERT_TRUE(add.waitForFinished(30000));
    ASSERT_EQ(add.exitCode(), 0) << add.readAllStandardError().toStdString();

    {
      RecordingServer probe;  // a port that is free now
      Port = probe.Port();
    }
    Server.setProcessChannelMode(QProcess::MergedChannels);
    Server.start(ServerBinary, {"--listen", QString("127.0.0.1:%1").arg(Port), "--db", database,
                                "--gazetteer", "none"});
    ASSERT_TRUE(Server.waitForStarted(10000));
    ASSERT_TRUE(WaitUntil([&] { return Log().find("listening") != std::string::npos; })) << Log();

    Factory = std::make_unique<TWebClientFactory>(&Parser, &VersInfo);
    Factory->Server = "http://127.0.0.1:" + std::to_string(Port);
    Account.Login = "tester";
    Account.Password = "secret123";
    Factory->Account = &Account;
  }

  void TearDown() override {
    Factory.reset();
    if (Server.state() != QProcess::NotRunning) {
      Server.terminate();
      if (!Server.waitForFinished(5000)) Server.kill();
      Server.waitForFinished(5000);
    }
  }

  // Everything the server has written so far (its request log included).
  const std::string& Log() {
    LogText += Server.readAll().toStdString();
    return LogText;
  }
  size_t Count(const std::string& line) {
    const std::string& log = Log();
    size_t count = 0;
    for (size_t at = log.find(line); at != std::string::npos; at = log.find(line, at + 1)) ++count;
    return count;
  }

  QTemporaryDir Folder;
  QProcess Server;
  int Port = 0;
  std::string LogText;
  TXMLParser Parser;
  TVersInfo VersInfo;
  TAccount Account;
  std::unique_ptr<TWebClientFactory> Factory;
};

TEST_F(VeskRealServerTest, StaysOnlineAcrossKeepAlivesAndLogsOut) {
  Factory->KeepAliveTimer.setInterval(150);
  Factory->Connect();
  ASSERT_TRUE(Factory->IsConnected());
  EXPECT_FALSE(Factory->Cookie.empty()) << "the server sets the session cookie";
  EXPECT_TRUE(WaitUntil([&] { return Count("POST /ping.asp 200") >= 4; }, std::chrono::seconds(20)))
      << Log();
  EXPECT_TRUE(Factory->IsConnected());

  auto client = Factory->CreateWebClient();
  client->Post(page::GetQuestions, "", true);
  const auto reply = client->ReceivedDataToXMLDocument();  // no not_connected: the session lives
  EXPECT_NO_THROW(TXMLResponse response(*reply));

  const std::string cookie = Factory->Cookie;
  Factory->Disconnect();
  EXPECT_FALSE(Factory->IsConnected());
  EXPECT_TRUE(WaitUntil([&] { return Count("GET /disconnect.asp") == 1; })) << Log();

  // The server ended that session: the old cookie no longer opens anything.
  TConnectedWebClient stale(*Factory);
  stale.SetBaseURL(Factory->Server);
  stale.Cookie = cookie;
  stale.Post(page::GetQuestions, "", true);
  EXPECT_THROW(stale.ReceivedDataToXMLDocument(), ENotConnectedError);
}

TEST_F(VeskRealServerTest, WrongPasswordIsRefused) {
  Account.Password = "not the password";
  EXPECT_THROW(Factory->Connect(), ECouldNotConnectError);
  EXPECT_FALSE(Factory->IsConnected());
}

}  // namespace
