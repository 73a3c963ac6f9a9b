#pragma once
// The designed date-time at the Qt boundary, and the user's locale formats.
#include <QDateTime>
#include <QLocale>
#include <QString>
#include <optional>

#include "kintrail/platform/datetime.h"

namespace kt {

QDateTime ToQDateTime(DateTime value);
DateTime FromQDateTime(const QDateTime& value);

// Short date and long time of `locale` (the system locale by default).
QString FormatLocaleDateTime(DateTime value, const QLocale& locale = QLocale::system());
// Reads back what FormatLocaleDateTime writes; nullopt when it does not read.
std::optional<DateTime> ParseLocaleDateTime(const QString& text,
                                            const QLocale& locale = QLocale::system());

// Language code of the user interface: "fr", "en" or "de"; anything else "en".
QString UserLanguageCode(const QLocale& locale = QLocale::system());

// Installs, for the calling thread, the pending-messages callback that runs
// QCoreApplication::processEvents.
void InstallQtMessagePump();

// UTF-8 std::string <-> QString, and Windows-1252 bytes -> QString.
QString ToQString(const std::string& utf8);
std::string FromQString(const QString& text);
QString Win1252ToQString(const std::string& bytes);

}  // namespace kt
