// main() of every window test: one QApplication for the whole executable.
#include <QApplication>
#include <cstdlib>

#include <gtest/gtest.h>

#include "kintrail/platform_qt/qtdatetime.h"

int main(int argc, char** argv) {
  // CTest sets these too; setting them here lets the executable run by hand.
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 0);
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  kt::InstallQtMessagePump();
  return RUN_ALL_TESTS();
}
