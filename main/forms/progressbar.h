#pragma once
// Moves a progress bar the way the designed windows expect: a position is
// kept within the bar's range instead of being ignored when outside it.
class QProgressBar;

void SetBarPosition(QProgressBar& bar, long long position);
void AdvanceBar(QProgressBar& bar, long long bytes);
