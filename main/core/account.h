#pragma once
// The user's login and password, shared by the configuration, the session
// and the dialogs (one instance, owned by the configuration).
#include "core/xmlpersist.h"

class TAccount : public TXMLLoadObject, public TXMLSaveObject, public TXMLStringSaveObject {
 public:
  std::string Login;
  std::string Password;

  void LoadFromXML(pugi::xml_node element) override;
  void SaveToXML(pugi::xml_node element) const override;
  // "<account><login>..</login><password>..</password></account>", the values
  // inserted as they are: the server reads the connect document so.
  std::string SaveToString() const override;
};
