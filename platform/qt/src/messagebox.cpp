#include "kintrail/platform_qt/messagebox.h"

#include <QFileDialog>

namespace kt {
namespace {

MessageBoxHandler& MessageBoxOverride() {
  static MessageBoxHandler handler;
  return handler;
}

FileDialogHandler& FileDialogOverride() {
  static FileDialogHandler handler;
  return handler;
}

}  // namespace

void SetMessageBoxHandler(MessageBoxHandler handler) { MessageBoxOverride() = std::move(handler); }

void SetFileDialogHandler(FileDialogHandler handler) { FileDialogOverride() = std::move(handler); }

QMessageBox::StandardButton ShowMessageBox(const MessageBoxRequest& request) {
  if (const auto& handler = MessageBoxOverride()) return handler(request);
  QMessageBox box(request.icon, request.caption, request.text, request.buttons, request.parent);
  if (request.defaultButton != QMessageBox::NoButton) box.setDefaultButton(request.defaultButton);
  return static_cast<QMessageBox::StandardButton>(box.exec());
}

QString ShowFileDialog(const FileDialogRequest& request) {
  if (const auto& handler = FileDialogOverride()) return handler(request);
  QString start = request.folder;
  if (!request.fileName.isEmpty())
    start = start.isEmpty() ? request.fileName : start + "/" + request.fileName;
  if (request.kind == FileDialogRequest::Open)
    return QFileDialog::getOpenFileName(request.parent, request.caption, start, request.filter);
  return QFileDialog::getSaveFileName(request.parent, request.caption, start, request.filter);
}

}  // namespace kt
