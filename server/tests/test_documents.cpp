// Readers of what clients send and writers of what they read.
#include <gtest/gtest.h>

#include "client_version.h"
#include "gunzip.h"
#include "name_keys.h"
#include "packed_coordinate.h"
#include "reply_writer.h"
#include "request_document.h"
#include "server_process.h"
#include "summary_document.h"

using namespace kt::server;
using kt::server::testing::Gzip;

TEST(ServerGunzip, InflatesAndRefusesDamagedInput) {
  const std::string text(100000, 'x');
  const std::string gz = Gzip(text);
  EXPECT_EQ(Gunzip(gz, 1 << 20).data, text);
  EXPECT_EQ(Gunzip(gz + gz, 1 << 20).data, text + text);  // two members

  struct Case {
    const char* name;
    std::string input;
    size_t limit;
    GunzipStatus status;
  };
  const Case cases[] = {
      {"truncated", gz.substr(0, gz.size() / 2), 1 << 20, GunzipStatus::Truncated},
      {"trailer missing", gz.substr(0, gz.size() - 4), 1 << 20, GunzipStatus::Truncated},
      {"empty", "", 1 << 20, GunzipStatus::Truncated},
      {"not gzip", "<gedcom id=\"0\"/>", 1 << 20, GunzipStatus::NotGzip},
      {"garbage after member", gz + "junk", 1 << 20, GunzipStatus::Corrupt},
      {"over the limit", gz, 99999, GunzipStatus::TooLarge},
  };
  for (const Case& c : cases) {
    const GunzipResult r = Gunzip(c.input, c.limit);
    EXPECT_EQ(r.status, c.status) << c.name;
    EXPECT_TRUE(r.data.empty()) << c.name;
  }
}

TEST(ServerGunzip, BombStopsAtTheLimitWithoutInflatingEverything) {
  // 1 GiB of zeros compresses to about 1 MiB; the limit stops it early.
  std::string chunk(16 << 20, '\0');
  std::string bomb;
  for (int i = 0; i < 64; ++i) bomb += Gzip(chunk);
  EXPECT_LT(bomb.size(), 2u << 20);
  EXPECT_EQ(Gunzip(bomb, 32u << 20).status, GunzipStatus::TooLarge);
}

namespace {

std::optional<RequestDocument> Parse(const std::string& text) {
  std::string error;
  return RequestDocument::Parse(text, error);
}

}  // namespace

TEST(ServerRequestDocument, RefusesWhatIsNotPlainXml) {
  const char* refused[] = {
      "not xml at all",
      "",
      "<?xml version='1.0'?>",
      "<a><b></a>",
      "<!DOCTYPE a [<!ENTITY x \"boom\">]><a>&x;</a>",
      "<!DOCTYPE lolz [<!ENTITY lol \"lol\"><!ENTITY lol2 \"&lol;&lol;\">]><a b=\"&lol2;\"/>",
      "<?xml version='1.0' encoding='utf-16'?><a/>",
  };
  for (const char* text : refused) EXPECT_FALSE(Parse(text)) << text;
}

TEST(ServerRequestDocument, DecodesTheDeclaredEncoding) {
  // Windows-1252 é (0xE9) and € (0x80) in a document declared ISO-8859-1,
  // and a reference to a character outside both.
  auto latin = Parse("<?xml version='1.0' encoding='iso-8859-1'?><a v=\"Ren\xE9 \x80 &#x141;&amp;\"/>");
  ASSERT_TRUE(latin);
  EXPECT_EQ(latin->Value(latin->Root().attribute("v")), "Ren\xC3\xA9 \xE2\x82\xAC \xC5\x81&");
  auto utf8 = Parse("<a v=\"Ren\xC3\xA9\"/>");
  ASSERT_TRUE(utf8);
  EXPECT_EQ(utf8->Value(utf8->Root().attribute("v")), "Ren\xC3\xA9");
  // Undeclared and not UTF-8: the client's single-byte code page.
  auto undeclared = Parse("<a v=\"Ren\xE9\"/>");
  ASSERT_TRUE(undeclared);
  EXPECT_EQ(undeclared->Value(undeclared->Root().attribute("v")), "Ren\xC3\xA9");
}

TEST(ServerRequestDocument, KeepsCDataBytesAndLineEnds) {
  const std::string gedcom = "0 HEAD\r\n1 CHAR ANSI\r\n0 @I1@ INDI\r\n1 NAME Ren\xE9 /Du\x80/\r\n0 TRLR\r\n";
  auto doc = Parse("\r\n<result questionid='4'><data><![CDATA[" + gedcom + "]]></data><Stats  nbindi='1' /></result>\r\n");
  ASSERT_TRUE(doc);
  EXPECT_EQ(RequestDocument::RawCData(doc->Root().child("data")), gedcom);
}

TEST(ServerConnectDocument, ReadsLoginAndPasswordAsTheClientWritesThem) {
  struct Case {
    std::string password;
  };
  for (const std::string password : {"plain", "a&b", "x<y>z", "</password>tricky", "caf\xC3\xA9"}) {
    std::string error;
    const auto doc = ParseConnectDocument(
        "<connect><version major='0' minor='2' release='1' build='0' /><account><login>alice</login><password>" +
            password + "</password></account></connect>",
        error);
    ASSERT_TRUE(doc) << password << ": " << error;
    EXPECT_EQ(doc->login, "alice");
    EXPECT_EQ(doc->password, password);
    EXPECT_EQ(doc->version, MakeClientVersion(0, 2, 1, 0));
  }
  std::string error;
  EXPECT_FALSE(ParseConnectDocument("<connect><version major='0'/></connect>", error));
  const auto noVersion = ParseConnectDocument("<connect><account><login>a</login><password>p</password></account></connect>", error);
  ASSERT_TRUE(noVersion);
  EXPECT_FALSE(noVersion->version);
}

TEST(ServerSummary, ReadsIndividualsWithNamesYearsAndPlaces) {
  auto doc = Parse(
      "<?xml version='1.0' encoding='iso-8859-1'?>\r\n<gedcom id=\"17\"><lnames><ln id=\"0\" txt=\"DUPONT\" />"
      "<ln id=\"1\" txt=\"\" /></lnames><places><p id=\"0\" txt=\"-\" /><p id=\"1\" txt=\"PARIS\" />"
      "<p id=\"2\" txt=\"SAINT-\xC9TIENNE &amp; CO\" /></places><indivs>"
      "<i id=\"I1\" lnid=\"0\" fn=\"JEAN\"><birth pid='1' y='1850' /><death pid='2' y='9999' /></i>"
      "<i id=\"I2\" lnid=\"1\" fn=\"O&apos;BRIEN\"><birth pid='0' y='1900' /></i>"
      "<i id=\"I3\" lnid=\"0\" fn=\"\"></i></indivs></gedcom>");
  ASSERT_TRUE(doc);
  std::string error;
  const auto summary = ReadSummary(*doc, error);
  ASSERT_TRUE(summary) << error;
  EXPECT_EQ(summary->gedcomId, 17);
  ASSERT_EQ(summary->individuals.size(), 3u);
  const SummaryIndividual& jean = summary->individuals[0];
  EXPECT_EQ(jean.xref, "I1");
  EXPECT_EQ(jean.lastName, "DUPONT");
  EXPECT_EQ(jean.birthYear, 1850);
  EXPECT_EQ(jean.birthPlace, "PARIS");
  EXPECT_FALSE(jean.deathYear);  // 9999: no death year
  EXPECT_EQ(jean.deathPlace, "SAINT-\xC3\x89TIENNE & CO");
  EXPECT_EQ(summary->individuals[1].firstNames, "O'BRIEN");
  EXPECT_EQ(summary->individuals[1].birthPlace, "");  // place 0 is "-"
  EXPECT_FALSE(summary->individuals[2].birthYear);
}

TEST(ServerSummary, RefusesMissingOrDanglingAttributes) {
  const std::string head = "<gedcom id=\"0\"><lnames><ln id=\"0\" txt=\"A\" /></lnames><places><p id=\"0\" txt=\"-\" /></places><indivs>";
  const std::string tail = "</indivs></gedcom>";
  const char* broken[] = {
      "<i lnid=\"0\" fn=\"X\"></i>",                      // no id
      "<i id=\"I1\" fn=\"X\"></i>",                       // no lnid
      "<i id=\"I1\" lnid=\"0\"></i>",                     // no fn
      "<i id=\"I1\" lnid=\"7\" fn=\"X\"></i>",            // unknown last name
      "<i id=\"I1\" lnid=\"0\" fn=\"X\"><birth y='1' /></i>",         // no pid
      "<i id=\"I1\" lnid=\"0\" fn=\"X\"><birth pid='9' y='1' /></i>", // unknown place
      "<i id=\"I1\" lnid=\"0\" fn=\"X\"><death pid='0' y='soon' /></i>",
  };
  for (const char* individual : broken) {
    auto doc = Parse(head + individual + tail);
    ASSERT_TRUE(doc);
    std::string error;
    EXPECT_FALSE(ReadSummary(*doc, error)) << individual;
    EXPECT_FALSE(error.empty());
  }
  std::string error;
  EXPECT_FALSE(ReadSummary(*Parse("<gedcom><indivs/></gedcom>"), error));  // no id
  EXPECT_FALSE(ReadSummary(*Parse("<gedcoms id=\"0\"><indivs/></gedcoms>"), error));
  EXPECT_FALSE(ReadSummary(*Parse("<gedcom id=\"0\"></gedcom>"), error));  // no indivs
}

TEST(ServerReplyWriter, WritesLatin1WithReferencesAndSplitsCData) {
  EXPECT_EQ(EscapeXml("R&D <\"x\"> caf\xC3\xA9 \xE2\x82\xAC \xC5\x81"),
            "R&amp;D &lt;&quot;x&quot;&gt; caf\xE9 &#8364; &#321;");
  ReplyWriter writer("answer");
  writer.Open("gedcomextract").RawCData("a]]>b\x80").Close("gedcomextract");
  EXPECT_EQ(writer.Finish(),
            "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><answer><gedcomextract>"
            "<![CDATA[a]]]]><![CDATA[>b\x80]]></gedcomextract></answer>");
  EXPECT_EQ(ErrorReply(7, "bad"),
            "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><response><error code=\"7\" vbcode=\"0\">bad</error></response>");
}

TEST(ServerPackedCoordinate, IsWhatConvertLLReadsBack) {
  struct Case {
    double degrees;
    const char* packed;
  };
  const Case cases[] = {{0.8085, "04851"}, {-12.576, "-123456"}, {48.85341, "485120"},
                        {2.3488, "22093"}, {0.0, "0"}, {-0.12574, "-00754"}, {179.99999, "1800000"}};
  for (const Case& c : cases) EXPECT_EQ(PackedCoordinate(c.degrees), c.packed) << c.degrees;
}

TEST(ServerClientVersion, ParsesAndOrders) {
  EXPECT_EQ(ParseClientVersion("0.2.1.0"), MakeClientVersion(0, 2, 1, 0));
  EXPECT_EQ(ParseClientVersion("1"), MakeClientVersion(1, 0, 0, 0));
  EXPECT_LT(*ParseClientVersion("0.2.1.0"), *ParseClientVersion("0.2.10.0"));
  EXPECT_LT(*ParseClientVersion("0.9.9.9"), *ParseClientVersion("1.0"));
  for (const char* bad : {"", "a.b", "1..2", "1.2.3.4.5", "70000", "1."}) EXPECT_FALSE(ParseClientVersion(bad)) << bad;
  EXPECT_EQ(ClientVersionText(MakeClientVersion(0, 3, 0, 12)), "0.3.0.12");
}

TEST(ServerNameKeys, IgnoreCaseAndAccents) {
  EXPECT_EQ(LastNameKey("Dupont"), "DUPONT");
  EXPECT_EQ(LastNameKey("Müller"), "MULLER");
  EXPECT_EQ(LastNameKey("Strauß"), "STRAUSS");
  EXPECT_EQ(ContainsKey("Saint-Étienne"), "SAINT-ETIENNE");
  EXPECT_EQ(ContainsKey("Île-de-France"), "ILE-DE-FRANCE");  // Î stays in last names, not here
  EXPECT_EQ(LastNameKey("Île"), "\xC3\x8ELE");
}
