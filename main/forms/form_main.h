#pragma once
// The client's main window and the owner of its life: loads the
// configuration, shows online and offline, hosts the feature pages, offers
// the menu actions, lives in the tray, and is the general error display.
#include <QMainWindow>
#include <exception>
#include <vector>

class QAction;
class QButtonGroup;
class QLabel;
class QMenu;
class QStackedWidget;
class QSystemTrayIcon;
class QToolBar;
class QToolButton;

class TFormMain : public QMainWindow {
  Q_OBJECT

 public:
  explicit TFormMain(QWidget* parent = nullptr);
  ~TFormMain() override;

  // Makes `window` the page in front, between tool bar and status bar.
  void ShowPage(QWidget* window);
  QWidget* CurrentPage() const;

  // The general error display: the two session errors get their offers,
  // every other exception is shown with its message.
  void ApplicationException(std::exception_ptr error);

  QString StatusText(int panel) const;
  int TrayIconIndex() const { return TrayIconIndex_; }

  QToolBar* ToolBar;
  QToolButton* SpeedButtonNews;
  QToolButton* SpeedButtonWorldSearch;
  QToolButton* SpeedButtonAdvancedSearch;
  QToolButton* SpeedButtonSharedGedcoms;
  QToolButton* SpeedButtonRequests;
  QStackedWidget* PageArea;
  QLabel* StatusPanel0;
  QLabel* StatusPanel1;
  QMenu* MenuFile;
  QMenu* MenuOptions;
  QMenu* MenuHelp;
  QMenu* PopupMenuTray;
  QSystemTrayIcon* TrayIcon;
  std::vector<QIcon> ImageList;

  QAction* ActionQuit;
  QAction* ActionConnect;
  QAction* ActionDisconnect;
  QAction* ActionConfig;
  QAction* ActionRestore;
  QAction* ActionAbout;
  QAction* ActionWebWhatsNew;
  QAction* ActionWebHelp;
  QAction* ActionWebSupport;
  QAction* ActionLaunchViewer;

  bool FirstActivation = true;
  bool AutoConnect = false;
  bool Notifying = false;

  void FormActivate();
  void ActionQuitExecute();
  void ActionConnectExecute();
  void ActionDisconnectExecute();
  void ActionConfigExecute();
  void ActionRestoreExecute();
  void ActionAboutExecute();
  void ActionWebWhatsNewExecute();
  void ActionWebHelpExecute();
  void ActionWebSupportExecute();
  void ActionLaunchViewerExecute();
  void WebClientFactoryConnect();
  void WebClientFactoryDisconnect();
  void RequestCheckerChanged();
  void RequestCheckerStarted();
  void RequestCheckerFinished();

 protected:
  bool event(QEvent* e) override;
  void closeEvent(QCloseEvent* e) override;  // FormClose
  void changeEvent(QEvent* e) override;

 private:
  void CopySettingsToSession();
  void SetStatus(QLabel* panel, const QString& text);
  void SetTrayIcon(int index);
  QAction* MakeAction(const char* name, const QString& caption, void (TFormMain::*handler)());
  QToolButton* MakeSpeedButton(const char* name, const QString& caption, int image,
                               QWidget* (*page)());

  QButtonGroup* SpeedButtons;
  int TrayIconIndex_ = 5;
};

extern TFormMain* FormMain;
