#include "bngt32/qtpresenter.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <cstring>

#include "bngt32.h"
#include "kintrail/platform_qt/messagebox.h"

namespace bngt32qt {
namespace {

OverwriteDialogRunner& Runner() {
  static OverwriteDialogRunner runner;
  return runner;
}

RenameDialogRunner& RenameRunner() {
  static RenameDialogRunner runner;
  return runner;
}

QMessageBox::Icon IconOf(uint32_t flags) {
  switch (flags & 0xF0) {
    case 0x10: return QMessageBox::Critical;
    case 0x20: return QMessageBox::Question;
    case 0x30: return QMessageBox::Warning;
    case 0x40: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
  }
}

QMessageBox::StandardButtons ButtonsOf(uint32_t flags) {
  switch (flags & 0xF) {
    case 1: return QMessageBox::Ok | QMessageBox::Cancel;
    case 2: return QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
    case 3: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case 4: return QMessageBox::Yes | QMessageBox::No;
    case 5: return QMessageBox::Retry | QMessageBox::Cancel;
    default: return QMessageBox::Ok;
  }
}

int32_t BNGT32_CALLBACK MessageBox(const char* text, const char* caption, uint32_t flags, void*) {
  kt::MessageBoxRequest request;
  request.parent = QApplication::activeWindow();
  request.icon = IconOf(flags);
  request.caption = QString::fromUtf8(caption);
  request.text = QString::fromUtf8(text);
  request.buttons = ButtonsOf(flags);
  return WindowsAnswerOf(kt::ShowMessageBox(request));
}

int32_t BNGT32_CALLBACK OverwriteDialog(const char* question, const char* caption, void*) {
  TOverwriteDialog dialog(QString::fromUtf8(question), QString::fromUtf8(caption),
                          QApplication::activeWindow());
  if (const auto& runner = Runner()) return runner(dialog);
  dialog.raise();
  dialog.activateWindow();
  return dialog.exec();
}

int32_t BNGT32_CALLBACK RenameDialog(const char* title, const char* originalPath, char* newPath,
                                     uint32_t size, void*) {
  const QString original = QString::fromUtf8(originalPath);
  const QFileInfo info(original);
  // The save dialog starts in the output's folder with its name, and shows the
  // name being replaced above the usual controls.
  QFileDialog dialog(QApplication::activeWindow(), QString::fromUtf8(title), info.absolutePath());
  dialog.setObjectName("RenameDialog");
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.selectFile(info.fileName());
  if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout())) {
    auto* label = new QLabel(QObject::tr("Original:"), &dialog);
    auto* edit = new QLineEdit(original, &dialog);
    edit->setObjectName("EditOriginal");
    edit->setReadOnly(true);
    label->setBuddy(edit);
    const int row = grid->rowCount();
    grid->addWidget(label, row, 0);
    grid->addWidget(edit, row, 1, 1, grid->columnCount() - 1);
  }
  QString chosen;
  if (const auto& runner = RenameRunner()) {
    chosen = runner(dialog);
  } else if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
    chosen = dialog.selectedFiles().first();
  }
  const QByteArray bytes = chosen.toUtf8();
  if (bytes.isEmpty() || static_cast<uint32_t>(bytes.size()) >= size) return 0;
  std::memcpy(newPath, bytes.constData(), static_cast<size_t>(bytes.size()) + 1);
  return 1;
}

}  // namespace

TOverwriteDialog::TOverwriteDialog(const QString& question, const QString& caption,
                                   QWidget* parent)
    : QDialog(parent) {
  setObjectName("TOverwriteDialog");
  setWindowTitle(caption);
  setAutoFillBackground(true);
  QPalette grey = palette();
  grey.setColor(QPalette::Window, QColor(0xC0, 0xC0, 0xC0));
  setPalette(grey);
  // 278 x 86 dialog units: a quarter of the average character width and an
  // eighth of the character height each.
  const QFontMetrics metrics(font());
  setFixedSize(278 * metrics.averageCharWidth() / 4, 86 * metrics.height() / 8);

  LabelQuestion = new QLabel(question, this);
  LabelQuestion->setObjectName("LabelQuestion");
  LabelQuestion->setWordWrap(true);
  LabelQuestion->setAttribute(Qt::WA_TranslucentBackground);
  auto addButton = [this](const QString& text, const char* name, int answer) {
    auto* button = new QPushButton(text, this);
    button->setObjectName(name);
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, [this, answer] { done(answer); });
    return button;
  };
  ButtonYes = addButton(tr("&Yes"), "ButtonYes", kYes);
  ButtonYesToAll = addButton(tr("Yes to &All"), "ButtonYesToAll", kYesToAll);
  ButtonRename = addButton(tr("&Rename"), "ButtonRename", kRename);
  ButtonNo = addButton(tr("&No"), "ButtonNo", kNo);
  ButtonCancel = addButton(tr("&Cancel"), "ButtonCancel", kCancel);
  ButtonNo->setDefault(true);
  ButtonNo->setFocus();

  auto* buttons = new QHBoxLayout;
  for (QPushButton* b : {ButtonYes, ButtonYesToAll, ButtonRename, ButtonNo, ButtonCancel}) {
    buttons->addWidget(b);
  }
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(LabelQuestion, 1);
  layout->addLayout(buttons);
}

void TOverwriteDialog::reject() { done(kCancel); }

void SetOverwriteDialogRunner(OverwriteDialogRunner runner) { Runner() = std::move(runner); }

void SetRenameDialogRunner(RenameDialogRunner runner) { RenameRunner() = std::move(runner); }

int32_t WindowsAnswerOf(int qtButton) {
  switch (qtButton) {
    case QMessageBox::Ok: return 1;
    case QMessageBox::Cancel: return 2;
    case QMessageBox::Abort: return 3;
    case QMessageBox::Retry: return 4;
    case QMessageBox::Ignore: return 5;
    case QMessageBox::Yes: return 6;
    case QMessageBox::No: return 7;
    default: return 2;
  }
}

void InstallQtPresenter() {
  GTPRESENTER presenter{};
  presenter.ulStructSize = sizeof presenter;
  presenter.lpMessageBox = MessageBox;
  presenter.lpOverwriteDialog = OverwriteDialog;
  presenter.lpRenameDialog = RenameDialog;
  gtSetPresenter(&presenter);
}

}  // namespace bngt32qt
