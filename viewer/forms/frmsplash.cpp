#include "frmsplash.h"

#include <QEvent>
#include <QKeyEvent>
#include <QPainter>

#include "deliveredfiles.h"
#include "texttable.h"

namespace ktviewer {

namespace {
const Rgb kSplashBackground{192, 192, 192};
const Rgb kOrange{255, 153, 0};
const Rgb kTeal{42, 139, 158};
QColor ToQColor(Rgb c) {
  return QColor(c.red, c.green, c.blue);
}
}  // namespace

FadeLine::FadeLine(QColor background, bool bold, QWidget* parent)
    : ClickableLabel(parent), background_(background), colour_(background) {
  QFont lineFont(QStringLiteral("Arial"));
  lineFont.setPixelSize(bold ? 34 : 20);
  lineFont.setBold(bold);
  setFont(lineFont);
}

void FadeLine::Paint(const QString& text, QColor colour) {
  line_ = text;
  colour_ = colour;
  repaint();
}

void FadeLine::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), background_);
  painter.setPen(colour_);
  painter.setFont(font());
  painter.drawText(rect(), Qt::AlignLeft | Qt::AlignTop, line_);
}

frmSplash::frmSplash(QWidget* parent) : QDialog(parent), fade_(kSplashBackground, kOrange, kTeal) {
  setObjectName(QStringLiteral("frmSplash"));
  setWindowFlag(Qt::FramelessWindowHint);
  setFixedSize(656, 359);
  setAutoFillBackground(true);
  QPalette colours = palette();
  colours.setColor(QPalette::Window, ToQColor(kSplashBackground));
  setPalette(colours);

  Frame1 = new QFrame(this);
  Frame1->setObjectName(QStringLiteral("Frame1"));
  Frame1->setFrameShape(QFrame::Box);
  Frame1->setGeometry(8, 8, 640, 343);
  Frame1->installEventFilter(this);

  imgLogo = new ClickableLabel(Frame1);
  imgLogo->setObjectName(QStringLiteral("imgLogo"));
  imgLogo->setGeometry(24, 24, 180, 63);
  imgLogo->setPixmap(DeliveredPicture(QStringLiteral("logo.jpg")));
  POrvanePresents = new FadeLine(ToQColor(kSplashBackground), false, Frame1);
  POrvanePresents->setObjectName(QStringLiteral("POrvanePresents"));
  POrvanePresents->setGeometry(120, 120, 400, 30);
  PProductName = new FadeLine(ToQColor(kSplashBackground), true, Frame1);
  PProductName->setObjectName(QStringLiteral("PProductName"));
  PProductName->setGeometry(120, 160, 420, 44);
  lblVersion = new QLabel(Frame1);
  lblVersion->setObjectName(QStringLiteral("lblVersion"));
  lblVersion->setGeometry(424, 220, 190, 20);
  lblVersion->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  lblVersion->hide();
  lblPlatform = new QLabel(Frame1);
  lblPlatform->setObjectName(QStringLiteral("lblPlatform"));
  lblPlatform->setGeometry(424, 244, 190, 20);
  lblPlatform->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  lblPlatform->hide();
  lblWarning = new QLabel(Frame1);
  lblWarning->setObjectName(QStringLiteral("lblWarning"));
  lblWarning->setGeometry(24, 300, 400, 20);
  BClose = new QPushButton(Frame1);
  BClose->setObjectName(QStringLiteral("BClose"));
  BClose->setGeometry(534, 298, 80, 26);
  Shape1 = new FilledShape(ToQColor(kOrange), QColor(), 0, Frame1);
  Shape1->setObjectName(QStringLiteral("Shape1"));
  Shape1->setGeometry(24, 100, 12, 12);
  Shape1->hide();
  Shape2 = new FilledShape(ToQColor(kTeal), QColor(), 0, Frame1);
  Shape2->setObjectName(QStringLiteral("Shape2"));
  Shape2->setGeometry(40, 100, 12, 12);
  Shape2->hide();

  connect(imgLogo, &ClickableLabel::Clicked, this, &frmSplash::CloseSplash);
  connect(POrvanePresents, &ClickableLabel::Clicked, this, &frmSplash::CloseSplash);
  connect(PProductName, &ClickableLabel::Clicked, this, &frmSplash::CloseSplash);
  connect(BClose, &QPushButton::clicked, this, &frmSplash::CloseSplash);

  InitSplashCaptions();
  Timer1 = new QTimer(this);
  Timer1->setObjectName(QStringLiteral("Timer1"));
  Timer1->setInterval(SplashFade::kTickMilliseconds);
  connect(Timer1, &QTimer::timeout, this, &frmSplash::Timer1Timer);
  Timer1->start();
}

void frmSplash::InitSplashCaptions() {
  BClose->setText(Texts().SplashCloseCaption);
  lblWarning->setText(Texts().NoticeText);
  lblVersion->setText(Texts().VersionText);
  lblPlatform->setText(Texts().PlatformText);
}

void frmSplash::Timer1Timer() {
  const SplashFade::Step step = fade_.Tick();
  if (step.presentsColour)
    POrvanePresents->Paint(Texts().PresentsLine, ToQColor(*step.presentsColour));
  if (step.titleColour) PProductName->Paint(Texts().ProductTitle, ToQColor(*step.titleColour));
  if (step.showVersion) {
    lblPlatform->show();
    lblVersion->show();
  }
  if (step.close) CloseSplash();
}

void frmSplash::CloseSplash() {
  Timer1->stop();
  done(QDialog::Accepted);
  hide();
}

void frmSplash::keyPressEvent(QKeyEvent*) {
  CloseSplash();
}

bool frmSplash::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Frame1 && event->type() == QEvent::MouseButtonPress) {
    CloseSplash();
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace ktviewer
