#include "forms/form_connect.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/account.h"
#include "core/shell.h"
#include "core/veskconfig.h"
#include "core/veskglobals.h"
#include "core/veskmessage.h"
#include "core/webclientfactory.h"
#include "forms/artwork.h"
#include "forms/errordisplay.h"
#include "forms/messageboxes.h"

TFormConnect::TFormConnect(QWidget* owner) : QDialog(owner) {
  setObjectName("FormConnect");
  setWindowTitle("Kintrail");
  auto* layout = new QVBoxLayout(this);
  Logo = new QLabel(this);
  Logo->setObjectName("Logo");
  Logo->setPixmap(artwork::Logo());
  Logo->setAlignment(Qt::AlignCenter);
  layout->addWidget(Logo);

  auto* fields = new QGridLayout;
  Label1 = new QLabel("Login", this);
  Label1->setObjectName("Label1");
  EditLogin = new QLineEdit(this);
  EditLogin->setObjectName("EditLogin");
  Label2 = new QLabel("Password", this);
  Label2->setObjectName("Label2");
  EditPassword = new QLineEdit(this);
  EditPassword->setObjectName("EditPassword");
  EditPassword->setEchoMode(QLineEdit::Password);
  fields->addWidget(Label1, 0, 0);
  fields->addWidget(EditLogin, 0, 1);
  fields->addWidget(Label2, 1, 0);
  fields->addWidget(EditPassword, 1, 1);
  layout->addLayout(fields);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  ButtonConnect = new QPushButton("Connect", this);
  ButtonConnect->setObjectName("ButtonConnect");
  ButtonConnect->setDefault(true);
  ButtonCancel = new QPushButton("Cancel", this);
  ButtonCancel->setObjectName("ButtonCancel");
  buttons->addWidget(ButtonConnect);
  buttons->addWidget(ButtonCancel);
  layout->addLayout(buttons);

  auto* rule = new QFrame(this);
  rule->setFrameShape(QFrame::HLine);
  rule->setFrameShadow(QFrame::Sunken);
  layout->addWidget(rule);
  Label3 = new QLabel(
      "If you're using Kintrail for the first time, create your account now. It's fast and free.",
      this);
  Label3->setObjectName("Label3");
  Label3->setWordWrap(true);
  layout->addWidget(Label3);
  ButtonCreate = new QPushButton("Create my account...", this);
  ButtonCreate->setObjectName("ButtonCreate");
  ButtonCreate->setAutoDefault(false);
  layout->addWidget(ButtonCreate, 0, Qt::AlignHCenter);

  setTabOrder(EditLogin, EditPassword);
  setTabOrder(EditPassword, ButtonConnect);
  setTabOrder(ButtonConnect, ButtonCancel);
  setTabOrder(ButtonCancel, ButtonCreate);
  setFixedWidth(320);
  setFixedHeight(sizeHint().height());

  connect(ButtonConnect, &QPushButton::clicked, this,
          [this] { Guarded([this] { ButtonConnectClick(); }); });
  connect(ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(ButtonCreate, &QPushButton::clicked, this,
          [this] { Guarded([this] { ButtonCreateClick(); }); });

  EditLogin->setText(QString::fromStdString(Config().Account->Login));
  EditPassword->setText(QString::fromStdString(Config().Account->Password));
}

void TFormConnect::ButtonConnectClick() {
  ButtonConnect->setEnabled(false);
  Config().Account->Login = EditLogin->text().toStdString();
  Config().Account->Password = EditPassword->text().toStdString();
  try {
    Globals().WebClientFactory->Connect();
  } catch (const EUpdateNeededError&) {
    ButtonConnect->setEnabled(true);
    throw;  // the general error display offers the download page
  } catch (const ECouldNotConnectError&) {
    ShowWarningMessage(msg::UnableToLogIn);
    ButtonConnect->setEnabled(true);
    return;
  } catch (const std::exception&) {
    ShowWarningMessage(msg::CouldNotConnect);
    ButtonConnect->setEnabled(true);
    return;
  }
  ButtonConnect->setEnabled(true);
  accept();
}

void TFormConnect::ButtonCreateClick() {
  OpenWebFolder("register");
}
