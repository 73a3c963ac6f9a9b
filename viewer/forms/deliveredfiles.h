#pragma once
// The files delivered beside the program, the shell's default actions and
// modal windows, each behind a hook so window tests run without a screen,
// a browser or a blocking event loop.
#include <QCursor>
#include <QPixmap>
#include <QString>
#include <QStringList>
#include <functional>

class QDialog;

namespace ktviewer {

// A file beside the program ("logo.jpg").
QString DeliveredFile(const QString& name);
// A delivered picture; a null pixmap when it is missing.
QPixmap DeliveredPicture(const QString& name);
// The pointing cursor of the tree boxes (select.png, hot spot at its tip);
// the ordinary pointing hand when the file is missing.
QCursor SelectCursor();

// Hands a URL to the desktop's default action; the result is ignored.
void OpenURL(const QString& url);
using UrlOpener = std::function<void(const QString&)>;
void SetUrlOpenerForTests(UrlOpener opener);

// Starts a program detached; false when it could not be started.
bool StartProgram(const QString& program, const QStringList& arguments = {});
using ProgramStarter = std::function<bool(const QString&, const QStringList&)>;
void SetProgramStarterForTests(ProgramStarter starter);

// Shows a window modally (QDialog::exec); tests look at it instead.
int RunModal(QDialog& dialog);
using ModalRunner = std::function<int(QDialog&)>;
void SetModalRunnerForTests(ModalRunner runner);

}  // namespace ktviewer
