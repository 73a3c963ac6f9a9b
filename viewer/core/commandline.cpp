#include "commandline.h"

namespace ktviewer {

QString CommandLinePath(const QStringList& argumentsAfterProgram) {
  return argumentsAfterProgram.join(u' ');
}

QStringList CommandLineCandidates(const QString& path, const QString& programFolder) {
  QString folder = programFolder;
  if (!folder.endsWith(u'/')) folder += u'/';
  return {path, folder + path};
}

}  // namespace ktviewer
