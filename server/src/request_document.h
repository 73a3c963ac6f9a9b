#pragma once
// XML documents received from clients, read safely: no DOCTYPE (so no entity
// declarations), the declared encoding honoured, values handed out as UTF-8.
#include <pugixml.hpp>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "client_version.h"

namespace kt::server {

class RequestDocument {
public:
  // Parses `body` in place (the document keeps the bytes). Returns nullopt and
  // sets `error` for a document that is not well-formed, has no root element
  // or carries a DOCTYPE.
  static std::optional<RequestDocument> Parse(std::string body, std::string& error);

  pugi::xml_node Root() const { return doc_->document_element(); }

  // Attribute or text value decoded to UTF-8 with its references resolved.
  std::string Value(pugi::xml_attribute attribute) const;
  // Whether `node` carries `name`, and its value as a decimal integer.
  static bool Has(pugi::xml_node node, const char* name) { return !node.attribute(name).empty(); }
  static std::optional<int64_t> Integer(pugi::xml_node node, const char* name);

  // Raw bytes of the first CDATA section under `node`, exactly as received.
  static std::optional<std::string> RawCData(pugi::xml_node node);

private:
  RequestDocument() = default;
  std::unique_ptr<std::string> bytes_;
  std::unique_ptr<pugi::xml_document> doc_;
  bool win1252_ = false;
};

// Resolves the five predefined entities and numeric references of a UTF-8
// text; an unknown or malformed reference is kept as written.
std::string ResolveReferences(std::string_view text);

// The connect document: the client writes login and password unescaped, so
// a password holding "&" or "<" is not well-formed XML; they are read as the
// raw text between their tags.
struct ConnectDocument {
  std::string login;
  std::string password;
  std::optional<ClientVersion> version;
};
std::optional<ConnectDocument> ParseConnectDocument(std::string_view body, std::string& error);

}  // namespace kt::server
