#include "core/versinfo.h"

#include <QCoreApplication>
#include <cstdio>
#include <map>
#include <utility>
#include <vector>

namespace {

struct TStringTable {
  uint16_t Language;
  uint16_t CodePage;
  std::map<std::string, std::string> Strings;
};

const std::vector<TStringTable>& StringTables() {
  static const std::vector<TStringTable> tables = {
      {0x0409,
       0x04B0,
       {{"CompanyName", "Kintrail"},
        {"FileDescription", "Kintrail client"},
        {"FileVersion", "0.2.1.0"},
        {"InternalName", "vesk"},
        {"OriginalFilename", "vesk"},
        {"ProductName", "Kintrail"},
        {"ProductVersion", "0.2.1.0"},
        {"ProductDescription", "Share your family history with genealogists all over the world"},
        {"LegalCopyright", "Copyright \xC2\xA9 2026 the Kintrail developers"},
        {"LegalTrademarks", ""},
        {"Patents", "Patented technologies"},
        {"ThanksTo", ""}}},
      {0x040C,
       0x04B0,
       {{"CompanyName", "Kintrail"},
        {"FileDescription", "Client Kintrail"},
        {"FileVersion", "0.2.1.0"},
        {"InternalName", "vesk"},
        {"OriginalFilename", "vesk"},
        {"ProductName", "Kintrail"},
        {"ProductVersion", "0.2.1.0"},
        {"ProductDescription",
         "Partagez votre histoire familiale avec les g\xC3\xA9n\xC3\xA9"
         "alogistes du monde entier"},
        {"LegalCopyright", "Copyright \xC2\xA9 2026 les d\xC3\xA9veloppeurs de Kintrail"},
        {"LegalTrademarks", ""},
        {"Patents",
         "Technologies brevet\xC3\xA9"
         "es"},
        {"ThanksTo", ""}}},
      {0x0407,
       0x04B0,
       {{"CompanyName", "Kintrail"},
        {"FileDescription", "Kintrail-Client"},
        {"FileVersion", "0.2.1.0"},
        {"InternalName", "vesk"},
        {"OriginalFilename", "vesk"},
        {"ProductName", "Kintrail"},
        {"ProductVersion", "0.2.1.0"},
        {"ProductDescription", "Teilen Sie Ihre Familiengeschichte mit Genealogen in aller Welt"},
        {"LegalCopyright", "Copyright \xC2\xA9 2026 die Kintrail-Entwickler"},
        {"LegalTrademarks", ""},
        {"Patents", "Patentierte Technologien"},
        {"ThanksTo", ""}}},
  };
  return tables;
}

uint16_t SubLanguageOf(const QLocale& locale) {
  using L = QLocale;
  static const std::map<std::pair<L::Language, L::Territory>, uint16_t> sub = {
      {{L::English, L::UnitedKingdom}, 2}, {{L::English, L::Australia}, 3},
      {{L::English, L::Canada}, 4},        {{L::English, L::NewZealand}, 5},
      {{L::English, L::Ireland}, 6},       {{L::French, L::Belgium}, 2},
      {{L::French, L::Canada}, 3},         {{L::French, L::Switzerland}, 4},
      {{L::French, L::Luxembourg}, 5},     {{L::German, L::Switzerland}, 2},
      {{L::German, L::Austria}, 3},        {{L::German, L::Luxembourg}, 4},
      {{L::Spanish, L::Spain}, 3},         {{L::Spanish, L::Mexico}, 2},
  };
  const auto found = sub.find({locale.language(), locale.territory()});
  return found == sub.end() ? 1 : found->second;
}

}  // namespace

uint16_t LanguageIdOf(const QLocale& locale) {
  static const std::map<QLocale::Language, uint16_t> primary = {
      {QLocale::Arabic, 0x01},   {QLocale::Czech, 0x05},      {QLocale::Danish, 0x06},
      {QLocale::German, 0x07},   {QLocale::Greek, 0x08},      {QLocale::English, 0x09},
      {QLocale::Spanish, 0x0A},  {QLocale::Finnish, 0x0B},    {QLocale::French, 0x0C},
      {QLocale::Hebrew, 0x0D},   {QLocale::Hungarian, 0x0E},  {QLocale::Italian, 0x10},
      {QLocale::Japanese, 0x11}, {QLocale::Dutch, 0x13},      {QLocale::NorwegianBokmal, 0x14},
      {QLocale::Polish, 0x15},   {QLocale::Portuguese, 0x16}, {QLocale::Russian, 0x19},
      {QLocale::Swedish, 0x1D},  {QLocale::Turkish, 0x1F},
  };
  const auto found = primary.find(locale.language());
  const uint16_t language = found == primary.end() ? 0x09 : found->second;
  return static_cast<uint16_t>((SubLanguageOf(locale) << 10) | language);
}

TVersInfo::TVersInfo() {
  if (QCoreApplication::instance())
    FileName = QCoreApplication::applicationFilePath().toStdString();
  FixedInfo.FileVersionMS = (VESK_VERSION_MAJOR << 16) | VESK_VERSION_MINOR;
  FixedInfo.FileVersionLS = (VESK_VERSION_RELEASE << 16) | VESK_VERSION_BUILD;
  FixedInfo.ProductVersionMS = FixedInfo.FileVersionMS;
  FixedInfo.ProductVersionLS = FixedInfo.FileVersionLS;
}

std::string TVersInfo::VersionXML() const {
  char text[128];
  std::snprintf(text, sizeof text, "<version major='%u' minor='%u' release='%u' build='%u' />",
                Major(), Minor(), Release(), Build());
  return text;
}

std::string TVersInfo::VersionText() const {
  char text[64];
  std::snprintf(text, sizeof text, "%u.%u.%u.%u", Major(), Minor(), Release(), Build());
  return text;
}

std::string TVersInfo::GetString(const std::string& key) const {
  uint16_t wanted;
  if (PrimaryLanguage != 0)
    wanted = static_cast<uint16_t>((SubLanguage << 10) | (PrimaryLanguage & 0x3FF));
  else
    wanted = LanguageIdOf(QLocale());  // the user's (and the system's) default language
  std::string value;
  for (const TStringTable& table : StringTables()) {
    if (table.Language != wanted) continue;
    const auto found = table.Strings.find(key);
    value = found == table.Strings.end() ? std::string() : found->second;
  }
  return value == "0" ? std::string() : value;
}
