#include "forms/application.h"

#include <unistd.h>
#include <QApplication>
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
