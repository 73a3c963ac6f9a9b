#pragma once
// "Process the calling thread's pending window messages": a callback that a
// host installs per thread (Qt programs call QCoreApplication::processEvents).

namespace kt {

using ProcessMessagesCallback = void (*)(void* context);

// Installs the callback for the calling thread; nullptr removes it.
void SetProcessMessagesCallback(ProcessMessagesCallback callback, void* context = nullptr);

// Runs the calling thread's callback; does nothing without one.
void ProcessPendingMessages();

}  // namespace kt
