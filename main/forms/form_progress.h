#pragma once
// The step window of long operations: one label per step, a cursor at the
// current one and a bar that follows the web client's transfers (first half
// while sending, second half while receiving).
#include <QDialog>
#include <vector>

class QFrame;
class QLabel;
class QProgressBar;
class TWebClient;

class TFormProgress : public QDialog {
  Q_OBJECT
 public:
  static constexpr int WindowWidth = 446;
  static constexpr int StepHeight = 30;

  TFormProgress(QWidget* owner, int steps, TWebClient& webClient);
  ~TFormProgress() override;

  TWebClient* WebClient;  // not owned
  QFrame* Panel;
  QLabel* STCursor;
  std::vector<QLabel*> Steps;
  QProgressBar* ProgressBar;

  int CurrentStep() const { return CurrentStep_; }
  // Beyond the last step means the last; the bar's position returns to 0.
  void SetStep(int index);
  void SetStepText(int index, const QString& text);
  void SetText(const QString& text) { SetStepText(CurrentStep_, text); }

  void WebClientSendBegin();
  void WebClientSendData(qint64 bytes);
  void WebClientSendEnd();
  void WebClientDocBegin(qint64 contentLength);
  void WebClientDocData(qint64 bytes);
  void WebClientDocEnd();

 private:
  int CurrentStep_ = 0;
  qint64 ContentLength_ = 0;
  QString TextSending, TextSent, TextReceiving, TextOK;
};
