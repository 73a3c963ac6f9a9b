#pragma once
// HTTP/1.0 and 1.1 over TCP (Boost.Beast), carrying requests to the page
// handler: limits on headers, bodies, time and connections.
#include <atomic>
#include <chrono>
#include <cstddef>
#include <memory>
#include <string>

#include "page_handler.h"

namespace kt::server {

struct HttpLimits {
  size_t maxHeaderBytes = 16 * 1024;
  std::chrono::milliseconds readTimeout{10000};  // a whole header, or an idle keep-alive
  size_t minBodyBytesPerSecond = 16 * 1024;      // a body gets readTimeout plus its size at this rate
  size_t maxConnections = 512;
  unsigned threads = 4;
};

class HttpServer {
public:
  // Binds `address:port` (port 0 picks a free one); throws when it cannot.
  HttpServer(PageHandler& handler, const std::string& address, unsigned short port, HttpLimits limits);
  ~HttpServer();

  unsigned short Port() const;
  // Serves until SIGINT or SIGTERM (or Stop), then returns.
  void Run();
  void Stop();

private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace kt::server
