#pragma once
// One HTTP exchange at a time with the server: POST a body (or GET a page),
// wait for the reply while the application keeps running, read the reply
// once as an XML document or as raw bytes.
#include <QObject>
#include <cstdint>
#include <memory>
#include <pugixml.hpp>
#include <stdexcept>
#include <string>

class TXMLParser;
struct TTransfer;
struct TTransferEvent;

// The reply's status was 400 or more; the message is the reason phrase.
class EHttpError : public std::runtime_error {
 public:
  EHttpError(int statusCode, const std::string& reasonPhrase);
  int StatusCode;
};

// A request on a client whose previous request is still running.
class EHttpBusyError : public std::runtime_error {
 public:
  EHttpBusyError() : std::runtime_error("HTTP component is busy") {}
};

// The exchange failed below HTTP: name resolution, connection, transfer.
class ESocketError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TWebClient : public QObject {
  Q_OBJECT

 public:
  class EInvalidXMLError : public std::runtime_error {
   public:
    EInvalidXMLError() : std::runtime_error("Invalid XML data received") {}
  };

  explicit TWebClient(QObject* owner = nullptr);
  // Copies BaseURL, Cookie, the proxy settings and XMLParser; nothing else.
  explicit TWebClient(const TWebClient& source, QObject* owner = nullptr);
  ~TWebClient() override;

  // Stores `address` without one trailing "/".
  void SetBaseURL(const std::string& address);
  const std::string& BaseURL() const { return BaseURL_; }
  // Length of the body given to the last Post.
  int32_t BodyLength() const { return BodyLength_; }

  TXMLParser* XMLParser = nullptr;  // not owned
  std::string Cookie;
  std::string Proxy;
  std::string ProxyPort;
  std::string ProxyUsername;
  std::string ProxyPassword;
  std::string Agent;

  // POSTs `body` (any bytes, sent unchanged) to BaseURL + `path`. Synchronous:
  // returns when the reply is complete, raising every failure. Otherwise
  // returns at once and nobody observes the outcome.
  void Post(const std::string& path, const std::string& body, bool synchronous);
  void Get(const std::string& path, bool synchronous);
  // A request is running.
  bool IsBusy() const;
  // Abandons a running request (nothing is reported).
  void Abort();

  int StatusCode() const;
  std::string ReasonPhrase() const;

  // The reply as a new document; EInvalidXMLError when it has no root element.
  // Releases the reply: it can be read once.
  virtual std::unique_ptr<pugi::xml_document> ReceivedDataToXMLDocument();
  // The reply's raw bytes; releases the reply.
  virtual std::string ReceivedDataToAnsiString();

  // Each Set-Cookie header: its part before the first ';' is appended to
  // Cookie, after a ';' when Cookie is not empty.
  void CookieEventHandler(const std::string& value);

  void DeliverTransferEvent(const TTransferEvent& event);

 signals:
  void OnSendBegin();
  void OnSendData(qint64 bytes);
  void OnSendEnd();
  void OnDocBegin(qint64 contentLength);
  void OnDocData(qint64 bytes);
  void OnDocEnd();

 private:
  void Start(bool isPost, const std::string& path, const std::string& body, bool synchronous);
  std::string TakeReceived();

  std::string BaseURL_;
  int32_t BodyLength_ = 0;
  std::shared_ptr<TTransfer> Transfer_;
};
