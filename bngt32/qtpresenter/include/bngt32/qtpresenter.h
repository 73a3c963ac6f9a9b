#pragma once
// The compression library's boxes and dialogs for Qt programs: message boxes
// through kt::ShowMessageBox, the overwrite dialog and the rename dialog laid
// out as the library designs them. A Qt host calls InstallQtPresenter() once.
#include <QDialog>
#include <QString>
#include <functional>

class QFileDialog;
class QLabel;
class QPushButton;

namespace bngt32qt {

// Installs the presenter for the whole process (gtSetPresenter).
void InstallQtPresenter();

// Windows answer codes of the overwrite dialog.
enum OverwriteAnswer { kYes = 6, kNo = 7, kCancel = 2, kYesToAll = 100, kRename = 101 };

// The overwrite question: "&Yes", "Yes to &All", "&Rename", "&No" (default) and
// "&Cancel" along the bottom, 278 x 86 dialog units, light grey.
class TOverwriteDialog : public QDialog {
  Q_OBJECT
public:
  TOverwriteDialog(const QString& question, const QString& caption, QWidget* parent = nullptr);
  QLabel* LabelQuestion;
  QPushButton* ButtonYes;
  QPushButton* ButtonYesToAll;
  QPushButton* ButtonRename;
  QPushButton* ButtonNo;
  QPushButton* ButtonCancel;

protected:
  void reject() override;  // Escape and the close box answer Cancel
};

// Test hook: runs the built dialog instead of exec(); returns its answer.
using OverwriteDialogRunner = std::function<int(TOverwriteDialog&)>;
void SetOverwriteDialogRunner(OverwriteDialogRunner runner);

// Test hook: runs the built rename dialog instead of exec(); returns the chosen
// path, empty for Cancel.
using RenameDialogRunner = std::function<QString(QFileDialog&)>;
void SetRenameDialogRunner(RenameDialogRunner runner);

// The answer of a box with Windows button flags, for a Qt button.
int32_t WindowsAnswerOf(int qtButton);

}  // namespace bngt32qt
