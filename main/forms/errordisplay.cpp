#include "forms/errordisplay.h"

#include <stdexcept>

#include "forms/messageboxes.h"

namespace {
TExceptionHandler& Handler() {
  static TExceptionHandler handler;
  return handler;
}
}  // namespace

void SetApplicationExceptionHandler(TExceptionHandler handler) {
  Handler() = std::move(handler);
}

void HandleApplicationException(std::exception_ptr error) {
  if (Handler())
    Handler()(error);
  else
    ShowStandardExceptionDisplay(error);
}

void ShowStandardExceptionDisplay(std::exception_ptr error) {
  try {
    std::rethrow_exception(error);
  } catch (const std::exception& e) {
    ShowErrorMessage(std::string(e.what()));
  } catch (...) {
    ShowErrorMessage(std::string("Unknown error"));
  }
}
