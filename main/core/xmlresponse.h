#pragma once
// The envelope check every server reply goes through: constructing a
// TXMLResponse on a reply raises when the reply reports an error.
#include <cstdint>
#include <stdexcept>
#include <string>

#include "core/xmlpersist.h"

class EXMLResponseEmptyDocument : public std::runtime_error {
 public:
  EXMLResponseEmptyDocument() : std::runtime_error("Empty document received") {}
};

// The reply's root has an `error` child.
class EXMLResponseError : public std::runtime_error {
 public:
  EXMLResponseError(int32_t code, int32_t serverCode, const std::string& description);
  int32_t Code;
  int32_t ServerCode;
  std::string Description;
};

class TXMLResponse : public TXMLLoadObject {
 public:
  explicit TXMLResponse(const pugi::xml_document& document);
  // The check itself, on the document's root (an empty node: no root).
  void LoadFromXML(pugi::xml_node root) override;
};
