#pragma once
// FProgress: the gauge shown while a file is analysed or the list is filled.
#include <QDialog>
#include <QLabel>

#include "progressgauge.h"

namespace ktviewer {

class GaugeStrip;

class FProgress : public QDialog {
  Q_OBJECT
 public:
  explicit FProgress(QWidget* parent = nullptr);

  void InitProgressCaptions();
  // Draws the bar for `newvalue` (limited to GaugeMin..GaugeMax).
  void SetValue(int32_t newvalue);

  int32_t& GaugeMin() { return gauge_.GaugeMin; }
  int32_t& GaugeMax() { return gauge_.GaugeMax; }
  int32_t GaugeValue() const { return gauge_.GaugeValue; }
  // Width of the drawn bar in pixels (0 before anything is drawn).
  int BarWidth() const;

  QLabel* LInfo;

 private:
  ProgressGauge gauge_;
  GaugeStrip* Picture1;
};

}  // namespace ktviewer
