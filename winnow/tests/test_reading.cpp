// Reading GEDCOM files into the object model.
#include <gtest/gtest.h>

#include <cerrno>
#include <system_error>

#include <kintrail/winnow/winnowgedcom.h>

#include "testsupport.h"

using kt::winnow::TCGedcomIndividual;
using kt::winnow::WinnowGEDCOM;
using winnowtest::Lines;

namespace {

// Reads `text` through a file, the way hosts do.
void ReadText(WinnowGEDCOM& w, const std::string& text, bool keep = true) {
  const auto path = winnowtest::FreshFolder() / "in.ged";
  winnowtest::WriteFile(path, text);
  w.AnalyzeGedcom(path.string(), keep);
}

const std::string kTenLines = Lines({"0 HEAD", "1 CHAR ANSEL", "0 @I1@ INDI", "1 NAME Jean /Dupont/", "1 SEX F",
                                     "1 BIRT", "2 DATE 12 MAR 1850", "2 PLAC Paris", "0 TRLR"});

TEST(WinnowReading, TheTenLineFile) {
  WinnowGEDCOM w;
  ReadText(w, kTenLines);
  ASSERT_EQ(w.LIndividualsCount, 1);
  const auto p = w.getIndiv(0);
  EXPECT_EQ(p->Id, "I1");
  EXPECT_EQ(p->firstNames, "JEAN");
  EXPECT_EQ(p->Name, "DUPONT");
  EXPECT_EQ(p->Sex, 1);
  EXPECT_EQ(p->birthDate, 1850);
  EXPECT_EQ(p->birthPlace, "PARIS");
  EXPECT_EQ(p->deathDate, 9999);
  EXPECT_EQ(p->deathPlace, "");
  EXPECT_EQ(w.CharSet(), "ANSEL");
  EXPECT_EQ(p->gedcomString, "1 NAME Jean /Dupont/\r\n1 SEX F\r\n1 BIRT\r\n2 DATE 12 MAR 1850\r\n2 PLAC Paris\r\n");
  EXPECT_EQ(w.Status(), kt::winnow::StatusReadingDone);

  ReadText(w, kTenLines, false);
  EXPECT_EQ(w.getIndiv(0)->gedcomString, "");
}

TEST(WinnowReading, TheRecordStillOpenAtTheEndIsNotAdded) {
  WinnowGEDCOM w;
  ReadText(w, kTenLines.substr(0, kTenLines.size() - 8));  // without "0 TRLR"
  EXPECT_EQ(w.LIndividualsCount, 0);
}

TEST(WinnowReading, LineEndsCrLfCrAndLfReadAlike) {
  for (std::string_view end : {"\r\n", "\n", "\r"}) {
    std::string text;
    for (size_t at = 0, next; at < kTenLines.size(); at = next + 2) {
      next = kTenLines.find("\r\n", at);
      text += kTenLines.substr(at, next - at);
      text += end;
    }
    WinnowGEDCOM w;
    ReadText(w, text);
    ASSERT_EQ(w.LIndividualsCount, 1) << "line end size " << end.size();
    EXPECT_EQ(w.getIndiv(0)->birthPlace, "PARIS");
    // The kept lines always end in CR LF.
    EXPECT_EQ(w.getIndiv(0)->gedcomString.substr(0, 22), "1 NAME Jean /Dupont/\r\n");
  }
}

TEST(WinnowReading, NameAndSexLines) {
  struct Case {
    std::string line;
    std::string firstNames, name;
  };
  for (const Case& c : std::vector<Case>{{"1 NAME John /Smith/ Jr", "JOHN  JR", "SMITH"},
                                         {"1 NAME John Smith", "JOHN SMITH", ""},
                                         {"1 NAME  /van der Berg/  ", "", "VAN DER BERG"}}) {
    WinnowGEDCOM w;
    ReadText(w, Lines({"0 HEAD", "0 @I1@ INDI", c.line, "0 TRLR"}));
    ASSERT_EQ(w.LIndividualsCount, 1);
    EXPECT_EQ(w.getIndiv(0)->firstNames, c.firstNames) << c.line;
    EXPECT_EQ(w.getIndiv(0)->Name, c.name) << c.line;
  }
  struct SexCase {
    std::string line;
    int sex;
  };
  for (const SexCase& c : std::vector<SexCase>{{"1 SEX f", 1}, {"1 SEX F  ", 1}, {"1 SEX FEMALE", 0}, {"1 SEX M", 0}, {"1 SEX", 0}}) {
    WinnowGEDCOM w;
    ReadText(w, Lines({"0 HEAD", "0 @I1@ INDI", c.line, "0 TRLR"}));
    EXPECT_EQ(w.getIndiv(0)->Sex, c.sex) << c.line;
  }
}

TEST(WinnowReading, BirthBaptismDeathAndBurialRules) {
  struct Case {
    const char* what;
    std::vector<std::string> lines;
    int16_t birth, death;
    std::string birthPlace, deathPlace;
  };
  const std::vector<Case> cases = {
      {"baptism before birth is overwritten", {"1 BAPM", "2 DATE 1851", "2 PLAC A", "1 BIRT", "2 DATE 1850", "2 PLAC B"}, 1850, 9999, "B", ""},
      {"baptism after a birth year is ignored", {"1 BIRT", "2 DATE 1850", "1 BAPM", "2 DATE 1851", "2 PLAC A"}, 1850, 9999, "A", ""},
      {"birth without year lets baptism in", {"1 BIRT", "2 DATE MAY 12", "1 BAPM", "2 DATE 3 JUN 1851"}, 1851, 9999, "", ""},
      {"death without year gives 0 and blocks burial", {"1 DEAT", "2 DATE UNKNOWN", "1 BURI", "2 DATE 1900"}, 0, 0, "", ""},
      {"burial when no death", {"1 BURI", "2 DATE BET 1899 AND 1900", "2 PLAC Lyon"}, 0, 1900, "", "LYON"},
      {"death place kept over burial place", {"1 DEAT", "2 PLAC Nice", "1 BURI", "2 PLAC Lyon"}, 0, 9999, "", "NICE"},
      {"level 3 date under a source counts", {"1 BIRT", "2 SOUR @S1@", "3 DATE 1777"}, 1777, 9999, "", ""},
      {"level 4 is ignored", {"1 BIRT", "2 SOUR @S1@", "3 DATA", "4 DATE 1777"}, 0, 9999, "", ""},
      {"later line of a tag overwrites", {"1 BIRT", "2 DATE 1850", "1 BIRT", "2 DATE 1852"}, 1852, 9999, "", ""},
  };
  for (const Case& c : cases) {
    std::string text = Lines({"0 HEAD", "0 @I1@ INDI"});
    for (const std::string& l : c.lines) text += l + "\r\n";
    text += "0 TRLR\r\n";
    WinnowGEDCOM w;
    ReadText(w, text);
    ASSERT_EQ(w.LIndividualsCount, 1) << c.what;
    const auto p = w.getIndiv(0);
    EXPECT_EQ(p->birthDate, c.birth) << c.what;
    EXPECT_EQ(p->deathDate, c.death) << c.what;
    EXPECT_EQ(p->birthPlace, c.birthPlace) << c.what;
    EXPECT_EQ(p->deathPlace, c.deathPlace) << c.what;
  }
}

TEST(WinnowReading, RecordKindsIdentifiersAndMarriages) {
  WinnowGEDCOM w;
  ReadText(w, Lines({"0 HEAD", "0 @i1@ INDI", "1 FAMS @f5@", "1 OCCU Forgeron \xE0 Lyon", "0 @FAM5@ SOUR",
                     "1 HUSB @i1@", "1 WIFE @I2@", "1 MARR", "2 DATE  1 JAN 1900 ", "2 PLAC  \xC9vian ", "0 @N1@ NOTE",
                     "1 HUSB @X@", "0 TRLR"}));
  ASSERT_EQ(w.LIndividualsCount, 1);
  EXPECT_EQ(w.getIndiv(0)->Id, "I1");
  EXPECT_EQ(w.getIndiv(0)->occupation, "FORGERON A LYON");
  EXPECT_EQ(w.getIndiv(0)->gedcomString, "1 FAMS @f5@\r\n1 OCCU Forgeron \xE0 Lyon\r\n");  // links as written
  ASSERT_EQ(w.LMarriagesCount, 1);
  const auto f = w.getMarri(0);
  EXPECT_EQ(f->Id, "FAM5");
  EXPECT_EQ(f->husbandID, "I1");
  EXPECT_EQ(f->WifeID, "I2");
  EXPECT_EQ(f->udate, "1 JAN 1900");
  EXPECT_EQ(f->place, "\xC9vian");  // as written, not normalised
}

TEST(WinnowReading, ALineStartingWithASpaceClosesTheRecord) {
  WinnowGEDCOM w;
  ReadText(w, Lines({"0 HEAD", "0 @I1@ INDI", "1 NAME A /B/", " 1 SEX F", "1 NAME C /D/", "0 @I2@ INDI", "",
                     "1 NAME E /F/", "0 TRLR"}));
  ASSERT_EQ(w.LIndividualsCount, 2);
  EXPECT_EQ(w.getIndiv(0)->Name, "B");
  EXPECT_EQ(w.getIndiv(0)->Sex, 0);
  EXPECT_EQ(w.getIndiv(0)->gedcomString, "1 NAME A /B/\r\n 1 SEX F\r\n");
  EXPECT_EQ(w.getIndiv(1)->gedcomString, "\r\n");
  EXPECT_EQ(w.getIndiv(1)->Name, "");
}

TEST(WinnowReading, DoubleQuotesBecomeApostrophes) {
  WinnowGEDCOM w;
  ReadText(w, Lines({"0 HEAD", "0 @I1@ INDI", "1 NAME Jim \"Red\" /O\"Neil/", "0 TRLR"}));
  EXPECT_EQ(w.getIndiv(0)->firstNames, "JIM 'RED'");
  EXPECT_EQ(w.getIndiv(0)->Name, "O'NEIL");
  EXPECT_EQ(w.getIndiv(0)->gedcomString, "1 NAME Jim 'Red' /O'Neil/\r\n");
}

TEST(WinnowReading, AnselAndIbmPcFilesAreConvertedButKeptAsWritten) {
  WinnowGEDCOM w;
  ReadText(w, Lines({"0 HEAD", "1 CHAR ANSEL", "0 @I1@ INDI", "1 NAME Jos\xE2" "e /M\xE2x/", "0 TRLR"}));
  EXPECT_EQ(w.getIndiv(0)->firstNames, "JOSE");  // é, then folded
  EXPECT_EQ(w.getIndiv(0)->Name, "MAX");         // the lone 0xE2 reads as â
  EXPECT_EQ(w.getIndiv(0)->gedcomString, "1 NAME Jos\xE2" "e /M\xE2x/\r\n");
  EXPECT_EQ(w.RecordTextCharSet(), "ANSEL");

  ReadText(w, Lines({"0 HEAD", "1 CHAR IBMPC", "0 @I1@ INDI", "1 NAME Fran\x87ois /M\x81ller/", "0 TRLR"}));
  EXPECT_EQ(w.getIndiv(0)->firstNames, "FRANCOIS");
  EXPECT_EQ(w.getIndiv(0)->Name, "MULLER");
}

// "Jérôme /Lefèvre/" in UTF-8, and the place "Évian".
const std::string kUtf8Name = "1 NAME J\xC3\xA9r\xC3\xB4me /Lef\xC3\xA8vre/";
const std::string kUtf8Place = "2 PLAC \xC3\x89vian";

std::string Utf16(std::string_view ascii_or_utf8, bool bigEndian, bool bom) {
  std::string out;
  auto put = [&](char16_t u) {
    const char hi = static_cast<char>(u >> 8), lo = static_cast<char>(u & 0xFF);
    out += bigEndian ? hi : lo;
    out += bigEndian ? lo : hi;
  };
  if (bom) put(0xFEFF);
  for (size_t i = 0; i < ascii_or_utf8.size();) {
    const auto c = static_cast<unsigned char>(ascii_or_utf8[i]);
    if (c < 0x80) {
      put(c);
      i += 1;
    } else {  // two-byte sequences only in these fixtures
      put(static_cast<char16_t>(((c & 0x1F) << 6) | (static_cast<unsigned char>(ascii_or_utf8[i + 1]) & 0x3F)));
      i += 2;
    }
  }
  return out;
}

TEST(WinnowReading, UnicodeFilesAreReadAsWindows1252) {
  const std::string body = Lines({"0 @I1@ INDI", kUtf8Name, "1 BIRT", kUtf8Place, "0 TRLR"}, "\n");
  struct Case {
    const char* what;
    std::string bytes;
    std::string charSet;
  };
  const std::vector<Case> cases = {
      {"byte-order mark", "\xEF\xBB\xBF" + Lines({"0 HEAD"}, "\n") + body, "ANSI"},
      {"CHAR UTF-8", Lines({"0 HEAD", "1 CHAR UTF-8"}, "\n") + body, "UTF-8"},
      {"no character set named", Lines({"0 HEAD"}, "\n") + body, "ANSI"},
      {"UTF-16 LE", Utf16(Lines({"0 HEAD", "1 CHAR UNICODE"}) + body, false, false), "UNICODE"},
      {"UTF-16 BE", Utf16(Lines({"0 HEAD"}) + body, true, false), "UNICODE"},
      {"UTF-16 LE with mark", Utf16(Lines({"0 HEAD"}) + body, false, true), "UNICODE"},
      {"UTF-16 BE with mark", Utf16(Lines({"0 HEAD"}) + body, true, true), "UNICODE"},
  };
  for (const Case& c : cases) {
    WinnowGEDCOM w;
    ReadText(w, c.bytes);
    ASSERT_EQ(w.LIndividualsCount, 1) << c.what;
    const auto p = w.getIndiv(0);
    EXPECT_EQ(p->firstNames, "JEROME") << c.what;
    EXPECT_EQ(p->Name, "LEFEVRE") << c.what;
    EXPECT_EQ(p->birthPlace, "EVIAN") << c.what;
    EXPECT_EQ(w.CharSet(), c.charSet) << c.what;
    EXPECT_EQ(w.RecordTextCharSet(), "UTF-8") << c.what;
    EXPECT_EQ(p->gedcomString, kUtf8Name + "\r\n1 BIRT\r\n" + kUtf8Place + "\r\n") << c.what;
  }
}

TEST(WinnowReading, A1252FileThatNamesItsCharacterSetIsNotTakenForUtf8) {
  WinnowGEDCOM w;
  ReadText(w, Lines({"0 HEAD", "1 CHAR ANSI", "0 @I1@ INDI", "1 NAME \xC3\xA9mile /X/", "0 TRLR"}));
  EXPECT_EQ(w.getIndiv(0)->firstNames, "A\xA9MILE");  // Ã© upper-cased and folded as designed
  EXPECT_EQ(w.RecordTextCharSet(), "ANSI");
}

TEST(WinnowReading, OdditiesOfRealFilesLoseNoRecord) {
  const std::string text = "\xEF\xBB\xBF" "0 HEAD\n1 CHAR UTF-8\n0  @I1@ INDI\n1 NAME A /B/  \n1 SEX F \n"
                           "1 FAMS @F9@\n0 @I2@ INDI \n1 NAME C /D/\n1 FAMC @NOWHERE@\n0 @F9@ FAM\n1 WIFE @I1@\n"
                           "1 CHIL @I404@\n0 TRLR";
  WinnowGEDCOM w;
  ReadText(w, text);
  ASSERT_EQ(w.LIndividualsCount, 2);
  ASSERT_EQ(w.LMarriagesCount, 1);
  EXPECT_EQ(w.getIndiv(0)->Id, "I1");
  EXPECT_EQ(w.getIndiv(0)->Name, "B");
  EXPECT_EQ(w.getIndiv(0)->Sex, 1);
  EXPECT_EQ(w.getIndiv(1)->Name, "D");
  EXPECT_EQ(w.getMarri(0)->WifeID, "I1");
}

TEST(WinnowReading, EventsAreThinnedAndEndWithTheFinalCount) {
  std::string text = "0 HEAD\r\n";
  for (int i = 0; i < 100; ++i) text += "0 @I" + std::to_string(i) + "@ INDI\r\n";
  for (int i = 0; i < 33; ++i) text += "0 @F" + std::to_string(i) + "@ FAM\r\n";
  text += "0 TRLR\r\n";
  WinnowGEDCOM w;
  winnowtest::EventLog log;
  w.Advise(&log);
  ReadText(w, text);
  using E = winnowtest::EventLog::Event;
  EXPECT_EQ(log.events, (std::vector<E>{{1, 31, 2}, {1, 63, 2}, {1, 95, 2}, {2, 15, 2}, {2, 31, 2}, {1, 100, 3}}));
}

TEST(WinnowReading, AnUnreadableFileThrowsWithErrnoAndKeepsStatusReading) {
  WinnowGEDCOM w;
  ReadText(w, kTenLines);
  try {
    w.AnalyzeGedcom((winnowtest::FreshFolder() / "missing.ged").string(), true);
    FAIL() << "no exception";
  } catch (const std::system_error& e) {
    EXPECT_EQ(e.code().value(), ENOENT);
  }
  EXPECT_EQ(w.Status(), kt::winnow::StatusReading);
  EXPECT_EQ(w.LIndividualsCount, 0);
}

TEST(WinnowReading, ACrLfCutBetweenTwoReadBlocksIsOneLineEnd) {
  const std::string head = "0 HEAD\r\n0 @I1@ INDI\r\n1 NOTE ";
  for (size_t cut : {size_t{1} << 20, (size_t{1} << 20) + 1, (size_t{2} << 20)}) {
    // The CR of the NOTE line is the last byte of a block when cut is a block size.
    const std::string note(cut - 1 - head.size(), 'x');
    const std::string text = head + note + "\r\n1 NAME A /B/\r\n0 TRLR\r\n";
    WinnowGEDCOM w;
    ReadText(w, text);
    ASSERT_EQ(w.LIndividualsCount, 1) << cut;
    EXPECT_EQ(w.getIndiv(0)->Name, "B") << cut;
    EXPECT_EQ(w.getIndiv(0)->gedcomString, "1 NOTE " + note + "\r\n1 NAME A /B/\r\n") << cut;
  }
}

TEST(WinnowReading, FileAndMemoryAgreeAcrossReadBlocks) {
  // Records straddling the reader's 1 MiB blocks, some with CR LF
  // pairs cut between two blocks.
  std::string text = "0 HEAD\r\n";
  int n = 0;
  while (text.size() < (3u << 20) + 4096) {
    text += "0 @I" + std::to_string(n) + "@ INDI\r1 NAME A" + std::to_string(n) + " /N" + std::to_string(n % 97) +
            "/\r\n1 BIRT\n2 DATE " + std::to_string(1000 + n % 999) + "\r\n1 NOTE " + std::string(n % 61, 'x') + "\r\n";
    ++n;
  }
  text += "0 TRLR";
  WinnowGEDCOM fromFile, fromMemory;
  ReadText(fromFile, text);
  fromMemory.AnalyzeGedcomData(text, true);
  ASSERT_EQ(fromFile.LIndividualsCount, n);
  ASSERT_EQ(fromMemory.LIndividualsCount, n);
  for (int i = 0; i < n; ++i) {
    const auto a = fromFile.getIndiv(i), b = fromMemory.getIndiv(i);
    ASSERT_EQ(a->gedcomString, b->gedcomString) << i;
    ASSERT_EQ(a->firstNames, "A" + std::to_string(i));
    ASSERT_EQ(a->birthDate, 1000 + i % 999);
  }
}

}  // namespace
