#pragma once
// The viewer's command line: one GEDCOM file path, taken whole.
#include <QString>
#include <QStringList>

namespace ktviewer {

// The path given after the program name. A path with spaces that reached us
// unquoted, split into several arguments, is joined back with single spaces.
QString CommandLinePath(const QStringList& argumentsAfterProgram);

// Where a command-line name is looked for, in order: as given, then in the
// program folder. Opening the first that exists is the caller's business.
QStringList CommandLineCandidates(const QString& path, const QString& programFolder);

}  // namespace ktviewer
