#pragma once
// The server's request handling: one request in, one response out, over a
// storage interface. No sockets here; the HTTP layer only carries bytes.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "client_version.h"
#include "storage.h"

namespace kt::server {

struct PageRequest {
  std::string method;  // "GET", "POST", ...
  std::string target;  // path and query, as on the request line
  std::string host;    // the Host header
  std::string cookie;  // every Cookie header, joined with "; "
  std::string body;
};

struct PageResponse {
  int status = 200;
  std::string contentType = "text/xml; charset=ISO-8859-1";
  std::vector<std::pair<std::string, std::string>> headers;  // Set-Cookie, Location, ...
  std::string body;
};

struct HandlerOptions {
  int64_t pageSize = 50;
  std::string newsUrl;            // empty: this server's own news page
  int64_t sessionTimeout = 300;   // seconds without a request
  size_t maxXmlRequest = 64 * 1024;
  size_t maxUpload = 64 * 1024 * 1024;
  size_t maxDecompressed = 512u * 1024 * 1024;
};

// The session cookie's name.
inline constexpr const char* kSessionCookie = "KTSESSION";
// The minimum client version, kept in storage so that it can be raised
// while the server runs.
inline constexpr const char* kMinClientSetting = "min_client";
inline constexpr ClientVersion kDefaultMinClient = (uint64_t{0} << 48) | (uint64_t{2} << 32) | (uint64_t{1} << 16);

// Error codes of the error element; 1 and 1001 are the ones the client reads.
namespace errors {
inline constexpr int kUpdateNeeded = 1;
inline constexpr int kLoginRefused = 2;
inline constexpr int kMalformedRequest = 10;
inline constexpr int kRequestTooLarge = 11;
inline constexpr int kUnknownPage = 12;
inline constexpr int kBadUpload = 20;
inline constexpr int kBadSummary = 21;
inline constexpr int kOtherAccountsFile = 22;
inline constexpr int kAskToSelf = 1001;
inline constexpr int kUnknownIndividual = 1002;
inline constexpr int kUnknownRequest = 1003;
inline constexpr int kRequestState = 1004;
inline constexpr int kBadRequestType = 1005;
inline constexpr int kBadExtract = 1006;
inline constexpr int kInternal = 500;
}  // namespace errors

class PageHandler {
public:
  using Clock = std::function<int64_t()>;  // seconds since the epoch
  PageHandler(Storage& storage, HandlerOptions options, Clock clock = {});

  PageResponse Handle(const PageRequest& request);

  // The most body bytes a page accepts; the HTTP layer checks it before
  // reading a body, so an oversized one is never held in memory.
  size_t BodyLimit(const std::string& target) const;
  // The reply for a body that is over the limit or never arrived whole.
  PageResponse TooLarge(const std::string& target) const;

  const HandlerOptions& options() const { return options_; }

private:
  Storage& storage_;
  HandlerOptions options_;
  Clock clock_;
};

// What every page function is given.
struct PageContext {
  Storage& storage;
  const HandlerOptions& options;
  const PageRequest& request;
  std::string path;
  std::string query;
  int64_t now = 0;
  std::optional<SessionRecord> session;  // set for pages that need one
};

// The reply of an XML page.
PageResponse XmlResponse(std::string body);
PageResponse XmlError(int code, std::string_view description);

}  // namespace kt::server
