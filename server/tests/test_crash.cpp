// A server killed in the middle of storing an upload: at the next start the
// database opens, the earlier summary is whole and nothing of the new one shows.
#include <gtest/gtest.h>
#include <pugixml.hpp>
#include <signal.h>

#include <filesystem>
#include <thread>

#include "server_process.h"
#include "sqlite_connection.h"

using namespace kt::server::testing;
namespace fs = std::filesystem;

namespace {

std::string Summary(long long id, int count, const std::string& firstNames) {
  std::string xml = "<?xml version='1.0' encoding='iso-8859-1'?>\r\n<gedcom id=\"" + std::to_string(id) +
                    "\"><lnames><ln id=\"0\" txt=\"DUPONT\" /></lnames><places><p id=\"0\" txt=\"-\" />"
                    "<p id=\"1\" txt=\"PARIS\" /></places><indivs>";
  xml.reserve(xml.size() + static_cast<size_t>(count) * 70);
  for (int i = 0; i < count; ++i) {
    xml += "<i id=\"I" + std::to_string(i) + "\" lnid=\"0\" fn=\"" + firstNames + "\"><birth pid='1' y='" +
           std::to_string(1700 + i % 200) + "' /></i>";
  }
  return xml + "</indivs></gedcom>";
}

std::vector<std::string> FirstNames(TestClient& client) {
  const HttpReply reply = client.Post("/worldsearch/searchindividuals.asp",
                                      "<getrows page='1'><params lastname=\"dupont\" accountid='1' minyear='0' "
                                      "maxyear='10000'/></getrows>");
  pugi::xml_document doc;
  doc.load_buffer(reply.body.data(), reply.body.size());
  std::vector<std::string> names;
  for (pugi::xml_node row : doc.document_element().child("rows").children("row")) {
    names.push_back(row.attribute("firstname").value());
  }
  return names;
}

uintmax_t FileSize(const fs::path& path) {
  std::error_code error;
  const uintmax_t size = fs::file_size(path, error);
  return error ? 0 : size;
}

}  // namespace

TEST(ServerCrash, KilledDuringAnUploadKeepsThePreviousSummary) {
  const fs::path dir = fs::current_path() / "crash";
  fs::remove_all(dir);
  fs::create_directories(dir);
  const fs::path db = dir / "kintrail.db";
  ASSERT_EQ(RunServerCommand({"--db", db.string(), "--gazetteer", "none", "user", "add", "alice", "--password-stdin",
                              "--town", "Paris", "--country", "FR", "--lat", "48.85", "--lon", "2.35"},
                             "password-alice\n"),
            0);
  long long gedcomId = 0;
  {
    ServerProcess server(db, {"--gazetteer", "none"});
    TestClient alice(server.Port());
    alice.Connect("alice", "password-alice");
    pugi::xml_document doc;
    const HttpReply first = alice.Post("/uploadgedcom/uploadfile.asp", Gzip(Summary(0, 2, "JEAN")));
    doc.load_buffer(first.body.data(), first.body.size());
    gedcomId = doc.document_element().attribute("gedcomid").as_llong();
    ASSERT_GT(gedcomId, 0) << first.body;

    // A million individuals take seconds to store; the kill comes while the
    // transaction is writing its pages.
    const std::string big = Gzip(Summary(gedcomId, 1'000'000, "LUC"), 1);
    const fs::path wal = fs::path(db.string() + "-wal");
    const uintmax_t before = FileSize(wal);
    HttpReply reply;
    std::thread upload([&] { reply = alice.Post("/uploadgedcom/uploadfile.asp", big); });
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (FileSize(wal) < before + (8u << 20) && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_EQ(server.Stop(SIGKILL), -SIGKILL);
    upload.join();
    ASSERT_EQ(reply.status, 0) << "the upload finished before the kill: " << reply.body.substr(0, 200);
  }
  {
    kt::server::SqliteConnection check(db.string());
    auto integrity = check.Prepare("PRAGMA integrity_check");
    ASSERT_TRUE(integrity.Step());
    EXPECT_EQ(integrity.Text(0), "ok");
  }
  ServerProcess restarted(db, {"--gazetteer", "none"});
  TestClient alice(restarted.Port());
  alice.Connect("alice", "password-alice");
  EXPECT_EQ(FirstNames(alice), (std::vector<std::string>{"JEAN", "JEAN"}));
  std::string stats;
  RunServerCommand({"--db", db.string(), "--gazetteer", "none", "stats"}, "", &stats);
  EXPECT_NE(stats.find("individuals\t2\n"), std::string::npos) << stats;
}
