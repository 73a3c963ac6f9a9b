// Stands for a shared library that processes the host's pending messages.
#include "kintrail/platform/messagepump.h"

extern "C" __attribute__((visibility("default"))) void PumpFromLibrary() {
  kt::ProcessPendingMessages();
}
