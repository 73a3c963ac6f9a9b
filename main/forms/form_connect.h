#pragma once
// The login dialog: login and password, Connect, and the way to the account
// creation page for new users.
#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

class TFormConnect : public QDialog {
  Q_OBJECT
 public:
  explicit TFormConnect(QWidget* owner = nullptr);

  QLabel* Logo;
  QLabel* Label1;
  QLineEdit* EditLogin;
  QLabel* Label2;
  QLineEdit* EditPassword;
  QPushButton* ButtonConnect;
  QPushButton* ButtonCancel;
  QLabel* Label3;
  QPushButton* ButtonCreate;

  void ButtonConnectClick();
  void ButtonCreateClick();
};
