#pragma once
// The system information program the about box can start: the first of a
// few known programs found on PATH.
#include <QString>
#include <QStringList>

namespace ktviewer {

// Program names tried in order.
QStringList SysInfoProgramNames();

// Full path of the first program of `names` found on `searchPath` (a
// PATH-style list); empty when none is there.
QString FindSysInfoProgram(const QString& searchPath,
                           const QStringList& names = SysInfoProgramNames());

}  // namespace ktviewer
