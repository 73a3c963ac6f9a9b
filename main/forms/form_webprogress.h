#pragma once
// The transfer window a feature puts up around one exchange: it follows the
// web client's six transfer events while it exists.
#include <QDialog>

class QLabel;
class QProgressBar;
class TWebClient;

class TFormWebProgress : public QDialog {
  Q_OBJECT
 public:
  TFormWebProgress(QWidget* owner, TWebClient& webClient);
  ~TFormWebProgress() override;

  TWebClient* WebClient;  // not owned
  QLabel* StaticText;
  QProgressBar* ProgressBar;

  void WebClientSendBegin();
  void WebClientSendData(qint64 bytes);
  void WebClientSendEnd();
  void WebClientDocBegin(qint64 contentLength);
  void WebClientDocData(qint64 bytes);
  void WebClientDocEnd();

 private:
  QString TextSending, TextWaiting, TextReceiving;
};
