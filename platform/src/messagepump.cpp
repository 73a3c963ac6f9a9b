#include "kintrail/platform/messagepump.h"

namespace kt {
namespace {

struct PumpSlot {
  ProcessMessagesCallback callback = nullptr;
  void* context = nullptr;
};

thread_local PumpSlot currentPump;

}  // namespace

void SetProcessMessagesCallback(ProcessMessagesCallback callback, void* context) {
  currentPump = {callback, context};
}

void ProcessPendingMessages() {
  // Copied first: the callback may replace itself while it runs.
  const PumpSlot pump = currentPump;
  if (pump.callback) pump.callback(pump.context);
}

}  // namespace kt
