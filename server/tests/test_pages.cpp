// The page handler without sockets: sessions over time, shared files, the
// searches' matching rules and the requests' authorisation, on a real
// SQLite database in the test's folder.
#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <filesystem>

#include "accounts.h"
#include "credentials.h"
#include "page_handler.h"
#include "server_process.h"
#include "sqlite_storage.h"

using namespace kt::server;
namespace fs = std::filesystem;

namespace {

class ServerPages : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(InitCredentials());
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir_ = fs::current_path() / (std::string("pages_") + info->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    storage_ = std::make_unique<SqliteStorage>((dir_ / "kintrail.db").string());
    HandlerOptions options;
    options.pageSize = 2;
    handler_ = std::make_unique<PageHandler>(*storage_, options, [this] { return now_; });
  }

  Id AddAccount(const std::string& login, double lat = 48.85, double lon = 2.35) {
    const auto result = RegisterAccount(*storage_, {login, "password-" + login, "Paris", "FR", lat, lon}, now_);
    EXPECT_TRUE(result.id) << result.error;
    return *result.id;
  }

  PageResponse Post(const std::string& path, const std::string& body, const std::string& cookie) {
    return handler_->Handle(PageRequest{"POST", path, "kintrail.test", cookie, body});
  }

  // Logs in and returns the cookie text the client would send.
  std::string Login(const std::string& login, const std::string& version = "major='0' minor='2' release='1' build='0'") {
    const PageResponse r = Post("/connect/connect.asp",
                                "<connect><version " + version + " /><account><login>" + login +
                                    "</login><password>password-" + login + "</password></account></connect>",
                                "");
    for (const auto& [name, value] : r.headers) {
      if (name == "Set-Cookie") return value.substr(0, value.find(';'));
    }
    ADD_FAILURE() << "no cookie: " << r.body;
    return {};
  }

  static pugi::xml_node Root(const PageResponse& r, pugi::xml_document& doc) {
    EXPECT_TRUE(doc.load_buffer(r.body.data(), r.body.size())) << r.body;
    return doc.document_element();
  }

  static int ErrorCode(const PageResponse& r) {
    pugi::xml_document doc;
    return Root(r, doc).child("error").attribute("code").as_int(0);
  }

  // A summary of people named `lastName`: {xref, first names, birth, birth place, death}.
  struct Person {
    std::string xref, firstNames;
    int birth = 0;
    std::string place;
    int death = 9999;
  };
  static std::string SummaryXml(int id, const std::string& lastName, const std::vector<Person>& people) {
    std::string places = "<p id=\"0\" txt=\"-\" />";
    std::vector<std::string> known;
    std::string indivs;
    for (const Person& p : people) {
      int pid = 0;
      if (!p.place.empty()) {
        auto at = std::find(known.begin(), known.end(), p.place);
        if (at == known.end()) {
          known.push_back(p.place);
          places += "<p id=\"" + std::to_string(known.size()) + "\" txt=\"" + p.place + "\" />";
          at = known.end() - 1;
        }
        pid = static_cast<int>(at - known.begin()) + 1;
      }
      indivs += "<i id=\"" + p.xref + "\" lnid=\"0\" fn=\"" + p.firstNames + "\">";
      if (pid || p.birth) indivs += "<birth pid='" + std::to_string(pid) + "' y='" + std::to_string(p.birth) + "' />";
      if (p.death != 9999) indivs += "<death pid='0' y='" + std::to_string(p.death) + "' />";
      indivs += "</i>";
    }
    return "<?xml version='1.0' encoding='iso-8859-1'?>\r\n<gedcom id=\"" + std::to_string(id) +
           "\"><lnames><ln id=\"0\" txt=\"" + lastName + "\" /></lnames><places>" + places +
           "</places><indivs>" + indivs + "</indivs></gedcom>";
  }

  Id Upload(const std::string& cookie, int id, const std::string& lastName, const std::vector<Person>& people) {
    const PageResponse r = Post("/uploadgedcom/uploadfile.asp", kt::server::testing::Gzip(SummaryXml(id, lastName, people)), cookie);
    pugi::xml_document doc;
    const Id gedcomId = Root(r, doc).attribute("gedcomid").as_llong(0);
    EXPECT_GT(gedcomId, 0) << r.body;
    return gedcomId;
  }

  fs::path dir_;
  int64_t now_ = 1'765'400'000;  // December 2025
  std::unique_ptr<SqliteStorage> storage_;
  std::unique_ptr<PageHandler> handler_;
};

}  // namespace

TEST_F(ServerPages, SessionsExpireAfterFiveIdleMinutesAndPingsKeepThemAlive) {
  AddAccount("alice");
  const std::string cookie = Login("alice");
  EXPECT_EQ(Post("/ping.asp", "<ping login=\"alice\"/>", cookie).body.find("<not_connected/>"), std::string::npos);
  now_ += 290;
  EXPECT_EQ(Post("/ping.asp", "<ping login=\"alice\"/>", cookie).body.find("not_connected"), std::string::npos);
  now_ += 290;  // 580 s after login, 290 after the last request
  EXPECT_EQ(Post("/question/getquestions.asp", "", cookie).body.find("not_connected"), std::string::npos);
  now_ += 301;
  EXPECT_EQ(Post("/ping.asp", "<ping login=\"alice\"/>", cookie).body, "<not_connected/>");
  EXPECT_EQ(Post("/ping.asp", "", "KTSESSION=" + std::string(64, 'a')).body, "<not_connected/>");
}

TEST_F(ServerPages, LoginChecksPasswordAndVersion) {
  AddAccount("alice");
  auto connect = [&](const std::string& login, const std::string& password, const std::string& version) {
    return Post("/connect/connect.asp",
                "<connect><version " + version + " /><account><login>" + login + "</login><password>" +
                    password + "</password></account></connect>",
                "");
  };
  const std::string current = "major='0' minor='2' release='1' build='0'";
  EXPECT_EQ(ErrorCode(connect("alice", "password-alice", current)), 0);
  EXPECT_EQ(ErrorCode(connect("alice", "wrong", current)), errors::kLoginRefused);
  EXPECT_EQ(ErrorCode(connect("nobody", "password-alice", current)), errors::kLoginRefused);
  EXPECT_EQ(ErrorCode(connect("alice", "password-alice", "major='0' minor='2' release='0' build='9'")),
            errors::kUpdateNeeded);
  // Even a wrong password hears about the update first: the client offers the download.
  EXPECT_EQ(ErrorCode(connect("alice", "wrong", "major='0' minor='1' release='0' build='0'")), errors::kUpdateNeeded);

  const PageResponse ok = connect("alice", "password-alice", current);
  pugi::xml_document doc;
  const pugi::xml_node news = Root(ok, doc).child("news");
  EXPECT_EQ(news.first_child().type(), pugi::node_cdata);
  EXPECT_STREQ(news.first_child().value(), "http://kintrail.test/web/news.asp");
  ASSERT_EQ(ok.headers.size(), 1u);
  EXPECT_NE(ok.headers[0].second.find("HttpOnly"), std::string::npos);
}

TEST_F(ServerPages, RaisingTheMinimumSupersedesRunningSessions) {
  AddAccount("alice");
  const std::string cookie = Login("alice");
  storage_->SetSetting(kMinClientSetting, "0.3.0.0");
  EXPECT_EQ(Post("/ping.asp", "<ping login=\"alice\"/>", cookie).body, "<superseded/>");
  EXPECT_EQ(Post("/worldsearch/searchgenealogists.asp", "", cookie).body, "<superseded/>");
  EXPECT_EQ(ErrorCode(Post("/connect/connect.asp",
                           "<connect><version major='0' minor='2' release='1' build='0' /><account><login>alice"
                           "</login><password>password-alice</password></account></connect>",
                           "")),
            errors::kUpdateNeeded);
}

TEST_F(ServerPages, TheNewestSessionCookieWinsAfterASecondLogin) {
  AddAccount("alice");
  const std::string first = Login("alice");
  EXPECT_EQ(Post("/disconnect.asp", "", first).body.find("not_connected"), std::string::npos);
  EXPECT_EQ(Post("/ping.asp", "", first).body, "<not_connected/>");
  const std::string second = Login("alice");
  // The client appends: the dead cookie first, then the live one.
  EXPECT_EQ(Post("/ping.asp", "", first + ";" + second).body.find("not_connected"), std::string::npos);
  EXPECT_EQ(Post("/ping.asp", "", "theme=dark; " + second + "; lang=fr").body.find("not_connected"), std::string::npos);
  // The same page reached through a base address ending in "/", in capitals, or in proxy form.
  for (const char* path : {"//ping.asp", "/PING.ASP", "http://kintrail.test/ping.asp", "/ping.asp?x=1"}) {
    EXPECT_NE(Post(path, "", second).body.find("<ping"), std::string::npos) << path;
  }
}

TEST_F(ServerPages, SearchesMatchNamesYearsAndHideLivingPeople) {
  AddAccount("alice");
  const std::string cookie = Login("alice");
  Upload(cookie, 0, "DUPONT",
         {{"I1", "JEAN", 1850, "PARIS"},
          {"I2", "MARIE", 1901, "SAINT-\xC9TIENNE", 1980},
          {"I3", "PIERRE", 1990, "PARIS"},          // living: born 35 years ago, no death
          {"I4", "LOUIS", 0, ""},                   // no year at all
          {"I5", "ANNE", 1930, "LYON", 2001}});
  auto individuals = [&](int minYear, int maxYear, const std::string& name = "Dupont") {
    const PageResponse r = Post("/worldsearch/searchindividuals.asp",
                                "<getrows page='1'><params lastname=\"" + name + "\" accountid='1' minyear='" +
                                    std::to_string(minYear) + "' maxyear='" + std::to_string(maxYear) + "'/></getrows>",
                                cookie);
    pugi::xml_document doc;
    pugi::xml_node rows = Root(r, doc).child("rows");
    std::string names;
    int pages = rows.attribute("pagecount").as_int();
    // Collect every page (two rows a page here).
    for (int page = 2; page <= pages; ++page) {
      for (pugi::xml_node row : rows.children("row")) names += std::string(row.attribute("firstname").value()) + " ";
      const PageResponse next = Post("/worldsearch/searchindividuals.asp",
                                     "<getrows page='" + std::to_string(page) + "'><params lastname=\"" + name +
                                         "\" accountid='1' minyear='" + std::to_string(minYear) + "' maxyear='" +
                                         std::to_string(maxYear) + "'/></getrows>",
                                     cookie);
      doc.load_buffer(next.body.data(), next.body.size());
      rows = doc.document_element().child("rows");
    }
    for (pugi::xml_node row : rows.children("row")) names += std::string(row.attribute("firstname").value()) + " ";
    return names;
  };
  EXPECT_EQ(individuals(0, 10000), "ANNE JEAN LOUIS MARIE ");          // no range: also without years
  EXPECT_EQ(individuals(1900, 1950), "ANNE MARIE ");                   // born or died inside
  EXPECT_EQ(individuals(1979, 1985), "MARIE ");                        // by the death year
  EXPECT_EQ(individuals(0, 10000, "dupônt"), "ANNE JEAN LOUIS MARIE ");  // normalised like the summaries
  EXPECT_EQ(individuals(0, 10000, "DUPON"), "");

  const PageResponse places = Post("/advancedsearch/searchlocations.asp",
                                   "<getrows page='1'><params lastname=\"Dupont\" firstname=\"\" minyear='0' "
                                   "maxyear='10000' location=\"etien\" nbindividuals='0'/></getrows>",
                                   cookie);
  pugi::xml_document doc;
  const pugi::xml_node row = Root(places, doc).child("rows").child("row");
  EXPECT_STREQ(row.attribute("location").value(), "SAINT-\xC3\x89TIENNE");  // found without the accent
  EXPECT_STREQ(row.attribute("minyear").value(), "1901");
  EXPECT_STREQ(row.attribute("maxyear").value(), "1980");
  EXPECT_STREQ(row.attribute("nbindividuals").value(), "1");
  EXPECT_FALSE(row.next_sibling("row"));
}

TEST_F(ServerPages, PagingCountsPagesAndAnswersThePageItSends) {
  AddAccount("alice");
  const std::string cookie = Login("alice");
  std::vector<Person> people;
  for (int i = 0; i < 5; ++i) people.push_back({"I" + std::to_string(i), "P" + std::to_string(i), 1800 + i, ""});
  Upload(cookie, 0, "MARTIN", people);
  auto page = [&](const std::string& asked) {
    const PageResponse r = Post("/worldsearch/searchindividuals.asp",
                                "<getrows page='" + asked + "'><params lastname=\"martin\" accountid='1' "
                                "minyear='0' maxyear='10000'/></getrows>", cookie);
    pugi::xml_document doc;
    const pugi::xml_node rows = Root(r, doc).child("rows");
    std::string text = std::string(rows.attribute("page").value()) + "/" + rows.attribute("pagecount").value() + ":";
    for (pugi::xml_node row : rows.children("row")) text += std::string(" ") + row.attribute("firstname").value();
    return text;
  };
  EXPECT_EQ(page("1"), "1/3: P0 P1");
  EXPECT_EQ(page("3"), "3/3: P4");
  EXPECT_EQ(page("9"), "3/3: P4");  // past the end: the last page, numbered so
  EXPECT_EQ(page("0"), "1/3: P0 P1");
  EXPECT_EQ(page("x"), "1/3: P0 P1");
}

TEST_F(ServerPages, GenealogistCountsLeaveOutTheLivingUntilTheyAreOldEnough) {
  AddAccount("alice");
  AddAccount("bob", 51.5, -0.13);
  AddAccount("carol", 45.75, 4.85);
  std::string alice = Login("alice");
  const std::string bob = Login("bob"), carol = Login("carol");
  Upload(carol, 0, "MARTIN", {{"C1", "EVE", 1950, ""}});  // living today, shown in forty years
  Upload(alice, 0, "DUPONT", {{"I1", "JEAN", 1850, "PARIS"}, {"I2", "PAUL", 1950, "PARIS"}, {"I3", "LUC", 1990, ""}});
  Upload(bob, 0, "DUPONT", {{"B1", "ANNE", 1700, "", 1760}});
  Upload(bob, 0, "DUPONT", {{"B2", "ZOE", 2000, ""}});  // a file of living people only
  auto search = [&](int minYear, int maxYear, const std::string& name = "Dupont") {
    const PageResponse r = Post("/worldsearch/searchgenealogists.asp",
                                "<getrows page='1'><params lastname=\"" + name + "\" minyear='" + std::to_string(minYear) +
                                    "' maxyear='" + std::to_string(maxYear) + "'/></getrows>",
                                alice);
    pugi::xml_document doc;
    std::string text;
    for (pugi::xml_node row : Root(r, doc).child("rows").children("row")) {
      text += std::string(row.attribute("login").value()) + " " + row.attribute("minyear").value() + "-" +
              row.attribute("maxyear").value() + " " + row.attribute("lastnamecount").value() + " " +
              row.attribute("latitude").value() + "; ";
    }
    return text;
  };
  auto places = [&]() {
    const PageResponse r = Post("/advancedsearch/searchlocations.asp",
                                "<getrows page='1'><params lastname=\"Dupont\" firstname=\"\" minyear='0' "
                                "maxyear='10000' location=\"\" nbindividuals='0'/></getrows>",
                                alice);
    pugi::xml_document doc;
    std::string text;
    for (pugi::xml_node row : Root(r, doc).child("rows").children("row")) {
      text += std::string(row.attribute("location").value()) + " " + row.attribute("minyear").value() + "-" +
              row.attribute("maxyear").value() + " " + row.attribute("nbindividuals").value() + "; ";
    }
    return text;
  };
  EXPECT_EQ(search(0, 10000), "alice 1850-1850 1 485100; bob 1700-1760 1 513000; ");
  EXPECT_EQ(search(1700, 1800), "bob 1700-1760 1 513000; ");
  EXPECT_EQ(search(0, 10000, "Martin"), "");
  EXPECT_EQ(places(), "PARIS 1850-1850 1; ");
  now_ += 40LL * 365 * 86400;  // 2065: Paul (1950) is shown now, Luc (1990) not yet
  alice = Login("alice");
  EXPECT_EQ(search(0, 10000), "alice 1850-1950 2 485100; bob 1700-1760 1 513000; ");
  EXPECT_EQ(search(0, 10000, "Martin"), "carol 1950-1950 1 454500; ");
  EXPECT_EQ(places(), "PARIS 1850-1950 2; ");
  EXPECT_EQ(search(1940, 1960), "alice 1950-1950 1 485100; ");
}

TEST_F(ServerPages, RegistrationPlacesTheTownAndRefusesBadFields) {
  Town lyon{"Lyon", "LYON", "Lyon", "FR", 45.74846, 4.84671, 522969};
  Town paris{"Paris", "PARIS", "Paris", "FR", 48.85341, 2.3488, 2138551};
  storage_->AddTowns({lyon, paris});
  auto registerWith = [&](const std::string& form) {
    return handler_->Handle(PageRequest{"POST", "/web/register.asp", "kintrail.test", "", form});
  };
  struct Case {
    const char* form;
    int status;
    const char* says;
  };
  const Case cases[] = {
      {"login=grace&password=long+enough&town=lyon&country=fr", 200, "placed at Lyon"},
      {"login=Grace&password=long+enough&town=Lyon&country=FR", 400, "is taken"},
      {"login=bad%3Clogin&password=long+enough&town=Lyon&country=FR", 400, "only letters"},
      {"login=henri&password=short&town=Lyon&country=FR", 400, "8 to 128"},
      {"login=henri&password=long+enough&town=Atlantis&country=FR", 400, "was not found"},
      {"login=henri&password=long+enough&town=Lyon&country=France", 400, "two-letter"},
  };
  for (const Case& c : cases) {
    const PageResponse r = registerWith(c.form);
    EXPECT_EQ(r.status, c.status) << c.form;
    EXPECT_NE(r.body.find(c.says), std::string::npos) << c.form << "\n" << r.body;
    EXPECT_EQ(r.contentType, "text/html; charset=utf-8");
  }
  // An error page keeps what was typed, escaped.
  EXPECT_NE(registerWith("login=x%22%3E&password=p&town=t&country=FR").body.find("x&quot;&gt;"), std::string::npos);
  const auto account = storage_->FindAccountByLogin("grace");
  ASSERT_TRUE(account);
  EXPECT_EQ(account->town, "Lyon");
  EXPECT_DOUBLE_EQ(*account->latitude, 45.74846);

  const PageResponse link = handler_->Handle(PageRequest{"GET", "/web/_client/softlinks.asp?folder=register", "", "", ""});
  EXPECT_EQ(link.status, 302);
  ASSERT_EQ(link.headers.size(), 1u);
  EXPECT_EQ(link.headers[0], (std::pair<std::string, std::string>{"Location", "/web/register.asp"}));
  EXPECT_EQ(handler_->Handle(PageRequest{"GET", "/web/_client/softlinks.asp?folder=ktviewer/help.asp", "", "", ""})
                .headers[0].second, "/web/ktviewer/help.asp");
  EXPECT_EQ(handler_->Handle(PageRequest{"GET", "/web/_client/softlinks.asp?folder=nowhere", "", "", ""}).status, 404);
  const PageResponse news = handler_->Handle(PageRequest{"GET", "/web/news.asp", "", "", ""});
  EXPECT_NE(news.body.find("grace"), std::string::npos);
  EXPECT_NE(news.body.find("GeoNames"), std::string::npos);
  EXPECT_NE(news.body.find("100 years"), std::string::npos);
}
