#pragma once
// The two log files in the log folder: the diagnostic log (structure dumps and
// error lines) and the event log (one line per item). A log that cannot be
// written is skipped silently.
#include <cstdio>
#include <string>

#include "bngt32.h"

namespace bngt32 {

class Call;

// $BNGT32_LOG_DIR, else $XDG_STATE_HOME/bngt32, with a trailing '/'; created on demand.
std::string LogFolder();
// A catalogue file name such as "\BNGT32.LOG" as a path in the log folder.
std::string LogPath(const std::string& catalogueName);

void AppendToFile(const std::string& path, const std::string& text);
void WriteDiagnosticStructure(Call& call, const GTCMDSTRUCT& command);
void WriteDiagnosticStructure(Call& call, const UGTCMDSTRUCT& command);

}  // namespace bngt32
