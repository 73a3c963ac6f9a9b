// The individuals list: letter groups, the "all" limit, picking.
#include <QApplication>
#include <QListWidget>

#include "flistindivs.h"
#include "gedcomfixture.h"
#include "kintrail/testing/screenshot.h"
#include "texttable.h"
#include "windowtesting.h"

namespace ktviewer {
namespace {

using testing::FamilyFixture;
using testing::TestData;
using testing::WriteGedcom;

class ListWindowTest : public testing::WindowTest {
 protected:
  FListIndivs* OpenList(const QString& file) {
    window.Start(file);
    window.MListIndivs->trigger();
    FListIndivs* list = window.listWindow();
    EXPECT_NE(list, nullptr);
    return list;
  }
  static QStringList Entries(const FListIndivs* list) {
    QStringList texts;
    for (int i = 0; i < list->LIndivs->count(); ++i) texts << list->LIndivs->item(i)->text();
    return texts;
  }
  static void ChooseGroup(FListIndivs* list, const QString& group) {
    const int index = list->Combo1->findText(group);
    ASSERT_GE(index, 0) << group.toStdString();
    list->Combo1->setCurrentIndex(index);
  }
  std::string PrimaryId() {
    auto individual = window.document().Individual(window.tree().ascendants()[0]);
    return individual ? individual->Id : "-";
  }
  FPrincipal window;
};

TEST_F(ListWindowTest, LetterGroupsOfRoyal) {
  FListIndivs* list = OpenList(TestData("royal92.ged"));
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->windowTitle(), "List of individuals");
  EXPECT_EQ(list->Combo1->count(), 22);
  EXPECT_EQ(list->Combo1->itemText(0), "All");
  EXPECT_EQ(list->Combo1->itemText(21), "W-Z;~");
  EXPECT_EQ(list->LIndivs->count(), 3010);
  EXPECT_TRUE(list->LIndivs->isVisibleTo(list));
  EXPECT_EQ(list->LNumOfIndiv->text(), "3010 individual(s)");
  EXPECT_EQ(list->LNumOfUnion->text(), "1422 union(s)/family(ies)");
  kt::testing::SaveScreenshot(*list, "viewer_list_all");

  ChooseGroup(list, "I-J");
  QStringList entries = Entries(list);
  ASSERT_FALSE(entries.isEmpty());
  for (const QString& entry : entries)
    EXPECT_TRUE(entry[0] == 'I' || entry[0] == 'J') << entry.toStdString();
  QStringList sorted = entries;
  std::sort(sorted.begin(), sorted.end());
  EXPECT_EQ(entries, sorted);

  // Surnames starting with W or Z, and those without surname (key "~ ~ ",
  // their entry starts with a space); never X or Y.
  ChooseGroup(list, "W-Z;~");
  entries = Entries(list);
  ASSERT_FALSE(entries.isEmpty());
  bool withoutSurname = false;
  for (const QString& entry : entries) {
    EXPECT_TRUE(QString("WZ~-; ").contains(entry[0])) << entry.toStdString();
    withoutSurname = withoutSurname || entry[0] == ' ';
  }
  EXPECT_TRUE(withoutSurname);
  kt::testing::SaveScreenshot(*list, "viewer_list_wz");
}

TEST_F(ListWindowTest, EntriesAndPicking) {
  std::string g = FamilyFixture();
  // Two people whose entries differ after the surname, the later one first in
  // the file, and surnames starting with X and with a small letter.
  g.insert(g.find("0 @F1@ FAM"),
           "0 @P2@ INDI\n1 NAME Zoe /Abel/\n1 BIRT\n2 DATE 1850\n1 DEAT\n2 DATE 1920\n"
           "0 @P1@ INDI\n1 NAME Anna /Abel/\n1 BIRT\n2 DATE 1855\n"
           "0 @P3@ INDI\n1 NAME Max /Xavier/\n");
  FListIndivs* list = OpenList(WriteGedcom("list.ged", g));
  ASSERT_NE(list, nullptr);
  ChooseGroup(list, "A");
  EXPECT_EQ(Entries(list), QStringList({"ABEL Anna  ( o 1855)", "ABEL Zoe  ( o 1850 + 1920)"}));
  ChooseGroup(list, "W-Z;~");
  EXPECT_TRUE(Entries(list).filter("XAVIER").isEmpty());
  ChooseGroup(list, "All");
  EXPECT_EQ(Entries(list).filter("XAVIER").size(), 1);

  // Pick without a selection: the message; with one: that very individual.
  ChooseGroup(list, "A");
  list->LIndivs->clearSelection();
  list->LIndivs->setCurrentItem(nullptr);
  list->BSeeIndiv->click();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, "Please select first an individual in the list");
  EXPECT_EQ(messages[0].icon, QMessageBox::Warning);
  list->LIndivs->setCurrentRow(1);
  list->BSeeIndiv->click();
  EXPECT_EQ(PrimaryId(), "P2");
  QListWidgetItem* anna = list->LIndivs->item(0);
  emit list->LIndivs->itemDoubleClicked(anna);
  EXPECT_EQ(PrimaryId(), "P1");
  EXPECT_TRUE(list->isVisible());  // the list stays open
  EXPECT_EQ(messages.size(), 1u);

  // List again only shows the same window; Close unloads it.
  window.MListIndivs->trigger();
  EXPECT_EQ(window.listWindow(), list);
  list->BClose->click();
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(window.listWindow(), nullptr);
}

TEST_F(ListWindowTest, AllGroupRefusedAboveLimit) {
  std::string g = "0 HEAD\n";
  g.reserve(31001 * 40);
  for (int i = 0; i < 31001; ++i)
    g += "0 @I" + std::to_string(i) + "@ INDI\n1 NAME N" + std::to_string(i) +
         (i % 2 ? " /Adam/\n" : " /Brun/\n");
  g += "0 TRLR\n";
  FListIndivs* list = OpenList(WriteGedcom("big.ged", g));
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->Combo1->currentIndex(), 1);
  EXPECT_EQ(list->Combo1->currentText(), "A");
  EXPECT_EQ(list->LIndivs->count(), 15500);
  list->Combo1->setCurrentIndex(2);
  EXPECT_EQ(list->LIndivs->count(), 15501);
  list->Combo1->setCurrentIndex(0);  // "All" again: refused again
  EXPECT_EQ(list->Combo1->currentIndex(), 1);
  EXPECT_EQ(list->LIndivs->count(), 15500);
}

TEST_F(ListWindowTest, StaleEntriesAfterAnotherFile) {
  FListIndivs* list = OpenList(TestData("royal92.ged"));
  ASSERT_NE(list, nullptr);
  window.LoadGedcomFile(TestData("bronte.ged"));
  // The list still shows royal92's entries; picking one beyond the new file
  // does nothing instead of reading outside it.
  int row = 0;
  while (list->LIndivs->item(row)->data(Qt::UserRole).toInt() < window.document().IndividualCount())
    ++row;
  list->LIndivs->setCurrentRow(row);
  const int32_t before = window.tree().ascendants()[0];
  list->BSeeIndiv->click();
  EXPECT_EQ(window.tree().ascendants()[0], before);
  EXPECT_TRUE(messages.empty());
}

}  // namespace
}  // namespace ktviewer
