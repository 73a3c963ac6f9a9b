// Synthesis and the summary XML, byte for byte.
#include <gtest/gtest.h>

#include <cerrno>
#include <system_error>

#include <kintrail/winnow/winnowgedcom.h>

#include "testsupport.h"

using namespace kt::winnow;
using winnowtest::Lines;

namespace {

const char* kDeclaration = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>";

// Writes the summary of `gedcom` and returns the file's bytes.
std::string Summary(WinnowGEDCOM& w, const std::string& gedcom, int32_t id = 1, bool synthesise = true) {
  const auto out = winnowtest::FreshFolder() / "summary.xml";
  w.SetFilename(out.string());
  w.AnalyzeGedcomData(gedcom, false);
  if (synthesise) w.SynthetizeGedcom();
  EXPECT_EQ(w.GetXMLindividuals(id), "0");
  return winnowtest::ReadFile(out);
}

std::string Body(const std::string& file) { return file.substr(file.find("\r\n") + 2); }

TEST(WinnowSummary, TheSummaryOfOneIndividual) {
  WinnowGEDCOM w;
  w.SetStringAtBeginning(kDeclaration);
  const std::string file = Summary(
      w, Lines({"0 HEAD", "0 @I1@ INDI", "1 NAME Jean /Dupont/", "1 BIRT", "2 DATE 1850", "2 PLAC Paris", "0 TRLR"}), 17);
  EXPECT_EQ(file, std::string(kDeclaration) +
                      "\r\n<gedcom id=\"17\"><lnames><ln id=\"0\" txt=\"DUPONT\" /></lnames><places><p id=\"0\" "
                      "txt=\"-\" /><p id=\"1\" txt=\"PARIS\" /></places><indivs><i id=\"I1\" lnid=\"0\" "
                      "fn=\"JEAN\"><birth pid='1' y='1850' /></i></indivs></gedcom>");
}

TEST(WinnowSummary, BirthAndDeathElements) {
  struct Case {
    const char* what;
    std::vector<std::string> lines;
    std::string elements;
  };
  const std::vector<Case> cases = {
      {"birth place without year", {"1 BIRT", "2 PLAC Lyon"}, "<birth pid='1' y='0' />"},
      {"death place without year", {"1 DEAT", "2 PLAC Lyon"}, "<death pid='1' y='9999' />"},
      {"birth year without place", {"1 BIRT", "2 DATE 1800"}, "<birth pid='0' y='1800' />"},
      {"death year without place", {"1 DEAT", "2 DATE 1870"}, "<death pid='0' y='1870' />"},
      {"death without year gives year 0", {"1 DEAT", "2 DATE ?"}, "<death pid='0' y='0' />"},
      {"blank place is no place", {"1 BIRT", "2 PLAC    "}, ""},
      {"neither", {"1 BIRT"}, ""},
      {"both, same place", {"1 BIRT", "2 DATE 1800", "2 PLAC Lyon", "1 DEAT", "2 DATE 1870", "2 PLAC lyon"},
       "<birth pid='1' y='1800' /><death pid='1' y='1870' />"},
  };
  for (const Case& c : cases) {
    std::string gedcom = "0 HEAD\r\n0 @I1@ INDI\r\n1 NAME A /B/\r\n";
    for (const std::string& l : c.lines) gedcom += l + "\r\n";
    WinnowGEDCOM w;
    const std::string body = Body(Summary(w, gedcom + "0 TRLR\r\n"));
    const size_t start = body.find("fn=\"A\">") + 7;
    EXPECT_EQ(body.substr(start, body.find("</i>") - start), c.elements) << c.what;
  }
}

TEST(WinnowSummary, TextsAreEscaped) {
  WinnowGEDCOM w;
  const std::string body = Body(Summary(
      w, Lines({"0 HEAD", "0 @I1@ INDI", "1 NAME O'Brien <x> /M&M/", "1 BIRT", "2 PLAC Sainte-Anne & \x9C" "uvre",
                "0 TRLR"})));
  EXPECT_NE(body.find("<ln id=\"0\" txt=\"M&amp;M\" />"), std::string::npos) << body;
  EXPECT_NE(body.find("fn=\"O&apos;BRIEN &lt;X>\""), std::string::npos) << body;
  // œ upper-cases to Œ, which ISO-8859-1 lacks: written as a reference.
  EXPECT_NE(body.find("txt=\"SAINTE-ANNE &amp; &#338;UVRE\""), std::string::npos) << body;
}

TEST(WinnowSummary, IdentifiersAreEscapedToo) {
  WinnowGEDCOM w;
  const std::string body = Body(Summary(w, Lines({"0 HEAD", "0 @I<1&@ INDI", "0 TRLR"})));
  EXPECT_NE(body.find("<i id=\"I&lt;1&amp;\" lnid=\"0\" fn=\"\"></i>"), std::string::npos) << body;
}

TEST(WinnowSummary, AnIndividualWithoutLastNameGetsTheEmptyEntry) {
  WinnowGEDCOM w;
  const std::string body =
      Body(Summary(w, Lines({"0 HEAD", "0 @I1@ INDI", "1 NAME A /B/", "0 @I2@ INDI", "1 NAME Solo", "0 TRLR"})));
  EXPECT_NE(body.find("<ln id=\"1\" txt=\"\" />"), std::string::npos);
  EXPECT_NE(body.find("<i id=\"I2\" lnid=\"1\" fn=\"SOLO\"></i>"), std::string::npos);
}

TEST(WinnowSummary, WithoutSynthesisTheListsAreEmpty) {
  WinnowGEDCOM w;
  const std::string body = Body(Summary(w,
                                        Lines({"0 HEAD", "0 @I1@ INDI", "1 NAME A /B/", "1 BIRT", "2 DATE 1800",
                                               "2 PLAC Lyon", "1 DEAT", "2 PLAC Lyon", "0 TRLR"}),
                                        3, false));
  EXPECT_EQ(body, "<gedcom id=\"3\"><lnames></lnames><places></places><indivs><i id=\"I1\" lnid=\"-1\" "
                  "fn=\"A\"><birth pid='0' y='1800' /></i></indivs></gedcom>");
}

TEST(WinnowSummary, FramingStringsAndNegativeId) {
  WinnowGEDCOM w;
  w.SetStringAtEnd("<!-- end -->");
  const std::string file = Summary(w, Lines({"0 HEAD", "0 TRLR"}), -5);
  EXPECT_EQ(file, "\r\n<gedcom id=\"-5\"><lnames></lnames><places><p id=\"0\" txt=\"-\" /></places><indivs></indivs>"
                  "</gedcom><!-- end -->");
}

TEST(WinnowSummary, SynthesisEventsAndRepeatability) {
  std::string gedcom = "0 HEAD\r\n";
  for (int i = 0; i < 20; ++i)
    gedcom += "0 @I" + std::to_string(i) + "@ INDI\r\n1 NAME A /N" + std::to_string(i % 3) + "/\r\n1 BIRT\r\n2 PLAC P" +
              std::to_string(i % 4) + "\r\n";
  WinnowGEDCOM w;
  w.AnalyzeGedcomData(gedcom + "0 TRLR\r\n", false);
  winnowtest::EventLog log;
  w.Advise(&log);
  w.SynthetizeGedcom();
  using E = winnowtest::EventLog::Event;
  EXPECT_EQ(log.events, (std::vector<E>{{1, 7, 4}, {1, 15, 4}, {1, 20, 5}}));
  EXPECT_EQ(w.LastNames(), (std::vector<std::string>{"N0", "N1", "N2"}));
  EXPECT_EQ(w.Places(), (std::vector<std::string>{"-", "P0", "P1", "P2", "P3"}));
  w.SynthetizeGedcom();
  EXPECT_EQ(w.Places().size(), 5u);
  EXPECT_EQ(w.LastNames().size(), 3u);

  WinnowGEDCOM empty;
  winnowtest::EventLog emptyLog;
  empty.Advise(&emptyLog);
  empty.SynthetizeGedcom();
  EXPECT_EQ(emptyLog.events, (std::vector<E>{{1, 0, 5}}));
  EXPECT_EQ(empty.Places(), (std::vector<std::string>{"-"}));
}

TEST(WinnowSummary, AnOutputThatCannotBeCreatedThrowsBeforeWriting) {
  WinnowGEDCOM w;
  w.SetFilename((winnowtest::FreshFolder() / "no" / "such" / "folder.xml").string());
  w.AnalyzeGedcomData(Lines({"0 HEAD", "0 TRLR"}), false);
  try {
    w.GetXMLindividuals(1);
    FAIL() << "no exception";
  } catch (const std::system_error& e) {
    EXPECT_EQ(e.code().value(), ENOENT);
  }
  // The next output starts cleanly.
  const auto out = winnowtest::FreshFolder() / "ok.xml";
  w.SetFilename(out.string());
  w.GetXMLindividuals(1);
  EXPECT_EQ(winnowtest::ReadFile(out).substr(0, 2), "\r\n");
}

}  // namespace
