#pragma once
// Modal boxes and file dialogs through one replaceable function each, so that
// window tests answer them without a screen or a timer.
#include <QMessageBox>
#include <QString>
#include <functional>

class QWidget;

namespace kt {

struct MessageBoxRequest {
  QWidget* parent = nullptr;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QString caption;
  QString text;
  QMessageBox::StandardButtons buttons = QMessageBox::Ok;
  QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
};

// Shows a modal box (or asks the installed handler) and returns the button.
QMessageBox::StandardButton ShowMessageBox(const MessageBoxRequest& request);

using MessageBoxHandler = std::function<QMessageBox::StandardButton(const MessageBoxRequest&)>;
// Replaces the box; an empty handler restores the real one.
void SetMessageBoxHandler(MessageBoxHandler handler);

struct FileDialogRequest {
  enum Kind { Open, Save } kind = Open;
  QWidget* parent = nullptr;
  QString caption;
  QString folder;   // initial folder
  QString fileName; // initial name
  QString filter;   // "GEDCOM files (*.ged);;All files (*)"
};

// The chosen path, or an empty string when cancelled.
QString ShowFileDialog(const FileDialogRequest& request);

using FileDialogHandler = std::function<QString(const FileDialogRequest&)>;
void SetFileDialogHandler(FileDialogHandler handler);

}  // namespace kt
