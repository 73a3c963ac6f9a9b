#pragma once
// What the client remembers between runs, kept in config.xml: account,
// server, proxy, shared GEDCOM files, request check settings and the last
// requests. The file is ISO-8859-1 XML, replaced atomically, mode 0600.
#include <memory>
#include <string>

#include "core/xmlpersist.h"

class TAccount;
class TGedcoms;
class TQuestions;
class TRequestChecker;
class TXMLParser;

// The service's web host, used when the configuration names no server.
inline constexpr const char* DefaultServer = "www.kintrail.net";

class TVeskConfig : public TXMLLoadObject, public TXMLSaveObject {
 public:
  TVeskConfig();
  // Saves the file once more (a failure is dropped: nobody can act on it),
  // then releases the checker, the shared list, the account and the requests.
  ~TVeskConfig() override;

  TXMLParser* Parser = nullptr;  // not owned
  std::string FileName;
  std::string Server;
  std::string ProxyAddress;
  std::string ProxyPort;
  std::string ProxyUsername;
  std::string ProxyPassword;
  std::unique_ptr<TAccount> Account;
  std::unique_ptr<TGedcoms> Gedcoms;
  std::unique_ptr<TQuestions> Questions;
  std::unique_ptr<TRequestChecker> RequestChecker;

  // Reads the file named by config= (else config.xml in the data folder);
  // never fails: a missing or malformed file gives the defaults.
  void Load(TXMLParser* parser);
  // Writes the whole object to FileName; raises std::system_error on failure
  // and the old file stays as it was.
  void Save();

  void LoadFromXML(pugi::xml_node root) override;
  void SaveToXML(pugi::xml_node root) const override;

 private:
  void Reset();
};
