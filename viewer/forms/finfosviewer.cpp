#include "finfosviewer.h"

#include <QFontDatabase>

#include "deliveredfiles.h"
#include "texttable.h"
#include "viewersettings.h"

namespace ktviewer {

FInfosViewer::FInfosViewer(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("FInfosViewer"));
  setAttribute(Qt::WA_DeleteOnClose, false);
  setFixedSize(417, 330);
  Label1 = new QLabel(this);
  Label1->setObjectName(QStringLiteral("Label1"));
  Label1->setGeometry(8, 8, 401, 17);
  TInfos = new QPlainTextEdit(this);
  TInfos->setObjectName(QStringLiteral("TInfos"));
  TInfos->setGeometry(8, 24, 401, 265);
  TInfos->setReadOnly(true);
  TInfos->setLineWrapMode(QPlainTextEdit::NoWrap);
  TInfos->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  TInfos->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  TInfos->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  BOnlineHelp = new QPushButton(this);
  BOnlineHelp->setObjectName(QStringLiteral("BOnlineHelp"));
  BOnlineHelp->setGeometry(8, 296, 117, 25);
  BClose = new QPushButton(this);
  BClose->setObjectName(QStringLiteral("BClose"));
  BClose->setGeometry(320, 296, 89, 25);
  BClose->setDefault(true);
  connect(BOnlineHelp, &QPushButton::clicked, this, &FInfosViewer::BOnlineHelpClick);
  connect(BClose, &QPushButton::clicked, this, &FInfosViewer::BCloseClick);
  InitInfoCaptions();
}

void FInfosViewer::InitInfoCaptions() {
  BOnlineHelp->setText(Texts().InfoHelpCaption);
  BClose->setText(Texts().InfoCloseCaption);
  setWindowTitle(Texts().AppTitle);
}

void FInfosViewer::SetRecordText(const QString& record) {
  QString shown = record;
  shown.remove(u'\r');
  TInfos->setPlainText(shown);
}

void FInfosViewer::BOnlineHelpClick() {
  OpenURL(SoftLinkUrl(QStringLiteral("ktviewer/infowindowhelp.asp")));
}

void FInfosViewer::BCloseClick() {
  accept();
}

}  // namespace ktviewer
