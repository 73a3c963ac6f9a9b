#pragma once
// Start-up and end of the client program.

// Creates the program's windows in their order (FormMain first, then the
// world search, shared GEDCOMs, advanced search, requests and news pages).
void CreateApplicationWindows();
// Shows the main window unless the program starts in the tray (minimized).
void ShowMainWindowAtStart();
// Destroys the windows, in the reverse order.
void DestroyApplicationWindows();

// The whole program: application object, windows, message loop, exit order.
int RunVesk(int argc, char** argv);
