#include "forms/form_main.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QStackedWidget>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QWindowStateChangeEvent>
#include <typeinfo>

#include "core/account.h"
#include "core/connectedwebclient.h"
#include "core/requestchecker.h"
#include "core/shell.h"
#include "core/veskconfig.h"
#include "core/veskglobals.h"
#include "core/veskmessage.h"
#include "core/webclientfactory.h"
#include "forms/artwork.h"
#include "forms/errordisplay.h"
#include "forms/featurepages.h"
#include "forms/form_about.h"
#include "forms/form_config.h"
#include "forms/form_connect.h"
#include "forms/form_news.h"
#include "forms/messageboxes.h"
#include "forms/modaldialog.h"

TFormMain* FormMain = nullptr;

namespace {
QString Message(uint16_t id) {
  return QString::fromStdString(LoadMessage(id));
}
constexpr int SpeedButtonWidth = 120;
constexpr int StatusPanelWidth = 50;
}  // namespace

QAction* TFormMain::MakeAction(const char* name, const QString& caption,
                               void (TFormMain::*handler)()) {
  auto* action = new QAction(caption, this);
  action->setObjectName(name);
  connect(action, &QAction::triggered, this,
          [this, handler] { Guarded([this, handler] { (this->*handler)(); }); });
  return action;
}

QToolButton* TFormMain::MakeSpeedButton(const char* name, const QString& caption, int image,
                                        QWidget* (*page)()) {
  auto* button = new QToolButton(ToolBar);
  button->setObjectName(name);
  button->setText(caption);
  button->setIcon(ImageList[image]);
  button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
  button->setCheckable(true);
  button->setAutoRaise(true);
  button->setFixedWidth(SpeedButtonWidth);
  SpeedButtons->addButton(button);
  ToolBar->addWidget(button);
  connect(button, &QToolButton::clicked, this,
          [this, page] { Guarded([this, page] { ShowPage(page()); }); });
  return button;
}

TFormMain::TFormMain(QWidget* parent) : QMainWindow(parent) {
  // 1. The controls.
  setObjectName("FormMain");
  setWindowTitle("Kintrail");
  ImageList = artwork::ImageList();
  setWindowIcon(QIcon(artwork::ApplicationIcon()));
  resize(800, 600);
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());

  ActionQuit = MakeAction("ActionQuit", "Quit", &TFormMain::ActionQuitExecute);
  ActionQuit->setShortcut(QKeySequence("Ctrl+Q"));
  ActionQuit->setShortcutContext(Qt::ApplicationShortcut);
  addAction(ActionQuit);
  ActionConnect = MakeAction("ActionConnect", "Connect...", &TFormMain::ActionConnectExecute);
  ActionDisconnect =
      MakeAction("ActionDisconnect", "Disconnect", &TFormMain::ActionDisconnectExecute);
  ActionDisconnect->setEnabled(false);
  ActionConfig = MakeAction("ActionConfig", "Configuration", &TFormMain::ActionConfigExecute);
  ActionRestore = MakeAction("ActionRestore", "Restore", &TFormMain::ActionRestoreExecute);
  ActionAbout = MakeAction("ActionAbout", "About", &TFormMain::ActionAboutExecute);
  ActionWebWhatsNew =
      MakeAction("ActionWebWhatsNew", "What's new?", &TFormMain::ActionWebWhatsNewExecute);
  ActionWebHelp = MakeAction("ActionWebHelp", "Web Help", &TFormMain::ActionWebHelpExecute);
  ActionWebSupport =
      MakeAction("ActionWebSupport", "Web Support", &TFormMain::ActionWebSupportExecute);
  ActionLaunchViewer = MakeAction("ActionLaunchViewer", "Launch gedcom viewer",
                                  &TFormMain::ActionLaunchViewerExecute);

  menuBar()->setObjectName("MainMenu");
  MenuFile = menuBar()->addMenu("File");
  MenuFile->setObjectName("MenuFile");
  MenuFile->addAction(ActionConnect);
  MenuFile->addAction(ActionDisconnect);
  MenuFile->addSeparator();
  MenuFile->addAction(ActionLaunchViewer);
  MenuFile->addSeparator();
  MenuFile->addAction(ActionQuit);
  MenuOptions = menuBar()->addMenu("Options");
  MenuOptions->setObjectName("MenuOptions");
  MenuOptions->addAction(ActionConfig);
  MenuHelp = menuBar()->addMenu("?");
  MenuHelp->setObjectName("MenuHelp");
  MenuHelp->addAction(ActionWebWhatsNew);
  MenuHelp->addAction(ActionWebHelp);
  MenuHelp->addAction(ActionWebSupport);
  MenuHelp->addSeparator();
  MenuHelp->addAction(ActionAbout);

  ToolBar = new QToolBar("ToolBar", this);
  ToolBar->setObjectName("ToolBar");
  ToolBar->setMovable(false);
  ToolBar->setFloatable(false);
  ToolBar->setIconSize(QSize(24, 24));
  addToolBar(Qt::TopToolBarArea, ToolBar);
  SpeedButtons = new QButtonGroup(this);
  SpeedButtons->setExclusive(true);
  SpeedButtonNews =
      MakeSpeedButton("SpeedButtonNews", "News", 0, [] { return static_cast<QWidget*>(FormNews); });
  ToolBar->addSeparator();
  SpeedButtonWorldSearch = MakeSpeedButton("SpeedButtonWorldSearch", "World search", 1,
                                           [] { return static_cast<QWidget*>(FormWorldSearch); });
  ToolBar->addSeparator();
  SpeedButtonAdvancedSearch =
      MakeSpeedButton("SpeedButtonAdvancedSearch", "Advanced search", 2,
                      [] { return static_cast<QWidget*>(FormAdvancedSearch); });
  ToolBar->addSeparator();
  SpeedButtonSharedGedcoms = MakeSpeedButton("SpeedButtonSharedGedcoms", "Shared gedcoms", 3, [] {
    return static_cast<QWidget*>(FormSharedGedcoms);
  });
  ToolBar->addSeparator();
  SpeedButtonRequests = MakeSpeedButton("SpeedButtonRequests", "Requests", 6,
                                        [] { return static_cast<QWidget*>(FormRequests); });
  SpeedButtonNews->setChecked(true);

  PageArea = new QStackedWidget(this);
  PageArea->setObjectName("PageArea");
  PageArea->setContentsMargins(2, 2, 2, 2);
  setCentralWidget(PageArea);

  statusBar()->setObjectName("StatusBar");
  StatusPanel0 = new QLabel(this);
  StatusPanel0->setObjectName("StatusPanel0");
  StatusPanel0->setMinimumWidth(StatusPanelWidth);
  StatusPanel1 = new QLabel(this);
  StatusPanel1->setObjectName("StatusPanel1");
  StatusPanel1->setMinimumWidth(StatusPanelWidth);
  statusBar()->addWidget(StatusPanel0);
  statusBar()->addWidget(StatusPanel1, 1);

  PopupMenuTray = new QMenu(this);
  PopupMenuTray->setObjectName("PopupMenuTray");
  PopupMenuTray->addAction(ActionQuit);
  PopupMenuTray->addAction(ActionRestore);
  PopupMenuTray->setDefaultAction(ActionRestore);
  TrayIcon = new QSystemTrayIcon(this);
  TrayIcon->setObjectName("TrayIcon");
  TrayIcon->setToolTip("Kintrail");
  TrayIcon->setContextMenu(PopupMenuTray);
  SetTrayIcon(artwork::TrayOffline);
  connect(TrayIcon, &QSystemTrayIcon::activated, this,
          [this](QSystemTrayIcon::ActivationReason reason) {
            if (reason == QSystemTrayIcon::Trigger) Guarded([this] { ActionRestoreExecute(); });
          });
  if (QSystemTrayIcon::isSystemTrayAvailable()) TrayIcon->show();

  // 2. The configuration.
  Config().Load(Globals().Parser.get());
  TWebClientFactory& session = *Globals().WebClientFactory;

  // 3, 4. Start in the tray; open the session at once.
  if (Params().HasParam("minimized")) setWindowState(Qt::WindowMinimized);
  AutoConnect = Params().HasParam("autoconnect");
  if (AutoConnect) {
    CopySettingsToSession();
    try {
      session.Connect();
    } catch (...) {
      // The automatic connection fails silently; the menu still connects.
    }
  }

  // 5. The general error display.
  SetApplicationExceptionHandler([this](std::exception_ptr error) { ApplicationException(error); });

  // 6. The request checker's notifications.
  TRequestChecker* checker = Config().RequestChecker.get();
  connect(checker, &TRequestChecker::OnChanged, this,
          [this] { Guarded([this] { RequestCheckerChanged(); }); });
  connect(checker, &TRequestChecker::OnStarted, this, &TFormMain::RequestCheckerStarted);
  connect(checker, &TRequestChecker::OnFinished, this, &TFormMain::RequestCheckerFinished);

  // 7. The session's notifications.
  session.OnConnect = [this](TWebClientFactory*) { WebClientFactoryConnect(); };
  session.OnDisconnect = [this](TWebClientFactory*) { WebClientFactoryDisconnect(); };

  // A session opened above was opened before anyone listened and before the
  // pages existed: show it once the start-up has built every window.
  if (AutoConnect && session.IsConnected())
    QTimer::singleShot(0, this, [this] {
      if (Globals().WebClientFactory->IsConnected()) Guarded([this] { WebClientFactoryConnect(); });
    });
}

TFormMain::~TFormMain() {
  SetApplicationExceptionHandler(nullptr);
  TWebClientFactory& session = *Globals().WebClientFactory;
  session.OnConnect = nullptr;
  session.OnDisconnect = nullptr;
}

void TFormMain::ShowPage(QWidget* window) {
  if (!window) return;
  if (PageArea->indexOf(window) < 0) {
    window->setWindowFlags(Qt::Widget);
    PageArea->addWidget(window);
  }
  PageArea->setCurrentWidget(window);
  window->show();
}

QWidget* TFormMain::CurrentPage() const {
  return PageArea->currentWidget();
}

QString TFormMain::StatusText(int panel) const {
  return (panel == 0 ? StatusPanel0 : StatusPanel1)->text();
}

void TFormMain::SetStatus(QLabel* panel, const QString& text) {
  panel->setText(text);
  panel->repaint();
}

void TFormMain::SetTrayIcon(int index) {
  TrayIconIndex_ = index;
  TrayIcon->setIcon(ImageList[static_cast<size_t>(index)]);
}

void TFormMain::CopySettingsToSession() {
  TWebClientFactory& session = *Globals().WebClientFactory;
  const TVeskConfig& config = Config();
  session.Server = config.Server;
  session.Account = config.Account.get();
  session.Proxy = config.ProxyAddress;
  session.ProxyPort = config.ProxyPort;
  session.ProxyUsername = config.ProxyUsername;
  session.ProxyPassword = config.ProxyPassword;
}

bool TFormMain::event(QEvent* e) {
  const bool handled = QMainWindow::event(e);
  if (e->type() == QEvent::WindowActivate && FirstActivation) Guarded([this] { FormActivate(); });
  return handled;
}

void TFormMain::FormActivate() {
  if (!FirstActivation) return;
  FirstActivation = false;
  ShowPage(FormNews);
  if (!AutoConnect) ActionConnect->trigger();
}

void TFormMain::closeEvent(QCloseEvent* e) {
  // Closing only hides the window in the notification area.
  e->ignore();
  hide();
}

void TFormMain::changeEvent(QEvent* e) {
  QMainWindow::changeEvent(e);
  if (e->type() == QEvent::WindowStateChange && isMinimized())
    QTimer::singleShot(0, this, [this] {
      if (isMinimized()) hide();  // off the task bar, into the tray
    });
}

void TFormMain::ApplicationException(std::exception_ptr error) {
  try {
    std::rethrow_exception(error);
  } catch (const std::exception& e) {
    if (typeid(e) == typeid(ENotConnectedError)) {
      if (AskYesNo(msg::AskConnect)) ActionConnectExecute();
      return;
    }
    if (typeid(e) == typeid(EUpdateNeededError)) {
      if (AskYesNo(msg::AskDownload))
        OpenWebFolder("download");
      else
        ShowInfoMessage(msg::Disconnected);
      return;
    }
    ShowStandardExceptionDisplay(error);
  } catch (...) {
    ShowStandardExceptionDisplay(error);
  }
}

void TFormMain::WebClientFactoryConnect() {
  SetStatus(StatusPanel0, Message(msg::Online));
  SetTrayIcon(artwork::TrayOnline);
  TWebClientFactory& session = *Globals().WebClientFactory;
  if (FormNews) FormNews->Navigate(session.NewsURL);
  ActionConnect->setEnabled(false);
  ActionDisconnect->setEnabled(true);
  auto client = session.CreateWebClient();
  if (FormSharedGedcoms) FormSharedGedcoms->Refresh(*client);
  if (FormRequests) FormRequests->Refresh(*client);
}

void TFormMain::WebClientFactoryDisconnect() {
  SetStatus(StatusPanel0, Message(msg::Offline));
  SetTrayIcon(artwork::TrayOffline);
  ActionConnect->setEnabled(true);
  ActionDisconnect->setEnabled(false);
}

void TFormMain::RequestCheckerChanged() {
  if (Notifying) return;  // a second notice while the first box shows is dropped
  uint16_t id = 0;
  switch (Config().RequestChecker->ChangeState) {
    case 1:
      id = msg::RequestAnswered;
      break;
    case 2:
      id = msg::NewRequest;
      break;
    case 3:
      id = msg::NewRequestAndAnswer;
      break;
    default:
      return;
  }
  Notifying = true;
  try {
    ShowInfoMessage(id);
  } catch (...) {
    Notifying = false;
    throw;
  }
  Notifying = false;
}

void TFormMain::RequestCheckerStarted() {
  SetStatus(StatusPanel1, Message(msg::CheckingRequests));
}

void TFormMain::RequestCheckerFinished() {
  SetStatus(StatusPanel1, QString());
}

void TFormMain::ActionQuitExecute() {
  Config().Save();  // a failure is shown and the program keeps running
  SetApplicationTerminating(true);
  QCoreApplication::quit();
}

void TFormMain::ActionConnectExecute() {
  CopySettingsToSession();
  TFormConnect dialog(this);
  ExecModal(dialog);
}

void TFormMain::ActionDisconnectExecute() {
  if (Globals().WebClientFactory->IsConnected()) Globals().WebClientFactory->Disconnect();
}

void TFormMain::ActionConfigExecute() {
  TFormConfig dialog(this);
  ExecModal(dialog);
}

void TFormMain::ActionRestoreExecute() {
  showNormal();
  raise();
  activateWindow();
}

void TFormMain::ActionAboutExecute() {
  TFormAbout dialog(this);
  ExecModal(dialog);
}

void TFormMain::ActionWebWhatsNewExecute() {
  OpenWebFolder("news");
}
void TFormMain::ActionWebHelpExecute() {
  OpenWebFolder("help");
}
void TFormMain::ActionWebSupportExecute() {
  OpenWebFolder("support");
}
void TFormMain::ActionLaunchViewerExecute() {
  Globals().LaunchViewer("");
}
