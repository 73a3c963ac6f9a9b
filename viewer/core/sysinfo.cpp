#include "sysinfo.h"

#include <QDir>
#include <QFileInfo>

namespace ktviewer {

QStringList SysInfoProgramNames() {
  return {QStringLiteral("hardinfo"), QStringLiteral("hardinfo2"), QStringLiteral("kinfocenter"),
          QStringLiteral("gnome-system-monitor")};
}

QString FindSysInfoProgram(const QString& searchPath, const QStringList& names) {
  const QStringList folders = searchPath.split(QDir::listSeparator(), Qt::SkipEmptyParts);
  for (const QString& name : names) {
    for (const QString& folder : folders) {
      const QFileInfo candidate(QDir(folder), name);
      if (candidate.isFile() && candidate.isExecutable()) return candidate.absoluteFilePath();
    }
  }
  return {};
}

}  // namespace ktviewer
