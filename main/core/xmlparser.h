#pragma once
// The process's XML parser: reads replies and the configuration file into
// pugixml documents and writes documents in the encoding they declare.
#include <memory>
#include <pugixml.hpp>
#include <stdexcept>
#include <string>
#include <string_view>

// The parser's own error: the text is not well-formed XML.
class EXMLParserError : public std::runtime_error {
 public:
  EXMLParserError(const std::string& description, ptrdiff_t offset);
  ptrdiff_t Offset() const { return Offset_; }

 private:
  ptrdiff_t Offset_;
};

class TXMLParser {
 public:
  // Parses `bytes`. A document declared ISO-8859-1 (or latin1, windows-1252)
  // is decoded as Windows-1252; one without a declaration as UTF-8. Text with
  // no root element gives an empty document; malformed text raises
  // EXMLParserError.
  std::unique_ptr<pugi::xml_document> Parse(std::string_view bytes) const;

  // A new document whose declaration names `encoding` ("iso-8859-1").
  std::unique_ptr<pugi::xml_document> NewDocument(const std::string& encoding) const;

  // The document's text in its declared encoding: in an ISO-8859-1 document a
  // character outside Latin-1 becomes a numeric character reference.
  std::string Write(const pugi::xml_document& document) const;
};
