#include "forms/modaldialog.h"

#include <QDialog>

namespace {
TModalDialogHandler& Handler() {
  static TModalDialogHandler handler;
  return handler;
}
}  // namespace

void SetModalDialogHandler(TModalDialogHandler handler) {
  Handler() = std::move(handler);
}

int ExecModal(QDialog& dialog) {
  if (Handler()) return Handler()(dialog);
  return dialog.exec();
}
