#include "frmabout.h"

#include <QApplication>
#include <QStyle>

#include "deliveredfiles.h"
#include "kintrail/platform_qt/messagebox.h"
#include "sysinfo.h"
#include "texttable.h"
#include "viewersettings.h"

namespace ktviewer {

frmAbout::frmAbout(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmAbout"));
  setFixedSize(502, 348);

  auto* background = new FilledShape(QColor(238, 238, 238), QColor(), 0, this);
  background->setGeometry(0, 0, 502, 280);
  picIcon = new QLabel(this);
  picIcon->setObjectName(QStringLiteral("picIcon"));
  picIcon->setGeometry(16, 16, 32, 32);
  const QPixmap icon = DeliveredPicture(QStringLiteral("ktviewer.png"));
  picIcon->setPixmap(icon.isNull()
                         ? style()->standardIcon(QStyle::SP_FileDialogInfoView).pixmap(32, 32)
                         : icon.scaled(32, 32, Qt::KeepAspectRatio, Qt::SmoothTransformation));
  lblTitle = new QLabel(this);
  lblTitle->setObjectName(QStringLiteral("lblTitle"));
  lblTitle->setGeometry(64, 16, 240, 24);
  QFont titleFont = lblTitle->font();
  titleFont.setBold(true);
  titleFont.setPixelSize(18);
  lblTitle->setFont(titleFont);
  lblVersion = new QLabel(this);
  lblVersion->setObjectName(QStringLiteral("lblVersion"));
  lblVersion->setGeometry(64, 44, 240, 18);
  Image1 = new ClickableLabel(this);
  Image1->setObjectName(QStringLiteral("Image1"));
  Image1->setGeometry(306, 12, 180, 63);
  Image1->setPixmap(DeliveredPicture(QStringLiteral("logo.jpg")));
  Image1->setCursor(Qt::PointingHandCursor);
  lblDescription = new QLabel(this);
  lblDescription->setObjectName(QStringLiteral("lblDescription"));
  lblDescription->setGeometry(64, 84, 422, 48);
  lblDescription->setWordWrap(true);
  lblDisclaimer = new QLabel(this);
  lblDisclaimer->setObjectName(QStringLiteral("lblDisclaimer"));
  lblDisclaimer->setGeometry(16, 136, 470, 136);
  lblDisclaimer->setWordWrap(true);
  lblDisclaimer->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  auto* greyLine = new FilledShape(QColor(128, 128, 128), QColor(), 0, this);
  greyLine->setGeometry(8, 284, 486, 1);
  auto* whiteLine = new FilledShape(QColor(255, 255, 255), QColor(), 0, this);
  whiteLine->setGeometry(8, 285, 486, 1);
  cmdOK = new QPushButton(this);
  cmdOK->setObjectName(QStringLiteral("cmdOK"));
  cmdOK->setGeometry(382, 298, 104, 28);
  cmdOK->setDefault(true);
  cmdOK->setAutoDefault(true);
  cmdSysInfo = new QPushButton(this);
  cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
  cmdSysInfo->setGeometry(262, 298, 112, 28);
  cmdSysInfo->setAutoDefault(false);

  // Enter presses OK as the default button; Esc rejects the dialog, which
  // closes it the same way.
  connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
  connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::StartSysInfo);
  connect(Image1, &ClickableLabel::Clicked, this, [] { OpenURL(HomePageUrl()); });
  InitAboutCaptions();
}

void frmAbout::InitAboutCaptions() {
  const TextTable& t = Texts();
  cmdOK->setText(t.AboutOkCaption);
  cmdSysInfo->setText(t.AboutSysInfoCaption);
  lblDescription->setText(t.AboutDescription);
  lblTitle->setText(t.AboutTitle);
  lblVersion->setText(t.VersionText);
  QString explanation = t.GedcomExplanation;
  lblDisclaimer->setText(explanation.replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
  setWindowTitle(t.AboutPrefix + t.AppTitle);
}

void frmAbout::StartSysInfo() {
  const QString program = FindSysInfoProgram(qEnvironmentVariable("PATH"));
  if (!program.isEmpty() && StartProgram(program)) return;
  kt::MessageBoxRequest box;
  box.parent = this;
  box.icon = QMessageBox::NoIcon;
  box.caption = Texts().AppTitle;
  box.text = SysInfoUnavailableText();
  box.buttons = QMessageBox::Ok;
  kt::ShowMessageBox(box);
}

}  // namespace ktviewer
