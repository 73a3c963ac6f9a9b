#pragma once
// A loopback HTTP server for the client's tests: it records the raw bytes of
// every request it receives and answers each one through a handler.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct RecordedRequest {
  std::string Raw;     // request line, headers and body, byte for byte
  std::string Method;  // "POST"
  std::string Target;  // "/ping.asp" (the full address through a proxy)
  std::string Body;
  std::string HeaderBlock() const { return Raw.substr(0, Raw.find("\r\n\r\n") + 4); }
};

class RecordingServer {
 public:
  // Returns the whole raw reply; may sleep to play a slow server.
  using Handler = std::function<std::string(const RecordedRequest&)>;

  explicit RecordingServer(Handler handler = {});
  ~RecordingServer();

  int Port() const { return Port_; }
  // "http://127.0.0.1:<port>"
  std::string Url() const;
  void SetHandler(Handler handler);
  std::vector<RecordedRequest> Requests() const;
  size_t RequestCount() const;
  // Requests whose target ends with `page`.
  std::vector<RecordedRequest> RequestsFor(const std::string& page) const;

  // "HTTP/1.0 <status> <reason>" with Content-Length, the extra header lines
  // (without line ends) and `body`.
  static std::string Reply(const std::string& body, int status = 200,
                           const std::string& reason = "OK",
                           const std::vector<std::string>& headers = {});

 private:
  void AcceptLoop();
  void Serve(int socket);

  int Listener_ = -1;
  int Port_ = 0;
  std::atomic<bool> Stopping_{false};
  std::thread Acceptor_;
  mutable std::mutex Mutex_;
  std::vector<std::thread> Workers_;
  std::vector<RecordedRequest> Requests_;
  Handler Handler_;
};

// Processes the application's events until `condition` holds or `timeout`
// passes; returns the condition's last value.
bool WaitUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds timeout = std::chrono::seconds(10));
