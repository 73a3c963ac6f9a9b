#include "kintrail/platform_qt/qtdatetime.h"

#include <QCoreApplication>

#include "kintrail/platform/messagepump.h"
#include "kintrail/platform/text.h"

namespace kt {

QDateTime ToQDateTime(DateTime value) {
  const DateTime::Fields f = value.ToFields();
  return QDateTime(QDate(f.year, f.month, f.day), QTime(f.hour, f.minute, f.second, f.millisecond),
                   Qt::LocalTime);
}

DateTime FromQDateTime(const QDateTime& value) {
  const QDateTime local = value.toLocalTime();
  const QDate d = local.date();
  const QTime t = local.time();
  DateTime result;
  if (!DateTime::TryFromFields(d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second(),
                               t.msec(), result))
    return DateTime(0.0);
  return result;
}

namespace {
QString LocaleFormat(const QLocale& locale) {
  return locale.dateFormat(QLocale::ShortFormat) + " " + locale.timeFormat(QLocale::LongFormat);
}
}  // namespace

QString FormatLocaleDateTime(DateTime value, const QLocale& locale) {
  return locale.toString(ToQDateTime(value), LocaleFormat(locale));
}

std::optional<DateTime> ParseLocaleDateTime(const QString& text, const QLocale& locale) {
  QDateTime parsed = locale.toDateTime(text.trimmed(), LocaleFormat(locale));
  if (!parsed.isValid()) return std::nullopt;
  // Short formats carry two-digit years; Qt reads them in 1900-1999.
  if (parsed.date().year() < 1950 && !LocaleFormat(locale).contains("yyyy"))
    parsed = parsed.addYears(100);
  return FromQDateTime(parsed);
}

QString UserLanguageCode(const QLocale& locale) {
  switch (locale.language()) {
    case QLocale::French: return QStringLiteral("fr");
    case QLocale::German: return QStringLiteral("de");
    default: return QStringLiteral("en");
  }
}

void InstallQtMessagePump() {
  SetProcessMessagesCallback([](void*) { QCoreApplication::processEvents(); });
}

QString ToQString(const std::string& utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string FromQString(const QString& text) { return text.toUtf8().toStdString(); }

QString Win1252ToQString(const std::string& bytes) { return ToQString(Win1252ToUtf8(bytes)); }

}  // namespace kt
