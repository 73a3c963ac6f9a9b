// The service's pages for people: registration, news, help, links.
#include <map>

#include "accounts.h"
#include "form_data.h"
#include "html_layout.h"
#include "pages.h"

namespace kt::server {
namespace {

PageResponse Html(std::string body, int status = 200) {
  PageResponse response;
  response.status = status;
  response.contentType = "text/html; charset=utf-8";
  response.body = std::move(body);
  return response;
}

PageResponse Redirect(const std::string& location) {
  PageResponse response = Html(HtmlPage("Moved", "<p><a href=\"" + EscapeHtml(location) + "\">Continue</a></p>"), 302);
  response.headers.emplace_back("Location", location);
  return response;
}

std::string RegisterForm(const std::map<std::string, std::string>& values, const std::string& message,
                         bool isError) {
  auto value = [&](const char* name) {
    auto found = values.find(name);
    return found == values.end() ? std::string() : EscapeHtml(found->second);
  };
  std::string content = "<h1>Open a Kintrail account</h1>";
  if (!message.empty()) {
    content += std::string("<p class=\"message") + (isError ? " error" : "") + "\">" + EscapeHtml(message) + "</p>";
  }
  content +=
      "<p>With an account you can share a summary of your GEDCOM files, search what other "
      "genealogists share and ask them for extracts. Your town places you on the world map.</p>"
      "<form method=\"post\" action=\"/web/register.asp\" id=\"register\">"
      "<label for=\"login\">Login</label><input id=\"login\" name=\"login\" required maxlength=\"32\" value=\"" +
      value("login") +
      "\"><label for=\"password\">Password</label><input id=\"password\" name=\"password\" "
      "type=\"password\" required minlength=\"8\" maxlength=\"128\">"
      "<label for=\"town\">Town</label><input id=\"town\" name=\"town\" required value=\"" +
      value("town") +
      "\"><label for=\"country\">Country code</label><input id=\"country\" name=\"country\" required "
      "maxlength=\"2\" placeholder=\"FR\" value=\"" +
      value("country") + "\"><button type=\"submit\">Register</button></form>";
  return content;
}

PageResponse RegisterPage(PageContext& context) {
  if (context.request.method != "POST") return Html(HtmlPage("Register", RegisterForm({}, "", false)));
  const auto form = ParseFormData(context.request.body);
  auto field = [&](const char* name) {
    auto found = form.find(name);
    return found == form.end() ? std::string() : found->second;
  };
  NewAccount account{field("login"), field("password"), field("town"), field("country"), {}, {}, false};
  const RegistrationResult result = RegisterAccount(context.storage, account, context.now);
  if (!result.id) return Html(HtmlPage("Register", RegisterForm(form, result.error, true)), 400);
  const std::string content =
      "<h1>Welcome to Kintrail</h1><p class=\"message\" id=\"registered\">The account <b>" +
      EscapeHtml(account.login) + "</b> is open, placed at " + EscapeHtml(result.placedTown) +
      ". Enter this login and your password in the Kintrail program to connect.</p>"
      "<p><a href=\"/web/news.asp\">See what was shared lately</a></p>";
  return Html(HtmlPage("Registered", content));
}

PageResponse NewsPage(PageContext& context) {
  const Statistics stats = context.storage.Stats();
  std::string content = "<h1>What was shared lately</h1><p>" + std::to_string(stats.accounts) +
                        " genealogists share " + std::to_string(stats.individuals) + " individuals in " +
                        std::to_string(stats.gedcoms) + " GEDCOM files.</p><div class=\"columns\">";
  content += "<section><h2>New genealogists</h2><table id=\"genealogists\"><tr><th>Login</th><th>Town</th><th>Joined</th></tr>";
  for (const AccountRecord& a : context.storage.RecentAccounts(10)) {
    content += "<tr><td>" + EscapeHtml(a.login) + "</td><td>" + EscapeHtml(a.town) + " (" +
               EscapeHtml(a.country) + ")</td><td>" + ServerDateTimeText(a.created).substr(0, 10) + "</td></tr>";
  }
  content += "</table></section><section><h2>Most frequent surnames</h2><table id=\"surnames\"><tr><th>Surname</th><th>Individuals</th></tr>";
  const auto surnames = context.storage.TopSurnames(15, CurrentPrivacy(context.now));
  for (const SurnameCount& s : surnames) {
    content += "<tr><td>" + EscapeHtml(s.lastName) + "</td><td>" + std::to_string(s.count) + "</td></tr>";
  }
  if (surnames.empty()) content += "<tr><td colspan=\"2\">Nothing is shared yet.</td></tr>";
  content += "</table></section></div>";
  return Html(HtmlPage("News", content));
}

PageResponse TextPage(const std::string& title, const std::string& content) {
  return Html(HtmlPage(title, "<h1>" + EscapeHtml(title) + "</h1>" + content));
}

const std::map<std::string, std::string>& SoftLinks() {
  static const std::map<std::string, std::string> links = {
      {"register", "/web/register.asp"},
      {"support", "/web/support.asp"},
      {"help", "/web/help.asp"},
      {"news", "/web/news.asp"},
      {"download", "/web/download.asp"},
      {"ktviewer/help.asp", "/web/ktviewer/help.asp"},
      {"ktviewer/infowindowhelp.asp", "/web/ktviewer/infowindowhelp.asp"},
  };
  return links;
}

}  // namespace

std::optional<PageResponse> WebPage(PageContext& context) {
  const std::string& path = context.path;
  if (path == "/" || path == "/web" || path == "/web/") return Redirect("/web/news.asp");
  if (path == "/web/style.css") {
    PageResponse css;
    css.contentType = "text/css; charset=utf-8";
    css.body = StyleSheet();
    return css;
  }
  if (path == "/web/_client/softlinks.asp") {
    const auto query = ParseFormData(context.query);
    const auto folder = query.find("folder");
    std::string key = folder == query.end() ? "" : folder->second;
    for (char& c : key) {
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    if (auto link = SoftLinks().find(key); link != SoftLinks().end()) return Redirect(link->second);
    return Html(HtmlPage("Not found", "<h1>No such page</h1><p>The program asked for a page this "
                                      "server does not have.</p>"), 404);
  }
  if (path == "/web/register.asp") return RegisterPage(context);
  if (path == "/web/news.asp") return NewsPage(context);
  if (path == "/web/help.asp") {
    return TextPage("Help",
                    "<h2>Sharing</h2><p>Add your GEDCOM files in the Shared GEDCOMs window and press "
                    "Update: the program sends a summary of each file (names, years and places of its "
                    "individuals), never the file itself.</p><h2>Searching</h2><p>The world search "
                    "shows on a map where the genealogists sharing a surname live; the advanced search "
                    "finds individuals by surname, given name, years and place. People born less than "
                    "100 years ago without a recorded death are never shown.</p><h2>Requests</h2><p>Ask "
                    "the owner of a file for the ancestors, descendants or close family of one "
                    "individual. The owner's program prepares the extract from the file when the owner "
                    "accepts; you then save it as a GEDCOM file.</p>");
  }
  if (path == "/web/support.asp") {
    return TextPage("Support", "<p>Problems with the service? Write to the people who run this server; "
                               "tell them your login and what the program showed.</p>");
  }
  if (path == "/web/download.asp") {
    return TextPage("Download", "<p>The Kintrail program and the viewer are built from the project's "
                                "sources; your version must be at least the one this server asks for "
                                "when you connect.</p>");
  }
  if (path == "/web/ktviewer/help.asp") {
    return TextPage("Viewer help", "<p>The viewer shows one person with parents, grandparents, a "
                                   "spouse and their children. Click any relative to move them to the "
                                   "centre; the list of individuals finds anyone in the file.</p>");
  }
  if (path == "/web/ktviewer/infowindowhelp.asp") {
    return TextPage("Information window", "<p>The information window shows the GEDCOM lines of the "
                                          "selected person as they are in the file.</p>");
  }
  return std::nullopt;
}

}  // namespace kt::server
