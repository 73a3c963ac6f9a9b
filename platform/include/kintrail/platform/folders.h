#pragma once
// Where a program finds its delivered files and writes its own.
#include <string>

namespace kt {

// Folder of the running executable, with a trailing '/'.
std::string ProgramFolder();

// Writable data folder with a trailing '/': the program folder when it is
// writable (portable install, build tree), else $XDG_DATA_HOME/kintrail/
// (default ~/.local/share/kintrail/), created on demand.
std::string DataFolder();

// The same rule for a named application folder under $XDG_DATA_HOME, without
// the program-folder preference (servers, per-user state).
std::string XdgDataHome();
std::string XdgStateHome();

}  // namespace kt
