#include "app/TrayDialog.h"

// A launch hides the window first; a second launch while one runs does nothing.
void TrayDialog::LaunchPropertyPages() {
    if (launchBusy) return;
    launchBusy = 1;
    showState = 1;
    OnPaint();
    launchBusy = 0;
}
