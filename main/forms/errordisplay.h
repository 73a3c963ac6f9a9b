#pragma once
// Where an exception that no handler caught ends up: the main window's general
// error display once it is installed, else the standard display (a box with
// the exception's message).
#include <exception>
#include <functional>

using TExceptionHandler = std::function<void(std::exception_ptr)>;
void SetApplicationExceptionHandler(TExceptionHandler handler);
void HandleApplicationException(std::exception_ptr error);
void ShowStandardExceptionDisplay(std::exception_ptr error);

// Runs an event handler; what escapes it goes to the application's handler.
template <typename F>
void Guarded(F&& handler) {
  try {
    handler();
  } catch (...) {
    HandleApplicationException(std::current_exception());
  }
}
