#include "fprogress.h"

#include <QPainter>
#include <algorithm>

#include "texttable.h"

namespace ktviewer {

// The strip the bar grows in; the bar is never cleared during one use.
class GaugeStrip : public QWidget {
 public:
  explicit GaugeStrip(QWidget* parent) : QWidget(parent) {}
  void SetBarWidth(int width) {
    barWidth_ = std::max(barWidth_, width);
    repaint();
  }
  int barWidth() const { return barWidth_; }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Base));
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.fillRect(QRect(0, 0, barWidth_, height()), QColor(156, 128, 32));
  }

 private:
  int barWidth_ = 0;
};

FProgress::FProgress(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("FProgress"));
  setModal(false);
  // Twips of the design at 15 per pixel.
  setFixedSize(353, 58);
  LInfo = new QLabel(this);
  LInfo->setObjectName(QStringLiteral("LInfo"));
  LInfo->setGeometry(8, 8, 337, 17);
  Picture1 = new GaugeStrip(this);
  Picture1->setObjectName(QStringLiteral("Picture1"));
  Picture1->setGeometry(8, 32, 337, 17);
  InitProgressCaptions();
}

void FProgress::InitProgressCaptions() {
  setWindowTitle(Texts().ProgressCaption);
}

void FProgress::SetValue(int32_t newvalue) {
  if (const auto width = gauge_.SetValue(newvalue, Picture1->width()))
    Picture1->SetBarWidth(*width);
}

int FProgress::BarWidth() const {
  return Picture1->barWidth();
}

}  // namespace ktviewer
