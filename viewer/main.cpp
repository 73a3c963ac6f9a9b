// ktviewer: shows a GEDCOM file as a small family tree.
#include <QApplication>

#include <kintrail/winnow/winnowgedcom.h>

#include "commandline.h"
#include "deliveredfiles.h"
#include "fprincipal.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  app.setWindowIcon(ktviewer::DeliveredPicture(QStringLiteral("ktviewer.png")));
  // The analysis library lets the window work while it reads a file.
  kt::winnow::SetProcessMessagesCallback([](void*) { QCoreApplication::processEvents(); });
  ktviewer::FPrincipal window;
  window.Start(ktviewer::CommandLinePath(app.arguments().mid(1)));
  return app.exec();
}
