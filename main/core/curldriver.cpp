#include "core/curldriver.h"

#include <QCoreApplication>
#include <algorithm>

#include "core/webclient.h"
#include "kintrail/platform/messagepump.h"

namespace {
constexpr int StepIntervalMs = 5;
constexpr int PollTimeoutMs = 10;
}  // namespace

TTransfer::~TTransfer() {
  if (Easy) curl_easy_cleanup(Easy);
  curl_slist_free_all(Headers);
  curl_slist_free_all(ProxyHeaders);
}

void TTransfer::Queue(TTransferEvent::Kind kind, int64_t value, std::string text) {
  Pending.push_back(TTransferEvent{kind, value, std::move(text)});
}

TCurlDriver& TCurlDriver::Instance() {
  static TCurlDriver driver;
  return driver;
}

TCurlDriver::TCurlDriver() {
  curl_global_init(CURL_GLOBAL_DEFAULT);
  Multi = curl_multi_init();
}

TCurlDriver::~TCurlDriver() {
  for (auto& transfer : Active) {
    if (transfer->Running) curl_multi_remove_handle(Multi, transfer->Easy);
    transfer->Running = false;
  }
  Active.clear();
  Timer.reset();
  curl_multi_cleanup(Multi);
  curl_global_cleanup();
}

void TCurlDriver::Start(const std::shared_ptr<TTransfer>& transfer) {
  curl_multi_add_handle(Multi, transfer->Easy);
  transfer->Running = true;
  Active.push_back(transfer);
  UpdateTimer();
}

void TCurlDriver::Remove(TTransfer& transfer) {
  if (transfer.Running) curl_multi_remove_handle(Multi, transfer.Easy);
  transfer.Running = false;
}

void TCurlDriver::Abort(TTransfer& transfer) {
  if (transfer.Done) return;
  Remove(transfer);
  transfer.Done = true;
  transfer.Result = CURLE_ABORTED_BY_CALLBACK;
  transfer.Pending.clear();
  Active.erase(std::remove_if(Active.begin(), Active.end(),
                              [&](const auto& item) { return item.get() == &transfer; }),
               Active.end());
  UpdateTimer();
}

void TCurlDriver::Step() {
  if (!Performing) {
    Performing = true;
    int running = 0;
    curl_multi_perform(Multi, &running);
    int queued = 0;
    while (CURLMsg* message = curl_multi_info_read(Multi, &queued)) {
      if (message->msg != CURLMSG_DONE) continue;
      for (auto& transfer : Active) {
        if (transfer->Easy != message->easy_handle) continue;
        transfer->Result = message->data.result;
        if (transfer->Result == CURLE_OK && transfer->HeadersComplete)
          transfer->Queue(TTransferEvent::DocEnd);
        transfer->Done = true;
      }
    }
    for (auto& transfer : Active) {
      if (transfer->Done) Remove(*transfer);
    }
    Performing = false;
  }
  // Deliver on a copy: a handler may start or end transfers.
  const auto snapshot = Active;
  for (const auto& transfer : snapshot) Deliver(transfer);
  const auto now = std::chrono::steady_clock::now();
  Active.erase(std::remove_if(Active.begin(), Active.end(),
                              [&](const std::shared_ptr<TTransfer>& transfer) {
                                if (transfer->Delivering) return false;
                                if (transfer->Client == nullptr && !transfer->Done &&
                                    now > transfer->DetachDeadline) {
                                  Remove(*transfer);
                                  return true;
                                }
                                return transfer->Done && transfer->Pending.empty();
                              }),
               Active.end());
  UpdateTimer();
}

void TCurlDriver::Deliver(const std::shared_ptr<TTransfer>& transfer) {
  if (transfer->Delivering) return;  // an outer round is delivering its events in order
  transfer->Delivering = true;
  while (!transfer->Pending.empty()) {
    const TTransferEvent event = std::move(transfer->Pending.front());
    transfer->Pending.pop_front();
    if (transfer->Client) transfer->Client->DeliverTransferEvent(event);
  }
  transfer->Delivering = false;
}

void TCurlDriver::WaitFor(const std::shared_ptr<TTransfer>& transfer) {
  for (;;) {
    Step();
    if (transfer->Done && transfer->Pending.empty() && !transfer->Delivering) return;
    if (!transfer->Running && !transfer->Done) return;  // removed without finishing
    curl_multi_poll(Multi, nullptr, 0, PollTimeoutMs, nullptr);
    kt::ProcessPendingMessages();
  }
}

void TCurlDriver::Detach(const std::shared_ptr<TTransfer>& transfer,
                         std::chrono::milliseconds grace) {
  transfer->Client = nullptr;
  transfer->Pending.clear();
  transfer->DetachDeadline = std::chrono::steady_clock::now() + grace;
}

void TCurlDriver::FinishDetached(std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < deadline) {
    const bool waiting = std::any_of(Active.begin(), Active.end(), [](const auto& transfer) {
      return transfer->Client == nullptr && !transfer->Done;
    });
    if (!waiting) return;
    curl_multi_poll(Multi, nullptr, 0, PollTimeoutMs, nullptr);
    Step();
  }
}

void TCurlDriver::UpdateTimer() {
  if (!QCoreApplication::instance()) return;
  if (!Timer) {
    Timer = std::make_unique<QTimer>();
    Timer->setInterval(StepIntervalMs);
    QObject::connect(Timer.get(), &QTimer::timeout, [this] { Step(); });
  }
  if (Active.empty())
    Timer->stop();
  else if (!Timer->isActive())
    Timer->start();
}
