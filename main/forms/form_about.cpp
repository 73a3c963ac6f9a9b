#include "forms/form_about.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/versinfo.h"
#include "core/veskglobals.h"
#include "forms/artwork.h"

namespace {
// The language read when the user's has no copyright line: English.
constexpr uint16_t FallbackPrimaryLanguage = 0x09;
}  // namespace

TFormAbout::TFormAbout(QWidget* owner) : QDialog(owner) {
  setObjectName("FormAbout");
  setWindowTitle("About");
  auto* layout = new QVBoxLayout(this);
  Logo = new QLabel(this);
  Logo->setObjectName("Logo");
  Logo->setPixmap(artwork::Logo());
  Logo->setAlignment(Qt::AlignCenter);
  layout->addWidget(Logo);
  About = new QPlainTextEdit(this);
  About->setObjectName("About");
  About->setReadOnly(true);
  About->setFrameShape(QFrame::NoFrame);
  About->setBackgroundRole(QPalette::Window);
  About->viewport()->setAutoFillBackground(false);
  About->setMinimumSize(380, 210);
  About->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  About->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);  // ten short lines fit
  layout->addWidget(About);
  auto* rule = new QFrame(this);
  rule->setFrameShape(QFrame::HLine);
  rule->setFrameShadow(QFrame::Sunken);
  layout->addWidget(rule);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  BOK = new QPushButton("OK", this);
  BOK->setObjectName("BOK");
  BOK->setDefault(true);
  buttons->addWidget(BOK);
  layout->addLayout(buttons);
  connect(BOK, &QPushButton::clicked, this, &QDialog::accept);
  setFixedSize(sizeHint());

  TVersInfo& version = *Globals().VersInfo;
  version.PrimaryLanguage = 0;
  version.SubLanguage = 1;
  if (version.GetString("LegalCopyright").empty()) {
    version.PrimaryLanguage = FallbackPrimaryLanguage;
    version.SubLanguage = 1;
  }
  const QStringList lines = {
      QString::fromStdString(version.GetString("ProductName")),
      QString::fromStdString("Version: " + version.VersionText()),
      " ",
      QString::fromStdString(version.GetString("ProductDescription")),
      " ",
      QString::fromStdString(version.GetString("LegalCopyright")),
      QString::fromStdString(version.GetString("LegalTrademarks")),
      QString::fromStdString(version.GetString("Patents")),
      " ",
      QString::fromStdString(version.GetString("ThanksTo")),
  };
  About->setPlainText(lines.join('\n'));
}
