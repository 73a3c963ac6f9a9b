#include "core/veskconfig.h"

#include <QFileInfo>
#include <algorithm>
#include <filesystem>

#include "core/account.h"
#include "core/gedcom.h"
#include "core/questions.h"
#include "core/requestchecker.h"
#include "core/veskglobals.h"
#include "core/xmlparser.h"
#include "kintrail/platform/atomicfile.h"
#include "kintrail/platform/folders.h"

namespace {

constexpr const char* FileEncoding = "iso-8859-1";

std::string TrimBlanksAndControls(const std::string& text) {
  const auto blank = [](unsigned char c) { return c <= ' ' || c == 0x7F; };
  auto first = std::find_if_not(text.begin(), text.end(), blank);
  auto last = std::find_if_not(text.rbegin(), text.rend(), blank).base();
  return first < last ? std::string(first, last) : std::string();
}

}  // namespace

TVeskConfig::TVeskConfig() {
  Reset();
}

TVeskConfig::~TVeskConfig() {
  if (!FileName.empty()) {
    try {
      Save();
    } catch (const std::exception&) {
    }
  }
  RequestChecker.reset();
  Gedcoms.reset();
  Account.reset();
  Questions.reset();
}

void TVeskConfig::Reset() {
  Questions.reset();
  Account = std::make_unique<TAccount>();
  Gedcoms = std::make_unique<TGedcoms>();
  Questions = std::make_unique<TQuestions>(*Gedcoms);
  RequestChecker = std::make_unique<TRequestChecker>();
}

void TVeskConfig::Load(TXMLParser* parser) {
  Parser = parser;
  FileName = Params().ParamValue("config");
  if (FileName.empty()) FileName = kt::DataFolder() + "config.xml";
  // The account object stays the same: the session may already refer to it.
  *Account = TAccount();
  Gedcoms->clear();
  Questions->Clear();
  RequestChecker->SetEnabled(false);
  RequestChecker->SetIntervalMinutes(0);
  Server.clear();
  ProxyAddress.clear();
  ProxyPort.clear();
  ProxyUsername.clear();
  ProxyPassword.clear();

  std::unique_ptr<pugi::xml_document> document;
  std::error_code error;
  if (std::filesystem::is_regular_file(FileName, error)) {
    try {
      document = Parser->Parse(kt::ReadWholeFile(FileName));
    } catch (const std::exception&) {
      document.reset();  // unreadable or malformed: the defaults, file left alone
    }
  }
  if (document && document->document_element()) {
    LoadFromXML(document->document_element());
  } else if (Server.empty()) {
    Server = DefaultServer;
  }
}

void TVeskConfig::Save() {
  const TXMLParser fallback;
  const TXMLParser& parser = Parser ? *Parser : fallback;
  auto document = parser.NewDocument(FileEncoding);
  if (Server.empty()) Server = DefaultServer;
  SaveToXML(document->append_child("veskconfiguration"));
  kt::WriteFileAtomically(FileName, parser.Write(*document), kt::AtomicWriteOptions{true});
}

void TVeskConfig::LoadFromXML(pugi::xml_node root) {
  if (const pugi::xml_node account = FindChild(root, "account")) Account->LoadFromXML(account);
  Server = TrimBlanksAndControls(GetChildText(root, "server", ""));
  if (Server.empty()) Server = DefaultServer;
  if (const pugi::xml_node proxy = FindChild(root, "proxy")) {
    ProxyAddress = GetChildText(proxy, "address", "");
    ProxyPort = GetChildText(proxy, "port", "");
    ProxyUsername = GetChildText(proxy, "username", "");
    ProxyPassword = GetChildText(proxy, "password", "");
  }
  if (const pugi::xml_node gedcoms = FindChild(root, "gedcoms")) {
    for (pugi::xml_node entry = gedcoms.first_child(); entry; entry = entry.next_sibling()) {
      if (entry.type() != pugi::node_element) continue;
      try {
        Gedcoms->push_back(std::make_unique<TGedcom>(entry));
      } catch (const std::exception&) {
        // An entry that cannot be read is skipped; the others still load.
      }
    }
  }
  const pugi::xml_node requests = FindChild(root, "requests");
  if (!requests) return;
  if (const pugi::xml_node autoupdate = FindChild(requests, "autoupdate"))
    RequestChecker->LoadFromXML(autoupdate);
  if (const pugi::xml_node saved = FindChild(requests, "saved")) Questions->LoadFromXML(saved);
}

void TVeskConfig::SaveToXML(pugi::xml_node root) const {
  Account->SaveToXML(root.append_child("account"));
  SetChildText(root, "server", Server);
  pugi::xml_node proxy = root.append_child("proxy");
  SetChildText(proxy, "address", ProxyAddress);
  SetChildText(proxy, "port", ProxyPort);
  SetChildText(proxy, "username", ProxyUsername);
  SetChildText(proxy, "password", ProxyPassword);
  pugi::xml_node gedcoms = root.append_child("gedcoms");
  for (const auto& gedcom : *Gedcoms) gedcom->SaveToXML(gedcoms.append_child("gedcom"));
  pugi::xml_node requests = root.append_child("requests");
  RequestChecker->SaveToXML(requests.append_child("autoupdate"));
  Questions->SaveToXML(requests.append_child("saved"));
}
