#include "recordingserver.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <strings.h>
#include <sys/socket.h>
#include <unistd.h>
#include <QCoreApplication>
#include <QThread>

namespace {

size_t ContentLengthOf(const std::string& headers) {
  size_t pos = 0;
  while ((pos = headers.find("\r\n", pos)) != std::string::npos) {
    pos += 2;
    if (strncasecmp(headers.c_str() + pos, "Content-Length:", 15) == 0)
      return std::stoul(headers.substr(pos + 15));
  }
  return 0;
}

}  // namespace

RecordingServer::RecordingServer(Handler handler) : Handler_(std::move(handler)) {
  Listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
  int yes = 1;
  ::setsockopt(Listener_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ::bind(Listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
  ::listen(Listener_, 16);
  socklen_t length = sizeof address;
  ::getsockname(Listener_, reinterpret_cast<sockaddr*>(&address), &length);
  Port_ = ntohs(address.sin_port);
  Acceptor_ = std::thread([this] { AcceptLoop(); });
}

RecordingServer::~RecordingServer() {
  Stopping_ = true;
  Acceptor_.join();
  ::close(Listener_);
  std::vector<std::thread> workers;
  {
    std::lock_guard lock(Mutex_);
    workers.swap(Workers_);
  }
  for (auto& worker : workers) worker.join();
}

std::string RecordingServer::Url() const {
  return "http://127.0.0.1:" + std::to_string(Port_);
}

void RecordingServer::SetHandler(Handler handler) {
  std::lock_guard lock(Mutex_);
  Handler_ = std::move(handler);
}

std::vector<RecordedRequest> RecordingServer::Requests() const {
  std::lock_guard lock(Mutex_);
  return Requests_;
}

size_t RecordingServer::RequestCount() const {
  std::lock_guard lock(Mutex_);
  return Requests_.size();
}

std::vector<RecordedRequest> RecordingServer::RequestsFor(const std::string& page) const {
  std::vector<RecordedRequest> found;
  for (const auto& request : Requests()) {
    if (request.Target.size() >= page.size() &&
        request.Target.compare(request.Target.size() - page.size(), page.size(), page) == 0)
      found.push_back(request);
  }
  return found;
}

std::string RecordingServer::Reply(const std::string& body, int status, const std::string& reason,
                                   const std::vector<std::string>& headers) {
  std::string reply = "HTTP/1.0 " + std::to_string(status) + " " + reason + "\r\n";
  reply += "Content-Type: text/xml\r\n";
  for (const auto& header : headers) reply += header + "\r\n";
  reply += "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
  return reply;
}

void RecordingServer::AcceptLoop() {
  while (!Stopping_) {
    pollfd descriptor{Listener_, POLLIN, 0};
    if (::poll(&descriptor, 1, 50) <= 0) continue;
    const int socket = ::accept(Listener_, nullptr, nullptr);
    if (socket < 0) continue;
    std::lock_guard lock(Mutex_);
    Workers_.emplace_back([this, socket] { Serve(socket); });
  }
}

void RecordingServer::Serve(int socket) {
  std::string raw;
  char buffer[4096];
  size_t headerEnd = std::string::npos;
  size_t wanted = 0;
  while (!Stopping_) {
    pollfd descriptor{socket, POLLIN, 0};
    if (::poll(&descriptor, 1, 50) <= 0) continue;
    const ssize_t n = ::recv(socket, buffer, sizeof buffer, 0);
    if (n <= 0) break;
    raw.append(buffer, static_cast<size_t>(n));
    if (headerEnd == std::string::npos) {
      headerEnd = raw.find("\r\n\r\n");
      if (headerEnd != std::string::npos)
        wanted = headerEnd + 4 + ContentLengthOf(raw.substr(0, headerEnd + 2));
    }
    if (headerEnd != std::string::npos && raw.size() >= wanted) break;
  }
  if (raw.empty()) {
    ::close(socket);
    return;
  }
  RecordedRequest request;
  request.Raw = raw;
  const size_t space1 = raw.find(' ');
  const size_t space2 = raw.find(' ', space1 + 1);
  if (space1 != std::string::npos && space2 != std::string::npos) {
    request.Method = raw.substr(0, space1);
    request.Target = raw.substr(space1 + 1, space2 - space1 - 1);
  }
  if (headerEnd != std::string::npos) request.Body = raw.substr(headerEnd + 4);
  Handler handler;
  {
    std::lock_guard lock(Mutex_);
    Requests_.push_back(request);
    handler = Handler_;
  }
  const std::string reply = handler ? handler(request) : Reply("<ok/>");
  size_t sent = 0;
  while (sent < reply.size()) {
    const ssize_t n = ::send(socket, reply.data() + sent, reply.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) break;
    sent += static_cast<size_t>(n);
  }
  ::shutdown(socket, SHUT_WR);
  ::close(socket);
}

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QThread::msleep(2);
  }
  return true;
}
