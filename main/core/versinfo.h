#pragma once
// Version numbers and version strings of the running program. The version is
// compiled in from the project version; the string tables are data, one per
// language of the translation list (0409 English, 040C French, 0407 German,
// each with code page 04B0).
#include <QLocale>
#include <cstdint>
#include <string>

struct TFixedFileInfo {
  uint32_t Signature = 0xFEEF04BD;
  uint32_t StrucVersion = 0x00010000;
  uint32_t FileVersionMS = 0;
  uint32_t FileVersionLS = 0;
  uint32_t ProductVersionMS = 0;
  uint32_t ProductVersionLS = 0;
  uint32_t FileFlags = 0;
  uint32_t FileType = 1;  // application
  uint64_t FileDate = 0;
};

class TVersInfo {
 public:
  TVersInfo();

  std::string FileName;
  TFixedFileInfo FixedInfo;
  uint16_t PrimaryLanguage = 0;  // 0 with SubLanguage 1: the user's default language
  uint16_t SubLanguage = 1;

  uint32_t Major() const { return FixedInfo.FileVersionMS >> 16; }
  uint32_t Minor() const { return FixedInfo.FileVersionMS & 0xFFFF; }
  uint32_t Release() const { return FixedInfo.FileVersionLS >> 16; }
  uint32_t Build() const { return FixedInfo.FileVersionLS & 0xFFFF; }

  // "<version major='0' minor='2' release='1' build='0' />"
  std::string VersionXML() const;
  // "0.2.1.0"
  std::string VersionText() const;
  // Version string `key` ("ProductName") in the selected language; empty
  // when that language has no table, the key is missing or its value is "0".
  std::string GetString(const std::string& key) const;
};

// Windows language identifier of a locale (French Switzerland 0x100C, Spanish
// 0x0C0A, ...): primary language in the low ten bits, sublanguage above.
uint16_t LanguageIdOf(const QLocale& locale);
