#pragma once
// The configuration dialog: account, periodic request check, network.
#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QWidget;

class TFormConfig : public QDialog {
  Q_OBJECT
 public:
  explicit TFormConfig(QWidget* owner = nullptr);

  QTabWidget* PageControl;
  QWidget* TabSheetAccount;
  QWidget* TabSheetRequests;
  QWidget* TabSheetNetwork;
  QLineEdit* EditLogin;
  QLineEdit* EditPassword;
  QCheckBox* CheckBoxAutoUpdateEnabled;
  QSpinBox* CSpinEditAutoUpdateInterval;
  QLineEdit* EditServerURL;
  QLineEdit* EditProxyAddress;
  QLineEdit* EditProxyPort;
  QLineEdit* EditProxyUsername;
  QLineEdit* EditProxyPassword;
  QPushButton* ButtonOK;
  QPushButton* ButtonCancel;

  void ButtonOKClick();
  void CheckBoxAutoUpdateEnabledClick();
};
