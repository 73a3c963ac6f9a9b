// The shipped binary over real HTTP on loopback, with a temporary database:
// every page the client uses, bad input, limits and a crash in an upload.
#include <gtest/gtest.h>
#include <pugixml.hpp>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <cstring>
#include <thread>

#include "kintrail/platform/text.h"
#include "server_process.h"

using namespace kt::server::testing;
namespace fs = std::filesystem;

namespace {

const std::string kVersion = "major='0' minor='2' release='1' build='0'";

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// Runs a program, waits for it; true when it exited 0.
bool RunProgram(const std::vector<std::string>& args) {
  const pid_t pid = fork();
  if (pid == 0) {
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// A reply read as the client reads it; ISO-8859-1 text comes back as UTF-8.
struct Xml {
  explicit Xml(const HttpReply& reply) : body(reply.body) { ok = doc.load_buffer(reply.body.data(), reply.body.size()); }
  pugi::xml_node root() const { return doc.document_element(); }
  pugi::xml_node rows() const { return root().child("rows"); }
  int error() const { return root().child("error").attribute("code").as_int(0); }
  std::string body;
  pugi::xml_document doc;
  bool ok = false;
};

std::vector<std::string> Attributes(pugi::xml_node node) {
  std::vector<std::string> names;
  for (pugi::xml_attribute a : node.attributes()) names.push_back(a.name());
  return names;
}

class ServerHttp : public ::testing::Test {
protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir_ = fs::current_path() / (std::string("http_") + info->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }

  void Start(std::vector<std::string> extra = {"--page-size", "3"}) {
    server_ = std::make_unique<ServerProcess>(dir_ / "kintrail.db", extra);
  }

  int Admin(const std::vector<std::string>& words, const std::string& input = "", std::string* out = nullptr) {
    std::vector<std::string> args = {"--db", (dir_ / "kintrail.db").string(), "--gazetteer", TownsFixture()};
    args.insert(args.end(), words.begin(), words.end());
    return RunServerCommand(args, input, out);
  }

  void AddUser(const std::string& login, const std::string& town = "Paris", const std::string& country = "FR") {
    ASSERT_EQ(Admin({"user", "add", login, "--password-stdin", "--town", town, "--country", country},
                    "password-" + login + "\n"),
              0);
  }

  TestClient LoggedIn(const std::string& login) {
    TestClient client(server_->Port());
    const HttpReply reply = client.Connect(login, "password-" + login);
    EXPECT_EQ(Xml(reply).error(), 0) << reply.body;
    return client;
  }

  fs::path dir_;
  std::unique_ptr<ServerProcess> server_;
};

std::string Summary(int id, const std::string& individuals, const std::string& lastName = "DUPONT") {
  return "<?xml version='1.0' encoding='iso-8859-1'?>\r\n<gedcom id=\"" + std::to_string(id) +
         "\"><lnames><ln id=\"0\" txt=\"" + lastName + "\" /></lnames><places><p id=\"0\" txt=\"-\" />"
         "<p id=\"1\" txt=\"PARIS\" /></places><indivs>" + individuals + "</indivs></gedcom>";
}

std::string Person(const std::string& xref, const std::string& firstNames, int birth) {
  return "<i id=\"" + xref + "\" lnid=\"0\" fn=\"" + firstNames + "\"><birth pid='1' y='" + std::to_string(birth) +
         "' /></i>";
}

long long GedcomId(const HttpReply& reply) { return Xml(reply).root().attribute("gedcomid").as_llong(-1); }

std::string GenealogistSearch(const std::string& name, int minYear = 0, int maxYear = 10000, int page = 1) {
  return "<getrows page='" + std::to_string(page) + "'><params lastname=\"" + name + "\" minyear='" +
         std::to_string(minYear) + "' maxyear='" + std::to_string(maxYear) + "'/></getrows>";
}

}  // namespace

TEST_F(ServerHttp, SessionPagesInTheClientsWireForm) {
  AddUser("alice");
  Start();
  TestClient client(server_->Port());
  const HttpReply login = client.Connect("alice", "password-alice");
  EXPECT_EQ(login.status, 200);
  EXPECT_EQ(login.headers.substr(0, 15), "HTTP/1.0 200 OK");
  const std::string cookie = login.Header("Set-Cookie");
  EXPECT_EQ(cookie.substr(0, 10), "KTSESSION=");
  EXPECT_EQ(cookie.find(';'), 74u);  // 64 hexadecimal digits: 256 bits
  EXPECT_NE(cookie.find("HttpOnly"), std::string::npos);
  Xml reply(login);
  ASSERT_TRUE(reply.ok);
  EXPECT_FALSE(reply.root().child("error"));
  EXPECT_EQ(reply.root().child("news").first_child().type(), pugi::node_cdata);
  EXPECT_EQ(std::string(reply.root().child("news").first_child().value()), "http://127.0.0.1/web/news.asp");

  EXPECT_NE(client.Post("/ping.asp", "<ping login=\"alice\"/>").body.find("<ping"), std::string::npos);
  EXPECT_NE(client.Get("/disconnect.asp").body.find("<disconnect"), std::string::npos);
  EXPECT_EQ(client.Post("/ping.asp", "<ping login=\"alice\"/>").body, "<not_connected/>");
  EXPECT_EQ(client.Post("/question/getquestions.asp", "").body, "<not_connected/>");

  EXPECT_EQ(Xml(TestClient(server_->Port()).Connect("alice", "nope")).error(), 2);
  EXPECT_EQ(Xml(TestClient(server_->Port()).Connect("alice", "password-alice",
                                                    "major='0' minor='2' release='0' build='0'")).error(), 1);

  // The minimum raised by the administration command while the server runs.
  TestClient old = LoggedIn("alice");
  ASSERT_EQ(Admin({"min-client", "0.2.1.1"}), 0);
  EXPECT_EQ(old.Post("/ping.asp", "<ping login=\"alice\"/>").body, "<superseded/>");
  EXPECT_EQ(Xml(TestClient(server_->Port()).Connect("alice", "password-alice")).error(), 1);
  const std::string log = server_->ErrorOutput();
  EXPECT_NE(log.find("POST /connect/connect.asp 200"), std::string::npos) << log;
  EXPECT_NE(log.find("GET /disconnect.asp 200"), std::string::npos) << log;
  // A clean stop on SIGTERM (and, in the sanitizer build, no leak at exit).
  EXPECT_EQ(server_->Stop(SIGTERM), 0) << server_->ErrorOutput();
}

TEST_F(ServerHttp, UploadReplacesOwnFilesAndTheListExchangeForgetsBothWays) {
  AddUser("alice");
  AddUser("bob", "Lyon");
  Start();
  TestClient alice = LoggedIn("alice");
  TestClient bob = LoggedIn("bob");
  const long long first = GedcomId(alice.Post("/uploadgedcom/uploadfile.asp", Gzip(Summary(0, Person("I1", "JEAN", 1850)))));
  const long long second = GedcomId(alice.Post("/uploadgedcom/uploadfile.asp", Gzip(Summary(0, Person("I1", "LUC", 1860)))));
  ASSERT_GT(first, 0);
  EXPECT_NE(first, second);
  // Replacing: the same identifier, the old individuals gone.
  EXPECT_EQ(GedcomId(alice.Post("/uploadgedcom/uploadfile.asp",
                                Gzip(Summary(static_cast<int>(first), Person("I1", "PAUL", 1870))))), first);
  // An identifier that names nothing gets a new one; another account's file is refused.
  const long long fresh = GedcomId(bob.Post("/uploadgedcom/uploadfile.asp", Gzip(Summary(9999, Person("B1", "ZOE", 1800)))));
  EXPECT_GT(fresh, second);
  EXPECT_EQ(Xml(bob.Post("/uploadgedcom/uploadfile.asp", Gzip(Summary(static_cast<int>(first), Person("X", "EVE", 1))))).error(), 22);

  auto firstNames = [&](TestClient& client, const std::string& accountId) {
    Xml r(client.Post("/worldsearch/searchindividuals.asp",
                      "<getrows page='1'><params lastname=\"dupont\" accountid='" + accountId +
                          "' minyear='0' maxyear='10000'/></getrows>"));
    std::string names;
    for (pugi::xml_node row : r.rows().children("row")) names += std::string(row.attribute("firstname").value()) + " ";
    return names;
  };
  EXPECT_EQ(firstNames(alice, "1"), "LUC PAUL ");
  EXPECT_EQ(firstNames(alice, "2"), "ZOE ");

  // Bob asks about Luc; then Alice's client no longer shares that file and
  // names one it does not own.
  Xml luc(bob.Post("/worldsearch/searchindividuals.asp",
                   "<getrows page='1'><params lastname=\"dupont\" accountid='1' minyear='1855' maxyear='1865'/></getrows>"));
  const std::string lucId = luc.rows().child("row").attribute("individualid").value();
  ASSERT_FALSE(lucId.empty());
  EXPECT_EQ(Xml(bob.Post("/question/askgedcomquestion.asp", "<params dstid='1' type='2' individualid='" + lucId + "'/>")).error(), 0);

  Xml list(alice.Post("/uploadgedcom/uploadlist.asp",
                      "<gedcoms><gedcom id='" + std::to_string(first) + "'/><gedcom id='" + std::to_string(fresh) +
                          "'/><gedcom id='424242'/></gedcoms>"));
  std::vector<std::string> forget;
  for (pugi::xml_node row : list.rows().children()) forget.push_back(row.attribute("gedcomid").value());
  EXPECT_EQ(forget, (std::vector<std::string>{std::to_string(fresh), "424242"}));
  EXPECT_EQ(firstNames(alice, "1"), "PAUL ");  // the file no longer named is gone
  EXPECT_EQ(firstNames(alice, "2"), "ZOE ");   // and bob's is untouched

  Xml requests(bob.Post("/question/getquestions.asp", ""));
  const pugi::xml_node row = requests.rows().child("row");
  EXPECT_STREQ(row.attribute("status").value(), "3");
  EXPECT_STREQ(row.attribute("gedcom_gedcomid").value(), "");
  EXPECT_TRUE(row.attribute("gedcom_gedcomid"));

  // Paging over the wire: five of Bob's, three a page.
  for (int i = 0; i < 4; ++i) {
    bob.Post("/uploadgedcom/uploadfile.asp", Gzip(Summary(0, Person("P" + std::to_string(i), "P" + std::to_string(i), 1800))));
  }
  auto page = [&](int number) {
    Xml r(alice.Post("/worldsearch/searchindividuals.asp",
                     "<getrows page='" + std::to_string(number) +
                         "'><params lastname=\"dupont\" accountid='2' minyear='0' maxyear='10000'/></getrows>"));
    std::string text = std::string(r.rows().attribute("page").value()) + "/" + r.rows().attribute("pagecount").value();
    for (pugi::xml_node row : r.rows().children("row")) text += std::string(" ") + row.attribute("firstname").value();
    return text;
  };
  EXPECT_EQ(page(1), "1/2 P0 P1 P2");
  EXPECT_EQ(page(2), "2/2 P3 ZOE");
  EXPECT_EQ(page(7), "2/2 P3 ZOE");

  // An empty list forgets everything.
  Xml none(alice.Post("/uploadgedcom/uploadlist.asp", "<gedcoms></gedcoms>"));
  EXPECT_TRUE(none.rows());
  EXPECT_FALSE(none.rows().first_child());
  EXPECT_EQ(firstNames(alice, "1"), "");
}

TEST_F(ServerHttp, RequestsFollowTheirOwnersRules) {
  AddUser("alice");
  AddUser("bob", "London", "GB");
  AddUser("carol", "Lyon");
  Start();
  TestClient alice = LoggedIn("alice"), bob = LoggedIn("bob"), carol = LoggedIn("carol");
  const long long gedcom = GedcomId(alice.Post("/uploadgedcom/uploadfile.asp",
                                               Gzip(Summary(0, Person("I12", "JEAN", 1850) + Person("I13", "ANNE", 1852)))));
  Xml found(bob.Post("/advancedsearch/searchindividuals.asp",
                     "<getrows page='1'><params lastname=\"Dupont\" firstname=\"je\" minyear='0' maxyear='10000' "
                     "location=\"PARIS\"/></getrows>"));
  const pugi::xml_node jean = found.rows().child("row");
  EXPECT_EQ(Attributes(jean), (std::vector<std::string>{"individualid", "lastname", "firstname", "birthyear",
                                                        "birthlocation", "deathyear", "deathlocation", "accountid", "login"}));
  EXPECT_STREQ(jean.attribute("login").value(), "alice");
  EXPECT_STREQ(jean.attribute("deathyear").value(), "");
  const std::string individual = jean.attribute("individualid").value();

  EXPECT_EQ(Xml(alice.Post("/question/askgedcomquestion.asp", "<params dstid='1' type='0' individualid='" + individual + "'/>")).error(), 1001);
  EXPECT_EQ(Xml(bob.Post("/question/askgedcomquestion.asp", "<params dstid='3' type='0' individualid='" + individual + "'/>")).error(), 1002);
  EXPECT_EQ(Xml(bob.Post("/question/askgedcomquestion.asp", "<params dstid='1' type='7' individualid='" + individual + "'/>")).error(), 1005);
  Xml asked(bob.Post("/question/askgedcomquestion.asp", "<params dstid='1' type='2' individualid='" + individual + "'/>"));
  ASSERT_EQ(asked.error(), 0) << asked.body;
  const std::string question = asked.root().attribute("questionid").value();
  const std::string params = "<params questionid='" + question + "'/>";

  Xml mine(bob.Post("/question/getquestions.asp", ""));
  const pugi::xml_node made = mine.rows().child("row");
  EXPECT_EQ(Attributes(made), (std::vector<std::string>{"mine", "questionid", "accountid", "login", "posteddate", "readdate",
                                                        "answereddate", "status", "gedcom_type", "gedcom_gedcomid",
                                                        "gedcom_gedcomindividualid", "gedcom_individualfullname"}));
  EXPECT_STREQ(made.attribute("mine").value(), "1");
  EXPECT_STREQ(made.attribute("accountid").value(), "1");
  EXPECT_STREQ(made.attribute("login").value(), "alice");
  EXPECT_STREQ(made.attribute("readdate").value(), "");
  EXPECT_STREQ(made.attribute("status").value(), "0");
  EXPECT_STREQ(made.attribute("gedcom_type").value(), "2");
  EXPECT_EQ(made.attribute("gedcom_gedcomid").value(), std::to_string(gedcom));
  EXPECT_STREQ(made.attribute("gedcom_gedcomindividualid").value(), "I12");
  EXPECT_STREQ(made.attribute("gedcom_individualfullname").value(), "JEAN DUPONT");
  EXPECT_EQ(std::string(made.attribute("posteddate").value()).size(), 19u);
  EXPECT_EQ(made.attribute("posteddate").value()[10], 'T');

  // Only the addressee refuses or answers; only the asker deletes or reads.
  EXPECT_EQ(Xml(carol.Post("/question/refusequestion.asp", params)).error(), 1003);
  EXPECT_EQ(Xml(bob.Post("/question/refusequestion.asp", params)).error(), 1003);
  EXPECT_EQ(Xml(carol.Post("/question/deletequestion.asp", params)).error(), 1003);
  EXPECT_EQ(Xml(alice.Post("/question/deletequestion.asp", params)).error(), 1003);
  EXPECT_EQ(Xml(carol.Post("/question/getgedcomanswer.asp", params)).error(), 1003);
  EXPECT_EQ(Xml(bob.Post("/question/getgedcomanswer.asp", params)).error(), 1004);  // not answered yet

  Xml received(alice.Post("/question/getquestions.asp", ""));
  const pugi::xml_node other = received.rows().child("row");
  EXPECT_STREQ(other.attribute("mine").value(), "0");
  EXPECT_STREQ(other.attribute("login").value(), "bob");
  EXPECT_EQ(std::string(other.attribute("readdate").value()).size(), 19u);  // read now
  EXPECT_EQ(std::string(Xml(bob.Post("/question/getquestions.asp", "")).rows().child("row").attribute("readdate").value()).size(), 19u);

  // The extract's bytes, Windows-1252 and CR LF, come back unchanged.
  const std::string gedcomBytes =
      "0 HEAD\r\n1 SOUR Kintrail\r\n2 VERS 1.0\r\n1 CHAR ANSI\r\n0 @I12@ INDI\r\n1 NAME Jean /Dupont/\r\n"
      "1 NOTE Fran\xE7ois \x80 \x93quoted\x94 a]]b\r\n0 TRLR\r\n";
  const std::string extract = "\r\n<result questionid='" + question + "'><data><![CDATA[" + gedcomBytes +
                              "]]></data><Stats  nbindi='1' nbfam='0' minYear='1850' maxYear='1850' /></result>\r\n";
  EXPECT_EQ(Xml(carol.Post("/question/answergedcomquestion.asp", extract)).error(), 1003);
  EXPECT_EQ(Xml(alice.Post("/question/answergedcomquestion.asp", extract)).error(), 0);
  EXPECT_EQ(Xml(alice.Post("/question/refusequestion.asp", params)).error(), 1004);  // answered already

  const HttpReply answer = bob.Post("/question/getgedcomanswer.asp", params);
  Xml answerXml(answer);
  const pugi::xml_node section = answerXml.root().child("gedcomextract").first_child();
  ASSERT_EQ(section.type(), pugi::node_cdata) << answer.body;
  // On the wire: the stored bytes themselves, in an ISO-8859-1 document.
  EXPECT_NE(answer.body.find("<![CDATA[" + gedcomBytes + "]]>"), std::string::npos);
  EXPECT_EQ(answer.body.rfind("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>", 0), 0u);
  // Decoded as Latin-1 (each byte one character) they read back the same.
  std::string latin1;
  const std::string decoded = section.value();
  for (size_t pos = 0; pos < decoded.size();) latin1 += static_cast<char>(kt::DecodeUtf8(decoded, pos));
  std::string withoutCr = gedcomBytes;
  std::erase(withoutCr, '\r');  // the reader's line-end normalisation, which the client undoes
  EXPECT_EQ(latin1, withoutCr);
  EXPECT_EQ(Xml(bob.Post("/question/getquestions.asp", "")).rows().child("row").attribute("status").as_int(), 1);

  EXPECT_EQ(Xml(bob.Post("/question/deletequestion.asp", params)).error(), 0);
  EXPECT_FALSE(Xml(bob.Post("/question/getquestions.asp", "")).rows().child("row"));
  EXPECT_FALSE(Xml(alice.Post("/question/getquestions.asp", "")).rows().child("row"));
}

TEST_F(ServerHttp, SummariesOfTheAnalysisLibraryAreFoundByNameYearsAndPlace) {
  const std::string winnow = std::string(KINTRAIL_BINARY_DIR) + "/bin/winnow";
  if (!fs::exists(winnow)) GTEST_SKIP() << "the winnow tool is not built";
  AddUser("alice");
  AddUser("bob", "London", "GB");
  Start({"--page-size", "50"});
  TestClient alice = LoggedIn("alice"), bob = LoggedIn("bob");
  int files = 0;
  for (const auto& entry : fs::directory_iterator(fs::path(KINTRAIL_TESTDATA_DIR) / "gedcom")) {
    if (entry.path().extension() != ".ged") continue;
    const fs::path xml = dir_ / (entry.path().filename().string() + ".xml");
    ASSERT_TRUE(RunProgram({winnow, "summary", entry.path().string(), "-o", xml.string(), "--begin",
                     "<?xml version='1.0' encoding='iso-8859-1'?>"}))
        << entry.path();
    const std::string summary = ReadFile(xml);
    const HttpReply uploaded = alice.Post("/uploadgedcom/uploadfile.asp", Gzip(summary));
    ASSERT_GT(GedcomId(uploaded), 0) << entry.path() << ": " << uploaded.body;
    ++files;

    // Pick someone of the file with a last name, a birth year and a place, dead or old.
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_buffer(summary.data(), summary.size()));  // honours its ISO-8859-1
    const pugi::xml_node root = doc.document_element();
    for (pugi::xml_node i : root.child("indivs").children("i")) {
      const pugi::xml_node birth = i.child("birth");
      const int year = birth.attribute("y").as_int();
      if (!birth || year <= 0 || year > 1900 || birth.attribute("pid").as_int() == 0) continue;
      const std::string lastName =
          root.child("lnames").find_child_by_attribute("ln", "id", i.attribute("lnid").value()).attribute("txt").value();
      const std::string place =
          root.child("places").find_child_by_attribute("p", "id", birth.attribute("pid").value()).attribute("txt").value();
      if (lastName.empty()) continue;
      Xml genealogists(bob.Post("/worldsearch/searchgenealogists.asp", GenealogistSearch(lastName, year, year)));
      const pugi::xml_node g = genealogists.rows().child("row");
      ASSERT_TRUE(g) << entry.path() << " " << lastName << " " << genealogists.body;
      EXPECT_STREQ(g.attribute("login").value(), "alice");
      EXPECT_STREQ(g.attribute("latitude").value(), "485120");  // Paris from the gazetteer
      EXPECT_STREQ(g.attribute("longitude").value(), "22093");
      EXPECT_EQ(Attributes(g), (std::vector<std::string>{"latitude", "longitude", "accountid", "login", "town",
                                                         "lastname", "minyear", "maxyear", "lastnamecount"}));
      Xml people(bob.Post("/worldsearch/searchindividuals.asp",
                          "<getrows page='1'><params lastname=\"" + lastName + "\" accountid='1' minyear='" +
                              std::to_string(year) + "' maxyear='" + std::to_string(year) + "'/></getrows>"));
      bool seen = false;
      for (pugi::xml_node row : people.rows().children("row")) {
        EXPECT_EQ(Attributes(row), (std::vector<std::string>{"lastname", "firstname", "birthyear", "birthlocation",
                                                             "deathyear", "deathlocation", "individualid"}));
        seen = seen || std::string(row.attribute("firstname").value()) == i.attribute("fn").value();
      }
      EXPECT_TRUE(seen) << entry.path() << " " << i.attribute("fn").value();
      Xml places(bob.Post("/advancedsearch/searchlocations.asp",
                          "<getrows page='1'><params lastname=\"" + lastName + "\" firstname=\"\" minyear='0' "
                          "maxyear='10000' location=\"\" nbindividuals='0'/></getrows>"));
      bool placeSeen = false;
      int pages = places.rows().attribute("pagecount").as_int();
      for (int page = 1; page <= pages && !placeSeen; ++page) {
        Xml p(bob.Post("/advancedsearch/searchlocations.asp",
                       "<getrows page='" + std::to_string(page) + "'><params lastname=\"" + lastName +
                           "\" firstname=\"\" minyear='0' maxyear='10000' location=\"\" nbindividuals='0'/></getrows>"));
        for (pugi::xml_node row : p.rows().children("row")) placeSeen = placeSeen || place == row.attribute("location").value();
      }
      EXPECT_TRUE(placeSeen) << entry.path() << " " << place;
      break;
    }
  }
  EXPECT_GE(files, 5);

  // A request about someone of kennedy.ged, answered with the extract the
  // analysis library writes, read back byte for byte.
  const fs::path kennedy = fs::path(KINTRAIL_TESTDATA_DIR) / "gedcom" / "kennedy.ged";
  Xml found(bob.Post("/advancedsearch/searchindividuals.asp",
                     "<getrows page='1'><params lastname=\"Kennedy\" firstname=\"\" minyear='0' maxyear='10000' "
                     "location=\"\"/></getrows>"));
  const pugi::xml_node someone = found.rows().child("row");
  ASSERT_TRUE(someone) << found.body;
  Xml asked(bob.Post("/question/askgedcomquestion.asp",
                     std::string("<params dstid='1' type='2' individualid='") + someone.attribute("individualid").value() + "'/>"));
  ASSERT_EQ(asked.error(), 0) << asked.body;
  const std::string question = asked.root().attribute("questionid").value();
  Xml received(alice.Post("/question/getquestions.asp", ""));
  const std::string xref = received.rows().child("row").attribute("gedcom_gedcomindividualid").value();
  ASSERT_FALSE(xref.empty());
  const fs::path extractFile = dir_ / "extract_kennedy.ged.xml";
  ASSERT_TRUE(RunProgram({winnow, "extract", "family", kennedy.string(), xref, "--question", question, "-o",
                          extractFile.string()}));
  const std::string extract = ReadFile(extractFile);
  const size_t open = extract.find("<![CDATA["), close = extract.find("]]>");
  ASSERT_NE(open, std::string::npos);
  const std::string gedcomBytes = extract.substr(open + 9, close - open - 9);
  EXPECT_NE(gedcomBytes.find("0 @" + xref + "@ INDI"), std::string::npos);
  EXPECT_EQ(Xml(alice.Post("/question/answergedcomquestion.asp", extract)).error(), 0);
  const HttpReply answer = bob.Post("/question/getgedcomanswer.asp", "<params questionid='" + question + "'/>");
  EXPECT_NE(answer.body.find("<gedcomextract><![CDATA[" + gedcomBytes + "]]></gedcomextract>"), std::string::npos)
      << answer.body.substr(0, 300);
}

TEST_F(ServerHttp, BadInputIsAnsweredAndChangesNothing) {
  AddUser("alice");
  AddUser("bob", "Lyon");
  Start({"--read-timeout", "2"});
  TestClient alice = LoggedIn("alice");
  const long long kept = GedcomId(alice.Post("/uploadgedcom/uploadfile.asp", Gzip(Summary(0, Person("I1", "JEAN", 1850)))));
  ASSERT_GT(kept, 0);

  std::string bomb;
  {
    const std::string zeros(64 << 20, '\0');
    const std::string member = Gzip(zeros);
    for (int i = 0; i < 9; ++i) bomb += member;  // 576 MiB once inflated, under 1 MiB sent
  }
  const std::string good = Gzip(Summary(static_cast<int>(kept), Person("I1", "MARC", 1850)));
  struct Case {
    const char* name;
    const char* page;
    std::string body;
    int code;
  };
  const Case cases[] = {
      {"not XML", "/uploadgedcom/uploadlist.asp", "this is not xml", 10},
      {"DOCTYPE", "/uploadgedcom/uploadlist.asp", "<!DOCTYPE g [<!ENTITY a \"b\">]><gedcoms>&a;</gedcoms>", 10},
      {"entity bomb", "/worldsearch/searchgenealogists.asp",
       "<!DOCTYPE l [<!ENTITY l \"l\"><!ENTITY l2 \"&l;&l;&l;&l;\">]><getrows page='1'><params lastname=\"&l2;\"/></getrows>", 10},
      {"gzip bomb", "/uploadgedcom/uploadfile.asp", bomb, 20},
      {"truncated gzip", "/uploadgedcom/uploadfile.asp", good.substr(0, good.size() - 10), 20},
      {"not gzip", "/uploadgedcom/uploadfile.asp", "<gedcom id=\"0\"/>", 20},
      {"summary with missing attributes", "/uploadgedcom/uploadfile.asp",
       Gzip(Summary(static_cast<int>(kept), "<i id=\"I1\" fn=\"MARC\"></i>")), 21},
      {"summary with a DOCTYPE", "/uploadgedcom/uploadfile.asp", Gzip("<!DOCTYPE gedcom []>" + Summary(static_cast<int>(kept), "")), 21},
      {"XML request over 64 KiB", "/uploadgedcom/uploadlist.asp", "<gedcoms>" + std::string(70000, ' ') + "</gedcoms>", 11},
      {"list without ids", "/uploadgedcom/uploadlist.asp", "<gedcoms><gedcom/></gedcoms>", 10},
      {"request without its parameter", "/question/refusequestion.asp", "<params/>", 10},
      {"search without a name", "/worldsearch/searchgenealogists.asp", "<getrows page='1'><params/></getrows>", 10},
  };
  for (const Case& c : cases) {
    Xml reply(alice.Post(c.page, c.body));
    EXPECT_TRUE(reply.ok) << c.name << ": " << reply.body.substr(0, 200);
    EXPECT_EQ(reply.error(), c.code) << c.name << ": " << reply.body.substr(0, 200);
  }
  // An upload for another account's file.
  TestClient bob = LoggedIn("bob");
  EXPECT_EQ(Xml(bob.Post("/uploadgedcom/uploadfile.asp", good)).error(), 22);

  // A body announced over the upload limit is refused before it is sent.
  const HttpReply huge = SendRaw(server_->Port(), "POST /uploadgedcom/uploadfile.asp HTTP/1.0\r\nHost: x\r\nCookie: " +
                                                      alice.Cookie() + "\r\nContent-Length: 70000000\r\n\r\n");
  EXPECT_EQ(Xml(huge).error(), 11) << huge.body;

  // 10 MB of headers: refused with 431, the connection closed.
  std::string headers = "POST /ping.asp HTTP/1.1\r\nHost: x\r\n";
  while (headers.size() < 10'000'000) headers += "X-Filler: " + std::string(990, 'a') + "\r\n";
  EXPECT_EQ(SendRaw(server_->Port(), headers + "\r\n").status, 431);

  // A client sending one byte a second is cut off at the read timeout,
  // while others are served.
  {
    const int fd = ConnectLoopback(server_->Port());
    ASSERT_GE(fd, 0);
    const std::string request = ClientRequest("POST", "/ping.asp", "<ping/>", alice.Cookie());
    const auto started = std::chrono::steady_clock::now();
    bool closed = false;
    std::string answer;
    for (size_t sent = 0; sent < request.size() && !closed; ++sent) {
      if (send(fd, request.data() + sent, 1, MSG_NOSIGNAL) != 1) closed = true;
      EXPECT_NE(alice.Post("/ping.asp", "<ping/>").body.find("<ping"), std::string::npos);
      pollfd p{fd, POLLIN, 0};
      if (poll(&p, 1, 1000) > 0) {
        char buffer[512];
        const ssize_t n = recv(fd, buffer, sizeof buffer, 0);
        if (n <= 0) closed = true;
        else answer.append(buffer, static_cast<size_t>(n));
      }
      if (std::chrono::steady_clock::now() - started > std::chrono::seconds(15)) break;
    }
    close(fd);
    EXPECT_TRUE(closed);
    EXPECT_EQ(answer, "");
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(8));
  }

  // Nothing of the above was stored: the kept summary is as uploaded.
  Xml people(alice.Post("/worldsearch/searchindividuals.asp",
                        "<getrows page='1'><params lastname=\"dupont\" accountid='1' minyear='0' maxyear='10000'/></getrows>"));
  ASSERT_TRUE(people.rows().child("row"));
  EXPECT_STREQ(people.rows().child("row").attribute("firstname").value(), "JEAN");
  EXPECT_FALSE(people.rows().child("row").next_sibling());
  std::string stats;
  Admin({"stats"}, "", &stats);
  EXPECT_NE(stats.find("shared files\t1\n"), std::string::npos) << stats;
  EXPECT_NE(stats.find("individuals\t1\n"), std::string::npos) << stats;
}

TEST_F(ServerHttp, ConnectionsOverTheCapAreRefused) {
  Start({"--max-connections", "2", "--read-timeout", "5"});
  const int first = ConnectLoopback(server_->Port()), second = ConnectLoopback(server_->Port());
  ASSERT_GE(first, 0);
  ASSERT_GE(second, 0);
  std::this_thread::sleep_for(std::chrono::milliseconds(200));  // both accepted
  EXPECT_EQ(SendRaw(server_->Port(), ClientRequest("POST", "/ping.asp", "", "")).status, 503);
  close(first);
  close(second);
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  EXPECT_EQ(SendRaw(server_->Port(), ClientRequest("POST", "/ping.asp", "", "")).body, "<not_connected/>");
}
