#pragma once
// The periodic check for new requests and answers: its settings (on or off,
// period in minutes) and the three notifications the main window shows.
// The check itself belongs to the requests feature.
#include <QObject>

#include "core/xmlpersist.h"

class TRequestChecker : public QObject {
  Q_OBJECT

 public:
  static constexpr int DefaultIntervalMinutes = 5;

  bool Enabled() const { return Enabled_; }
  void SetEnabled(bool enabled) { Enabled_ = enabled; }
  // Period in milliseconds; 0 until the configuration gives one.
  int IntervalMs() const { return IntervalMs_; }
  int IntervalMinutes() const { return IntervalMs_ / 60000; }
  void SetIntervalMinutes(int minutes) { IntervalMs_ = minutes * 60000; }

  // Bit 0: one of the user's own requests was answered; bit 1: a new request.
  int ChangeState = 0;

  // From `autoupdate`: on unless it has a `disabled` child; `interval` in
  // minutes, 5 when missing or not a number.
  void LoadFromXML(pugi::xml_node autoupdate);
  void SaveToXML(pugi::xml_node autoupdate) const;

 signals:
  void OnChanged();
  void OnStarted();
  void OnFinished();

 private:
  bool Enabled_ = false;
  int IntervalMs_ = 0;
};
