#include "forms/form_progress.h"

#include <QFont>
#include <QFrame>
#include <QLabel>
#include <QProgressBar>
#include <algorithm>
#include <climits>

#include "core/veskmessage.h"
#include "core/webclient.h"
#include "forms/progressbar.h"

namespace {
constexpr int PanelTop = 0;
constexpr int LabelLeft = 40;
int ToRange(qint64 value) {
  return static_cast<int>(std::clamp<qint64>(value, INT_MIN, INT_MAX));
}
}  // namespace

TFormProgress::TFormProgress(QWidget* owner, int steps, TWebClient& webClient)
    : QDialog(owner, Qt::Tool),
      WebClient(&webClient),
      TextSending(QString::fromStdString(LoadMessage(msg::StepSending))),
      TextSent(QString::fromStdString(LoadMessage(msg::StepSent))),
      TextReceiving(QString::fromStdString(LoadMessage(msg::StepReceiving))),
      TextOK(QString::fromStdString(LoadMessage(msg::StepOK))) {
  setObjectName("FormProgress");
  steps = std::max(steps, 1);
  Panel = new QFrame(this);
  Panel->setObjectName("Panel");
  const int panelHeight = steps * StepHeight + 20;
  Panel->setGeometry(0, PanelTop, WindowWidth, panelHeight);

  STCursor = new QLabel(QString::fromUtf8("\xe2\x96\xb6"), Panel);  // a right-pointing triangle
  STCursor->setObjectName("STCursor");
  QFont cursorFont = STCursor->font();
  cursorFont.setBold(true);
  cursorFont.setPixelSize(16);
  STCursor->setFont(cursorFont);
  STCursor->setStyleSheet("color: blue;");
  STCursor->setGeometry(14, 10, 24, StepHeight);

  for (int i = 0; i < steps; ++i) {
    auto* label = new QLabel(Panel);
    label->setObjectName(QString("LabelStep%1").arg(i));
    label->setGeometry(LabelLeft, i * StepHeight + 10, Panel->width() - 48, StepHeight);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    Steps.push_back(label);
  }

  ProgressBar = new QProgressBar(this);
  ProgressBar->setObjectName("ProgressBar");
  ProgressBar->setTextVisible(false);
  ProgressBar->setRange(0, 100);
  ProgressBar->setValue(0);
  const int barHeight = 18;
  const int clientHeight = PanelTop + panelHeight + barHeight + 10;
  ProgressBar->setGeometry(8, clientHeight - barHeight - 5, WindowWidth - 16, barHeight);
  setFixedSize(WindowWidth, clientHeight);

  connect(WebClient, &TWebClient::OnSendBegin, this, &TFormProgress::WebClientSendBegin);
  connect(WebClient, &TWebClient::OnSendData, this, &TFormProgress::WebClientSendData);
  connect(WebClient, &TWebClient::OnSendEnd, this, &TFormProgress::WebClientSendEnd);
  connect(WebClient, &TWebClient::OnDocBegin, this, &TFormProgress::WebClientDocBegin);
  connect(WebClient, &TWebClient::OnDocData, this, &TFormProgress::WebClientDocData);
  connect(WebClient, &TWebClient::OnDocEnd, this, &TFormProgress::WebClientDocEnd);
  if (owner) move(owner->geometry().center() - rect().center());
}

TFormProgress::~TFormProgress() {
  disconnect(WebClient, nullptr, this, nullptr);
}

void TFormProgress::SetStep(int index) {
  CurrentStep_ = std::clamp(index, 0, static_cast<int>(Steps.size()) - 1);
  SetBarPosition(*ProgressBar, 0);
  STCursor->move(STCursor->x(), Steps[CurrentStep_]->y());
}

void TFormProgress::SetStepText(int index, const QString& text) {
  if (index < 0 || index >= static_cast<int>(Steps.size())) return;
  Steps[index]->setText(text);
  Steps[index]->repaint();
}

void TFormProgress::WebClientSendBegin() {
  SetText(TextSending);
  ProgressBar->setMaximum(ToRange(2 * static_cast<qint64>(WebClient->BodyLength())));
  ProgressBar->repaint();
}

void TFormProgress::WebClientSendData(qint64 bytes) {
  AdvanceBar(*ProgressBar, bytes);
}

void TFormProgress::WebClientSendEnd() {
  SetText(TextSent);
}

void TFormProgress::WebClientDocBegin(qint64 contentLength) {
  SetText(TextReceiving);
  ContentLength_ = contentLength;
  SetBarPosition(*ProgressBar, 0);
  // Minimum first, so the range stays what it says (-length to length); a
  // reply without length gives an unusable range, as before.
  ProgressBar->setMinimum(ToRange(-contentLength));
  ProgressBar->setMaximum(ToRange(contentLength));
  ProgressBar->repaint();
}

void TFormProgress::WebClientDocData(qint64 bytes) {
  AdvanceBar(*ProgressBar, bytes);
}

void TFormProgress::WebClientDocEnd() {
  SetBarPosition(*ProgressBar, ContentLength_);
  SetText(TextOK);
}
