#pragma once
// The viewer's program-wide text table: every caption, tooltip and message of
// its windows, filled for the chosen language by SetLanguageTexts.
#include <QString>
#include <array>

namespace ktviewer {

inline constexpr int kEnglish = 0;
inline constexpr int kFrench = 1;
inline constexpr int kLetterGroupCount = 22;

struct TextTable {
  // Main window captions and menus.
  QString AppTitle;
  QString SeeAllInfoCaption;
  QString SeeUnionInfoCaption;
  QString OtherChildrenCaption;
  QString MenuFile;
  QString MenuOpen;
  QString MenuSaveAs;
  QString MenuQuit;
  QString MenuBrowse;
  QString MenuFirstIndividual;
  QString MenuList;
  QString MenuLanguage;
  std::array<QString, 2> LanguageNames;
  QString MenuHelp;
  QString MenuAbout;
  QString MenuOnlineHelp;

  // Tree boxes: role texts shown while no file is loaded, and tooltips.
  std::array<QString, 7> RoleLabels;
  QString SpouseLabel;
  std::array<QString, 6> ChildLabels;
  std::array<QString, 7> RoleTooltips;
  QString ChildTooltip;
  QString SpouseTooltip;

  // Messages, dialogs, progress.
  QString MsgLoadFileFirst;
  QString MsgSelectIndividual;
  QString MsgNoCurrentFile;
  QString OpenDialogTitle;
  QString SaveDialogTitle;
  QString ProgressCaption;
  QString LoadingFilePrefix;
  QString CreatingListText;

  // List and raw data windows.
  QString ListCaption;
  QString ListPickCaption;
  QString ListCloseCaption;
  QString IndividualsSuffix;
  QString UnionsSuffix;
  std::array<QString, kLetterGroupCount> LetterGroups;
  QString InfoCaptionPrefix;
  QString InfoHelpCaption;
  QString InfoCloseCaption;
  QString RawIndividualCaption;
  QString RawUnionCaption;

  // About box and splash.
  QString AboutPrefix;
  QString AboutOkCaption;
  QString AboutSysInfoCaption;
  QString AboutDescription;
  QString AboutTitle;
  QString VersionText;
  QString GedcomExplanation;
  QString PresentsLine;
  QString ProductTitle;
  QString SplashCloseCaption;
  QString PlatformText;
  QString NoticeText;
};

// The program-wide table; every entry is empty until SetLanguageTexts runs.
TextTable& Texts();

// Fills Texts() for a language: 1 is French, any other value English.
void SetLanguageTexts(int languageIndex);

// The running program's version as major.minor.revision ("0.2.1").
QString ProgramVersion();

// Text of the message box the system-information button shows when no such
// program can be started; French whatever the language, as the box always was.
QString SysInfoUnavailableText();

}  // namespace ktviewer
