#include "core/xmlparser.h"

#include <algorithm>
#include <cctype>
#include <sstream>

#include "kintrail/platform/text.h"

namespace {

constexpr unsigned ParseOptions =
    pugi::parse_default | pugi::parse_declaration | pugi::parse_ws_pcdata_single;

std::string LowerAscii(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

// The encoding named in the XML declaration at the start of `bytes`, lower
// case, or empty when there is none.
std::string DeclaredEncoding(std::string_view bytes) {
  if (bytes.substr(0, 5) != "<?xml") return {};
  const size_t end = bytes.find("?>");
  const std::string_view declaration = bytes.substr(0, end);
  const size_t key = declaration.find("encoding");
  if (key == std::string_view::npos) return {};
  const size_t quote = declaration.find_first_of("\"'", key);
  if (quote == std::string_view::npos) return {};
  const size_t close = declaration.find(declaration[quote], quote + 1);
  if (close == std::string_view::npos) return {};
  return LowerAscii(std::string(declaration.substr(quote + 1, close - quote - 1)));
}

bool IsSingleByteWestern(const std::string& encoding) {
  return encoding == "iso-8859-1" || encoding == "latin1" || encoding == "iso_8859-1" ||
         encoding == "windows-1252" || encoding == "cp1252" || encoding == "latin-1";
}

}  // namespace

EXMLParserError::EXMLParserError(const std::string& description, ptrdiff_t offset)
    : std::runtime_error(description + " (at offset " + std::to_string(offset) + ")"),
      Offset_(offset) {}

std::unique_ptr<pugi::xml_document> TXMLParser::Parse(std::string_view bytes) const {
  auto document = std::make_unique<pugi::xml_document>();
  pugi::xml_parse_result result;
  if (IsSingleByteWestern(DeclaredEncoding(bytes))) {
    const std::string utf8 = kt::Win1252ToUtf8(bytes);
    result = document->load_buffer(utf8.data(), utf8.size(), ParseOptions, pugi::encoding_utf8);
  } else {
    result = document->load_buffer(bytes.data(), bytes.size(), ParseOptions, pugi::encoding_auto);
  }
  if (result.status == pugi::status_no_document_element)
    return std::make_unique<pugi::xml_document>();
  if (!result) throw EXMLParserError(result.description(), result.offset);
  return document;
}

std::unique_ptr<pugi::xml_document> TXMLParser::NewDocument(const std::string& encoding) const {
  auto document = std::make_unique<pugi::xml_document>();
  pugi::xml_node declaration = document->append_child(pugi::node_declaration);
  declaration.append_attribute("version") = "1.0";
  declaration.append_attribute("encoding") = encoding.c_str();
  return document;
}

std::string TXMLParser::Write(const pugi::xml_document& document) const {
  std::ostringstream out;
  document.save(out, "  ", pugi::format_default, pugi::encoding_utf8);
  const pugi::xml_node declaration = document.first_child();
  const std::string encoding = declaration.type() == pugi::node_declaration
                                   ? LowerAscii(declaration.attribute("encoding").value())
                                   : std::string();
  if (IsSingleByteWestern(encoding)) return kt::Utf8ToLatin1WithReferences(out.str());
  return out.str();
}
