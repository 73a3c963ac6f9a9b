#include "core/xmlpersist.h"

#include "core/veskerrors.h"

pugi::xml_node FindChild(pugi::xml_node element, const std::string& name) {
  return element.child(name.c_str());
}

std::string GetChildText(pugi::xml_node element, const std::string& name, const std::string& def) {
  const pugi::xml_node child = FindChild(element, name);
  if (!child) return def;
  for (pugi::xml_node node = child.first_child(); node; node = node.next_sibling()) {
    if (node.type() == pugi::node_pcdata) return node.value();
  }
  return def;
}

void SetChildText(pugi::xml_node element, const std::string& name, const std::string& value) {
  pugi::xml_node child = FindChild(element, name);
  if (child) {
    while (child.first_child()) child.remove_child(child.first_child());
  } else {
    child = element.append_child(name.c_str());
  }
  child.prepend_child(pugi::node_pcdata).set_value(value.c_str());
}

int GetChildInt(pugi::xml_node element, const std::string& name, int def) {
  int value = 0;
  return TryParseInt(GetChildText(element, name, ""), value) ? value : def;
}

void SetChildInt(pugi::xml_node element, const std::string& name, int value) {
  SetChildText(element, name, std::to_string(value));
}
