#pragma once
// Every dialog of the client is shown modally through here, so that window
// tests can drive it (fill fields, click buttons) instead of a real loop.
#include <functional>

class QDialog;

// The dialog's result (QDialog::Accepted or Rejected).
int ExecModal(QDialog& dialog);

// Test hook: called instead of QDialog::exec; an empty function restores it.
using TModalDialogHandler = std::function<int(QDialog&)>;
void SetModalDialogHandler(TModalDialogHandler handler);
