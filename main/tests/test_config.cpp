// config.xml: reading with its defaults, writing in ISO-8859-1, atomically
// and privately, and the exit order that saves it once more.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <filesystem>
#include <functional>
#include <stdexcept>

#include "core/account.h"
#include "core/gedcom.h"
#include "core/questions.h"
#include "core/requestchecker.h"
#include "core/veskconfig.h"
#include "core/veskglobals.h"
#include "core/xmlparser.h"
#include "kintrail/platform/atomicfile.h"

namespace {

class VeskConfigTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Path =
        std::filesystem::absolute(
            "config-" +
            std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + ".xml")
            .string();
    std::filesystem::remove(Path);
    Params().Arguments = {"config=" + Path};
  }
  void TearDown() override {
    kt::SetAtomicWriteHookForTests(nullptr);
    Config().FileName.clear();  // no save at exit
    DestroyVeskObjects();
  }
  void Write(const std::string& text) const {
    FILE* file = std::fopen(Path.c_str(), "wb");
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
  }
  TVeskConfig& Load() {
    Config().Load(Globals().Parser.get());
    return Config();
  }
  std::string Path;
};

std::string Document(const std::string& inner) {
  return "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?><veskconfiguration>" + inner +
         "</veskconfiguration>";
}

struct LoadCase {
  const char* Name;
  std::string File;  // empty: no file at all
  std::function<void(const TVeskConfig&)> Check;
};

TEST_F(VeskConfigTest, LoadingEdgeCases) {
  const LoadCase cases[] = {
      {"no file", "",
       [](const TVeskConfig& c) {
         EXPECT_EQ(c.Server, DefaultServer);
         EXPECT_EQ(c.Account->Login, "");
         EXPECT_FALSE(c.RequestChecker->Enabled());
       }},
      {"malformed file", "<veskconfiguration><server>x</server>",
       [](const TVeskConfig& c) { EXPECT_EQ(c.Server, DefaultServer); }},
      {"blank server", Document("<server>   </server>"),
       [](const TVeskConfig& c) { EXPECT_EQ(c.Server, DefaultServer); }},
      {"server trimmed, proxy port not",
       Document("<server>\t host:8080 \n</server><proxy><address> p </address>"
                "<port> 8080</port><username>u</username><password>w</password></proxy>"),
       [](const TVeskConfig& c) {
         EXPECT_EQ(c.Server, "host:8080");
         EXPECT_EQ(c.ProxyAddress, " p ");
         EXPECT_EQ(c.ProxyPort, " 8080");
         EXPECT_EQ(c.ProxyUsername + c.ProxyPassword, "uw");
       }},
      {"escaped password and Latin-1 login",
       Document(
           "<account><login>Ren\xe9\x80</login><password>a&amp;b&lt;c&gt;</password></account>"),
       [](const TVeskConfig& c) {
         EXPECT_EQ(c.Account->Login, "Ren\xc3\xa9\xe2\x82\xac");
         EXPECT_EQ(c.Account->Password, "a&b<c>");
         EXPECT_EQ(c.Account->SaveToString(),
                   "<account><login>Ren\xc3\xa9\xe2\x82\xac</login><password>a&b<c></password></"
                   "account>");
       }},
      {"CDATA value ignored", Document("<account><login><![CDATA[ann]]></login></account>"),
       [](const TVeskConfig& c) { EXPECT_EQ(c.Account->Login, ""); }},
      {"gedcoms: any tag is an entry, bad id reads as 0",
       Document("<gedcoms><gedcom><filename>/a.ged</filename><gedcomid>0</gedcomid></gedcom>"
                "<other><filename>/b.ged</filename><gedcomid>abc</gedcomid>"
                "<uploaddate>whatever</uploaddate></other></gedcoms>"),
       [](const TVeskConfig& c) {
         ASSERT_EQ(c.Gedcoms->size(), 2u);
         EXPECT_EQ((*std::next(c.Gedcoms->begin()))->FileName, "/b.ged");
         EXPECT_EQ((*std::next(c.Gedcoms->begin()))->GedcomId, 0);
       }},
      {"unreadable upload date forgets the identifier",
       Document("<gedcoms><gedcom><filename>/a.ged</filename><gedcomid>42</gedcomid>"
                "<uploaddate>not a date</uploaddate></gedcom></gedcoms>"),
       [](const TVeskConfig& c) { EXPECT_EQ((*c.Gedcoms->begin())->GedcomId, 0); }},
      {"interval abc",
       Document("<requests><autoupdate><interval>abc</interval></autoupdate></requests>"),
       [](const TVeskConfig& c) {
         EXPECT_TRUE(c.RequestChecker->Enabled());
         EXPECT_EQ(c.RequestChecker->IntervalMinutes(), 5);
       }},
      {"check disabled",
       Document("<requests><autoupdate><disabled/><interval>17</interval></autoupdate></requests>"),
       [](const TVeskConfig& c) {
         EXPECT_FALSE(c.RequestChecker->Enabled());
         EXPECT_EQ(c.RequestChecker->IntervalMinutes(), 17);
       }},
      {"no requests element", Document("<server>s</server>"),
       [](const TVeskConfig& c) {
         EXPECT_FALSE(c.RequestChecker->Enabled());
         EXPECT_EQ(c.RequestChecker->IntervalMs(), 0);
       }},
      {"root with another name", "<other><server>elsewhere</server></other>",
       [](const TVeskConfig& c) { EXPECT_EQ(c.Server, "elsewhere"); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    std::filesystem::remove(Path);
    if (!c.File.empty()) Write(c.File);
    c.Check(Load());
    if (!c.File.empty()) {
      EXPECT_EQ(kt::ReadWholeFile(Path), c.File) << "loading never writes";
    }
  }
}

TEST_F(VeskConfigTest, NoRequestsElementSavesDisabledAndIntervalZero) {
  Write(Document(""));
  Load().Save();
  const std::string saved = kt::ReadWholeFile(Path);
  EXPECT_NE(
      saved.find("<requests>\n    <autoupdate>\n      <disabled />\n      <interval>0</interval>"),
      std::string::npos)
      << saved;
}

TEST_F(VeskConfigTest, SaveWritesTheLayoutInLatin1PrivatelyAndIdenticallyTwice) {
  TVeskConfig& config = Load();
  config.Account->Login = "Ren\xc3\xa9";
  config.Account->Password = "p<&>\xe2\x82\xac";
  config.Server = "kintrail.example";
  config.ProxyPort = " 8080";
  config.Gedcoms->push_back(std::make_unique<TGedcom>("/home/ann/smith.ged"));
  config.RequestChecker->SetEnabled(true);
  config.RequestChecker->SetIntervalMinutes(12);
  pugi::xml_document rows;
  pugi::xml_node saved = rows.append_child("saved");
  saved.append_child("row").append_attribute("login") = "bob \"the\" <builder>";
  config.Questions->LoadFromXML(saved);
  config.Save();

  const std::string first = kt::ReadWholeFile(Path);
  struct stat info {};
  ASSERT_EQ(::stat(Path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
  EXPECT_EQ(first.rfind("<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>", 0), 0u);
  EXPECT_NE(first.find("<login>Ren\xe9</login>"), std::string::npos) << "one Latin-1 byte";
  EXPECT_NE(first.find("<password>p&lt;&amp;&gt;&#8364;</password>"), std::string::npos) << first;
  const char* order[] = {
      "<account>",  "<server>",     "<proxy>",      "<address",   "<port>",
      "<username",  "<gedcoms>",    "<gedcom>",     "<filename>", "<gedcomid>0",
      "<requests>", "<autoupdate>", "<interval>12", "<saved>",    "<row mine=\"\" questionid"};
  size_t at = 0;
  for (const char* part : order) {
    const size_t found = first.find(part, at);
    EXPECT_NE(found, std::string::npos) << part << " in order";
    at = found == std::string::npos ? at : found;
  }
  EXPECT_EQ(first.find("<disabled"), std::string::npos);

  config.Save();
  EXPECT_EQ(kt::ReadWholeFile(Path), first);

  // Everything reads back as it was.
  TVeskConfig reread;
  Params().Arguments = {"config=" + Path};
  reread.Load(Globals().Parser.get());
  EXPECT_EQ(reread.Account->Password, "p<&>\xe2\x82\xac");
  EXPECT_EQ(reread.ProxyPort, " 8080");
  EXPECT_EQ(reread.Questions->Record(0).Field("login"), "bob \"the\" <builder>");
  EXPECT_EQ(reread.RequestChecker->IntervalMinutes(), 12);
  reread.FileName.clear();
}

TEST_F(VeskConfigTest, CrashBetweenWriteAndRenameLeavesTheOldFile) {
  Write(Document("<server>old</server>"));
  TVeskConfig& config = Load();
  config.Server = "new";
  kt::SetAtomicWriteHookForTests([](const std::string&) { throw std::runtime_error("crash"); });
  EXPECT_ANY_THROW(config.Save());
  kt::SetAtomicWriteHookForTests(nullptr);
  EXPECT_EQ(kt::ReadWholeFile(Path), Document("<server>old</server>"));
  EXPECT_EQ(config.Server, "new") << "the object keeps its values";
  const std::filesystem::path saved(Path);
  for (const auto& entry : std::filesystem::directory_iterator(saved.parent_path())) {
    const std::string name = entry.path().filename().string();
    if (name != saved.filename() && name.find("config-Crash") != std::string::npos)
      ADD_FAILURE() << "temporary file left: " << name;
  }
}

TEST_F(VeskConfigTest, UnwritableFolderRaisesOnSave) {
  Params().Arguments = {"config=/nonexistent-folder/config.xml"};
  TVeskConfig& config = Load();
  EXPECT_THROW(config.Save(), std::system_error);
}

TEST_F(VeskConfigTest, EmptyConfigArgumentFallsBackToTheDataFolder) {
  Params().Arguments = {"config="};
  EXPECT_EQ(std::filesystem::path(Load().FileName).filename(), "config.xml");
  EXPECT_TRUE(std::filesystem::path(Config().FileName).is_absolute());
}

TEST_F(VeskConfigTest, ExitSavesTheConfigurationOnceMore) {
  Load().Account->Login = "kept";
  Config().Server = "s.example";
  DestroyVeskObjects();
  EXPECT_NE(kt::ReadWholeFile(Path).find("<login>kept</login>"), std::string::npos);
}

TEST(VeskParamsTest, NamesIgnoreCaseAndMustStandAlone) {
  TVeskParams params;
  params.Arguments = {"MINIMIZED", "-autoconnect", "Config=a.xml", "config=b.xml", "x=1=2"};
  EXPECT_TRUE(params.HasParam("minimized"));
  EXPECT_FALSE(params.HasParam("autoconnect")) << "a leading dash makes another word";
  EXPECT_EQ(params.ParamValue("config"), "a.xml") << "the first occurrence";
  EXPECT_EQ(params.ParamValue("x"), "1=2");
  EXPECT_EQ(params.ParamValue("minimized"), "");
}

}  // namespace
