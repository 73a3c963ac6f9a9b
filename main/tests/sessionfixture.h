#pragma once
// A session factory pointed at a recording loopback server, for the tests of
// the web client, the session and the record sets.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/account.h"
#include "core/versinfo.h"
#include "core/webclientfactory.h"
#include "core/xmlparser.h"
#include "recordingserver.h"

// A login reply that sets `cookie` and names a news page.
inline std::string LoginReply(const std::string& cookie) {
  return RecordingServer::Reply(
      "<connect><news><![CDATA[http://news.example/today]]></news></connect>", 200, "OK",
      {"Set-Cookie: " + cookie + "; path=/"});
}

class VeskSessionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Factory = std::make_unique<TWebClientFactory>(&Parser, &VersInfo);
    Account.Login = "ann";
    Account.Password = "p&ss";
    Factory->Account = &Account;
    Factory->Server = Server.Url();
    Factory->OnConnect = [this](TWebClientFactory*) { Notices.push_back("connect"); };
    Factory->OnDisconnect = [this](TWebClientFactory*) { Notices.push_back("disconnect"); };
  }

  RecordingServer Server;
  TXMLParser Parser;
  TVersInfo VersInfo;
  TAccount Account;
  std::unique_ptr<TWebClientFactory> Factory;
  std::vector<std::string> Notices;
};
