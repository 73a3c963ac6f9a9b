// The object model: defaults, identities and factory, output settings,
// lookups (also against the plain forward scan), growth, removeAll, events.
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <thread>
#include <utility>
#include <vector>

#include <kintrail/winnow/factory.h>
#include <kintrail/winnow/winnowgedcom.h>

#include "testsupport.h"

using namespace kt::winnow;

namespace {

TEST(WinnowObjectModel, ANewObjectHasTheDesignedValues) {
  WinnowGEDCOM w;
  EXPECT_EQ(w.debuging, 0);
  EXPECT_EQ(w.MaxIndivToRetrieve, 0);
  EXPECT_EQ(w.MaxSizeOfString, 0);
  EXPECT_EQ(w.MaxGen, 0);
  EXPECT_EQ(w.SupplementaryLinks, ".../.../");
  EXPECT_EQ(w.headerGEDCOM, "");
  EXPECT_EQ(w.LIndividualsCount, 0);
  EXPECT_EQ(w.LMarriagesCount, 0);
  EXPECT_EQ(w.Status(), 0);
  EXPECT_EQ(w.FindIndiv("I1"), -1);
  EXPECT_EQ(w.FindFam("F1"), -1);
  EXPECT_EQ(w.FindPlaceId("-"), -1);
  EXPECT_EQ(w.getIndiv(0), nullptr);
  EXPECT_EQ(w.getMarri(-1), nullptr);

  TCGedcomIndividual p;
  EXPECT_EQ(p.deathDate, 9999);
  EXPECT_EQ(p.birthDate, 0);
  TCGedcomMarriage f;
  EXPECT_EQ(f.udate, "0");
}

TEST(WinnowObjectModel, FactoryCreatesByClassIdentity) {
  EXPECT_NE(CreateObjectAs<WinnowGEDCOM>(CLSID_WinnowGEDCOM), nullptr);
  EXPECT_NE(CreateObjectAs<TCGedcomIndividual>(CLSID_TCGedcomIndividual), nullptr);
  EXPECT_NE(CreateObjectAs<TCGedcomMarriage>(CLSID_TCGedcomMarriage), nullptr);
  EXPECT_EQ(CreateObjectAs<WinnowGEDCOM>(CLSID_TCGedcomMarriage), nullptr);
  EXPECT_EQ(CreateObject(IID__WinnowGEDCOM), nullptr);
  EXPECT_EQ(CreateObject(LIBID_Pwinnow), nullptr);
  EXPECT_EQ(CLSID_WinnowGEDCOM.ToString(), "{6A1F0C11-5B2E-4C3D-9E71-0F2A4B6C8D01}");
  EXPECT_EQ(DIID___WinnowGEDCOM.ToString(), "{6A1F0C22-5B2E-4C3D-9E71-0F2A4B6C8D01}");
  EXPECT_EQ(IID__TCGedcomMarriage.ToString(), "{6A1F0C24-5B2E-4C3D-9E71-0F2A4B6C8D01}");
}

TEST(WinnowObjectModel, OutputSettingsBelongToTheThread) {
  // Run on a thread of its own so that earlier tests leave no setting behind.
  std::thread([] {
    WinnowGEDCOM a;
    EXPECT_EQ(a.SetFilename("first.xml"), "");
    EXPECT_EQ(a.SetFilename("second.xml"), "first.xml");
    EXPECT_EQ(a.SetStringAtBeginning("<b>"), "");
    EXPECT_EQ(a.SetStringAtEnd("<e>"), "");
    a.SetCharEncodingForGedcom(2);
    WinnowGEDCOM b;  // a second object keeps the name, empties the two strings
    EXPECT_EQ(b.SetFilename("third.xml"), "second.xml");
    EXPECT_EQ(b.SetStringAtBeginning(""), "");
    EXPECT_EQ(b.SetStringAtEnd(""), "");
    EXPECT_EQ(CharEncoding(), 2);
    std::thread([] { EXPECT_EQ(OutputFileName(), ""); }).join();
  }).join();
}

std::string People(std::initializer_list<const char*> ids) {
  std::string text = "0 HEAD\r\n";
  for (const char* id : ids) text += std::string("0 @") + id + "@ INDI\r\n1 BIRT\r\n2 PLAC P" + id + "\r\n";
  return text + "0 @F1@ FAM\r\n0 @F2@ FAM\r\n0 @F1@ FAM\r\n0 TRLR\r\n";
}

TEST(WinnowObjectModel, LookupsAreExactAndReturnTheLowestIndex) {
  WinnowGEDCOM w;
  w.AnalyzeGedcomData(People({"I12", "I7", "I12", "i9"}), false);
  EXPECT_EQ(w.FindIndiv("I12"), 0);
  EXPECT_EQ(w.FindIndiv("i12"), -1);
  EXPECT_EQ(w.FindIndiv("I9"), 3);
  EXPECT_EQ(w.FindIndiv("I1"), -1);
  EXPECT_EQ(w.FindIndiv(""), -1);
  EXPECT_EQ(w.FindFam("F1"), 0);
  EXPECT_EQ(w.FindFam("F2"), 1);
  w.SynthetizeGedcom();
  EXPECT_EQ(w.FindPlaceId("-"), 0);
  EXPECT_EQ(w.FindPlaceId("PI7"), 2);
  EXPECT_EQ(w.FindPlaceId("pi7"), -1);
}

TEST(WinnowObjectModel, RemoveAllEmptiesTheModelButKeepsStatusAndCharSet) {
  WinnowGEDCOM w;
  w.AnalyzeGedcomData("0 HEAD\r\n1 CHAR ANSEL\r\n" + People({"I1"}).substr(8), false);
  w.SynthetizeGedcom();
  w.removeAll();
  EXPECT_EQ(w.LIndividualsCount, 0);
  EXPECT_EQ(w.LMarriagesCount, 0);
  EXPECT_EQ(w.FindPlaceId("-"), -1);
  EXPECT_EQ(w.FindIndiv("I1"), -1);
  EXPECT_TRUE(w.LastNames().empty());
  EXPECT_EQ(w.IndividualsCapacity(), 1);
  EXPECT_EQ(w.Status(), StatusSynthesisDone);
  EXPECT_EQ(w.CharSet(), "ANSEL");
}

TEST(WinnowObjectModel, ListsGrowInStepsOfFifty) {
  std::string text = "0 HEAD\r\n";
  for (int i = 0; i < 53; ++i) text += "0 @I" + std::to_string(i) + "@ INDI\r\n";
  WinnowGEDCOM w;
  w.AnalyzeGedcomData(text + "0 TRLR\r\n", false);
  // 1 slot, then 1 + 51 at the second individual, then 52 + 51 at the 53rd.
  EXPECT_EQ(w.IndividualsCapacity(), 103);
  w.AnalyzeGedcomData(text.substr(0, text.find("@I52@") - 2) + "0 TRLR\r\n", false);
  EXPECT_EQ(w.LIndividualsCount, 52);
  EXPECT_EQ(w.IndividualsCapacity(), 52);
}

// A host may keep the records it was given after the model lets them go
// (removeAll, another file); the records of a large file are spread over
// several blocks of storage.
TEST(WinnowObjectModel, RecordsAHostHoldsOutliveTheModel) {
  std::string text = "0 HEAD\r\n";
  for (int i = 0; i < 10000; ++i) text += "0 @I" + std::to_string(i) + "@ INDI\r\n1 NAME A /B" + std::to_string(i) + "/\r\n";
  text += "0 @F1@ FAM\r\n1 HUSB @I0@\r\n0 TRLR\r\n";
  WinnowGEDCOM w;
  w.AnalyzeGedcomData(text, true);
  std::vector<std::pair<int, std::shared_ptr<TCGedcomIndividual>>> held;
  for (int i : {0, 1, 4095, 4096, 8191, 8192, 9999}) held.emplace_back(i, w.getIndiv(i));
  const auto family = w.getMarri(0);
  w.removeAll();
  w.AnalyzeGedcomData(People({"J1"}), true);
  w.removeAll();
  for (const auto& [i, p] : held) {
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->Id, "I" + std::to_string(i));
    EXPECT_EQ(p->Name, "B" + std::to_string(i));
    EXPECT_EQ(p->gedcomString, "1 NAME A /B" + std::to_string(i) + "/\r\n");
  }
  ASSERT_NE(family, nullptr);
  EXPECT_EQ(family->husbandID, "I0");
}

// A host that empties the model from an event of the walk, as a program does
// when the user closes the file while an extract is being made.
struct ModelEmptier : WinnowGEDCOMEvents {
  WinnowGEDCOM* w = nullptr;
  void OnAddIndividual(int32_t number, int32_t status) override {
    if (status == StatusExtracting && number > 0 && w->LIndividualsCount > 0) w->removeAll();
  }
  void OnAddMarriage(int32_t, int32_t) override {}
};

TEST(WinnowObjectModel, AHostMayEmptyTheModelDuringAnExtraction) {
  // A line of descent through 40 generations, one family each.
  std::string text = "0 HEAD\r\n";
  for (int g = 0; g < 40; ++g) {
    text += "0 @I" + std::to_string(g) + "@ INDI\r\n1 NAME A /B/\r\n";
    if (g > 0) text += "1 FAMC @F" + std::to_string(g - 1) + "@\r\n";
    text += "1 FAMS @F" + std::to_string(g) + "@\r\n";
  }
  for (int g = 0; g < 40; ++g)
    text += "0 @F" + std::to_string(g) + "@ FAM\r\n1 HUSB @I" + std::to_string(g) + "@\r\n1 CHIL @I" +
            std::to_string(g + 1) + "@\r\n";
  text += "0 TRLR\r\n";
  const auto out = winnowtest::FreshFolder() / "extract.xml";
  WinnowGEDCOM w;
  ModelEmptier emptier;
  emptier.w = &w;
  w.SetFilename(out.string());
  w.AnalyzeGedcomData(text, true);
  w.Advise(&emptier);
  EXPECT_EQ(w.GetDESC("I0", "q1"), "0");
  EXPECT_EQ(w.LIndividualsCount, 0);
  const std::string extract = winnowtest::ReadFile(out);
  EXPECT_NE(extract.find("0 @I0@ INDI"), std::string::npos);
  EXPECT_NE(extract.find("</result>"), std::string::npos);
}

// The designed lookup: a forward scan of the slots below the count.
int32_t LinearFindIndiv(const WinnowGEDCOM& w, const std::string& id) {
  for (int32_t i = 0; i < w.LIndividualsCount; ++i) {
    const auto p = w.getIndiv(i);
    if (p && p->Id == id) return i;
  }
  return -1;
}

// A host that writes LIndividualsCount from inside the reading events, so
// that later records overwrite slots or land beyond empty ones.
struct CountWriter : WinnowGEDCOMEvents {
  WinnowGEDCOM* w = nullptr;
  std::mt19937 random{7};
  void OnAddIndividual(int32_t, int32_t status) override {
    if (status != StatusReading) return;
    const uint32_t r = random();
    w->LIndividualsCount = r % 5 == 0 ? -2 : static_cast<int32_t>(r % 160);
  }
  void OnAddMarriage(int32_t, int32_t) override {}
};

TEST(WinnowObjectModel, LookupsMatchTheForwardScanWhenTheHostWritesTheCounts) {
  std::string text = "0 HEAD\r\n";
  for (int i = 0; i < 2000; ++i) text += "0 @I" + std::to_string(i % 37) + "@ INDI\r\n";
  text += "0 TRLR\r\n";
  for (int seed = 1; seed <= 5; ++seed) {
    WinnowGEDCOM w;
    CountWriter writer;
    writer.w = &w;
    writer.random.seed(seed);
    w.Advise(&writer);
    w.AnalyzeGedcomData(text, false);
    for (int32_t count : {w.LIndividualsCount, 0, 5, 40, 100, 400, -1}) {
      w.LIndividualsCount = count;
      for (int id = 0; id < 40; ++id) {
        const std::string key = "I" + std::to_string(id);
        ASSERT_EQ(w.FindIndiv(key), LinearFindIndiv(w, key)) << "seed " << seed << " count " << count << " " << key;
      }
    }
  }
}

TEST(WinnowObjectModel, EventsGoToEveryAttachedSinkUntilDetached) {
  WinnowGEDCOM w;
  winnowtest::EventLog one, two;
  const uint32_t c1 = w.Advise(&one);
  w.Advise(&two);
  w.AnalyzeGedcomData(People({"I1"}), false);
  w.Unadvise(c1);
  w.SynthetizeGedcom();
  EXPECT_EQ(one.events.size(), 1u);
  EXPECT_EQ(two.events.size(), 2u);
}

}  // namespace

namespace {

TEST(WinnowObjectModel, TheMessagePumpRunsAtTheEventPoints) {
  int pumped = 0;
  SetProcessMessagesCallback([](void* count) { ++*static_cast<int*>(count); }, &pumped);
  std::string text = "0 HEAD\r\n";
  for (int i = 0; i < 100; ++i) text += "0 @I" + std::to_string(i) + "@ INDI\r\n";
  for (int i = 0; i < 16; ++i) text += "0 @F" + std::to_string(i) + "@ FAM\r\n";
  WinnowGEDCOM w;
  w.AnalyzeGedcomData(text + "0 TRLR\r\n", false);
  EXPECT_EQ(pumped, 4);  // individuals 31, 63, 95; marriage 15
  pumped = 0;
  w.SynthetizeGedcom();
  EXPECT_EQ(pumped, 12);  // i = 7, 15, ..., 95
  SetProcessMessagesCallback(nullptr);
  w.SynthetizeGedcom();
  EXPECT_EQ(pumped, 12);
}

}  // namespace
