#pragma once
// The connected session: opens it with the account, keeps it alive with a
// ping every 30 s, closes it, and makes the web clients that carry it.
#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>

#include "core/connectedwebclient.h"

class TAccount;
class TVersInfo;
class TXMLParser;

class TWebClientFactory : public QObject {
  Q_OBJECT

 public:
  using TNotifyEvent = std::function<void(TWebClientFactory* sender)>;

  TWebClientFactory(TXMLParser* parser, TVersInfo* versInfo);
  ~TWebClientFactory() override;

  TAccount* Account = nullptr;  // the configuration's account, not owned
  QTimer KeepAliveTimer;        // enabled exactly while the session is open
  std::unique_ptr<TWebClient> SessionClient;
  TXMLParser* Parser;   // not owned
  TVersInfo* VersInfo;  // not owned
  TNotifyEvent OnConnect;
  TNotifyEvent OnDisconnect;
  std::string NewsURL;
  std::string Server;
  std::string Cookie;
  std::string Proxy;
  std::string ProxyPort;
  std::string ProxyUsername;
  std::string ProxyPassword;

  bool IsConnected() const { return KeepAliveTimer.isActive(); }
  // Logs in (closing an open session first); raises ECouldNotConnectError or
  // EUpdateNeededError when refused, the transport's error when it fails.
  void Connect();
  // Closes the session: stops the keep-alive, sends the logout without
  // waiting (abandoning a ping still running), notifies OnDisconnect.
  void Disconnect();
  // A client carrying the session; ENotConnectedError when offline.
  std::unique_ptr<TConnectedWebClient> CreateWebClient();

  // The keep-alive tick: a ping, unless the previous one still runs.
  void KeepAliveTimerTimer();

  std::string UserAgent() const;

 private:
  void ApplySettings(TWebClient& client) const;
};
