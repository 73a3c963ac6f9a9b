#pragma once
// Drives every libcurl transfer of the process from the Qt event loop: one
// multi handle, stepped by a short timer while transfers run, and waited on
// (with the application's messages still processed) by synchronous calls.
//
// libcurl's callbacks only record what happened; the events are delivered to
// the web client after curl has returned, so a handler that processes
// messages or starts another transfer never re-enters libcurl.
#include <QObject>
#include <QTimer>
#include <chrono>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include <curl/curl.h>

class TWebClient;

struct TTransferEvent {
  enum Kind { SendBegin, SendData, SendEnd, DocBegin, DocData, DocEnd, SetCookie };
  Kind EventKind;
  int64_t Value = 0;
  std::string Text;
};

// One HTTP exchange: the easy handle and everything it needs, so that an
// abandoned asynchronous exchange can finish after its client is gone.
struct TTransfer {
  ~TTransfer();

  CURL* Easy = nullptr;
  curl_slist* Headers = nullptr;
  curl_slist* ProxyHeaders = nullptr;
  char ErrorBuffer[CURL_ERROR_SIZE] = {};

  bool IsPost = false;
  std::string SendBuffer;
  size_t SendOffset = 0;
  std::string Received;

  long StatusCode = 0;
  std::string ReasonPhrase;
  int64_t ContentLength = -1;
  int64_t HeaderContentLength = -1;
  bool HeadersComplete = false;
  bool SendBegun = false;
  bool SendEnded = false;

  bool Running = false;  // inside the multi handle
  bool Done = false;
  CURLcode Result = CURLE_OK;

  std::deque<TTransferEvent> Pending;
  bool Delivering = false;
  TWebClient* Client = nullptr;  // not owned; null once detached
  std::chrono::steady_clock::time_point DetachDeadline{};

  void Queue(TTransferEvent::Kind kind, int64_t value = 0, std::string text = {});
};

class TCurlDriver : public QObject {
 public:
  static TCurlDriver& Instance();
  ~TCurlDriver() override;

  void Start(const std::shared_ptr<TTransfer>& transfer);
  // Takes the transfer out of the multi handle; it counts as done, aborted.
  void Abort(TTransfer& transfer);
  // Blocks until the transfer is done and its events are delivered, stepping
  // the transfers and processing the application's pending messages.
  void WaitFor(const std::shared_ptr<TTransfer>& transfer);
  // The client goes away: an unfinished transfer is left to finish alone for
  // up to `grace` (the logout request is given its chance to reach the server).
  void Detach(const std::shared_ptr<TTransfer>& transfer, std::chrono::milliseconds grace);
  // Waits up to `limit` for detached transfers (at program exit).
  void FinishDetached(std::chrono::milliseconds limit);

  // One round: let curl work, collect finished transfers, deliver events.
  void Step();

 private:
  TCurlDriver();
  void Remove(TTransfer& transfer);
  void Deliver(const std::shared_ptr<TTransfer>& transfer);
  void UpdateTimer();

  CURLM* Multi = nullptr;
  std::unique_ptr<QTimer> Timer;
  std::vector<std::shared_ptr<TTransfer>> Active;
  bool Performing = false;
};
