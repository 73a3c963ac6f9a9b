#include "http_server.h"

#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/signal_set.hpp>
#include <boost/asio/strand.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>

#include <algorithm>
#include <cstdio>
#include <limits>
#include <iostream>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace kt::server {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
using tcp = asio::ip::tcp;

namespace {

std::mutex gLogMutex;

void LogRequest(const std::string& method, const std::string& target, int status,
                std::chrono::steady_clock::duration elapsed) {
  const double ms = std::chrono::duration<double, std::milli>(elapsed).count();
  // Query strings stay out of the log: they may carry what people typed.
  const std::string path = target.substr(0, target.find('?'));
  std::lock_guard lock(gLogMutex);
  std::fprintf(stderr, "%s %s %d %.1fms\n", method.c_str(), path.c_str(), status, ms);
}

class Connection : public std::enable_shared_from_this<Connection> {
public:
  Connection(tcp::socket socket, PageHandler& handler, const HttpLimits& limits,
             std::atomic<size_t>& open)
      : stream_(std::move(socket)), handler_(handler), limits_(limits), open_(open) {}
  ~Connection() { --open_; }

  void Start() { ReadHeader(); }

private:
  void ReadHeader() {
    parser_.emplace();
    parser_->header_limit(static_cast<std::uint32_t>(limits_.maxHeaderBytes));
    // The page's own limit is known only with the target: the header is read
    // under the largest one, then OnHeader applies the page's.
    parser_->body_limit(std::numeric_limits<std::uint64_t>::max());
    stream_.expires_after(limits_.readTimeout);
    http::async_read_header(stream_, buffer_, *parser_,
                            [self = shared_from_this()](beast::error_code ec, std::size_t) { self->OnHeader(ec); });
  }

  void OnHeader(beast::error_code ec) {
    if (ec == http::error::header_limit) return SendPlain(431, "Request header too large\n");
    if (ec) return Close();  // timeout, end of stream, or not HTTP at all
    started_ = std::chrono::steady_clock::now();
    auto& request = parser_->get();
    method_ = std::string(request.method_string());
    target_ = std::string(request.target());
    const size_t limit = handler_.BodyLimit(target_);
    const auto length = parser_->content_length();
    if (length && *length > limit) return Send(handler_.TooLarge(target_), false);
    parser_->body_limit(limit);
    const size_t expected = length ? static_cast<size_t>(*length) : limit;
    stream_.expires_after(limits_.readTimeout +
                          std::chrono::seconds(expected / limits_.minBodyBytesPerSecond));
    http::async_read(stream_, buffer_, *parser_,
                     [self = shared_from_this()](beast::error_code ec, std::size_t) { self->OnBody(ec); });
  }

  void OnBody(beast::error_code ec) {
    if (ec == http::error::body_limit) return Send(handler_.TooLarge(target_), false);
    if (ec) return Close();
    auto& request = parser_->get();
    PageRequest page;
    page.method = method_;
    page.target = target_;
    page.host = std::string(request[http::field::host]);
    for (const auto& field : request) {
      if (field.name() == http::field::cookie) {
        if (!page.cookie.empty()) page.cookie += "; ";
        page.cookie += std::string(field.value());
      }
    }
    page.body = std::move(request.body());
    const bool keepAlive = request.keep_alive();
    version_ = request.version();
    Send(handler_.Handle(page), keepAlive);
  }

  void Send(PageResponse page, bool keepAlive) {
    auto response = std::make_shared<http::response<http::string_body>>(
        static_cast<http::status>(page.status), version_ ? version_ : 11);
    response->set(http::field::server, "Kintrail");
    response->set(http::field::content_type, page.contentType);
    response->set(http::field::cache_control, "no-store");
    for (const auto& [name, value] : page.headers) response->insert(name, value);
    response->body() = std::move(page.body);
    response->keep_alive(keepAlive);
    response->prepare_payload();
    LogRequest(method_.empty() ? "-" : method_, target_, page.status,
               std::chrono::steady_clock::now() - started_);
    stream_.expires_after(limits_.readTimeout + std::chrono::seconds(response->body().size() /
                                                                     limits_.minBodyBytesPerSecond));
    http::async_write(stream_, *response,
                      [self = shared_from_this(), response, keepAlive](beast::error_code ec, std::size_t) {
                        if (ec || !keepAlive) return self->Close();
                        self->ReadHeader();
                      });
  }

  void SendPlain(int status, const std::string& body) {
    PageResponse page;
    page.status = status;
    page.contentType = "text/plain; charset=utf-8";
    page.body = body;
    started_ = std::chrono::steady_clock::now();
    Send(std::move(page), false);
  }

  void Close() {
    beast::error_code ignored;
    stream_.socket().shutdown(tcp::socket::shutdown_both, ignored);
    stream_.close();
  }

  beast::tcp_stream stream_;
  beast::flat_buffer buffer_;
  PageHandler& handler_;
  const HttpLimits& limits_;
  std::atomic<size_t>& open_;
  std::optional<http::request_parser<http::string_body>> parser_;
  std::string method_, target_;
  unsigned version_ = 11;
  std::chrono::steady_clock::time_point started_ = std::chrono::steady_clock::now();
};

}  // namespace

struct HttpServer::Impl {
  Impl(PageHandler& h, HttpLimits l) : handler(h), limits(l), io(static_cast<int>(l.threads)), acceptor(io), signals(io, SIGINT, SIGTERM) {}

  void Accept() {
    acceptor.async_accept(asio::make_strand(io), [this](beast::error_code ec, tcp::socket socket) {
      if (ec == asio::error::operation_aborted) return;
      if (!ec) {
        if (open.load() >= limits.maxConnections) {
          // Over the cap: a short refusal, written without waiting, then closed.
          static const char refusal[] =
              "HTTP/1.0 503 Service Unavailable\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
          beast::error_code ignored;
          socket.non_blocking(true, ignored);
          socket.write_some(asio::buffer(refusal, sizeof refusal - 1), ignored);
          socket.close(ignored);
        } else {
          ++open;
          std::make_shared<Connection>(std::move(socket), handler, limits, open)->Start();
        }
      }
      Accept();
    });
  }

  PageHandler& handler;
  HttpLimits limits;
  asio::io_context io;
  tcp::acceptor acceptor;
  asio::signal_set signals;
  std::atomic<size_t> open{0};
};

HttpServer::HttpServer(PageHandler& handler, const std::string& address, unsigned short port,
                       HttpLimits limits)
    : impl_(std::make_unique<Impl>(handler, limits)) {
  const tcp::endpoint endpoint(asio::ip::make_address(address), port);
  impl_->acceptor.open(endpoint.protocol());
  impl_->acceptor.set_option(asio::socket_base::reuse_address(true));
  impl_->acceptor.bind(endpoint);
  impl_->acceptor.listen(asio::socket_base::max_listen_connections);
}

HttpServer::~HttpServer() = default;

unsigned short HttpServer::Port() const { return impl_->acceptor.local_endpoint().port(); }

void HttpServer::Run() {
  impl_->signals.async_wait([this](beast::error_code ec, int) {
    if (!ec) Stop();
  });
  impl_->Accept();
  std::vector<std::thread> threads;
  for (unsigned i = 1; i < impl_->limits.threads; ++i) threads.emplace_back([this] { impl_->io.run(); });
  impl_->io.run();
  for (std::thread& t : threads) t.join();
}

void HttpServer::Stop() {
  asio::post(impl_->io, [this] {
    beast::error_code ignored;
    impl_->acceptor.close(ignored);
    impl_->signals.cancel(ignored);
    // Requests being handled finish (their transactions commit); the
    // threads then leave the loop.
    impl_->io.stop();
  });
}

}  // namespace kt::server
