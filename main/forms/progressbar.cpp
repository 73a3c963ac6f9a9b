#include "forms/progressbar.h"

#include <QProgressBar>
#include <algorithm>

void SetBarPosition(QProgressBar& bar, long long position) {
  const long long clamped = std::clamp<long long>(position, bar.minimum(), bar.maximum());
  bar.setValue(static_cast<int>(clamped));
  bar.repaint();
}

void AdvanceBar(QProgressBar& bar, long long bytes) {
  SetBarPosition(bar, bar.value() + bytes);
}
