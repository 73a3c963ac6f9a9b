#include "forms/form_config.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "core/account.h"
#include "core/requestchecker.h"
#include "core/veskconfig.h"
#include "core/veskglobals.h"
#include "core/veskmessage.h"
#include "core/webclientfactory.h"
#include "forms/errordisplay.h"
#include "forms/messageboxes.h"

namespace {

constexpr int MinInterval = 1;
constexpr int MaxInterval = 120;

QLabel* NamedLabel(const char* name, const char* text, QWidget* parent, bool wrap = false) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  label->setWordWrap(wrap);
  return label;
}

QLineEdit* NamedEdit(const char* name, QWidget* parent, bool password = false) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(name);
  if (password) edit->setEchoMode(QLineEdit::Password);
  return edit;
}

QString Q(const std::string& text) {
  return QString::fromStdString(text);
}

}  // namespace

TFormConfig::TFormConfig(QWidget* owner) : QDialog(owner) {
  setObjectName("FormConfig");
  setWindowTitle("Configuration");
  auto* layout = new QVBoxLayout(this);
  PageControl = new QTabWidget(this);
  PageControl->setObjectName("PageControl");
  layout->addWidget(PageControl);

  TabSheetAccount = new QWidget;
  TabSheetAccount->setObjectName("TabSheetAccount");
  auto* account = new QFormLayout(TabSheetAccount);
  account->addRow(NamedLabel("Label10",
                             "This is the connection information to connect to Kintrail. Use the "
                             "login and password you entered when you created your account.",
                             TabSheetAccount, true));
  EditLogin = NamedEdit("EditLogin", TabSheetAccount);
  EditPassword = NamedEdit("EditPassword", TabSheetAccount, true);
  account->addRow(NamedLabel("Label1", "Login", TabSheetAccount), EditLogin);
  account->addRow(NamedLabel("Label2", "Password", TabSheetAccount), EditPassword);
  PageControl->addTab(TabSheetAccount, "Account");

  TabSheetRequests = new QWidget;
  TabSheetRequests->setObjectName("TabSheetRequests");
  auto* requests = new QFormLayout(TabSheetRequests);
  requests->addRow(NamedLabel(
      "Label9", "Kintrail can regularly check for changes in requests you send or receive.",
      TabSheetRequests, true));
  CheckBoxAutoUpdateEnabled = new QCheckBox("Enable regular check", TabSheetRequests);
  CheckBoxAutoUpdateEnabled->setObjectName("CheckBoxAutoUpdateEnabled");
  requests->addRow(CheckBoxAutoUpdateEnabled);
  CSpinEditAutoUpdateInterval = new QSpinBox(TabSheetRequests);
  CSpinEditAutoUpdateInterval->setObjectName("CSpinEditAutoUpdateInterval");
  CSpinEditAutoUpdateInterval->setRange(MinInterval, MaxInterval);
  requests->addRow(NamedLabel("Label8", "Check period (in minutes)", TabSheetRequests),
                   CSpinEditAutoUpdateInterval);
  PageControl->addTab(TabSheetRequests, "Requests");

  TabSheetNetwork = new QWidget;
  TabSheetNetwork->setObjectName("TabSheetNetwork");
  auto* network = new QVBoxLayout(TabSheetNetwork);
  auto* warning = new QHBoxLayout;
  QLabel* warningTitle = NamedLabel("Label12", "Warning :", TabSheetNetwork);
  QFont bold = warningTitle->font();
  bold.setBold(true);
  warningTitle->setFont(bold);
  warning->addWidget(warningTitle, 0, Qt::AlignTop);
  warning->addWidget(NamedLabel("Label11",
                                "Modifying information here may prevent you from connecting to "
                                "Kintrail.",
                                TabSheetNetwork, true),
                     1);
  network->addLayout(warning);
  auto* server = new QFormLayout;
  EditServerURL = NamedEdit("EditServerURL", TabSheetNetwork);
  server->addRow(NamedLabel("Label3", "Server", TabSheetNetwork), EditServerURL);
  network->addLayout(server);
  auto* proxyGroup = new QGroupBox("Proxy", TabSheetNetwork);
  proxyGroup->setObjectName("GroupBoxProxy");
  auto* proxy = new QFormLayout(proxyGroup);
  EditProxyAddress = NamedEdit("EditProxyAddress", proxyGroup);
  EditProxyPort = NamedEdit("EditProxyPort", proxyGroup);
  EditProxyUsername = NamedEdit("EditProxyUsername", proxyGroup);
  EditProxyPassword = NamedEdit("EditProxyPassword", proxyGroup, true);
  proxy->addRow(NamedLabel("Label4", "Address", proxyGroup), EditProxyAddress);
  proxy->addRow(NamedLabel("Label5", "Port", proxyGroup), EditProxyPort);
  proxy->addRow(NamedLabel("Label6", "Username", proxyGroup), EditProxyUsername);
  proxy->addRow(NamedLabel("Label7", "Password", proxyGroup), EditProxyPassword);
  network->addWidget(proxyGroup);
  network->addStretch();
  PageControl->addTab(TabSheetNetwork, "Network");

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  ButtonOK = new QPushButton("OK", this);
  ButtonOK->setObjectName("ButtonOK");
  ButtonOK->setDefault(true);
  ButtonCancel = new QPushButton("Cancel", this);
  ButtonCancel->setObjectName("ButtonCancel");
  buttons->addWidget(ButtonOK);
  buttons->addWidget(ButtonCancel);
  layout->addLayout(buttons);
  setFixedSize(420, 340);

  connect(ButtonOK, &QPushButton::clicked, this, [this] { Guarded([this] { ButtonOKClick(); }); });
  connect(ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(CheckBoxAutoUpdateEnabled, &QCheckBox::clicked, this,
          [this] { Guarded([this] { CheckBoxAutoUpdateEnabledClick(); }); });

  const TVeskConfig& config = Config();
  PageControl->setCurrentIndex(0);
  EditLogin->setText(Q(config.Account->Login));
  EditPassword->setText(Q(config.Account->Password));
  EditServerURL->setText(Q(config.Server));
  EditProxyAddress->setText(Q(config.ProxyAddress));
  EditProxyPort->setText(Q(config.ProxyPort));
  EditProxyUsername->setText(Q(config.ProxyUsername));
  EditProxyPassword->setText(Q(config.ProxyPassword));
  CheckBoxAutoUpdateEnabled->setChecked(config.RequestChecker->Enabled());
  CSpinEditAutoUpdateInterval->setValue(
      config.RequestChecker->IntervalMinutes());  // clamps to 1..120
  CheckBoxAutoUpdateEnabledClick();
}

void TFormConfig::CheckBoxAutoUpdateEnabledClick() {
  CSpinEditAutoUpdateInterval->setEnabled(CheckBoxAutoUpdateEnabled->isChecked());
}

void TFormConfig::ButtonOKClick() {
  TVeskConfig& config = Config();
  const std::pair<QLineEdit*, std::string*> fields[] = {
      {EditLogin, &config.Account->Login},       {EditPassword, &config.Account->Password},
      {EditServerURL, &config.Server},           {EditProxyAddress, &config.ProxyAddress},
      {EditProxyPort, &config.ProxyPort},        {EditProxyUsername, &config.ProxyUsername},
      {EditProxyPassword, &config.ProxyPassword}};
  bool changed = false;
  for (const auto& [edit, value] : fields)
    changed = changed || edit->text().toStdString() != *value;
  const bool reconnect = Globals().WebClientFactory->IsConnected() && changed;
  for (const auto& [edit, value] : fields) *value = edit->text().toStdString();

  CSpinEditAutoUpdateInterval->interpretText();  // a number typed but not yet taken
  config.RequestChecker->SetEnabled(CheckBoxAutoUpdateEnabled->isChecked());
  config.RequestChecker->SetIntervalMinutes(CSpinEditAutoUpdateInterval->value());
  config.Save();
  if (reconnect) ShowInfoMessage(msg::NeedReconnect);
  accept();
}
