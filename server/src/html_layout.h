#pragma once
// The frame of the service's web pages: plain HTML and one style sheet.
#include <string>
#include <string_view>

namespace kt::server {

std::string EscapeHtml(std::string_view utf8);
// A whole page: head, navigation, `content` (already HTML), footer.
std::string HtmlPage(std::string_view title, std::string_view content);
const std::string& StyleSheet();

}  // namespace kt::server
