#include "kintrail/platform/messagepump.h"

#include <thread>

#include <gtest/gtest.h>

TEST(MessagePump, CallbackIsPerThreadAndOptional) {
  kt::ProcessPendingMessages();  // nothing installed: nothing happens
  int calls = 0;
  kt::SetProcessMessagesCallback([](void* context) { ++*static_cast<int*>(context); }, &calls);
  kt::ProcessPendingMessages();
  kt::ProcessPendingMessages();
  EXPECT_EQ(calls, 2);

  std::thread other([] { kt::ProcessPendingMessages(); });  // another thread has none
  other.join();
  EXPECT_EQ(calls, 2);

  kt::SetProcessMessagesCallback(nullptr);
  kt::ProcessPendingMessages();
  EXPECT_EQ(calls, 2);
}

extern "C" void PumpFromLibrary();

TEST(MessagePump, SharedLibrariesReachTheProgramsCallback) {
  int calls = 0;
  kt::SetProcessMessagesCallback([](void* context) { ++*static_cast<int*>(context); }, &calls);
  PumpFromLibrary();
  EXPECT_EQ(calls, 1);
  kt::SetProcessMessagesCallback(nullptr);
  PumpFromLibrary();
  EXPECT_EQ(calls, 1);
}
