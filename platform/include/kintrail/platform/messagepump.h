#pragma once
// "Process the calling thread's pending window messages": a callback that a
// host installs per thread (Qt programs call QCoreApplication::processEvents).

// One instance per process: the functions live in a small shared library, so
// a callback the program installs also reaches the shared libraries that pump
// (each of them links the static platform layer too).
#define KT_MESSAGEPUMP_API __attribute__((visibility("default")))

namespace kt {

using ProcessMessagesCallback = void (*)(void* context);

// Installs the callback for the calling thread; nullptr removes it.
KT_MESSAGEPUMP_API void SetProcessMessagesCallback(ProcessMessagesCallback callback, void* context = nullptr);

// Runs the calling thread's callback; does nothing without one.
KT_MESSAGEPUMP_API void ProcessPendingMessages();

}  // namespace kt
