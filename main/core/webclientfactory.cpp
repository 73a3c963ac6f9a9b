#include "core/webclientfactory.h"

#include "core/account.h"
#include "core/versinfo.h"
#include "core/veskglobals.h"
#include "core/veskserver.h"
#include "core/xmlresponse.h"

namespace {
constexpr int KeepAlivePeriodMs = 30000;
}

TWebClientFactory::TWebClientFactory(TXMLParser* parser, TVersInfo* versInfo)
    : Parser(parser), VersInfo(versInfo) {
  KeepAliveTimer.setInterval(KeepAlivePeriodMs);
  connect(&KeepAliveTimer, &QTimer::timeout, this, &TWebClientFactory::KeepAliveTimerTimer);
}

TWebClientFactory::~TWebClientFactory() {
  // The program is ending: close the session without telling any window.
  OnConnect = nullptr;
  OnDisconnect = nullptr;
  if (IsConnected()) Disconnect();
}

std::string TWebClientFactory::UserAgent() const {
  return "Kintrail " + (VersInfo ? VersInfo->VersionText() : std::string());
}

void TWebClientFactory::ApplySettings(TWebClient& client) const {
  client.SetBaseURL(Server);
  client.Cookie = Cookie;
  client.Proxy = Proxy;
  client.ProxyPort = ProxyPort;
  client.ProxyUsername = ProxyUsername;
  client.ProxyPassword = ProxyPassword;
  client.XMLParser = Parser;
  client.Agent = UserAgent();
}

void TWebClientFactory::Connect() {
  if (IsConnected()) Disconnect();
  static const TAccount noAccount;
  const TAccount& account = Account ? *Account : noAccount;
  const std::string document =
      "<connect>" + VersInfo->VersionXML() + account.SaveToString() + "</connect>";

  SessionClient = std::make_unique<TWebClient>();
  ApplySettings(*SessionClient);
  SessionClient->Post(page::Connect, document, true);
  Cookie = SessionClient->Cookie;

  // The login page knows no session replies: the plain reading.
  std::unique_ptr<pugi::xml_document> reply =
      SessionClient->TWebClient::ReceivedDataToXMLDocument();
  try {
    TXMLResponse response(*reply);
  } catch (const EXMLResponseError& error) {
    SessionClient.reset();
    if (error.Code == 1) throw EUpdateNeededError();
    throw ECouldNotConnectError();
  }
  const pugi::xml_node news = FindChild(reply->document_element(), "news");
  for (pugi::xml_node node = news.first_child(); node; node = node.next_sibling()) {
    if (node.type() == pugi::node_cdata) {
      NewsURL = node.value();
      break;
    }
  }
  KeepAliveTimer.start();
  if (OnConnect && !ApplicationTerminating()) OnConnect(this);
}

void TWebClientFactory::Disconnect() {
  KeepAliveTimer.stop();
  if (SessionClient) {
    // A ping still running would make the logout request busy: abandon it.
    SessionClient->Abort();
    try {
      SessionClient->Get(page::Disconnect, false);
    } catch (const std::exception&) {
      // The server cannot rely on the logout anyway; the session ends here.
    }
    SessionClient.reset();
  }
  if (OnDisconnect && !ApplicationTerminating()) OnDisconnect(this);
}

std::unique_ptr<TConnectedWebClient> TWebClientFactory::CreateWebClient() {
  if (!IsConnected()) throw ENotConnectedError();
  auto client = std::make_unique<TConnectedWebClient>(*this);
  ApplySettings(*client);
  return client;
}

void TWebClientFactory::KeepAliveTimerTimer() {
  if (!SessionClient || SessionClient->IsBusy()) return;
  const std::string login = Account ? Account->Login : std::string();
  try {
    SessionClient->Post(page::Ping, "<ping login=" + QuoteAttribute(login) + "/>", false);
  } catch (const std::exception&) {
    // Keep-alive failures are never reported.
  }
}
