#pragma once
// The viewer's settings in the per-user store (organisation "Kintrail",
// application "KTViewer", INI format): the language, the folder of the last
// opened file and the address of the service's web host.
#include <QString>

namespace ktviewer {

inline constexpr char kDefaultWebHost[] = "http://127.0.0.1:8080";

class ViewerSettings {
 public:
  // "options"/"language": not a number counts as 0, other numbers are
  // limited to 0..lastLanguage.
  static int Language(int lastLanguage = 1);
  static void SetLanguage(int languageIndex);

  // "path"/"gedpath" with a trailing '/'; the program folder when absent.
  static QString GedPath();
  static void SetGedPath(const QString& folder);

  // "options"/"webhost": where the home page and the online help live.
  static QString WebHost();
};

// Home page and help pages of the service's web host.
QString HomePageUrl();
// The host followed by "/web/_client/softlinks.asp?folder=" and `keyword`.
QString SoftLinkUrl(const QString& keyword);

}  // namespace ktviewer
