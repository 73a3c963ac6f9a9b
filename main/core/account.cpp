#include "core/account.h"

void TAccount::LoadFromXML(pugi::xml_node element) {
  Login = GetChildText(element, "login", "");
  Password = GetChildText(element, "password", "");
}

void TAccount::SaveToXML(pugi::xml_node element) const {
  SetChildText(element, "login", Login);
  SetChildText(element, "password", Password);
}

std::string TAccount::SaveToString() const {
  return "<account><login>" + Login + "</login><password>" + Password + "</password></account>";
}
