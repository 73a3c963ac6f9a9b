#include "request_document.h"

#include <charconv>
#include <cstring>

#include "kintrail/platform/text.h"

namespace kt::server {
namespace {

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

bool IsSingleByteEncoding(std::string_view name) {
  return EqualsNoCase(name, "iso-8859-1") || EqualsNoCase(name, "latin1") ||
         EqualsNoCase(name, "iso_8859-1") || EqualsNoCase(name, "windows-1252") ||
         EqualsNoCase(name, "cp1252") || EqualsNoCase(name, "us-ascii");
}

}  // namespace

std::optional<RequestDocument> RequestDocument::Parse(std::string body, std::string& error) {
  RequestDocument result;
  result.bytes_ = std::make_unique<std::string>(std::move(body));
  result.doc_ = std::make_unique<pugi::xml_document>();
  // Escapes are resolved by Value() after the encoding is known, so that a
  // reference to a character outside Windows-1252 is not re-encoded; line
  // ends are left alone so that CDATA sections (extracts) stay byte for byte.
  const unsigned flags = (pugi::parse_default & ~pugi::parse_escapes & ~pugi::parse_eol) |
                         pugi::parse_doctype | pugi::parse_declaration;
  std::string& bytes = *result.bytes_;
  const pugi::xml_parse_result parsed =
      result.doc_->load_buffer_inplace(bytes.data(), bytes.size(), flags, pugi::encoding_utf8);
  if (!parsed) {
    error = std::string("Not a well-formed XML document: ") + parsed.description();
    return std::nullopt;
  }
  bool hasRoot = false;
  for (pugi::xml_node child : result.doc_->children()) {
    if (child.type() == pugi::node_doctype) {
      error = "Documents with a DOCTYPE are not accepted";
      return std::nullopt;
    }
    if (child.type() == pugi::node_declaration) {
      const pugi::xml_attribute encoding = child.attribute("encoding");
      if (!encoding.empty()) {
        if (IsSingleByteEncoding(encoding.value())) {
          result.win1252_ = true;
        } else if (!EqualsNoCase(encoding.value(), "utf-8")) {
          error = std::string("Unsupported document encoding ") + encoding.value();
          return std::nullopt;
        }
      }
    }
    if (child.type() == pugi::node_element) hasRoot = true;
  }
  if (!hasRoot) {
    error = "The document has no root element";
    return std::nullopt;
  }
  // A document without declaration is UTF-8; one that is not valid UTF-8 was
  // written in the client's single-byte code page all the same.
  if (!result.win1252_ && !IsValidUtf8(bytes)) result.win1252_ = true;
  return result;
}

std::string RequestDocument::Value(pugi::xml_attribute attribute) const {
  const char* raw = attribute.value();
  const std::string_view text(raw, std::strlen(raw));
  return ResolveReferences(win1252_ ? Win1252ToUtf8(text) : std::string(text));
}

std::optional<int64_t> RequestDocument::Integer(pugi::xml_node node, const char* name) {
  const pugi::xml_attribute attribute = node.attribute(name);
  if (attribute.empty()) return std::nullopt;
  std::string_view text = attribute.value();
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  int64_t value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
  return value;
}

std::optional<std::string> RequestDocument::RawCData(pugi::xml_node node) {
  for (pugi::xml_node child : node.children()) {
    if (child.type() == pugi::node_cdata) return std::string(child.value());
  }
  return std::nullopt;
}

std::string ResolveReferences(std::string_view text) {
  if (text.find('&') == std::string_view::npos) return std::string(text);
  std::string out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    if (text[i] != '&') {
      out += text[i++];
      continue;
    }
    const size_t semi = text.find(';', i);
    if (semi == std::string_view::npos || semi - i > 12) {
      out += text[i++];
      continue;
    }
    const std::string_view name = text.substr(i + 1, semi - i - 1);
    bool done = true;
    if (name == "amp") out += '&';
    else if (name == "lt") out += '<';
    else if (name == "gt") out += '>';
    else if (name == "quot") out += '"';
    else if (name == "apos") out += '\'';
    else if (name.size() > 1 && name[0] == '#') {
      uint32_t cp = 0;
      const bool hex = name[1] == 'x' || name[1] == 'X';
      const std::string_view digits = name.substr(hex ? 2 : 1);
      auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), cp,
                                       hex ? 16 : 10);
      if (ec == std::errc() && end == digits.data() + digits.size() && !digits.empty() &&
          cp > 0 && cp <= 0x10FFFF && !(cp >= 0xD800 && cp <= 0xDFFF)) {
        AppendUtf8(out, cp);
      } else {
        done = false;
      }
    } else {
      done = false;
    }
    if (done) {
      i = semi + 1;
    } else {
      out += text[i++];
    }
  }
  return out;
}

std::optional<ConnectDocument> ParseConnectDocument(std::string_view body, std::string& error) {
  if (body.find("<!DOCTYPE") != std::string_view::npos ||
      body.find("<!doctype") != std::string_view::npos) {
    error = "Documents with a DOCTYPE are not accepted";
    return std::nullopt;
  }
  const size_t root = body.find("<connect>");
  const size_t rootEnd = body.rfind("</connect>");
  if (root == std::string_view::npos || rootEnd == std::string_view::npos || rootEnd < root) {
    error = "Not a connect document";
    return std::nullopt;
  }
  const std::string_view inner = body.substr(root + 9, rootEnd - root - 9);
  const size_t account = inner.find("<account>");
  const size_t accountEnd = inner.rfind("</account>");
  if (account == std::string_view::npos || accountEnd == std::string_view::npos ||
      accountEnd < account) {
    error = "The connect document has no account";
    return std::nullopt;
  }
  const std::string_view fragment = inner.substr(account + 9, accountEnd - account - 9);
  // The login is written first and cannot hold its own closing tag; the
  // password runs to the last closing tag, whatever it holds.
  const size_t login = fragment.find("<login>");
  const size_t loginEnd = fragment.find("</login>");
  const size_t password = fragment.find("<password>", loginEnd == std::string_view::npos ? 0 : loginEnd);
  const size_t passwordEnd = fragment.rfind("</password>");
  if (login == std::string_view::npos || loginEnd == std::string_view::npos ||
      password == std::string_view::npos || passwordEnd == std::string_view::npos ||
      loginEnd < login || passwordEnd < password) {
    error = "The connect document has no login or password";
    return std::nullopt;
  }
  ConnectDocument result;
  const std::string_view rawLogin = fragment.substr(login + 7, loginEnd - login - 7);
  const std::string_view rawPassword = fragment.substr(password + 10, passwordEnd - password - 10);
  result.login = IsValidUtf8(rawLogin) ? std::string(rawLogin) : Win1252ToUtf8(rawLogin);
  result.password = IsValidUtf8(rawPassword) ? std::string(rawPassword) : Win1252ToUtf8(rawPassword);

  // The version element is ordinary XML outside the account fragment.
  std::string rest(inner.substr(0, account));
  rest += inner.substr(accountEnd + 10);
  std::string parseError;
  auto doc = RequestDocument::Parse("<connect>" + rest + "</connect>", parseError);
  if (doc) {
    const pugi::xml_node version = doc->Root().child("version");
    if (version) {
      const auto major = RequestDocument::Integer(version, "major");
      const auto minor = RequestDocument::Integer(version, "minor");
      const auto release = RequestDocument::Integer(version, "release");
      const auto build = RequestDocument::Integer(version, "build");
      if (major && minor && release && build && *major >= 0 && *minor >= 0 && *release >= 0 &&
          *build >= 0 && *major <= 0xFFFF && *minor <= 0xFFFF && *release <= 0xFFFF &&
          *build <= 0xFFFF) {
        result.version = MakeClientVersion(static_cast<uint32_t>(*major), static_cast<uint32_t>(*minor),
                                           static_cast<uint32_t>(*release), static_cast<uint32_t>(*build));
      }
    }
  }
  return result;
}

}  // namespace kt::server
