#include "core/shell.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStringList>
#include <QUrl>

#include "core/veskconfig.h"
#include "core/veskglobals.h"
#include "core/veskserver.h"

namespace {
TShellHandler& Handler() {
  static TShellHandler handler;
  return handler;
}
}  // namespace

void SetShellHandler(TShellHandler handler) {
  Handler() = std::move(handler);
}

void RunProgram(const std::string& target) {
  if (Handler()) {
    Handler()(target, "");
    return;
  }
  QDesktopServices::openUrl(QUrl::fromUserInput(QString::fromStdString(target)));
}

void StartProgram(const std::string& program, const std::string& parameters) {
  if (Handler()) {
    Handler()(program, parameters);
    return;
  }
  QStringList arguments;
  if (!parameters.empty()) arguments << QString::fromStdString(parameters);
  QProcess::startDetached(QString::fromStdString(program), arguments);
}

void OpenWebFolder(const std::string& folder) {
  std::string address = Config().Server + page::SoftLinks + folder;
  // An https server keeps its scheme too; any other start gets "http://".
  if (address.compare(0, 7, "http://") != 0 && address.compare(0, 8, "https://") != 0)
    address = "http://" + address;
  RunProgram(address);
}
