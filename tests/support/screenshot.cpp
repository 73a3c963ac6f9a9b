#include "kintrail/testing/screenshot.h"

#include <QDir>
#include <QPixmap>
#include <QWidget>

namespace kt::testing {

QString SaveScreenshot(QWidget& widget, const QString& name) {
  QDir().mkpath(QStringLiteral(KINTRAIL_SCREENSHOT_DIR));
  const QString path = QStringLiteral(KINTRAIL_SCREENSHOT_DIR) + "/" + name + ".png";
  widget.grab().save(path);
  return path;
}

}  // namespace kt::testing
