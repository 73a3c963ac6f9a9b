// Registration in a real browser: headless Chromium fills and submits the
// form; the new account then logs in as the client does.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "server_process.h"

using namespace kt::server::testing;
namespace fs = std::filesystem;

TEST(ServerBrowser, RegistrationFormOpensAnAccountThatLogsIn) {
  const fs::path playwright = fs::path(KINTRAIL_SOURCE_DIR) / ".deps/npm/node_modules/playwright-core";
  if (!fs::exists("/usr/bin/chromium") || !fs::exists("/usr/bin/node") || !fs::exists(playwright)) {
    GTEST_SKIP() << "needs /usr/bin/chromium, node and the npm package playwright-core";
  }
  const fs::path dir = fs::current_path() / "browser";
  fs::remove_all(dir);
  fs::create_directories(dir);
  ServerProcess server(dir / "kintrail.db");
  const fs::path shots = fs::path(KINTRAIL_BINARY_DIR) / "screenshots" / "server";
  fs::create_directories(shots);
  const std::string base = "http://127.0.0.1:" + std::to_string(server.Port());
  const std::string script = std::string(KINTRAIL_SOURCE_DIR) + "/server/tests/browser/register.cjs";
  const std::string command = "/usr/bin/node '" + script + "' '" + playwright.string() + "' '" + base + "' '" +
                              shots.string() + "' grace 'g&r<ace pass'";
  ASSERT_EQ(std::system(command.c_str()), 0) << server.ErrorOutput();
  EXPECT_TRUE(fs::exists(shots / "register-form.png"));
  EXPECT_TRUE(fs::exists(shots / "news.png"));

  TestClient client(server.Port());
  const HttpReply login = client.Connect("grace", "g&r<ace pass");
  EXPECT_EQ(login.body.find("<error"), std::string::npos) << login.body;
  EXPECT_FALSE(login.Header("Set-Cookie").empty());
}
