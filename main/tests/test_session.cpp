// The connected session: login, keep-alive, logout and the session replies,
// on the wire and in the notifications the main window receives.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "core/connectedwebclient.h"
#include "core/veskserver.h"
#include "sessionfixture.h"

namespace {

const std::string Accept = "Accept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, */*\r\n";

std::string ReplyFor(const RecordedRequest& request, const std::string& cookie) {
  if (request.Target == page::Connect) return LoginReply(cookie);
  return RecordingServer::Reply("<ok/>");
}

TEST_F(VeskSessionTest, ConnectPingAndDisconnectOnTheWire) {
  Server.SetHandler([](const RecordedRequest& r) { return ReplyFor(r, "SID=1"); });
  Factory->Connect();
  ASSERT_TRUE(Factory->IsConnected());
  EXPECT_EQ(Factory->NewsURL, "http://news.example/today");
  EXPECT_EQ(Notices, std::vector<std::string>{"connect"});

  Factory->KeepAliveTimerTimer();
  ASSERT_TRUE(
      WaitUntil([&] { return Server.RequestCount() == 2 && !Factory->SessionClient->IsBusy(); }));
  Factory->Disconnect();
  EXPECT_FALSE(Factory->IsConnected());
  EXPECT_EQ(Factory->SessionClient, nullptr);
  EXPECT_EQ(Notices, (std::vector<std::string>{"connect", "disconnect"}));
  ASSERT_TRUE(WaitUntil([&] { return Server.RequestCount() == 3; }))
      << "the logout reaches the server";

  const std::string host = "Host: 127.0.0.1:" + std::to_string(Server.Port()) + "\r\n";
  const std::string connect =
      "<connect><version major='0' minor='2' release='1' build='0' />"
      "<account><login>ann</login><password>p&ss</password></account></connect>";
  const auto requests = Server.Requests();
  EXPECT_EQ(requests[0].Raw, "POST /connect/connect.asp HTTP/1.0\r\n" + Accept +
                                 "Content-Type: application/x-www-form-urlencoded\r\n"
                                 "User-Agent: Kintrail 0.2.1.0\r\n" +
                                 host + "Content-Length: " + std::to_string(connect.size()) +
                                 "\r\n\r\n" + connect);
  EXPECT_EQ(requests[1].Raw, "POST /ping.asp HTTP/1.0\r\n" + Accept +
                                 "Content-Type: application/x-www-form-urlencoded\r\n"
                                 "User-Agent: Kintrail 0.2.1.0\r\n" +
                                 host +
                                 "Content-Length: 19\r\n"
                                 "Cookie: SID=1\r\n\r\n"
                                 "<ping login=\"ann\"/>");
  EXPECT_EQ(requests[2].Raw, "GET /disconnect.asp HTTP/1.0\r\n" + Accept +
                                 "User-Agent: Kintrail 0.2.1.0\r\n" + host +
                                 "Cookie: SID=1\r\n\r\n");
}

TEST_F(VeskSessionTest, SecondLoginAppendsItsCookieAndClientsCarryBoth) {
  std::atomic<int> logins{0};
  Server.SetHandler([&](const RecordedRequest& r) {
    return ReplyFor(r, r.Target == page::Connect ? "SID=" + std::to_string(++logins) : "");
  });
  Factory->Connect();
  Factory->Disconnect();
  Factory->Connect();
  EXPECT_EQ(Factory->Cookie, "SID=1;SID=2");
  auto client = Factory->CreateWebClient();
  client->Post("/question/getquestions.asp", "", true);
  EXPECT_NE(Server.Requests().back().Raw.find("\r\nCookie: SID=1;SID=2\r\n"), std::string::npos);
  const auto logins2 = Server.RequestsFor(page::Connect);
  ASSERT_EQ(logins2.size(), 2u);
  EXPECT_NE(logins2[1].Raw.find("\r\nCookie: SID=1\r\n"), std::string::npos)
      << "the second login carries the first cookie";
}

TEST_F(VeskSessionTest, ConnectingWhileConnectedDisconnectsFirst) {
  Server.SetHandler([](const RecordedRequest& r) { return ReplyFor(r, "SID=1"); });
  Factory->Connect();
  Factory->Connect();
  EXPECT_EQ(Notices, (std::vector<std::string>{"connect", "disconnect", "connect"}));
  EXPECT_TRUE(Factory->IsConnected());
}

TEST_F(VeskSessionTest, RefusedLoginsRaiseByCode) {
  const struct {
    std::string Error;
    bool UpdateNeeded;
  } cases[] = {{"<error code='1'>old</error>", true},
               {"<error code='2'>bad password</error>", false},
               {"<error>no code</error>", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Error);
    Server.SetHandler([&](const RecordedRequest&) {
      return RecordingServer::Reply("<connect>" + c.Error + "</connect>");
    });
    if (c.UpdateNeeded)
      EXPECT_THROW(Factory->Connect(), EUpdateNeededError);
    else
      EXPECT_THROW(Factory->Connect(), ECouldNotConnectError);
    EXPECT_FALSE(Factory->IsConnected());
    EXPECT_EQ(Factory->SessionClient, nullptr);
  }
  EXPECT_TRUE(Notices.empty());
  EXPECT_THROW(Factory->CreateWebClient(), ENotConnectedError);
}

TEST_F(VeskSessionTest, NewsGivenAsPlainTextLeavesTheAddress) {
  Factory->NewsURL = "http://earlier/";
  Server.SetHandler([](const RecordedRequest&) {
    return RecordingServer::Reply("<connect><news>http://plain/</news></connect>");
  });
  Factory->Connect();
  EXPECT_EQ(Factory->NewsURL, "http://earlier/");
}

TEST_F(VeskSessionTest, SessionRepliesThroughBothReadings) {
  enum Reading { Document, Text };
  const struct {
    const char* Body;
    Reading How;
    bool Superseded;
  } cases[] = {{"<not_connected/>", Document, false},
               {"<not_connected/>", Text, false},
               {"<superseded/>", Document, true},
               {"<superseded/>", Text, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.Body) + (c.How == Document ? " as document" : " as text"));
    Notices.clear();
    Server.SetHandler([&](const RecordedRequest& r) {
      return r.Target == page::Connect ? LoginReply("S=1") : RecordingServer::Reply(c.Body);
    });
    if (!Factory->IsConnected()) Factory->Connect();
    Notices.clear();
    auto client = Factory->CreateWebClient();
    client->Post("/question/getquestions.asp", "", true);
    const auto read = [&] {
      if (c.How == Document)
        client->ReceivedDataToXMLDocument();
      else
        client->ReceivedDataToAnsiString();
    };
    if (c.Superseded) {
      EXPECT_THROW(read(), EUpdateNeededError);
      EXPECT_FALSE(Factory->IsConnected());
      EXPECT_EQ(Notices, std::vector<std::string>{"disconnect"});
    } else {
      EXPECT_THROW(read(), ENotConnectedError);
      EXPECT_TRUE(Factory->IsConnected()) << "the client still regards its session as open";
      EXPECT_TRUE(Notices.empty());
    }
  }
}

TEST_F(VeskSessionTest, SupersededWhileClosedRaisesWithoutASecondDisconnection) {
  Server.SetHandler([](const RecordedRequest& r) {
    return r.Target == page::Connect ? LoginReply("S=1") : RecordingServer::Reply("<superseded/>");
  });
  Factory->Connect();
  auto first = Factory->CreateWebClient();
  auto second = Factory->CreateWebClient();
  first->Post("/a", "", true);
  second->Post("/b", "", true);
  EXPECT_THROW(first->ReceivedDataToXMLDocument(), EUpdateNeededError);
  EXPECT_THROW(second->ReceivedDataToXMLDocument(), EUpdateNeededError);
  EXPECT_EQ(Notices, (std::vector<std::string>{"connect", "disconnect"}));
}

TEST_F(VeskSessionTest, KeepAliveSkipsATickWhilePingRunsAndDisconnectStillEnds) {
  // The ping is held until the test ends (or 5 s at most: a failing test ends too).
  auto release = std::make_shared<std::atomic<bool>>(false);
  Server.SetHandler([release](const RecordedRequest& r) {
    for (int i = 0; r.Target == page::Ping && !*release && i < 1000; ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    return ReplyFor(r, "SID=1");
  });
  Factory->Connect();
  Factory->KeepAliveTimerTimer();
  ASSERT_TRUE(WaitUntil([&] { return Server.RequestsFor(page::Ping).size() == 1; }));
  Factory->KeepAliveTimerTimer();  // the first ping still runs
  WaitUntil([] { return false; }, std::chrono::milliseconds(200));
  EXPECT_EQ(Server.RequestsFor(page::Ping).size(), 1u);

  Factory->Disconnect();  // abandons the ping, sends the logout
  EXPECT_FALSE(Factory->IsConnected());
  EXPECT_EQ(Notices, (std::vector<std::string>{"connect", "disconnect"}));
  EXPECT_TRUE(WaitUntil([&] { return Server.RequestsFor(page::Disconnect).size() == 1; }));
  *release = true;
}

TEST_F(VeskSessionTest, KeepAliveTimerPingsWhileConnectedOnly) {
  Server.SetHandler([](const RecordedRequest& r) { return ReplyFor(r, "SID=1"); });
  EXPECT_EQ(Factory->KeepAliveTimer.interval(), 30000);
  Factory->KeepAliveTimer.setInterval(50);
  Factory->Connect();
  EXPECT_TRUE(WaitUntil([&] { return Server.RequestsFor(page::Ping).size() >= 3; }));
  Factory->Disconnect();
  const size_t pings = Server.RequestsFor(page::Ping).size();
  WaitUntil([] { return false; }, std::chrono::milliseconds(200));
  EXPECT_EQ(Server.RequestsFor(page::Ping).size(), pings);
}

TEST_F(VeskSessionTest, UnreachableServerLeavesTheSessionClosed) {
  int port = 0;
  {
    RecordingServer gone;
    port = gone.Port();
  }
  Factory->Server = "127.0.0.1:" + std::to_string(port);
  EXPECT_THROW(Factory->Connect(), ESocketError);
  EXPECT_FALSE(Factory->IsConnected());
  EXPECT_TRUE(Notices.empty());
}

}  // namespace
