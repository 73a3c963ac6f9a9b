#include "core/connectedwebclient.h"

#include "core/webclientfactory.h"

TConnectedWebClient::TConnectedWebClient(TWebClientFactory& factory, QObject* owner)
    : TWebClient(owner), Factory(&factory) {}

void TConnectedWebClient::Superseded() {
  if (Factory->IsConnected()) Factory->Disconnect();
  throw EUpdateNeededError();
}

std::unique_ptr<pugi::xml_document> TConnectedWebClient::ReceivedDataToXMLDocument() {
  auto document = TWebClient::ReceivedDataToXMLDocument();
  const std::string root = document->document_element().name();
  if (root == "not_connected") throw ENotConnectedError();
  if (root == "superseded") Superseded();
  return document;
}

std::string TConnectedWebClient::ReceivedDataToAnsiString() {
  std::string text = TWebClient::ReceivedDataToAnsiString();
  if (text == "<not_connected/>") throw ENotConnectedError();
  if (text == "<superseded/>") Superseded();
  return text;
}
