#include "texttable.h"

namespace ktviewer {

namespace {

void SetCommonTexts(TextTable& t) {
  static const char* const kGroups[kLetterGroupCount - 1] = {
      "A", "B", "C", "D",   "E", "F", "G", "H", "I-J", "K",    "L",
      "M", "N", "O", "P-Q", "R", "S", "T", "U", "V",   "W-Z;~"};
  for (int g = 1; g < kLetterGroupCount; ++g)
    t.LetterGroups[g] = QString::fromLatin1(kGroups[g - 1]);
  t.LanguageNames = {QStringLiteral("English"), QStringLiteral("Français")};
  t.AppTitle = QStringLiteral("Kintrail Viewer");
  t.ProductTitle = QStringLiteral("Kintrail Viewer");
  t.AboutTitle = t.AppTitle;
  t.AboutOkCaption = QStringLiteral("OK");
  t.SplashCloseCaption = QStringLiteral("OK");
  t.MenuHelp = QStringLiteral("?");
  t.NoticeText = QStringLiteral("© 2026 Orvane. All rights reserved.");
}

void SetEnglishTexts(TextTable& t) {
  t.SeeAllInfoCaption = QStringLiteral("See all info");
  t.SeeUnionInfoCaption = QStringLiteral("See all info about union");
  t.OtherChildrenCaption = QStringLiteral("other children");
  t.MenuFile = QStringLiteral("&File");
  t.MenuOpen = QStringLiteral("&Open");
  t.MenuSaveAs = QStringLiteral("&Save as");
  t.MenuQuit = QStringLiteral("&Quit");
  t.MenuBrowse = QStringLiteral("&Browse");
  t.MenuFirstIndividual = QStringLiteral("&First individual in the file");
  t.MenuList = QStringLiteral("&List");
  t.MenuLanguage = QStringLiteral("Language");
  t.MenuAbout = QStringLiteral("&About");
  t.MenuOnlineHelp = QStringLiteral("Online &Help");

  t.RoleLabels = {QStringLiteral(" Current Primary Individual"),
                  QStringLiteral("The father of the current primary individual"),
                  QStringLiteral("The mother of the current primary individual"),
                  QStringLiteral("The paternal grandfather of the current primary individual"),
                  QStringLiteral("The paternal grandmother of the current primary individual"),
                  QStringLiteral("The maternal grandfather of the current primary individual"),
                  QStringLiteral("The maternal grandmother of the current primary individual")};
  t.SpouseLabel = QStringLiteral("Spouse of the current primary individual");
  for (int b = 0; b < 6; ++b) t.ChildLabels[b] = QStringLiteral("Child #") + QString::number(b + 1);
  t.RoleTooltips = {
      QStringLiteral("Primary individual"),
      QStringLiteral("Click on the father to move him to the primary position"),
      QStringLiteral("Click on the mother to move her to the primary position"),
      QStringLiteral("Click on the grandfather to  move him to the primary position"),
      QStringLiteral("Click on the grandmother to move her to the primary position"),
      QStringLiteral("Click on the grandfather to  move him to the primary position"),
      QStringLiteral("Click on the grandmother to  move her to the primary position")};
  t.ChildTooltip = QStringLiteral("Click on this child to move him/her to the primary position");
  t.SpouseTooltip = QStringLiteral("Click on the spouse to move him/her to the primary position");

  t.MsgLoadFileFirst = QStringLiteral("Please load a file first");
  t.MsgSelectIndividual = QStringLiteral("Please select first an individual in the list");
  t.MsgNoCurrentFile = QStringLiteral("No current file");
  t.OpenDialogTitle = QStringLiteral("Select a GEDCOM file (genealogical file) you want to see...");
  t.SaveDialogTitle = QStringLiteral("Save in GEDCOM format as ...");
  t.ProgressCaption = QStringLiteral("Progress...");
  t.LoadingFilePrefix = QStringLiteral("Loading file ");
  t.CreatingListText = QStringLiteral("Creating list...");

  t.ListCaption = QStringLiteral("List of individuals");
  t.ListPickCaption = QStringLiteral("Pick individual");
  t.ListCloseCaption = QStringLiteral("Close");
  t.IndividualsSuffix = QStringLiteral(" individual(s)");
  t.UnionsSuffix = QStringLiteral(" union(s)/family(ies)");
  t.LetterGroups[0] = QStringLiteral("All");
  t.InfoCaptionPrefix = QStringLiteral("GEDCOM data for ");
  t.InfoHelpCaption = QStringLiteral("Online &Help");
  t.InfoCloseCaption = QStringLiteral("&Close");
  t.RawIndividualCaption = QStringLiteral("Raw GEDCOM information for current individual");
  t.RawUnionCaption = QStringLiteral("Raw GEDCOM information for current union");

  t.AboutPrefix = QStringLiteral("About ");
  t.AboutSysInfoCaption = QStringLiteral("&system info");
  t.AboutDescription = QStringLiteral(
      "Kintrail Viewer is a tool that allows you to visualize easily what your GEDCOM files "
      "contain.");
  t.GedcomExplanation = QStringLiteral(
      "GEDCOM is a genealogical file format standard. It was created by the Church of Jesus "
      "Christ of Latter-Day Saints because they wanted a standard format so that people can "
      "exchange data easily between different software.");
  t.PresentsLine = QStringLiteral("Orvane presents");
  t.PlatformText = QStringLiteral("for Windows");
}

void SetFrenchTexts(TextTable& t) {
  t.SeeAllInfoCaption = QStringLiteral("Voir toutes les données");
  t.SeeUnionInfoCaption = QStringLiteral("Voir info sur l'union");
  t.OtherChildrenCaption = QStringLiteral("autres enfants...");
  t.MenuFile = QStringLiteral("&Fichier");
  t.MenuOpen = QStringLiteral("&Ouvrir");
  t.MenuSaveAs = QStringLiteral("&Sauver sous");
  t.MenuQuit = QStringLiteral("&Quitter");
  t.MenuBrowse = QStringLiteral("&Navigation");
  t.MenuFirstIndividual = QStringLiteral("&Premier individu du fichier");
  t.MenuList = QStringLiteral("&Liste");
  t.MenuLanguage = QStringLiteral("Langue");
  t.MenuAbout = QStringLiteral("&A &propos");
  t.MenuOnlineHelp = QStringLiteral("&Aide en ligne");

  t.RoleLabels = {QStringLiteral("Personne principale"),
                  QStringLiteral("Père"),
                  QStringLiteral("Mère"),
                  QStringLiteral("Grand-père paternel"),
                  QStringLiteral("Grand-mère paternelle"),
                  QStringLiteral("Grand-père maternel"),
                  QStringLiteral("Grand-mère maternelle")};
  t.SpouseLabel = QStringLiteral("Epoux / épouse");
  for (int b = 0; b < 6; ++b)
    t.ChildLabels[b] = QStringLiteral("Enfant n°") + QString::number(b + 1);
  t.RoleTooltips = {
      QStringLiteral("Personne principale"),
      QStringLiteral("Cliquez sur le père pour le placer au centre de l'arbre"),
      QStringLiteral("Cliquez sur la mère pour la placer au centre de l'arbre"),
      QStringLiteral("Cliquez sur le grand-père pour le placer au centre de l'arbre"),
      QStringLiteral("Cliquez sur la grand-mère pour la placer au centre de l'arbre"),
      QStringLiteral("Cliquez sur le grand-père pour le placer au centre de l'arbre"),
      QStringLiteral("Cliquez sur le grand-mère pour le placer au centre de l'arbre")};
  t.ChildTooltip = QStringLiteral("Cliquez sur cet enfant pour le placer au centre de l'arbre");
  t.SpouseTooltip = QStringLiteral(
      "Cliquez sur le conjoint pour le placer au centre de l'arbre, à la place de la personne "
      "principale");

  t.MsgLoadFileFirst = QStringLiteral("Veuillez d'abord ouvrir un fichier");
  t.MsgSelectIndividual = QStringLiteral("Veuillez choisir un individu dans la liste");
  t.MsgNoCurrentFile = QStringLiteral("Pas de fichier ouvert");
  t.OpenDialogTitle =
      QStringLiteral("Sélectionnez le fichier GEDCOM (fichier génélaogique) à ouvrir");
  t.SaveDialogTitle = QStringLiteral("Indiquez un nom de fichier pour l'enregistrement");
  t.ProgressCaption = QStringLiteral("Progression...");
  t.LoadingFilePrefix = QStringLiteral("Lecture du fichier ");
  // The French table never had this entry; an empty progress label helped nobody.
  t.CreatingListText = QStringLiteral("Création de la liste...");

  t.ListCaption = QStringLiteral("Liste des individus du fichier");
  t.ListPickCaption = QStringLiteral("Prendre individu");
  t.ListCloseCaption = QStringLiteral("Fermer");
  t.IndividualsSuffix = QStringLiteral(" individu(s)");
  t.UnionsSuffix = QStringLiteral(" union(s)/famille(s)");
  t.LetterGroups[0] = QStringLiteral("Tout");
  t.InfoCaptionPrefix = QStringLiteral("Données GEDCOM pour ");
  t.InfoHelpCaption = QStringLiteral("&Aide en ligne");
  t.InfoCloseCaption = QStringLiteral("&Fermer");
  t.RawIndividualCaption = QStringLiteral("Informations GEDCOM complètes pour l'individu actuel");
  t.RawUnionCaption = QStringLiteral("Informations GEDCOM complètes pour l'union actuelle");

  t.AboutPrefix = QStringLiteral("A propos de ");
  t.AboutSysInfoCaption = QStringLiteral("&Infos système...");
  t.AboutDescription = QStringLiteral(
      "Le Visualisateur Kintrail est un outil simple et puissant pour voir le contenu de vos "
      "fichiers GEDCOM.");
  t.GedcomExplanation = QStringLiteral(
      "GEDCOM est l'abréviation de GEnealogical Data COMmunication. C'est un format de fichier "
      "défini initialement par l'Eglise des Mormons pour permettre les échanges de données "
      "généalogiques informatisées.\r\n"
      "Ce format est devenu aujourd'hui le standard international des échanges d'informations "
      "entre la quasi-totalité des logiciels de généalogie.");
  t.PresentsLine = QStringLiteral("Orvane présente");
  t.PlatformText = QStringLiteral("pour Windows");
}

}  // namespace

TextTable& Texts() {
  static TextTable table;
  return table;
}

QString ProgramVersion() {
  return QStringLiteral(KTVIEWER_VERSION);
}

void SetLanguageTexts(int languageIndex) {
  TextTable& t = Texts();
  SetCommonTexts(t);
  if (languageIndex == kFrench)
    SetFrenchTexts(t);
  else
    SetEnglishTexts(t);
  // Both languages show the running program's version: a fixed number in one
  // language would soon be wrong.
  t.VersionText = QStringLiteral("Version ") + ProgramVersion();
}

QString SysInfoUnavailableText() {
  return QStringLiteral("Les informations système ne sont pas disponibles actuellement");
}

}  // namespace ktviewer
