#include "forms/application.h"

#include <sys/socket.h>
#include <unistd.h>
#include <QApplication>
#include <QSocketNotifier>
#include <csignal>
#include <cstdlib>

#include "core/veskglobals.h"
#include "forms/artwork.h"
#include "forms/errordisplay.h"
#include "forms/featurepages.h"
#include "forms/form_main.h"
#include "forms/form_news.h"
#include "kintrail/platform_qt/qtdatetime.h"

namespace {

// Exceptions escaping any event handler reach the general error display.
class TVeskApplication : public QApplication {
 public:
  using QApplication::QApplication;
  bool notify(QObject* receiver, QEvent* event) override {
    try {
      return QApplication::notify(receiver, event);
    } catch (...) {
      HandleApplicationException(std::current_exception());
      return false;
    }
  }
};

// SIGINT and SIGTERM end the program the regular way (the configuration is
// saved and the session closed at exit): the handler only writes a byte that
// the event loop reads.
int SignalPipe[2] = {-1, -1};

void NoteSignal(int) {
  const char byte = 1;
  [[maybe_unused]] const ssize_t written = ::write(SignalPipe[0], &byte, 1);
}

void EndOnSignals(QObject* parent) {
  if (::socketpair(AF_UNIX, SOCK_STREAM, 0, SignalPipe) != 0) return;
  auto* notifier = new QSocketNotifier(SignalPipe[1], QSocketNotifier::Read, parent);
  QObject::connect(notifier, &QSocketNotifier::activated, [] {
    char byte = 0;
    [[maybe_unused]] const ssize_t read = ::read(SignalPipe[1], &byte, 1);
    SetApplicationTerminating(true);
    QCoreApplication::quit();
  });
  struct sigaction action {};
  action.sa_handler = NoteSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  ::sigaction(SIGINT, &action, nullptr);
  ::sigaction(SIGTERM, &action, nullptr);
}

template <typename T>
void Destroy(T*& window) {
  delete window;
  window = nullptr;
}

}  // namespace

void CreateApplicationWindows() {
  FormMain = new TFormMain;
  FormWorldSearch = new TFormWorldSearch;
  FormSharedGedcoms = new TFormSharedGedcoms;
  FormAdvancedSearch = new TFormAdvancedSearch;
  FormRequests = new TFormRequests;
  FormNews = new TFormNews;
}

void ShowMainWindowAtStart() {
  if (!Params().HasParam("minimized")) FormMain->show();
}

void DestroyApplicationWindows() {
  Destroy(FormNews);
  Destroy(FormRequests);
  Destroy(FormAdvancedSearch);
  Destroy(FormSharedGedcoms);
  Destroy(FormWorldSearch);
  Destroy(FormMain);
}

int RunVesk(int argc, char** argv) {
  // The embedded browser's sandbox cannot run as root.
  if (::geteuid() == 0) ::setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 0);
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  TVeskApplication application(argc, argv);
  application.setApplicationName("Kintrail");
  application.setApplicationDisplayName("Kintrail");
  application.setOrganizationName("Kintrail");
  application.setDesktopFileName("kintrail-vesk");
  application.setWindowIcon(QIcon(artwork::ApplicationIcon()));
  application.setQuitOnLastWindowClosed(false);  // only Quit ends the program
  kt::InstallQtMessagePump();
  EndOnSignals(&application);

  int result = 0;
  try {
    CreateApplicationWindows();
    ShowMainWindowAtStart();
    result = application.exec();
  } catch (...) {
    ShowStandardExceptionDisplay(std::current_exception());
    result = 1;
  }
  DestroyApplicationWindows();
  DestroyVeskObjects();
  return result;
}
