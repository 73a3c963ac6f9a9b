#include "deliveredfiles.h"

#include <QDesktopServices>
#include <QDialog>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

#include "kintrail/platform/folders.h"

namespace ktviewer {

namespace {
UrlOpener& UrlOpenerHook() {
  static UrlOpener hook;
  return hook;
}
ProgramStarter& ProgramStarterHook() {
  static ProgramStarter hook;
  return hook;
}
ModalRunner& ModalRunnerHook() {
  static ModalRunner hook;
  return hook;
}
}  // namespace

QString DeliveredFile(const QString& name) {
  return QString::fromStdString(kt::ProgramFolder()) + name;
}

QPixmap DeliveredPicture(const QString& name) {
  const QString path = DeliveredFile(name);
  return QFileInfo::exists(path) ? QPixmap(path) : QPixmap();
}

QCursor SelectCursor() {
  const QPixmap picture = DeliveredPicture(QStringLiteral("select.png"));
  if (picture.isNull()) return QCursor(Qt::PointingHandCursor);
  return QCursor(picture, 1, 1);
}

void OpenURL(const QString& url) {
  if (UrlOpenerHook()) {
    UrlOpenerHook()(url);
    return;
  }
  QDesktopServices::openUrl(QUrl(url));
}

void SetUrlOpenerForTests(UrlOpener opener) {
  UrlOpenerHook() = std::move(opener);
}

bool StartProgram(const QString& program, const QStringList& arguments) {
  if (ProgramStarterHook()) return ProgramStarterHook()(program, arguments);
  return QProcess::startDetached(program, arguments);
}

void SetProgramStarterForTests(ProgramStarter starter) {
  ProgramStarterHook() = std::move(starter);
}

int RunModal(QDialog& dialog) {
  if (ModalRunnerHook()) return ModalRunnerHook()(dialog);
  return dialog.exec();
}

void SetModalRunnerForTests(ModalRunner runner) {
  ModalRunnerHook() = std::move(runner);
}

}  // namespace ktviewer
