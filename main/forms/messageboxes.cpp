#include "forms/messageboxes.h"

#include <QApplication>
#include <QWidget>

#include "core/veskmessage.h"
#include "kintrail/platform_qt/messagebox.h"

namespace {

QMessageBox::StandardButton Show(QMessageBox::Icon icon, const std::string& text,
                                 QMessageBox::StandardButtons buttons,
                                 QMessageBox::StandardButton defaultButton) {
  kt::MessageBoxRequest request;
  request.parent = QApplication::activeWindow();
  request.icon = icon;
  request.caption = QString::fromStdString(LoadMessage(msg::Caption));
  request.text = QString::fromStdString(text);
  request.buttons = buttons;
  request.defaultButton = defaultButton;
  return kt::ShowMessageBox(request);
}

}  // namespace

void ShowErrorMessage(const std::string& text) {
  Show(QMessageBox::Critical, text, QMessageBox::Ok, QMessageBox::Ok);
}
void ShowErrorMessage(uint16_t id) {
  ShowErrorMessage(LoadMessage(id));
}

void ShowWarningMessage(const std::string& text) {
  Show(QMessageBox::Warning, text, QMessageBox::Ok, QMessageBox::Ok);
}
void ShowWarningMessage(uint16_t id) {
  ShowWarningMessage(LoadMessage(id));
}

void ShowInfoMessage(const std::string& text) {
  Show(QMessageBox::Information, text, QMessageBox::Ok, QMessageBox::Ok);
}
void ShowInfoMessage(uint16_t id) {
  ShowInfoMessage(LoadMessage(id));
}

bool AskYesNo(const std::string& text) {
  return Show(QMessageBox::Question, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) ==
         QMessageBox::Yes;
}
bool AskYesNo(uint16_t id) {
  return AskYesNo(LoadMessage(id));
}
