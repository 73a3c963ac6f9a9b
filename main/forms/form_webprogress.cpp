#include "forms/form_webprogress.h"

#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>
#include <algorithm>
#include <climits>

#include "core/veskmessage.h"
#include "core/webclient.h"
#include "forms/progressbar.h"

namespace {
int ToRange(qint64 value) {
  return static_cast<int>(std::clamp<qint64>(value, INT_MIN, INT_MAX));
}
}  // namespace

TFormWebProgress::TFormWebProgress(QWidget* owner, TWebClient& webClient)
    : QDialog(owner, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      WebClient(&webClient),
      TextSending(QString::fromStdString(LoadMessage(msg::WebSending))),
      TextWaiting(QString::fromStdString(LoadMessage(msg::WebWaiting))),
      TextReceiving(QString::fromStdString(LoadMessage(msg::WebReceiving))) {
  setObjectName("FormWebProgress");
  setWindowTitle("Data transfer in progress...");
  auto* layout = new QVBoxLayout(this);
  StaticText = new QLabel(this);
  StaticText->setObjectName("StaticText");
  layout->addWidget(StaticText);
  ProgressBar = new QProgressBar(this);
  ProgressBar->setObjectName("ProgressBar");
  ProgressBar->setRange(0, 100);
  ProgressBar->setValue(0);
  ProgressBar->setTextVisible(false);
  layout->addWidget(ProgressBar);
  resize(320, sizeHint().height());

  connect(WebClient, &TWebClient::OnSendBegin, this, &TFormWebProgress::WebClientSendBegin);
  connect(WebClient, &TWebClient::OnSendData, this, &TFormWebProgress::WebClientSendData);
  connect(WebClient, &TWebClient::OnSendEnd, this, &TFormWebProgress::WebClientSendEnd);
  connect(WebClient, &TWebClient::OnDocBegin, this, &TFormWebProgress::WebClientDocBegin);
  connect(WebClient, &TWebClient::OnDocData, this, &TFormWebProgress::WebClientDocData);
  connect(WebClient, &TWebClient::OnDocEnd, this, &TFormWebProgress::WebClientDocEnd);
}

TFormWebProgress::~TFormWebProgress() {
  disconnect(WebClient, nullptr, this, nullptr);
}

void TFormWebProgress::WebClientSendBegin() {
  if (parentWidget()) move(parentWidget()->geometry().center() - rect().center());
  show();
  StaticText->setText(TextSending);
  ProgressBar->setMaximum(WebClient->BodyLength());
}

void TFormWebProgress::WebClientSendData(qint64 bytes) {
  AdvanceBar(*ProgressBar, bytes);
}

void TFormWebProgress::WebClientSendEnd() {
  StaticText->setText(TextWaiting);
  SetBarPosition(*ProgressBar, 0);
}

void TFormWebProgress::WebClientDocBegin(qint64 contentLength) {
  StaticText->setText(TextReceiving);
  ProgressBar->setMaximum(ToRange(contentLength));
}

void TFormWebProgress::WebClientDocData(qint64 bytes) {
  AdvanceBar(*ProgressBar, bytes);
}

void TFormWebProgress::WebClientDocEnd() {
  hide();
}
