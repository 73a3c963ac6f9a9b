#include "viewersettings.h"

#include <QSettings>
#include <algorithm>

#include "kintrail/platform/folders.h"

namespace ktviewer {

namespace {

QSettings Store() {
  return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Kintrail"),
                   QStringLiteral("KTViewer"));
}

QString WithTrailingSlash(QString folder) {
  if (!folder.endsWith(u'/')) folder += u'/';
  return folder;
}

}  // namespace

int ViewerSettings::Language(int lastLanguage) {
  bool ok = false;
  const int stored = Store()
                         .value(QStringLiteral("options/language"), QStringLiteral("0"))
                         .toString()
                         .trimmed()
                         .toInt(&ok);
  return ok ? std::clamp(stored, 0, lastLanguage) : 0;
}

void ViewerSettings::SetLanguage(int languageIndex) {
  Store().setValue(QStringLiteral("options/language"), QString::number(languageIndex));
}

QString ViewerSettings::GedPath() {
  const QString folder =
      Store()
          .value(QStringLiteral("path/gedpath"), QString::fromStdString(kt::ProgramFolder()))
          .toString();
  return WithTrailingSlash(folder.isEmpty() ? QString::fromStdString(kt::ProgramFolder()) : folder);
}

void ViewerSettings::SetGedPath(const QString& folder) {
  Store().setValue(QStringLiteral("path/gedpath"), folder);
}

QString ViewerSettings::WebHost() {
  QString host = Store()
                     .value(QStringLiteral("options/webhost"), QString::fromLatin1(kDefaultWebHost))
                     .toString();
  while (host.endsWith(u'/')) host.chop(1);
  return host.isEmpty() ? QString::fromLatin1(kDefaultWebHost) : host;
}

QString HomePageUrl() {
  return ViewerSettings::WebHost() + u'/';
}

QString SoftLinkUrl(const QString& keyword) {
  return ViewerSettings::WebHost() + QStringLiteral("/web/_client/softlinks.asp?folder=") + keyword;
}

}  // namespace ktviewer
