#pragma once
// frmSplash: shown at start-up without a command line; fades two lines in
// and out, shows the version and closes itself after 150 ticks of 60 ms, or
// at once on a key, a click or OK.
#include <QDialog>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <memory>

#include "splashfade.h"
#include "treebox.h"

namespace ktviewer {

// A line of text painted in a colour chosen by the fade.
class FadeLine : public ClickableLabel {
  Q_OBJECT
 public:
  FadeLine(QColor background, bool bold, QWidget* parent);
  void Paint(const QString& text, QColor colour);
  QColor TextColour() const { return colour_; }
  QColor Background() const { return background_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QColor background_, colour_;
  QString line_;
};

class frmSplash : public QDialog {
  Q_OBJECT
 public:
  explicit frmSplash(QWidget* parent = nullptr);

  void InitSplashCaptions();
  // One step of the fade (the timer calls it every 60 ms).
  void Timer1Timer();
  int Ticks() const { return fade_.Ticks(); }

  ClickableLabel* imgLogo;
  FadeLine* POrvanePresents;
  FadeLine* PProductName;
  QLabel* lblVersion;
  QLabel* lblPlatform;
  QLabel* lblWarning;
  QPushButton* BClose;
  QFrame* Frame1;
  FilledShape* Shape1;
  FilledShape* Shape2;
  QTimer* Timer1;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CloseSplash();
  SplashFade fade_;
};

}  // namespace ktviewer
