// Ancestor, descendant and close-family extracts, byte for byte where the
// layout matters, by content elsewhere.
#include <gtest/gtest.h>

#include <system_error>

#include <kintrail/winnow/winnowgedcom.h>

#include "testsupport.h"

using namespace kt::winnow;
using winnowtest::Lines;

namespace {

// P's parents H and W (family F1, also the family of P's sibling X).
const std::string kParents = Lines({"0 HEAD", "1 CHAR ANSEL", "0 @P@ INDI", "1 NAME Paul /Martin/", "1 BIRT",
                                    "2 DATE 1 JAN 1900", "1 FAMC @F1@", "0 @H@ INDI", "1 NAME Henri /Martin/",
                                    "1 FAMS @F1@", "0 @W@ INDI", "1 NAME Wanda /Roy/", "1 DEAT", "2 DATE 1950",
                                    "1 FAMS @F1@", "0 @X@ INDI", "1 NAME Xavier /Martin/", "1 FAMC @F1@",
                                    "0 @F1@ FAM", "1 HUSB @H@", "1 WIFE @W@", "1 CHIL @P@", "1 CHIL @X@", "0 TRLR"});

const std::string kHeader = "\r\n<result questionid='q7'><data><![CDATA[0 HEAD\r\n1 SOUR Kintrail\r\n2 VERS 1.0\r\n1 CHAR ANSEL\r\n";
const std::string kP = "0 @P@ INDI\r\n1 NAME Paul /Martin/\r\n1 BIRT\r\n2 DATE 1 JAN 1900\r\n1 FAMC @F1@\r\n";
const std::string kF1 = "0 @F1@ FAM\r\n1 HUSB @H@\r\n1 WIFE @W@\r\n1 CHIL @P@\r\n1 CHIL @X@\r\n";
const std::string kH = "0 @H@ INDI\r\n1 NAME Henri /Martin/\r\n1 FAMS @F1@\r\n";
const std::string kW = "0 @W@ INDI\r\n1 NAME Wanda /Roy/\r\n1 DEAT\r\n2 DATE 1950\r\n1 FAMS @F1@\r\n";

enum class Kind { Ascendants, Descendants, Family };

// Analyses `gedcom` (records kept), runs one extraction, returns the file.
std::string Extract(WinnowGEDCOM& w, const std::string& gedcom, Kind kind, const std::string& id,
                    bool keep = true) {
  const auto out = winnowtest::FreshFolder() / "extract.xml";
  w.SetFilename(out.string());
  w.AnalyzeGedcomData(gedcom, keep);
  switch (kind) {
    case Kind::Ascendants: EXPECT_EQ(w.GetASCE(id, "q7"), "0"); break;
    case Kind::Descendants: EXPECT_EQ(w.GetDESC(id, "q7"), "0"); break;
    case Kind::Family: EXPECT_EQ(w.GetFamily(id, "q7"), 0); break;
  }
  return winnowtest::ReadFile(out);
}

std::string Stats(int indi, int fam, int minYear, int maxYear) {
  return "0 TRLR\r\n]]></data><Stats  nbindi='" + std::to_string(indi) + "' nbfam='" + std::to_string(fam) +
         "' minYear='" + std::to_string(minYear) + "' maxYear='" + std::to_string(maxYear) + "' /></result>\r\n";
}

size_t Occurrences(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

TEST(WinnowExtraction, AncestorsWithOneStub) {
  WinnowGEDCOM w;
  EXPECT_EQ(Extract(w, kParents, Kind::Ascendants, "@P@"),
            kHeader + kP + kF1 + kH + kW + "0 @X@ INDI\r\n1 NAME .../.../\r\n1 FAMC @F1@\r\n" +
                Stats(3, 1, 1900, 1950));
  EXPECT_EQ(w.Status(), StatusExtractionDone);
  EXPECT_TRUE(w.getIndiv(w.FindIndiv("P"))->alreadyScant);
  EXPECT_FALSE(w.getIndiv(w.FindIndiv("X"))->alreadyScant);
}

TEST(WinnowExtraction, MaxGenOneLeavesTheParentsFamilyAsLinksOnly) {
  WinnowGEDCOM w;
  w.MaxGen = 1;
  EXPECT_EQ(Extract(w, kParents, Kind::Ascendants, "P"),
            kHeader + kP + kF1 + "0 @X@ INDI\r\n1 NAME .../.../\r\n1 FAMC @F1@\r\n" +
                "0 @H@ INDI\r\n1 NAME .../.../\r\n1 FAMS @F1@\r\n" + "0 @W@ INDI\r\n1 NAME .../.../\r\n1 FAMS @F1@\r\n" +
                Stats(1, 0, 1900, 1900));
}

TEST(WinnowExtraction, EmptySupplementaryLinksWritesNoStubs) {
  WinnowGEDCOM w;
  w.SupplementaryLinks = "";
  EXPECT_EQ(Extract(w, kParents, Kind::Ascendants, "P"), kHeader + kP + kF1 + kH + kW + Stats(3, 1, 1900, 1950));
}

TEST(WinnowExtraction, UnknownIndividualGivesAnEmptyExtract) {
  WinnowGEDCOM w;
  for (Kind kind : {Kind::Ascendants, Kind::Descendants, Kind::Family})
    EXPECT_EQ(Extract(w, kParents, kind, "p"), kHeader + Stats(0, 0, 9999, -9999));  // ids are case-sensitive
}

TEST(WinnowExtraction, TheIndividualLimitStopsTheWalk) {
  WinnowGEDCOM w;
  w.MaxIndivToRetrieve = 2;
  w.SupplementaryLinks = "";
  EXPECT_EQ(Extract(w, kParents, Kind::Ascendants, "P"), kHeader + kP + kF1 + Stats(1, 1, 1900, 1900));
}

TEST(WinnowExtraction, WithoutKeptLinesOnlyTheLevelZeroLineIsWritten) {
  WinnowGEDCOM w;
  EXPECT_EQ(Extract(w, kParents, Kind::Ascendants, "P", false), kHeader + "0 @P@ INDI\r\n" + Stats(1, 0, 9999, -9999));
}

TEST(WinnowExtraction, HeaderGedcomReplacesTheHeaderByteForByte) {
  WinnowGEDCOM w;
  w.headerGEDCOM = "0 HEAD\r\n1 SOUR Other";
  w.SupplementaryLinks = "";
  const std::string file = Extract(w, kParents, Kind::Ascendants, "P");
  EXPECT_EQ(file.substr(0, file.find("0 @P@")), "\r\n<result questionid='q7'><data><![CDATA[0 HEAD\r\n1 SOUR Other");
}

// Latin-1 text as UTF-16 little endian, without byte-order mark.
std::string Utf16Le(std::string_view latin1) {
  std::string out;
  for (char c : latin1) {
    out += c;
    out += '\0';
  }
  return out;
}

TEST(WinnowExtraction, TheCharLineNamesTheBytesCarried) {
  struct Case {
    const char* what;
    std::string gedcom;
    int16_t charEncoding;
    std::string charLine;  // "" for none
  };
  const std::string body = Lines({"0 @P@ INDI", "1 NAME J\xC3\xA9r\xC3\xB4me /X/", "0 TRLR"});
  const std::vector<Case> cases = {
      {"declared ANSI", "0 HEAD\r\n1 CHAR ANSI\r\n" + body, 0, "1 CHAR ANSI\r\n"},
      {"declared UTF-8", "0 HEAD\r\n1 CHAR UTF-8\r\n" + body, 0, "1 CHAR UTF-8\r\n"},
      {"byte-order mark, declared ANSI", "\xEF\xBB\xBF" "0 HEAD\r\n1 CHAR ANSI\r\n" + body, 0, "1 CHAR UTF-8\r\n"},
      {"UTF-16 declared UNICODE", Utf16Le("0 HEAD\r\n1 CHAR UNICODE\r\n0 @P@ INDI\r\n1 NAME J\xE9r\xF4me /X/\r\n0 TRLR"), 0,
       "1 CHAR UTF-8\r\n"},
      {"empty CHAR, CharEncoding ANSEL", "0 HEAD\r\n1 CHAR\r\n" + body, 2, "1 CHAR ANSEL\r\n"},
      {"empty CHAR, CharEncoding 0", "0 HEAD\r\n1 CHAR\r\n" + body, 0, ""},
  };
  for (const Case& c : cases) {
    WinnowGEDCOM w;
    w.SetCharEncodingForGedcom(c.charEncoding);
    const std::string file = Extract(w, c.gedcom, Kind::Ascendants, "P");
    const size_t head = file.find("2 VERS 1.0\r\n") + 12;
    EXPECT_EQ(file.substr(head, file.find("0 @P@") - head), c.charLine) << c.what;
    if (c.charLine == "1 CHAR UTF-8\r\n") {
      EXPECT_NE(file.find("1 NAME J\xC3\xA9"), std::string::npos) << c.what;  // UTF-8 bytes carried
    }
  }
}

// R and S1 (family FR) have the children C1 and C2, who married each other
// (family FC); S1's parents are G and GW (family FS).
const std::string kDescendants =
    Lines({"0 HEAD", "1 CHAR ASCII", "0 @R@ INDI", "1 SEX M", "1 FAMS @FR@", "0 @S1@ INDI", "1 SEX F", "1 FAMS @FR@",
           "1 FAMC @FS@", "0 @C1@ INDI", "1 SEX M", "1 FAMC @FR@", "1 FAMS @FC@", "0 @C2@ INDI", "1 SEX F",
           "1 FAMC @FR@", "1 FAMS @FC@", "0 @G@ INDI", "1 FAMS @FS@", "0 @GW@ INDI", "1 FAMS @FS@", "0 @FR@ FAM",
           "1 HUSB @R@", "1 WIFE @S1@", "1 CHIL @C1@", "1 CHIL @C2@", "0 @FC@ FAM", "1 HUSB @C1@", "1 WIFE @C2@",
           "0 @FS@ FAM", "1 HUSB @G@", "1 WIFE @GW@", "1 CHIL @S1@", "0 TRLR"});

TEST(WinnowExtraction, DescendantsWriteASpouseOnceAndItsParentsAsLinksOnly) {
  WinnowGEDCOM w;
  const std::string file = Extract(w, kDescendants, Kind::Descendants, "R");
  EXPECT_NE(file.find("0 @R@ INDI\r\n1 SEX M\r\n1 FAMS @FR@\r\n0 @FR@ FAM\r\n"), std::string::npos);
  EXPECT_NE(file.find("0 @FC@ FAM\r\n1 HUSB @C1@\r\n1 WIFE @C2@\r\n0 @C2@ INDI"), std::string::npos);
  EXPECT_EQ(Occurrences(file, "0 @C2@ INDI"), 1u);
  EXPECT_NE(file.find("0 @FS@ FAM\r\n1 HUSB @G@\r\n1 WIFE @GW@\r\n1 CHIL @S1@\r\n"), std::string::npos);
  EXPECT_NE(file.find("0 @G@ INDI\r\n1 NAME .../.../\r\n1 FAMS @FS@\r\n"), std::string::npos);
  EXPECT_NE(file.find("0 @GW@ INDI\r\n1 NAME .../.../\r\n1 FAMS @FS@\r\n"), std::string::npos);
  EXPECT_NE(file.find(Stats(4, 2, 9999, -9999)), std::string::npos);
}

// P married A (F1: child K1, who married KS in FK and has the child GK) and
// B (F2: child K2); P's parents PH and PW (FP); PH's parents in FG.
const std::string kTwoMarriages =
    Lines({"0 HEAD", "1 CHAR ANSEL", "0 @P@ INDI", "1 SEX M", "1 FAMS @F1@", "1 FAMS @F2@", "1 FAMC @FP@",
           "0 @A@ INDI", "1 SEX F", "1 FAMS @F1@", "0 @B@ INDI", "1 SEX F", "1 FAMS @F2@", "0 @K1@ INDI", "1 SEX M",
           "1 FAMC @F1@", "1 FAMS @FK@", "0 @KS@ INDI", "1 SEX F", "1 FAMS @FK@", "0 @GK@ INDI", "1 FAMC @FK@",
           "0 @K2@ INDI", "1 FAMC @F2@", "0 @PH@ INDI", "1 SEX M", "1 FAMS @FP@", "1 FAMC @FG@", "0 @PW@ INDI",
           "1 SEX F", "1 FAMS @FP@", "0 @GH@ INDI", "1 FAMS @FG@", "0 @F1@ FAM", "1 HUSB @P@", "1 WIFE @A@",
           "1 CHIL @K1@", "0 @F2@ FAM", "1 HUSB @P@", "1 WIFE @B@", "1 CHIL @K2@", "0 @FK@ FAM", "1 HUSB @K1@",
           "1 WIFE @KS@", "1 CHIL @GK@", "0 @FP@ FAM", "1 HUSB @PH@", "1 WIFE @PW@", "1 CHIL @P@", "0 @FG@ FAM",
           "1 HUSB @GH@", "1 CHIL @PH@", "0 TRLR"});

std::vector<std::string> RecordOrder(const std::string& file) {
  std::vector<std::string> ids;
  for (size_t at = file.find("\n0 @"); at != std::string::npos; at = file.find("\n0 @", at + 1))
    ids.push_back(file.substr(at + 4, file.find('@', at + 4) - at - 4));
  return ids;
}

TEST(WinnowExtraction, CloseFamilyOfAPersonWithTwoMarriages) {
  WinnowGEDCOM w;
  w.MaxGen = 0;
  winnowtest::EventLog log;
  w.Advise(&log);
  const std::string file = Extract(w, kTwoMarriages, Kind::Family, "P");
  EXPECT_EQ(RecordOrder(file), (std::vector<std::string>{"P", "F1", "A", "K1", "FK", "KS", "F2", "B", "K2", "FP",
                                                         "PH", "PW", "FG", "GK", "GH"}));
  EXPECT_NE(file.find("0 @FG@ FAM\r\n1 HUSB @GH@\r\n1 CHIL @PH@\r\n"), std::string::npos);  // links only
  EXPECT_NE(file.find(Stats(8, 4, 9999, -9999)), std::string::npos);
  EXPECT_EQ(w.MaxGen, 0);
  using E = winnowtest::EventLog::Event;
  // After the reading's final event, the extraction's reset events.
  ASSERT_GE(log.events.size(), 3u);
  EXPECT_EQ(log.events[0], (E{1, 10, 3}));
  const std::vector<E> start(log.events.begin() + 1, log.events.begin() + 3);
  EXPECT_EQ(start, (std::vector<E>{{1, 0, 10}, {2, 0, 10}}));
  EXPECT_EQ(log.events.back(), (E{1, 8, 11}));

  // The caller's MaxGen holds again: the ancestors reach the grandparents.
  const std::string ancestors = Extract(w, kTwoMarriages, Kind::Ascendants, "P");
  EXPECT_NE(ancestors.find("0 @GH@ INDI\r\n1 FAMS @FG@\r\n"), std::string::npos);
  EXPECT_NE(ancestors.find(Stats(4, 2, 9999, -9999)), std::string::npos);
}

TEST(WinnowExtraction, AMemberOfTwoExtractedFamiliesIsOneStub) {
  // X is P's sibling in F1 and, in F3, the wife of P's father.
  std::string gedcom = kParents.substr(0, kParents.find("0 TRLR"));
  gedcom.replace(gedcom.find("1 FAMS @F1@\r\n0 @W@"), 13, "1 FAMS @F1@\r\n1 FAMS @F3@\r\n");
  gedcom.replace(gedcom.find("1 FAMC @F1@\r\n0 @F1@"), 13, "1 FAMC @F1@\r\n1 FAMS @F3@\r\n");
  gedcom += Lines({"0 @F3@ FAM", "1 HUSB @H@", "1 WIFE @X@", "0 TRLR"});
  WinnowGEDCOM w;
  const std::string file = Extract(w, gedcom, Kind::Ascendants, "P");
  EXPECT_EQ(Occurrences(file, "0 @X@ INDI"), 1u);
  EXPECT_NE(file.find("0 @F3@ FAM\r\n1 HUSB @H@\r\n1 WIFE @X@\r\n0 @X@ INDI\r\n1 NAME .../.../\r\n1 FAMC @F1@\r\n"
                      "1 FAMS @F3@\r\n"),
            std::string::npos);
}

TEST(WinnowExtraction, LinksWithTrailingSpacesStillResolve) {
  std::string gedcom = kParents;
  gedcom.replace(gedcom.find("1 FAMC @F1@"), 11, "1 FAMC @F1@  ");
  WinnowGEDCOM w;
  const std::string file = Extract(w, gedcom, Kind::Ascendants, "P");
  EXPECT_NE(file.find(Stats(3, 1, 1900, 1950)), std::string::npos);
}

TEST(WinnowExtraction, AnOutputThatCannotBeCreatedThrows) {
  WinnowGEDCOM w;
  w.AnalyzeGedcomData(kParents, true);
  w.SetFilename("/nonexistent-folder/x.xml");
  EXPECT_THROW(w.GetDESC("P", "1"), std::system_error);
  w.MaxGen = 3;
  EXPECT_THROW(w.GetFamily("P", "1"), std::system_error);
  EXPECT_EQ(w.MaxGen, 3);
}

}  // namespace

namespace {

TEST(WinnowExtraction, TextHoldingTheCdataEndIsSplitIntoTwoSections) {
  WinnowGEDCOM w;
  const std::string file =
      Extract(w, Lines({"0 HEAD", "0 @P@ INDI", "1 NOTE a]]>b", "0 TRLR"}), Kind::Ascendants, "P");
  EXPECT_NE(file.find("1 NOTE a]]]]><![CDATA[>b\r\n"), std::string::npos) << file;
}

TEST(WinnowExtraction, AVeryLongLineOfDescentDoesNotExhaustTheStack) {
  // 30000 generations, each the only child of the one before.
  std::string gedcom = "0 HEAD\r\n";
  const int generations = 30000;
  for (int i = 0; i < generations; ++i) {
    gedcom += "0 @I" + std::to_string(i) + "@ INDI\r\n1 FAMS @F" + std::to_string(i) + "@\r\n";
    if (i > 0) gedcom += "1 FAMC @F" + std::to_string(i - 1) + "@\r\n";
    gedcom += "0 @F" + std::to_string(i) + "@ FAM\r\n1 HUSB @I" + std::to_string(i) + "@\r\n";
    if (i + 1 < generations) gedcom += "1 CHIL @I" + std::to_string(i + 1) + "@\r\n";
  }
  gedcom += "0 TRLR\r\n";
  WinnowGEDCOM w;
  w.MaxGen = 1000000;
  w.SupplementaryLinks = "";
  Extract(w, gedcom, Kind::Descendants, "I0");
  EXPECT_EQ(w.ExtractedIndividuals(), 2000);
  Extract(w, gedcom, Kind::Ascendants, "I" + std::to_string(generations - 1));
  EXPECT_EQ(w.ExtractedIndividuals(), 2000);
}

}  // namespace

namespace {

TEST(WinnowExtraction, TheWalksKeepTheHostResponsive) {
  // Ancestors of P: the reset, one family (100 times), no individual count
  // reaching 3; close family adds no pumping for the parents' family.
  int pumped = 0;
  SetProcessMessagesCallback([](void* count) { ++*static_cast<int*>(count); }, &pumped);
  WinnowGEDCOM w;
  w.AnalyzeGedcomData(kParents, true);
  pumped = 0;
  w.SetFilename((winnowtest::FreshFolder() / "x.xml").string());
  w.GetASCE("P", "1");
  EXPECT_EQ(pumped, 1 + 100 + 1);  // reset, family F1, the third individual
  pumped = 0;
  w.GetFamily("P", "1");
  EXPECT_EQ(pumped, 1 + 1);  // reset, the third individual; F1 reached as the parents' family
  SetProcessMessagesCallback(nullptr);
}

}  // namespace
