#pragma once
// Screenshots of widgets taken by window tests, written under the build tree.
#include <QString>

class QWidget;

namespace kt::testing {

// Grabs `widget` and writes <build>/screenshots/<name>.png; returns the path.
QString SaveScreenshot(QWidget& widget, const QString& name);

}  // namespace kt::testing
