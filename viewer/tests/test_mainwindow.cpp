// The main window: the tree drawn from real files, click navigation, the
// union navigator, child paging, highlight, file commands, languages and the
// command line.
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QMouseEvent>

#include <kintrail/winnow/winnowgedcom.h>
#include "finfosviewer.h"
#include "gedcomfixture.h"
#include "kintrail/platform/atomicfile.h"
#include "kintrail/platform/folders.h"
#include "kintrail/testing/screenshot.h"
#include "texttable.h"
#include "windowtesting.h"

namespace ktviewer {
namespace {

using testing::FamilyFixture;
using testing::TestData;
using testing::WriteGedcom;

class MainWindowTest : public testing::WindowTest {
 protected:
  void Open(const QString& path) {
    window.Start(path);
    ASSERT_EQ(window.document().currentFileName(), path);
  }
  TreeBox* Box(const QString& name) { return window.findChild<TreeBox*>(name); }
  QPushButton* Button(const QString& name) { return window.findChild<QPushButton*>(name); }
  void Click(QWidget* widget) { QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(10, 10)); }
  void MoveMouse(QWidget* widget) {
    QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), widget->mapToGlobal(QPointF(5, 5)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
  }
  std::string PrimaryId() {
    auto individual = window.document().Individual(window.tree().ascendants()[0]);
    return individual ? individual->Id : "-";
  }
  int32_t Index(const char* id) { return window.document().FindIndiv(id); }
  QString Summary(int32_t index) { return Shown(window.tree().ShowIndividual(index)); }
  void ExpectBoxesMatchTree() {
    for (int k = 0; k < kShownAncestors; ++k)
      EXPECT_EQ(Box(QString("LIndiv(%1)").arg(k))->text(), Summary(window.tree().ascendants()[k]))
          << k;
    EXPECT_EQ(Box("LSpouse")->text(), Summary(window.tree().spouseShown()));
    for (int b = 0; b < window.tree().childPlacesFilled(); ++b)
      EXPECT_EQ(Box(QString("LChildren(%1)").arg(b))->text(), Summary(window.tree().shownChild(b)));
  }

  FPrincipal window;
};

TEST_F(MainWindowTest, RoyalTreeAndClickNavigation) {
  Open(TestData("royal92.ged"));
  EXPECT_EQ(window.windowTitle(), "Kintrail Viewer " + TestData("royal92.ged"));
  EXPECT_EQ(splashes, 0);
  EXPECT_EQ(PrimaryId(), window.document().Individual(0)->Id);
  // Victoria (I1): four lines, surname first, with her father and her
  // husband's children.
  window.SetInfos(Index("I1"));
  const QStringList lines = Lines(Box("LIndiv(0)"));
  ASSERT_EQ(lines.size(), 4);
  EXPECT_TRUE(lines[0].startsWith(' ')) << lines[0].toStdString();
  ExpectBoxesMatchTree();
  EXPECT_TRUE(Button("BInfoIndiv")->isVisibleTo(&window));
  EXPECT_TRUE(Button("BinfoUnion")->isVisibleTo(&window));

  const int32_t father = window.tree().ascendants()[1];
  const int32_t grandmother = window.tree().ascendants()[4];
  const int32_t spouse = window.tree().spouseShown();
  const int32_t child = window.tree().shownChild(0);
  ASSERT_GE(father, 0);
  ASSERT_GE(grandmother, 0);
  ASSERT_GE(spouse, 0);
  ASSERT_GE(child, 0);

  Click(Box("LIndiv(0)"));  // the primary box does nothing
  EXPECT_EQ(PrimaryId(), "I1");
  Click(Box("LIndiv(1)"));
  EXPECT_EQ(window.tree().ascendants()[0], father);
  ExpectBoxesMatchTree();
  window.SetInfos(Index("I1"));
  Click(Box("LIndiv(4)"));
  EXPECT_EQ(window.tree().ascendants()[0], grandmother);
  window.SetInfos(Index("I1"));
  Click(Box("LSpouse"));
  EXPECT_EQ(window.tree().ascendants()[0], spouse);
  window.SetInfos(Index("I1"));
  Click(Box("LChildren(0)"));
  EXPECT_EQ(window.tree().ascendants()[0], child);
  ExpectBoxesMatchTree();
  EXPECT_TRUE(messages.empty());
}

TEST_F(MainWindowTest, KennedyTree) {
  Open(TestData("kennedy.ged"));
  EXPECT_EQ(window.document().individualNumber(), 208);
  ExpectBoxesMatchTree();
  EXPECT_EQ(Lines(Box("LIndiv(0)")).size(), 4);
  // Walk up as long as there is a father, then down through the first child.
  int steps = 0;
  while (window.tree().ascendants()[1] >= 0 && steps++ < 10) Click(Box("LIndiv(1)"));
  ExpectBoxesMatchTree();
  if (window.tree().shownChild(0) >= 0) {
    const int32_t child = window.tree().shownChild(0);
    Click(Box("LChildren(0)"));
    EXPECT_EQ(window.tree().ascendants()[0], child);
  }
}

TEST_F(MainWindowTest, UnionNavigatorAndChildPaging) {
  Open(WriteGedcom("family.ged", FamilyFixture()));
  window.SetInfos(Index("I7"));
  QLabel* counter = window.findChild<QLabel*>("LprevnextSpouse");
  EXPECT_EQ(counter->text(), "Union 1/2");
  EXPECT_TRUE(counter->isVisibleTo(&window));
  EXPECT_TRUE(Button("BprevnextSpouse(0)")->isVisibleTo(&window));
  EXPECT_EQ(Lines(Box("LSpouse"))[1], "LOUIS");

  auto childNames = [this] {
    QStringList names;
    for (int b = 0; b < kChildPlaces; ++b) {
      const QString text = Box(QString("LChildren(%1)").arg(b))->text();
      names << (text.isEmpty() ? QString("-") : Lines(Box(QString("LChildren(%1)").arg(b)))[1]);
    }
    return names.join(',');
  };
  EXPECT_EQ(childNames(), "CHILD1,CHILD2,CHILD3,CHILD4,CHILD5,CHILD6");
  QPushButton* other = Button("Botherchildren");
  EXPECT_TRUE(other->isVisibleTo(&window));
  Click(other);
  EXPECT_EQ(childNames(), "CHILD7,CHILD8,CHILD9,CHILD10,CHILD11,CHILD12");
  Click(other);
  EXPECT_EQ(childNames(), "CHILD13,-,-,-,-,-");
  // Empty places are drawn as such, and the vertical line stops at the spouse.
  auto* emptyFrame = window.findChild<FilledShape*>("SlblBG(9)");
  EXPECT_EQ(emptyFrame->FillColour(), QColor(221, 221, 238));
  EXPECT_EQ(emptyFrame->BorderColour(), QColor(42, 139, 158));
  EXPECT_FALSE(window.findChild<QWidget*>("SLineChild(1)")->isVisibleTo(&window));
  EXPECT_EQ(window.findChild<QWidget*>("SLine(12)")->geometry(), QRect(195, 45, 3, 337 - 45));
  Click(other);
  EXPECT_EQ(childNames(), "CHILD1,CHILD2,CHILD3,CHILD4,CHILD5,CHILD6");
  EXPECT_EQ(window.findChild<FilledShape*>("SlblBG(13)")->FillColour(), QColor(Qt::white));
  EXPECT_EQ(window.findChild<QWidget*>("SLine(12)")->geometry(), QRect(195, 45, 3, 445 - 45 + 2));

  Click(Button("BprevnextSpouse(0)"));  // previous on the first union
  EXPECT_EQ(counter->text(), "Union 1/2");
  Click(other);
  Click(Button("BprevnextSpouse(1)"));
  EXPECT_EQ(counter->text(), "Union 2/2");
  EXPECT_EQ(Lines(Box("LSpouse"))[1], "HENRI");
  EXPECT_EQ(childNames(), "LEA,-,-,-,-,-");
  EXPECT_FALSE(other->isVisibleTo(&window));

  // One union: navigator hidden. Nobody at all: only "See all info".
  window.SetInfos(Index("I1"));
  EXPECT_FALSE(counter->isVisibleTo(&window));
  window.SetInfos(Index("I12"));
  EXPECT_TRUE(Button("BInfoIndiv")->isVisibleTo(&window));
  EXPECT_FALSE(Button("BinfoUnion")->isVisibleTo(&window));
  EXPECT_EQ(Box("LSpouse")->text(), "");
  EXPECT_EQ(window.findChild<QWidget*>("SLine(12)")->geometry(), QRect(195, 185, 3, 152));
  Click(Box("LSpouse"));  // no union: nothing happens, no message
  EXPECT_EQ(PrimaryId(), "I12");
  EXPECT_TRUE(messages.empty());
}

TEST_F(MainWindowTest, HighlightFollowsTheMouse) {
  Open(WriteGedcom("family.ged", FamilyFixture()));
  TreeBox* father = Box("LIndiv(1)");
  TreeBox* mother = Box("LIndiv(2)");
  MoveMouse(father);
  EXPECT_EQ(window.highlightedLabel(), father);
  EXPECT_TRUE(father->font().italic());
  EXPECT_EQ(father->palette().color(QPalette::WindowText), QColor(64, 64, 128));
  MoveMouse(mother);
  EXPECT_EQ(window.highlightedLabel(), mother);
  EXPECT_FALSE(father->font().italic());
  EXPECT_EQ(father->palette().color(QPalette::WindowText), QColor(0, 0, 0));
  MoveMouse(Box("LIndiv(0)"));  // never highlighted, and the highlight stays
  EXPECT_FALSE(Box("LIndiv(0)")->font().italic());
  EXPECT_EQ(window.highlightedLabel(), mother);
  MoveMouse(window.canvas);
  EXPECT_EQ(window.highlightedLabel(), nullptr);
  EXPECT_FALSE(mother->font().italic());
}

TEST_F(MainWindowTest, NoFileLoaded) {
  window.Start(QString());
  EXPECT_EQ(splashes, 1);
  EXPECT_EQ(window.windowTitle(), "Kintrail Viewer");
  EXPECT_EQ(Box("LIndiv(0)")->text(), " Current Primary Individual");
  EXPECT_EQ(Box("LChildren(2)")->text(), "Child #3");
  EXPECT_EQ(Box("LIndiv(1)")->toolTip(), "Click on the father to move him to the primary position");
  EXPECT_FALSE(Button("BInfoIndiv")->isVisibleTo(&window));
  EXPECT_FALSE(Button("Botherchildren")->isVisibleTo(&window));
  window.MFirstIndiv->trigger();
  EXPECT_TRUE(messages.empty());
  window.SetInfos(0);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, "Please load a file first");
  EXPECT_EQ(messages[0].icon, QMessageBox::Warning);
  EXPECT_EQ(messages[0].caption, "Kintrail Viewer");
  window.MSaveAs->trigger();
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[1].text, "No current file");
  EXPECT_TRUE(dialogs.empty());
}

TEST_F(MainWindowTest, OpenAndSaveAs) {
  window.Start(QString());
  nextFileName = TestData("kennedy.ged");
  window.MOpen->trigger();
  ASSERT_EQ(dialogs.size(), 1u);
  EXPECT_EQ(dialogs[0].kind, kt::FileDialogRequest::Open);
  EXPECT_EQ(dialogs[0].caption, "Select a GEDCOM file (genealogical file) you want to see...");
  EXPECT_EQ(dialogs[0].folder, QString::fromStdString(kt::ProgramFolder()));
  EXPECT_EQ(window.document().currentFileName(), TestData("kennedy.ged"));
  EXPECT_EQ(Setting("path/gedpath"), QFileInfo(TestData("kennedy.ged")).absolutePath());

  // A typed name that does not exist changes nothing; a cancelled dialog neither.
  nextFileName = QDir::currentPath() + "/nothing-here.ged";
  window.MOpen->trigger();
  window.MOpen->trigger();
  EXPECT_EQ(window.document().currentFileName(), TestData("kennedy.ged"));
  EXPECT_EQ(dialogs[1].folder, QFileInfo(TestData("kennedy.ged")).absolutePath() + "/");

  const QString copy = QDir::currentPath() + "/copy.ged";
  QFile::remove(copy);
  nextFileName = copy;
  window.MSaveAs->trigger();
  EXPECT_EQ(dialogs.back().kind, kt::FileDialogRequest::Save);
  EXPECT_EQ(dialogs.back().caption, "Save in GEDCOM format as ...");
  EXPECT_EQ(kt::ReadWholeFile(copy.toStdString()),
            kt::ReadWholeFile(TestData("kennedy.ged").toStdString()));

  // Onto the loaded file itself: refused without a word (the test data is
  // read-only, but the refusal comes first). A name without extension gets .ged.
  window.MOpen->trigger();
  nextFileName = copy;
  window.MOpen->trigger();
  ASSERT_EQ(window.document().currentFileName(), copy);
  const std::string before = kt::ReadWholeFile(copy.toStdString());
  nextFileName = QDir::currentPath() + "/./copy.ged";
  window.MSaveAs->trigger();
  EXPECT_EQ(kt::ReadWholeFile(copy.toStdString()), before);
  nextFileName = QDir::currentPath() + "/second";
  window.MSaveAs->trigger();
  EXPECT_TRUE(QFile::exists(QDir::currentPath() + "/second.ged"));
  EXPECT_TRUE(messages.empty());
}

TEST_F(MainWindowTest, LanguageSwitch) {
  window.Start(QString());
  window.MLang[1]->trigger();
  EXPECT_EQ(Setting("options/language"), "1");
  EXPECT_TRUE(window.MLang[1]->isChecked());
  EXPECT_FALSE(window.MLang[0]->isChecked());
  EXPECT_EQ(window.MFile->title(), "&Fichier");
  EXPECT_EQ(window.MEdit->title(), "&Navigation");
  EXPECT_EQ(window.MLang[1]->text(), QString::fromUtf8("Français"));
  EXPECT_EQ(Box("LIndiv(0)")->text(), "Personne principale");  // no file: role texts too
  EXPECT_EQ(Box("LChildren(0)")->text(), QString::fromUtf8("Enfant n°1"));

  nextFileName = WriteGedcom("family.ged", FamilyFixture());
  window.MOpen->trigger();
  EXPECT_EQ(dialogs.back().caption,
            QString::fromUtf8("Sélectionnez le fichier GEDCOM (fichier génélaogique) à ouvrir"));
  window.SetInfos(Index("I7"));
  QLabel* counter = window.findChild<QLabel*>("LprevnextSpouse");
  EXPECT_EQ(counter->text(), "Union 1/2");
  const QString primary = Box("LIndiv(0)")->text();
  window.MLang[0]->trigger();
  EXPECT_EQ(Box("LIndiv(0)")->text(), primary);  // the summaries stay
  EXPECT_EQ(Box("LIndiv(1)")->toolTip(), "Click on the father to move him to the primary position");
  EXPECT_EQ(Button("BInfoIndiv")->text(), "See all info");
  EXPECT_EQ(counter->text(), "");  // emptied until the next step
  Click(Button("BprevnextSpouse(1)"));
  EXPECT_EQ(counter->text(), "Union 2/2");
  EXPECT_EQ(Setting("options/language"), "0");
}

TEST_F(MainWindowTest, StoredLanguageAtStartUp) {
  StoreSetting("options/language", "7");
  window.Start(QString());
  EXPECT_EQ(window.languageIndex(), 1);
  EXPECT_TRUE(window.MLang[1]->isChecked());
  EXPECT_EQ(window.MQuit->text(), "&Quitter");
}

TEST_F(MainWindowTest, RelativeNameInProgramFolder) {
  const QString name = "viewer-test-relative.ged";
  const QString inProgramFolder = QString::fromStdString(kt::ProgramFolder()) + name;
  WriteGedcom(inProgramFolder, FamilyFixture());
  ASSERT_FALSE(QFile::exists(name));  // not in the current folder
  window.Start(name);
  EXPECT_EQ(window.document().currentFileName(), inProgramFolder);
  EXPECT_EQ(splashes, 0);
  EXPECT_TRUE(dialogs.empty());
  QFile::remove(inProgramFolder);
}

TEST_F(MainWindowTest, NameThatExistsNowhereOpensTheDialog) {
  window.Start("no/such/file.ged");
  EXPECT_EQ(splashes, 0);
  ASSERT_EQ(dialogs.size(), 1u);
  EXPECT_EQ(dialogs[0].kind, kt::FileDialogRequest::Open);
  EXPECT_TRUE(window.document().currentFileName().isEmpty());
  EXPECT_TRUE(window.isVisible());
}

TEST_F(MainWindowTest, RawDataWindows) {
  Open(TestData("bourbon.ged"));
  // An individual whose record holds accented letters (the file is UTF-8).
  int32_t found = -1;
  for (int32_t i = 0; i < window.document().IndividualCount() && found < 0; ++i)
    if (window.document().Individual(i)->gedcomString.find("Thérèse") != std::string::npos)
      found = i;
  ASSERT_GE(found, 0);
  window.SetInfos(found);
  const auto individual = window.document().Individual(found);
  QString caption, label, text;
  onModal = [&](QDialog& dialog) {
    auto& infos = static_cast<FInfosViewer&>(dialog);
    caption = infos.windowTitle();
    label = infos.Label1->text();
    text = infos.TInfos->toPlainText();
    EXPECT_EQ(infos.BClose->text(), "&Close");
    EXPECT_EQ(infos.BOnlineHelp->text(), "Online &Help");
  };
  Click(Button("BInfoIndiv"));
  ASSERT_EQ(modalNames.size(), 1u);
  EXPECT_EQ(modalNames[0], "FInfosViewer");
  EXPECT_EQ(caption, "GEDCOM data for " + QString::fromStdString(individual->firstNames) + " " +
                         QString::fromStdString(individual->Name));
  EXPECT_EQ(label, "Raw GEDCOM information for current individual");
  EXPECT_TRUE(text.startsWith("  1 ")) << text.left(40).toStdString();
  EXPECT_TRUE(text.contains(QString::fromUtf8("Thérèse"))) << text.left(200).toStdString();
  EXPECT_TRUE(text.contains("\n    2 ")) << "level-2 lines indented";

  if (window.tree().currentUnion() >= 0) {
    Click(Button("BinfoUnion"));
    ASSERT_EQ(modalNames.size(), 2u);
    EXPECT_EQ(caption, "Kintrail Viewer");
    EXPECT_EQ(label, "Raw GEDCOM information for current union");
    EXPECT_TRUE(text.contains("1 HUSB") || text.contains("1 WIFE"));
  }
}

TEST_F(MainWindowTest, AccentedPlacesInBoxes) {
  Open(TestData("bourbon.ged"));  // UTF-8 with a byte-order mark, LF line ends
  // Places are kept in Windows-1252 by the library; "Î" survives its folding.
  int32_t found = -1;
  for (int32_t i = 0; i < window.document().IndividualCount() && found < 0; ++i) {
    const auto individual = window.document().Individual(i);
    if ((individual->birthPlace + individual->deathPlace).find('\xCE') != std::string::npos)
      found = i;
  }
  ASSERT_GE(found, 0);
  window.SetInfos(found);
  EXPECT_TRUE(Box("LIndiv(0)")->text().contains(QString::fromUtf8("Île")))
      << Box("LIndiv(0)")->text().toStdString();
}

TEST_F(MainWindowTest, LinksAboutAndResize) {
  window.Start(QString());
  window.MOnlineHelp->trigger();
  Click(window.Image1);
  ASSERT_EQ(urls.size(), 2u);
  EXPECT_EQ(urls[0], "http://127.0.0.1:8080/web/_client/softlinks.asp?folder=ktviewer/help.asp");
  EXPECT_EQ(urls[1], "http://127.0.0.1:8080/");
  window.MAbout->trigger();
  ASSERT_EQ(modalNames.size(), 1u);
  EXPECT_EQ(modalNames[0], "frmAbout");

  const QRect box = Box("LIndiv(3)")->geometry();
  window.resize(window.width() + 120, window.height() + 80);
  QApplication::processEvents();
  EXPECT_EQ(Box("LIndiv(3)")->geometry(), box);
  EXPECT_EQ(window.SBottom->geometry(),
            QRect(0, window.canvas->height() - 19, window.canvas->width() + 4, 20));
}

// The library lets window messages run while it reads: clicks, a second Open
// and closing the window meanwhile must neither crash nor mix two files.
TEST_F(MainWindowTest, CommandsWhileAFileLoads) {
  // A primary individual near the end of royal92, whose relatives' indexes
  // lie beyond what the next file holds when the first events come.
  Open(TestData("royal92.ged"));
  for (int32_t i = window.document().IndividualCount() - 1; i > 0; --i) {
    window.SetInfos(i);
    if (window.tree().ascendants()[1] > 100 && window.tree().shownChild(0) > 100) break;
  }
  ASSERT_GT(window.tree().ascendants()[1], 100);
  std::function<void()> duringLoad = [&] {
    duringLoad = nullptr;  // once
    Click(Box("LIndiv(1)"));
    Click(Box("LSpouse"));
    Click(Box("LChildren(0)"));
    Click(Button("Botherchildren"));
    nextFileName = TestData("bourbon.ged");
    window.MOpen->trigger();
    window.MListIndivs->trigger();
    window.close();
  };
  kt::winnow::SetProcessMessagesCallback(
      [](void* context) {
        auto& callback = *static_cast<std::function<void()>*>(context);
        if (callback) callback();
      },
      &duringLoad);
  EXPECT_TRUE(window.LoadGedcomFile(TestData("kennedy.ged")));
  kt::winnow::SetProcessMessagesCallback(nullptr);
  EXPECT_FALSE(duringLoad);  // the callback ran
  EXPECT_EQ(window.document().currentFileName(), TestData("kennedy.ged"));
  EXPECT_EQ(window.document().individualNumber(), 208);
  EXPECT_EQ(window.document().IndividualCount(), 208);  // closing did not empty it mid-way
  EXPECT_EQ(window.tree().ascendants()[0], 0);
}

TEST_F(MainWindowTest, Screenshots) {
  window.Start(TestData("royal92.ged"));
  window.SetInfos(Index("I1"));
  QApplication::processEvents();
  kt::testing::SaveScreenshot(window, "viewer_main_english");
  window.MLang[1]->trigger();
  window.SetInfos(Index("I1"));
  QApplication::processEvents();
  kt::testing::SaveScreenshot(window, "viewer_main_french");
  window.MLang[0]->trigger();
}

}  // namespace
}  // namespace ktviewer
