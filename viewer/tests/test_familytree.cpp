// The document and the tree around the primary individual, on a small
// fixture and on real files.
#include <gtest/gtest.h>

#include <QFileInfo>

#include "familytree.h"
#include "gedcomfixture.h"
#include "texttable.h"
#include "viewerdocument.h"

namespace ktviewer {
namespace {

using testing::FamilyFixture;
using testing::TestData;
using testing::WriteGedcom;

class FamilyTreeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetLanguageTexts(kEnglish);
    ASSERT_TRUE(document_.LoadGedcomFile(WriteGedcom("family.ged", FamilyFixture())));
    ASSERT_EQ(tree_.SetInfos(0), TreeResult::Done);
  }
  int32_t Index(const char* id) { return document_.FindIndiv(id); }
  std::string IdOf(int32_t index) {
    auto individual = document_.Individual(index);
    return individual ? individual->Id : "-";
  }
  std::string Primary() { return IdOf(tree_.ascendants()[0]); }
  std::vector<std::string> ShownChildren() {
    std::vector<std::string> ids;
    for (int b = 0; b < tree_.childPlacesFilled(); ++b) ids.push_back(IdOf(tree_.shownChild(b)));
    return ids;
  }

  ViewerDocument document_;
  FamilyTree tree_{document_};
};

TEST_F(FamilyTreeTest, AncestorsBySosaNumber) {
  EXPECT_EQ(document_.individualNumber(), 28);
  EXPECT_EQ(document_.unionNumber(), 7);
  const std::vector<std::string> expected = {"I1", "I2", "I3", "I4", "I5", "I14", "-", "-"};
  for (int k = 0; k < kAncestorSlots; ++k) EXPECT_EQ(IdOf(tree_.ascendants()[k]), expected[k]) << k;
  EXPECT_EQ(tree_.numberOfUnions(), 1);
  EXPECT_EQ(tree_.currentUnion(), 0);
  EXPECT_EQ(IdOf(tree_.spouseShown()), "I6");
  EXPECT_EQ(ShownChildren(), std::vector<std::string>({"I13"}));
  EXPECT_TRUE(tree_.unionInfoVisible());
  EXPECT_FALSE(tree_.unionNavigatorVisible());
  EXPECT_FALSE(tree_.otherChildrenVisible());
}

TEST_F(FamilyTreeTest, SummaryTextOfABox) {
  EXPECT_EQ(tree_.ShowIndividual(Index("I1")),
            " DUPONT\r\nJEAN\r\n12 MAR 1850 - Paris\r\n1920 - Saint-germain En Laye\r\n");
  // A birth without date shows the death date; no place, no date: just " - ".
  EXPECT_EQ(tree_.ShowIndividual(Index("I11")), " ROUX\r\nCLAIRE\r\n1901 - Lyon\r\n1901 - \r\n");
  EXPECT_EQ(tree_.ShowIndividual(Index("I12")), " ROUX\r\nALICE\r\n - \r\n - \r\n");
  EXPECT_EQ(tree_.ShowIndividual(-1), "");
}

TEST_F(FamilyTreeTest, MovesToEveryRelative) {
  EXPECT_EQ(tree_.MoveToAncestor(1), TreeResult::Done);  // father
  EXPECT_EQ(Primary(), "I2");
  EXPECT_EQ(IdOf(tree_.ascendants()[1]), "I4");
  EXPECT_EQ(tree_.MoveToChild(0), TreeResult::Done);  // back to Jean
  EXPECT_EQ(Primary(), "I1");
  EXPECT_EQ(tree_.MoveToAncestor(5), TreeResult::Done);  // maternal grandfather
  EXPECT_EQ(Primary(), "I14");
  EXPECT_EQ(tree_.MoveToFirstIndividual(), TreeResult::Done);
  EXPECT_EQ(tree_.MoveToSpouse(), TreeResult::Done);
  EXPECT_EQ(Primary(), "I6");
  // Her husband is found through the HUSB line, and the children are theirs.
  EXPECT_EQ(IdOf(tree_.spouseShown()), "I1");
  EXPECT_EQ(tree_.childAt(0).fatherIndex, Index("I1"));
  EXPECT_EQ(tree_.childAt(0).motherIndex, Index("I6"));

  // Empty slots and the primary box itself do nothing.
  EXPECT_EQ(tree_.MoveToAncestor(1), TreeResult::Ignored);
  EXPECT_EQ(tree_.MoveToAncestor(0), TreeResult::Ignored);
  EXPECT_EQ(tree_.MoveToChild(3), TreeResult::Ignored);
  EXPECT_EQ(Primary(), "I6");
  EXPECT_EQ(tree_.SetInfos(-1), TreeResult::Ignored);
  EXPECT_EQ(tree_.SetInfos(document_.IndividualCount()), TreeResult::Ignored);
  EXPECT_EQ(Primary(), "I6");
}

TEST_F(FamilyTreeTest, WomanWithTwoUnionsAndThirteenChildren) {
  ASSERT_EQ(tree_.SetInfos(Index("I7")), TreeResult::Done);
  EXPECT_EQ(tree_.numberOfUnions(), 2);
  EXPECT_TRUE(tree_.unionNavigatorVisible());
  EXPECT_EQ(tree_.UnionCounterText(), "Union 1/2");
  EXPECT_EQ(IdOf(tree_.spouseShown()), "I8");
  EXPECT_EQ(tree_.numberOfChildren(), 14);
  EXPECT_EQ(tree_.childrenOfUnion(), 13);
  EXPECT_TRUE(tree_.otherChildrenVisible());
  EXPECT_EQ(ShownChildren(), std::vector<std::string>({"C1", "C2", "C3", "C4", "C5", "C6"}));

  tree_.OtherChildren();
  EXPECT_EQ(ShownChildren(), std::vector<std::string>({"C7", "C8", "C9", "C10", "C11", "C12"}));
  tree_.OtherChildren();
  EXPECT_EQ(ShownChildren(), std::vector<std::string>({"C13"}));
  tree_.OtherChildren();
  EXPECT_EQ(ShownChildren(), std::vector<std::string>({"C1", "C2", "C3", "C4", "C5", "C6"}));

  // "previous" on the first union changes nothing; the second union starts
  // at its first child even from the second page of the first.
  tree_.PreviousUnion();
  EXPECT_EQ(tree_.currentUnion(), 0);
  tree_.OtherChildren();
  tree_.NextUnion();
  EXPECT_EQ(tree_.currentUnion(), 1);
  EXPECT_EQ(tree_.UnionCounterText(), "Union 2/2");
  EXPECT_EQ(IdOf(tree_.spouseShown()), "I9");
  EXPECT_EQ(tree_.firstChildShown(), 0);
  EXPECT_EQ(ShownChildren(), std::vector<std::string>({"I15"}));
  EXPECT_FALSE(tree_.otherChildrenVisible());
  tree_.NextUnion();
  EXPECT_EQ(tree_.currentUnion(), 1);
  EXPECT_EQ(tree_.MoveToSpouse(), TreeResult::Done);
  EXPECT_EQ(Primary(), "I9");
}

TEST_F(FamilyTreeTest, BrokenLinks) {
  // FAMS @F99@ names no family: that union is dropped. F6 has two WIFE
  // lines: their joined pointer matches nobody, so no spouse is shown.
  ASSERT_EQ(tree_.SetInfos(Index("I10")), TreeResult::Done);
  EXPECT_EQ(tree_.numberOfUnions(), 1);
  EXPECT_EQ(tree_.unionAt(0).marriageIndex, document_.FindFam("F6"));
  EXPECT_EQ(tree_.spouseShown(), -1);
  EXPECT_EQ(tree_.MoveToSpouse(), TreeResult::Ignored);
  EXPECT_EQ(Primary(), "I10");

  // Nobody: no union, no parents; the union button and navigator are hidden.
  ASSERT_EQ(tree_.SetInfos(Index("I12")), TreeResult::Done);
  EXPECT_EQ(tree_.currentUnion(), -1);
  EXPECT_FALSE(tree_.unionInfoVisible());
  EXPECT_FALSE(tree_.otherChildrenVisible());
  for (int k = 1; k < kAncestorSlots; ++k) EXPECT_EQ(tree_.ascendants()[k], -1);
  EXPECT_EQ(tree_.MoveToSpouse(), TreeResult::Ignored);
  EXPECT_EQ(tree_.NextUnion(), TreeResult::Done);
  EXPECT_EQ(tree_.currentUnion(), -1);
}

TEST(FamilyTree, NothingLoaded) {
  ViewerDocument document;
  FamilyTree tree(document);
  EXPECT_EQ(tree.SetInfos(0), TreeResult::NoFileLoaded);
  EXPECT_EQ(tree.OtherChildren(), TreeResult::NoFileLoaded);
  EXPECT_EQ(tree.MoveToSpouse(), TreeResult::NoFileLoaded);
  EXPECT_EQ(tree.MoveToFirstIndividual(), TreeResult::Ignored);
  EXPECT_EQ(tree.ShowIndividual(0), "");
}

TEST(FamilyTree, LimitsOfUnionsAndChildren) {
  // 60 unions of one man, 5 children each: 51 unions and 201 children are kept.
  std::string g = "0 HEAD\n0 @I0@ INDI\n1 NAME Many /Unions/\n1 SEX M\n";
  for (int u = 0; u < 60; ++u) g += "1 FAMS @F" + std::to_string(u) + "@\n";
  for (int u = 0; u < 60; ++u) {
    g += "0 @F" + std::to_string(u) + "@ FAM\n1 HUSB @I0@\n";
    for (int c = 0; c < 5; ++c) g += "1 CHIL @I0@\n";
  }
  g += "0 TRLR\n";
  ViewerDocument document;
  ASSERT_TRUE(document.LoadGedcomFile(WriteGedcom("many.ged", g)));
  FamilyTree tree(document);
  ASSERT_EQ(tree.SetInfos(0), TreeResult::Done);
  EXPECT_EQ(tree.numberOfUnions(), kMaxUnions);
  EXPECT_EQ(tree.numberOfChildren(), kMaxChildren);
  EXPECT_EQ(tree.childAt(kMaxChildren - 1).unionIndex, 40);
}

class CountingObserver : public LoadObserver {
 public:
  void LoadStarting(int32_t gaugeMax, const QString& text) override {
    ++starts;
    this->gaugeMax = gaugeMax;
    this->text = text;
  }
  void LoadProgress(int32_t value) override { values.push_back(value); }
  void LoadFinished() override { ++finishes; }
  int starts = 0, finishes = 0;
  int32_t gaugeMax = 0;
  QString text;
  std::vector<int32_t> values;
};

TEST(ViewerDocument, LoadsRealFilesWithProgress) {
  SetLanguageTexts(kEnglish);
  ViewerDocument document;
  CountingObserver observer;
  const QString royal = TestData("royal92.ged");
  ASSERT_TRUE(QFileInfo::exists(royal)) << "test data missing: " << royal.toStdString();
  ASSERT_TRUE(document.LoadGedcomFile(royal, &observer));
  EXPECT_EQ(document.individualNumber(), 3010);
  EXPECT_EQ(document.unionNumber(), 1422);
  EXPECT_EQ(document.currentFileName(), royal);
  EXPECT_EQ(observer.starts, 1);
  EXPECT_EQ(observer.finishes, 1);
  EXPECT_EQ(observer.gaugeMax, 468984 / 1024 * 11);
  EXPECT_TRUE(observer.text.startsWith("Loading file "));
  ASSERT_FALSE(observer.values.empty());
  EXPECT_TRUE(std::is_sorted(observer.values.begin(), observer.values.end()));

  // A second file replaces the first; a missing one changes nothing.
  ASSERT_TRUE(document.LoadGedcomFile(TestData("kennedy.ged")));
  EXPECT_EQ(document.individualNumber(), 208);
  EXPECT_FALSE(document.LoadGedcomFile(TestData("no-such-file.ged"), &observer));
  EXPECT_FALSE(document.LoadGedcomFile(QString()));
  EXPECT_FALSE(document.LoadGedcomFile(QStringLiteral(KINTRAIL_TESTDATA_DIR)));  // a folder
  EXPECT_EQ(observer.starts, 1);
  EXPECT_EQ(document.individualNumber(), 208);
  EXPECT_EQ(document.currentFileName(), TestData("kennedy.ged"));
}

TEST(ViewerDocument, UnreadableFileLeavesItEmpty) {
  ViewerDocument document;
  ASSERT_TRUE(document.LoadGedcomFile(TestData("kennedy.ged")));
  const QString locked = WriteGedcom("locked.ged", FamilyFixture());
  QFile::setPermissions(locked, QFileDevice::Permissions());
  CountingObserver observer;
  bool threw = false;
  try {
    document.LoadGedcomFile(locked, &observer);
  } catch (const std::exception&) {
    threw = true;
  }
  QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
  if (!threw) {
    // Running with rights that read any file: a file whose reading fails.
    ASSERT_TRUE(document.LoadGedcomFile(TestData("kennedy.ged")));
    observer = CountingObserver();
    try {
      document.LoadGedcomFile("/proc/self/mem", &observer);
    } catch (const std::exception&) {
      threw = true;
    }
  }
  ASSERT_TRUE(threw);
  EXPECT_EQ(observer.finishes, 1);  // progress window and cursor restored
  EXPECT_EQ(document.IndividualCount(), 0);
  EXPECT_EQ(document.individualNumber(), 0);
  EXPECT_TRUE(document.currentFileName().isEmpty());
  EXPECT_FALSE(document.IsLoading());
}

TEST(ViewerDocument, RealTreesInRoyalAndKennedy) {
  ViewerDocument document;
  FamilyTree tree(document);
  ASSERT_TRUE(document.LoadGedcomFile(TestData("kennedy.ged")));
  ASSERT_EQ(tree.SetInfos(0), TreeResult::Done);
  // The first individual of kennedy.ged and its relatives come from the raw records.
  const auto first = document.Individual(0);
  ASSERT_TRUE(first);
  EXPECT_TRUE(
      tree.ShowIndividual(0).startsWith(u' ' + QString::fromStdString(first->Name) + "\r\n"));
  EXPECT_EQ(tree.ShowIndividual(0).count("\r\n"), 4);

  ASSERT_TRUE(document.LoadGedcomFile(TestData("royal92.ged")));
  tree.Reset();
  const int32_t victoria = document.FindIndiv("I1");
  ASSERT_EQ(tree.SetInfos(victoria), TreeResult::Done);
  EXPECT_GE(tree.numberOfUnions(), 1);
  EXPECT_GE(tree.childrenOfUnion(), 1);
}

TEST(ShortenPathForProgress, FortyFiveCharactersKeptWhole) {
  const QString path45 = QString(45, u'a');
  EXPECT_EQ(ShortenPathForProgress(path45), path45);
  const QString path46 = QString("/home/me/") + QString(37, u'b');
  ASSERT_EQ(path46.size(), 46);
  EXPECT_EQ(ShortenPathForProgress(path46), "/home/me..." + QString(35, u'b'));
  EXPECT_EQ(ShortenPathForProgress(path46).size(), 46);
}

}  // namespace
}  // namespace ktviewer
