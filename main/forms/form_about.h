#pragma once
// The about box, filled from the program's version strings.
#include <QDialog>

class QPlainTextEdit;
class QPushButton;
class QLabel;

class TFormAbout : public QDialog {
  Q_OBJECT
 public:
  explicit TFormAbout(QWidget* owner = nullptr);

  QLabel* Logo;
  QPlainTextEdit* About;
  QPushButton* BOK;
};
