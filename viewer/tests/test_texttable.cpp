// The text table in both languages.
#include <gtest/gtest.h>

#include "texttable.h"

namespace ktviewer {
namespace {

TEST(TextTable, EnglishAndFrenchEntries) {
  SetLanguageTexts(kEnglish);
  const TextTable& t = Texts();
  EXPECT_EQ(t.AppTitle, "Kintrail Viewer");
  EXPECT_EQ(t.MenuBrowse, "&Browse");
  EXPECT_EQ(t.RoleLabels[0], " Current Primary Individual");
  EXPECT_EQ(t.RoleTooltips[3], "Click on the grandfather to  move him to the primary position");
  EXPECT_EQ(t.ChildLabels[0], "Child #1");
  EXPECT_EQ(t.ChildLabels[5], "Child #6");
  EXPECT_EQ(t.LetterGroups[0], "All");
  EXPECT_EQ(t.LetterGroups[9], "I-J");
  EXPECT_EQ(t.LetterGroups[21], "W-Z;~");
  EXPECT_EQ(t.VersionText, "Version " + ProgramVersion());
  EXPECT_EQ(t.CreatingListText, "Creating list...");

  SetLanguageTexts(kFrench);
  EXPECT_EQ(t.AppTitle, "Kintrail Viewer");
  EXPECT_EQ(t.MenuAbout, "&A &propos");
  EXPECT_EQ(t.SpouseLabel, QString::fromUtf8("Epoux / épouse"));
  EXPECT_EQ(t.ChildLabels[2], QString::fromUtf8("Enfant n°3"));
  EXPECT_EQ(t.LetterGroups[0], "Tout");
  EXPECT_EQ(t.LetterGroups[21], "W-Z;~");
  EXPECT_EQ(t.LanguageNames[1], QString::fromUtf8("Français"));
  EXPECT_TRUE(t.GedcomExplanation.contains("\r\nCe format est devenu"));
  EXPECT_EQ(t.PresentsLine, QString::fromUtf8("Orvane présente"));
  EXPECT_FALSE(t.CreatingListText.isEmpty());
  EXPECT_EQ(t.VersionText, "Version " + ProgramVersion());

  // Any index other than 1 is English.
  SetLanguageTexts(7);
  EXPECT_EQ(t.MenuFile, "&File");
}

TEST(TextTable, EveryEntryFilledInBothLanguages) {
  for (int language : {kEnglish, kFrench}) {
    SetLanguageTexts(language);
    const TextTable& t = Texts();
    const QString* plain[] = {&t.SeeAllInfoCaption,
                              &t.SeeUnionInfoCaption,
                              &t.OtherChildrenCaption,
                              &t.MenuFile,
                              &t.MenuOpen,
                              &t.MenuSaveAs,
                              &t.MenuQuit,
                              &t.MenuBrowse,
                              &t.MenuFirstIndividual,
                              &t.MenuList,
                              &t.MenuLanguage,
                              &t.MenuHelp,
                              &t.MenuAbout,
                              &t.MenuOnlineHelp,
                              &t.SpouseLabel,
                              &t.ChildTooltip,
                              &t.SpouseTooltip,
                              &t.MsgLoadFileFirst,
                              &t.MsgSelectIndividual,
                              &t.MsgNoCurrentFile,
                              &t.OpenDialogTitle,
                              &t.SaveDialogTitle,
                              &t.ProgressCaption,
                              &t.LoadingFilePrefix,
                              &t.ListCaption,
                              &t.ListPickCaption,
                              &t.ListCloseCaption,
                              &t.IndividualsSuffix,
                              &t.UnionsSuffix,
                              &t.InfoCaptionPrefix,
                              &t.InfoHelpCaption,
                              &t.InfoCloseCaption,
                              &t.RawIndividualCaption,
                              &t.RawUnionCaption,
                              &t.AboutPrefix,
                              &t.AboutOkCaption,
                              &t.AboutSysInfoCaption,
                              &t.AboutDescription,
                              &t.AboutTitle,
                              &t.GedcomExplanation,
                              &t.PresentsLine,
                              &t.ProductTitle,
                              &t.SplashCloseCaption,
                              &t.PlatformText,
                              &t.NoticeText};
    for (const QString* entry : plain) EXPECT_FALSE(entry->isEmpty()) << language;
    for (const QString& entry : t.RoleLabels) EXPECT_FALSE(entry.isEmpty());
    for (const QString& entry : t.RoleTooltips) EXPECT_FALSE(entry.isEmpty());
    for (const QString& entry : t.LetterGroups) EXPECT_FALSE(entry.isEmpty());
  }
}

}  // namespace
}  // namespace ktviewer
