#include "html_layout.h"

namespace kt::server {

std::string EscapeHtml(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&#39;"; break;
      default: out += c;
    }
  }
  return out;
}

std::string HtmlPage(std::string_view title, std::string_view content) {
  std::string page =
      "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">"
      "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">"
      "<title>";
  page += EscapeHtml(title);
  page +=
      " - Kintrail</title><link rel=\"stylesheet\" href=\"/web/style.css\"></head><body>"
      "<header><a class=\"brand\" href=\"/web/news.asp\">Kintrail</a><nav>"
      "<a href=\"/web/news.asp\">News</a><a href=\"/web/register.asp\">Register</a>"
      "<a href=\"/web/help.asp\">Help</a><a href=\"/web/download.asp\">Download</a>"
      "<a href=\"/web/support.asp\">Support</a></nav></header><main>";
  page += content;
  page +=
      "</main><footer><p>Searches never show people born less than 100 years ago "
      "who have no recorded death: living people stay private.</p>"
      "<p>Town positions from <a href=\"https://www.geonames.org/\">GeoNames</a>, "
      "licensed under <a href=\"https://creativecommons.org/licenses/by/4.0/\">CC BY 4.0</a>.</p>"
      "</footer></body></html>\n";
  return page;
}

const std::string& StyleSheet() {
  static const std::string css = R"css(
:root { --ink: #2b2118; --paper: #fbf7f0; --accent: #7a4b21; --line: #e2d6c3; }
* { box-sizing: border-box; }
body { margin: 0; font: 16px/1.5 Georgia, "DejaVu Serif", serif; color: var(--ink); background: var(--paper); }
header { display: flex; align-items: center; gap: 2rem; padding: 0.8rem 2rem; background: var(--accent); }
header a { color: #fff; text-decoration: none; }
.brand { font-size: 1.5rem; font-weight: bold; letter-spacing: 0.05em; }
nav a { margin-right: 1.2rem; opacity: 0.9; }
nav a:hover { opacity: 1; text-decoration: underline; }
main { max-width: 52rem; margin: 2rem auto; padding: 0 1.5rem; }
h1 { font-weight: normal; border-bottom: 2px solid var(--line); padding-bottom: 0.3rem; }
table { border-collapse: collapse; width: 100%; margin: 1rem 0 2rem; }
th, td { text-align: left; padding: 0.35rem 0.6rem; border-bottom: 1px solid var(--line); }
th { font-weight: normal; color: var(--accent); }
form { display: grid; grid-template-columns: 9rem 1fr; gap: 0.7rem 1rem; max-width: 30rem;
       padding: 1.2rem; background: #fff; border: 1px solid var(--line); border-radius: 6px; }
label { align-self: center; }
input { font: inherit; padding: 0.35rem 0.5rem; border: 1px solid #bba98f; border-radius: 4px; }
button { grid-column: 2; justify-self: start; font: inherit; padding: 0.4rem 1.4rem; color: #fff;
         background: var(--accent); border: 0; border-radius: 4px; cursor: pointer; }
.message { padding: 0.6rem 1rem; border-radius: 4px; background: #f3e2c7; }
.error { background: #f6d4cf; }
.columns { display: grid; grid-template-columns: 1fr 1fr; gap: 2rem; }
footer { max-width: 52rem; margin: 3rem auto 1rem; padding: 0 1.5rem; font-size: 0.85rem; color: #6d5c4b; }
)css";
  return css;
}

}  // namespace kt::server
