// Record sets: fields, conversions, row format, and the web and paged
// exchanges; the document helpers every request builder uses.
#include <gtest/gtest.h>

#include "core/veskerrors.h"
#include "core/veskserver.h"
#include "core/xmlrecordset.h"
#include "core/xmlresponse.h"
#include "sessionfixture.h"

namespace {

pugi::xml_node Rows(pugi::xml_document& document, const char* text) {
  document.load_string(text);
  return document.document_element();
}

TEST(VeskRecordset, FieldsConversionsAndRowFormat) {
  TXMLRecordset set;
  set.AddField("id");
  set.AddField("flag");
  pugi::xml_document document;
  set.LoadFromXML(Rows(document,
                       "<rows><row id='7' flag='1' extra='x'/><anything flag='true'/>"
                       "<!-- comment --><row id='-2' flag='0'/></rows>"));
  ASSERT_EQ(set.Count(), 3u);
  EXPECT_EQ(set.Record(0).size(), 2u) << "only the fields are kept";
  EXPECT_EQ(set.Record(0).FieldAsInteger("id"), 7);
  EXPECT_TRUE(set.Record(0).FieldAsBoolean("flag"));
  EXPECT_FALSE(set.Record(2).FieldAsBoolean("flag"));
  EXPECT_EQ(set.Record(1).Field("id"), "") << "a missing attribute is the empty text";
  EXPECT_EQ(set.Record(1).FieldAsIntegerDef("id", 99), 99);
  EXPECT_THROW(set.Record(1).FieldAsInteger("id"), EConvertError);
  EXPECT_THROW(set.Record(3), std::out_of_range);

  for (const std::string value : {"true", "yes", "2", ""}) {
    TXMLRecordset one;
    one.AddField("flag");
    pugi::xml_document row;
    row.append_child("row").append_attribute("flag") = value.c_str();
    one.LoadFromXML(row);
    try {
      one.Record(0).FieldAsBoolean("flag");
      ADD_FAILURE() << value;
    } catch (const EConvertError& error) {
      EXPECT_EQ(error.what(), "Can't convert '" + value + "' to boolean");
    }
  }
  try {
    set.Record(0).Field("ID");
    FAIL();
  } catch (const EFieldNotFoundError& error) {
    EXPECT_STREQ(error.what(), "Field 'ID' not found");
  }

  pugi::xml_document saved;
  set.SaveToXML(saved.append_child("saved"));
  TXMLRecordset copy;
  copy.Fields = set.Fields;
  copy.LoadFromXML(saved.document_element());
  ASSERT_EQ(copy.Count(), 3u);
  for (size_t i = 0; i < 3; ++i)
    EXPECT_EQ(static_cast<const std::vector<std::string>&>(copy.Record(i)),
              static_cast<const std::vector<std::string>&>(set.Record(i)));
  EXPECT_STREQ(saved.document_element().first_child().name(), "row");
  EXPECT_STREQ(saved.document_element().first_child().first_attribute().name(), "id");

  set.LoadFromXML(Rows(document, "<rows/>"));
  EXPECT_EQ(set.Count(), 0u);
}

class VeskWebRecordsetTest : public VeskSessionTest {
 protected:
  void Reply(const std::string& body) {
    Server.SetHandler([body](const RecordedRequest& r) {
      return r.Target == page::Connect ? LoginReply("S=1") : RecordingServer::Reply(body);
    });
  }
};

TEST_F(VeskWebRecordsetTest, PagedOpenSendsGetrowsAndTakesTheServersNumbers) {
  Reply("<r><rows page='3' pagecount='9'><row a='x'/><row a='y'/></rows></r>");
  Factory->Connect();
  auto client = Factory->CreateWebClient();
  TXMLPagedWebRecordset set("/worldsearch/searchgenealogists.asp");
  set.AddField("a");
  set.CurrentPage = 4;
  set.Params = "<params surname=\"X\"/>";
  set.Open(*client);
  EXPECT_EQ(Server.Requests().back().Body, "<getrows page='4'><params surname=\"X\"/></getrows>");
  EXPECT_EQ(set.CurrentPage, 3u);
  EXPECT_EQ(set.PageCount, 9u);
  ASSERT_EQ(set.Count(), 2u);
  EXPECT_EQ(set.Record(1).Field("a"), "y");

  const struct {
    const char* Body;
    uint32_t Page, Count;
  } numbers[] = {{"<r><rows/></r>", 1, 1},
                 {"<r><rows page='x' pagecount=''/></r>", 1, 1},
                 {"<r><rows page='0' pagecount='-1'/></r>", 0, 0xFFFFFFFFu}};
  for (const auto& n : numbers) {
    Reply(n.Body);
    set.Open(*client);
    EXPECT_EQ(set.CurrentPage, n.Page) << n.Body;
    EXPECT_EQ(set.PageCount, n.Count) << n.Body;
    EXPECT_EQ(set.Count(), 0u);
  }
}

TEST_F(VeskWebRecordsetTest, FailedOpensKeepOrClearAsTheirStepLeftThem) {
  Reply("<r><rows><row a='1'/></rows></r>");
  Factory->Connect();
  auto client = Factory->CreateWebClient();
  TXMLWebRecordset set("/question/getquestions.asp");
  set.AddField("a");
  set.Open(*client);
  EXPECT_EQ(Server.Requests().back().Body, "") << "Params is empty by default";
  ASSERT_EQ(set.Count(), 1u);

  Reply("<r><error code='5'>no</error></r>");
  EXPECT_THROW(set.Open(*client), EXMLResponseError);
  EXPECT_EQ(set.Count(), 1u);
  Reply("<r><nothing/></r>");
  try {
    set.Open(*client);
    FAIL();
  } catch (const ERowsNotFoundError& error) {
    EXPECT_STREQ(error.what(), "The server's reply from /question/getquestions.asp holds no rows");
  }
  EXPECT_EQ(set.Count(), 1u) << "a reply without rows leaves the set as it was";
  Reply("<not_connected/>");
  EXPECT_THROW(set.Open(*client), ENotConnectedError);
}

TEST(VeskDocuments, QuoteAttribute) {
  const struct {
    std::string In, Out;
  } cases[] = {
      {"R&D <team> \"x\"", "\"R&amp;D &lt;team> &quot;x&quot;\""},
      {"it's > ok", "\"it's > ok\""},
      {"", "\"\""},
      {"a\tb\nc\rd", "\"a&#9;b&#10;c&#13;d\""},
      {std::string("x\x01y\0z", 5), "\"xyz\""},
      {"Ren\xc3\xa9", "\"Ren\xc3\xa9\""},
      {"Ren\xe9\x80", "\"Ren&#233;&#8364;\""},
  };
  for (const auto& c : cases) EXPECT_EQ(QuoteAttribute(c.In), c.Out) << c.In;
  // Whatever the text, the document stays well-formed and reads back.
  pugi::xml_document document;
  const std::string text("<a\x02&\"\t\xff", 7);
  ASSERT_TRUE(document.load_string(("<p v=" + QuoteAttribute(text) + "/>").c_str()));
}

TEST(VeskDocuments, ServerDateTime) {
  const kt::DateTime def(-1.0);
  EXPECT_EQ(ServerDateTime("2026-12-11T14:05:09", def),
            kt::DateTime::FromFields(2026, 12, 11, 14, 5, 9));
  EXPECT_EQ(ServerDateTime("2026-12-11T14:05:09Z+02", def),
            kt::DateTime::FromFields(2026, 12, 11, 14, 5, 9));
  EXPECT_EQ(ServerDateTime("2026-12-11", def), def);
  EXPECT_EQ(ServerDateTime("", def), def);
  EXPECT_THROW(ServerDateTime("2026-13-01T00:00:00", def), EConvertError);
  EXPECT_THROW(ServerDateTime("2026-01-01T25:00:00", def), EConvertError);
}

}  // namespace
