#pragma once
// A web client bound to the session: it carries the session cookie and
// recognises the two replies by which any page says that the session is gone
// (<not_connected/>) or that this version may no longer be used (<superseded/>).
#include <stdexcept>

#include "core/webclient.h"

class TWebClientFactory;

class EUpdateNeededError : public std::runtime_error {
 public:
  EUpdateNeededError()
      : std::runtime_error("You must update your installation to the latest version.") {}
};

class ECouldNotConnectError : public std::runtime_error {
 public:
  ECouldNotConnectError() : std::runtime_error("Could not connect.") {}
};

class ENotConnectedError : public std::runtime_error {
 public:
  ENotConnectedError() : std::runtime_error("Attempting to get data while not connected.") {}
};

class TConnectedWebClient : public TWebClient {
  Q_OBJECT

 public:
  explicit TConnectedWebClient(TWebClientFactory& factory, QObject* owner = nullptr);

  TWebClientFactory* Factory;  // not owned

  // Raise ENotConnectedError for not_connected; for superseded, end the
  // session when it is still open and raise EUpdateNeededError.
  std::unique_ptr<pugi::xml_document> ReceivedDataToXMLDocument() override;
  std::string ReceivedDataToAnsiString() override;

 private:
  [[noreturn]] void Superseded();
};
