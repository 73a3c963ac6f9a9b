#pragma once
// The shipped kintrail-server binary started on a free loopback port with a
// temporary database, and a raw HTTP client that sends exactly the bytes given.
#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace kt::server::testing {

std::string ServerBinary();
std::string TownsFixture();

// Runs the binary with `args` to completion; returns its exit status.
int RunServerCommand(const std::vector<std::string>& args, const std::string& input, std::string* output = nullptr);

class ServerProcess {
public:
  // Starts `kintrail-server --db DB --listen 127.0.0.1:0 --gazetteer TOWNS extra...`
  // and waits until it listens.
  explicit ServerProcess(std::filesystem::path database, std::vector<std::string> extra = {});
  ~ServerProcess();
  ServerProcess(const ServerProcess&) = delete;
  ServerProcess& operator=(const ServerProcess&) = delete;

  unsigned short Port() const { return port_; }
  const std::filesystem::path& Database() const { return database_; }
  pid_t Pid() const { return pid_; }
  // Sends SIGKILL (or `signal`) and waits; returns the exit status or -signal.
  int Stop(int signal = 15);
  std::string ErrorOutput() const;

private:
  std::filesystem::path database_;
  std::filesystem::path logDir_;
  pid_t pid_ = -1;
  unsigned short port_ = 0;
};

struct HttpReply {
  int status = 0;
  std::string headers;  // the raw header block
  std::string body;
  std::string Header(const std::string& name) const;  // first value, "" when absent
  std::vector<std::string> Headers(const std::string& name) const;
};

// A TCP connection to 127.0.0.1:port, or -1.
int ConnectLoopback(unsigned short port);
// Connects to 127.0.0.1:port, sends `raw`, reads until the server closes.
HttpReply SendRaw(unsigned short port, const std::string& raw,
                  std::chrono::milliseconds timeout = std::chrono::milliseconds(20000));
// A request in the client's wire form: HTTP/1.0, its headers in its order.
std::string ClientRequest(const std::string& method, const std::string& path, const std::string& body,
                          const std::string& cookie);

// A client session: the cookie text it accumulates, posts in the wire form.
class TestClient {
public:
  explicit TestClient(unsigned short port) : port_(port) {}
  HttpReply Post(const std::string& path, const std::string& body);
  HttpReply Get(const std::string& path);
  // Posts the connect document; keeps the cookie as the client does.
  HttpReply Connect(const std::string& login, const std::string& password,
                    const std::string& version = "major='0' minor='2' release='1' build='0'");
  std::string& Cookie() { return cookie_; }

private:
  void TakeCookies(const HttpReply& reply);
  unsigned short port_;
  std::string cookie_;
};

std::string Gzip(const std::string& data, int level = 9);

}  // namespace kt::server::testing
