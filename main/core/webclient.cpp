#include "core/webclient.h"

#include <strings.h>
#include <QByteArray>
#include <algorithm>
#include <cctype>

#include "core/curldriver.h"
#include "core/veskerrors.h"
#include "core/xmlparser.h"

namespace {

constexpr const char* AcceptHeader =
    "Accept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, */*";
constexpr long ConnectTimeoutSeconds = 30;
// A reply that stalls this long is given up: a synchronous call never hangs forever.
constexpr long StallTimeoutSeconds = 120;
constexpr auto DetachedGrace = std::chrono::seconds(10);

std::string Trim(const std::string& text) {
  const auto blank = [](unsigned char c) { return c <= ' '; };
  auto first = std::find_if_not(text.begin(), text.end(), blank);
  auto last = std::find_if_not(text.rbegin(), text.rend(), blank).base();
  return first < last ? std::string(first, last) : std::string();
}

bool StartsWithNoCase(const std::string& text, const char* prefix) {
  const size_t length = std::char_traits<char>::length(prefix);
  return text.size() >= length && strncasecmp(text.data(), prefix, length) == 0;
}

// Host (and port when one is written) of `url`, for the Host header; the
// scheme in use comes back in `scheme`.
std::string HostOf(const std::string& url, std::string& scheme) {
  CURLU* handle = curl_url();
  std::string host;
  if (curl_url_set(handle, CURLUPART_URL, url.c_str(), CURLU_GUESS_SCHEME) == CURLUE_OK) {
    char* part = nullptr;
    if (curl_url_get(handle, CURLUPART_HOST, &part, 0) == CURLUE_OK) {
      host = part;
      curl_free(part);
    }
    if (curl_url_get(handle, CURLUPART_PORT, &part, 0) == CURLUE_OK) {
      host += std::string(":") + part;
      curl_free(part);
    }
    if (curl_url_get(handle, CURLUPART_SCHEME, &part, 0) == CURLUE_OK) {
      scheme = part;
      curl_free(part);
    }
  }
  curl_url_cleanup(handle);
  return host;
}

// Whether a proxy setting such as "proxy.example:3128" carries its own port.
bool ProxyHasPort(const std::string& proxy) {
  const size_t schemeEnd = proxy.find("://");
  const std::string hostPart = schemeEnd == std::string::npos ? proxy : proxy.substr(schemeEnd + 3);
  const size_t bracket = hostPart.rfind(']');
  const size_t colon = hostPart.rfind(':');
  return colon != std::string::npos && (bracket == std::string::npos || colon > bracket);
}

size_t ReadBody(char* buffer, size_t size, size_t count, void* userData) {
  auto* transfer = static_cast<TTransfer*>(userData);
  const size_t wanted = size * count;
  const size_t left = transfer->SendBuffer.size() - transfer->SendOffset;
  const size_t n = std::min(wanted, left);
  std::copy_n(transfer->SendBuffer.data() + transfer->SendOffset, n, buffer);
  transfer->SendOffset += n;
  if (n > 0) transfer->Queue(TTransferEvent::SendData, static_cast<int64_t>(n));
  if (transfer->SendOffset == transfer->SendBuffer.size() && !transfer->SendEnded) {
    transfer->SendEnded = true;
    transfer->Queue(TTransferEvent::SendEnd);
  }
  return n;
}

size_t WriteBody(char* data, size_t size, size_t count, void* userData) {
  auto* transfer = static_cast<TTransfer*>(userData);
  const size_t n = size * count;
  transfer->Received.append(data, n);
  transfer->Queue(TTransferEvent::DocData, static_cast<int64_t>(n));
  return n;
}

size_t ReceiveHeader(char* data, size_t size, size_t count, void* userData) {
  auto* transfer = static_cast<TTransfer*>(userData);
  const size_t n = size * count;
  std::string line(data, n);
  while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
  if (StartsWithNoCase(line, "HTTP/")) {
    // A new header block (after a 1xx reply): start over.
    const size_t first = line.find(' ');
    const size_t second = first == std::string::npos ? first : line.find(' ', first + 1);
    int status = 0;
    TryParseInt(line.substr(first + 1, second == std::string::npos ? second : second - first - 1),
                status);
    transfer->StatusCode = status;
    transfer->ReasonPhrase = second == std::string::npos ? "" : line.substr(second + 1);
    transfer->HeaderContentLength = -1;
  } else if (StartsWithNoCase(line, "Set-Cookie:")) {
    transfer->Queue(TTransferEvent::SetCookie, 0, Trim(line.substr(11)));
  } else if (StartsWithNoCase(line, "Content-Length:")) {
    int length = -1;
    transfer->HeaderContentLength = TryParseInt(Trim(line.substr(15)), length) ? length : -1;
  } else if (line.empty() && transfer->StatusCode >= 200 && !transfer->HeadersComplete) {
    if (transfer->IsPost && !transfer->SendEnded) {
      transfer->SendEnded = true;
      transfer->Queue(TTransferEvent::SendEnd);
    }
    transfer->HeadersComplete = true;
    transfer->ContentLength = transfer->HeaderContentLength;
    transfer->Queue(TTransferEvent::DocBegin, transfer->ContentLength);
  }
  return n;
}

// Called once connected, just before the request goes out.
int ConnectionReady(void* userData, char*, char*, int, int) {
  auto* transfer = static_cast<TTransfer*>(userData);
  if (transfer->IsPost && !transfer->SendBegun) {
    transfer->SendBegun = true;
    transfer->Queue(TTransferEvent::SendBegin);
    if (transfer->SendBuffer.empty()) {
      transfer->SendEnded = true;
      transfer->Queue(TTransferEvent::SendEnd);
    }
  }
  return CURL_PREREQFUNC_OK;
}

}  // namespace

EHttpError::EHttpError(int statusCode, const std::string& reasonPhrase)
    : std::runtime_error(reasonPhrase.empty() ? "HTTP error " + std::to_string(statusCode)
                                              : reasonPhrase),
      StatusCode(statusCode) {}

TWebClient::TWebClient(QObject* owner) : QObject(owner) {}

TWebClient::TWebClient(const TWebClient& source, QObject* owner) : QObject(owner) {
  SetBaseURL(source.BaseURL_);
  Cookie = source.Cookie;
  Proxy = source.Proxy;
  ProxyPort = source.ProxyPort;
  ProxyUsername = source.ProxyUsername;
  ProxyPassword = source.ProxyPassword;
  XMLParser = source.XMLParser;
}

TWebClient::~TWebClient() {
  if (Transfer_ && !Transfer_->Done) TCurlDriver::Instance().Detach(Transfer_, DetachedGrace);
}

void TWebClient::SetBaseURL(const std::string& address) {
  BaseURL_ = address;
  if (!BaseURL_.empty() && BaseURL_.back() == '/') BaseURL_.pop_back();
}

bool TWebClient::IsBusy() const {
  return Transfer_ && !Transfer_->Done;
}

void TWebClient::Abort() {
  if (IsBusy()) TCurlDriver::Instance().Abort(*Transfer_);
}

int TWebClient::StatusCode() const {
  return Transfer_ ? static_cast<int>(Transfer_->StatusCode) : 0;
}

std::string TWebClient::ReasonPhrase() const {
  return Transfer_ ? Transfer_->ReasonPhrase : "";
}

void TWebClient::Post(const std::string& path, const std::string& body, bool synchronous) {
  Start(true, path, body, synchronous);
}

void TWebClient::Get(const std::string& path, bool synchronous) {
  Start(false, path, std::string(), synchronous);
}

void TWebClient::Start(bool isPost, const std::string& path, const std::string& body,
                       bool synchronous) {
  if (IsBusy()) throw EHttpBusyError();
  if (isPost) BodyLength_ = static_cast<int32_t>(body.size());

  auto transfer = std::make_shared<TTransfer>();
  transfer->Client = this;
  transfer->IsPost = isPost;
  if (isPost) transfer->SendBuffer = body;
  const std::string url = BaseURL_ + path;
  std::string scheme = "http";
  const std::string host = HostOf(url, scheme);
  if (host.empty()) throw ESocketError("Invalid address: " + url);
  const bool secure = scheme == "https";

  CURL* easy = curl_easy_init();
  transfer->Easy = easy;
  curl_easy_setopt(easy, CURLOPT_URL, url.c_str());
  curl_easy_setopt(easy, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_0));
  curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, transfer->ErrorBuffer);
  curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT, ConnectTimeoutSeconds);
  curl_easy_setopt(easy, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(easy, CURLOPT_LOW_SPEED_TIME, StallTimeoutSeconds);
  curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, WriteBody);
  curl_easy_setopt(easy, CURLOPT_WRITEDATA, transfer.get());
  curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, ReceiveHeader);
  curl_easy_setopt(easy, CURLOPT_HEADERDATA, transfer.get());
  curl_easy_setopt(easy, CURLOPT_PREREQFUNCTION, ConnectionReady);
  curl_easy_setopt(easy, CURLOPT_PREREQDATA, transfer.get());
  curl_easy_setopt(easy, CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);
  curl_easy_setopt(easy, CURLOPT_HEADEROPT, static_cast<long>(CURLHEADER_SEPARATE));
  if (isPost) {
    curl_easy_setopt(easy, CURLOPT_POST, 1L);
    curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
    curl_easy_setopt(easy, CURLOPT_READFUNCTION, ReadBody);
    curl_easy_setopt(easy, CURLOPT_READDATA, transfer.get());
  } else {
    curl_easy_setopt(easy, CURLOPT_HTTPGET, 1L);
  }

  // The proxy is only ever the configured one: an empty setting also keeps
  // libcurl away from the http_proxy environment variables.
  curl_easy_setopt(easy, CURLOPT_PROXY, Proxy.c_str());
  const bool proxyAuthorization = !Proxy.empty() && !ProxyUsername.empty();
  if (!Proxy.empty()) {
    curl_easy_setopt(easy, CURLOPT_NOPROXY, "");
    if (!ProxyHasPort(Proxy)) {
      int port = 0;
      if (!TryParseInt(Trim(ProxyPort), port) || port <= 0 || port > 65535) port = 80;
      curl_easy_setopt(easy, CURLOPT_PROXYPORT, static_cast<long>(port));
    }
    if (proxyAuthorization && secure) {
      // Through a tunnel the proxy reads only the CONNECT request; the
      // credentials must not travel on to the server.
      curl_easy_setopt(easy, CURLOPT_PROXYUSERNAME, ProxyUsername.c_str());
      curl_easy_setopt(easy, CURLOPT_PROXYPASSWORD, ProxyPassword.c_str());
      curl_easy_setopt(easy, CURLOPT_PROXYAUTH, static_cast<long>(CURLAUTH_BASIC));
    }
  }

  // The headers in their designed order; libcurl's own versions of these are
  // replaced, and the ones it would add beside them are suppressed.
  curl_slist*& headers = transfer->Headers;
  // libcurl writes a custom Host header first of all; an empty "Host:" ahead
  // of the list removes its own, and ours then goes out in its place below.
  headers = curl_slist_append(headers, "Host:");
  headers = curl_slist_append(headers, AcceptHeader);
  if (isPost)
    headers = curl_slist_append(headers, "Content-Type: application/x-www-form-urlencoded");
  headers = curl_slist_append(headers, ("User-Agent: " + Agent).c_str());
  headers = curl_slist_append(headers, ("Host: " + host).c_str());
  if (isPost)
    headers =
        curl_slist_append(headers, ("Content-Length: " + std::to_string(body.size())).c_str());
  if (proxyAuthorization && !secure) {
    const QByteArray credentials =
        QByteArray::fromStdString(ProxyUsername + ":" + ProxyPassword).toBase64();
    headers = curl_slist_append(
        headers, ("Proxy-Authorization: Basic " + credentials.toStdString()).c_str());
  }
  if (!Cookie.empty()) headers = curl_slist_append(headers, ("Cookie: " + Cookie).c_str());
  headers = curl_slist_append(headers, "Expect:");
  headers = curl_slist_append(headers, "Proxy-Connection:");
  curl_easy_setopt(easy, CURLOPT_HTTPHEADER, headers);

  Transfer_ = transfer;  // the previous exchange's buffers go with its transfer
  TCurlDriver::Instance().Start(transfer);
  if (!synchronous) return;

  TCurlDriver::Instance().WaitFor(transfer);
  transfer->SendBuffer.clear();
  if (transfer->Result != CURLE_OK) {
    const std::string detail =
        transfer->ErrorBuffer[0] ? transfer->ErrorBuffer : curl_easy_strerror(transfer->Result);
    throw ESocketError(detail);
  }
  if (transfer->StatusCode >= 400)
    throw EHttpError(static_cast<int>(transfer->StatusCode), transfer->ReasonPhrase);
}

std::string TWebClient::TakeReceived() {
  if (!Transfer_ || !Transfer_->Done) return {};
  return std::exchange(Transfer_->Received, std::string());
}

std::unique_ptr<pugi::xml_document> TWebClient::ReceivedDataToXMLDocument() {
  const std::string data = TakeReceived();
  TXMLParser fallback;
  const TXMLParser& parser = XMLParser ? *XMLParser : fallback;
  auto document = parser.Parse(data);
  if (!document->document_element()) throw EInvalidXMLError();
  return document;
}

std::string TWebClient::ReceivedDataToAnsiString() {
  return TakeReceived();
}

void TWebClient::CookieEventHandler(const std::string& value) {
  const std::string pair = value.substr(0, value.find(';'));
  if (!Cookie.empty()) Cookie += ";";
  Cookie += pair;
}

void TWebClient::DeliverTransferEvent(const TTransferEvent& event) {
  switch (event.EventKind) {
    case TTransferEvent::SendBegin:
      emit OnSendBegin();
      break;
    case TTransferEvent::SendData:
      emit OnSendData(event.Value);
      break;
    case TTransferEvent::SendEnd:
      emit OnSendEnd();
      break;
    case TTransferEvent::DocBegin:
      emit OnDocBegin(event.Value);
      break;
    case TTransferEvent::DocData:
      emit OnDocData(event.Value);
      break;
    case TTransferEvent::DocEnd:
      emit OnDocEnd();
      break;
    case TTransferEvent::SetCookie:
      CookieEventHandler(event.Text);
      break;
  }
}
