#pragma once
// The persistence interfaces of the client's XML-backed objects and the
// element helpers they use. Tag names are compared exactly.
#include <pugixml.hpp>
#include <string>

class TXMLLoadObject {
 public:
  virtual ~TXMLLoadObject() = default;
  virtual void LoadFromXML(pugi::xml_node element) = 0;
};

class TXMLSaveObject {
 public:
  virtual ~TXMLSaveObject() = default;
  virtual void SaveToXML(pugi::xml_node element) const = 0;
};

class TXMLStringSaveObject {
 public:
  virtual ~TXMLStringSaveObject() = default;
  virtual std::string SaveToString() const = 0;
};

// First child element of `element` named `name`; an empty node when none.
pugi::xml_node FindChild(pugi::xml_node element, const std::string& name);
// Value of the first text node (CDATA does not count) of that child, or `def`.
std::string GetChildText(pugi::xml_node element, const std::string& name, const std::string& def);
// Replaces the children of that child (created when missing) by one text node.
void SetChildText(pugi::xml_node element, const std::string& name, const std::string& value);
// GetChildText read as a signed decimal integer; `def` when missing or invalid.
int GetChildInt(pugi::xml_node element, const std::string& name, int def);
void SetChildInt(pugi::xml_node element, const std::string& name, int value);
