#include "core/xmlrecordset.h"

#include "core/veskerrors.h"
#include "core/webclient.h"
#include "core/xmlresponse.h"

TXMLRecord::TXMLRecord(const TXMLRecordset& recordset, pugi::xml_node element)
    : Recordset(&recordset) {
  reserve(recordset.Fields.size());
  for (const std::string& field : recordset.Fields)
    push_back(element.attribute(field.c_str()).value());
}

const std::string& TXMLRecord::Field(const std::string& name) const {
  const size_t index = Recordset->FieldIndex(name);
  if (index >= size()) {
    // A field added after this record was built has no value in it.
    static const std::string none;
    return none;
  }
  return (*this)[index];
}

int TXMLRecord::FieldAsInteger(const std::string& name) const {
  return ParseInt(Field(name));
}

int TXMLRecord::FieldAsIntegerDef(const std::string& name, int def) const {
  int value = 0;
  return TryParseInt(Field(name), value) ? value : def;
}

bool TXMLRecord::FieldAsBoolean(const std::string& name) const {
  const std::string& value = Field(name);
  if (value == "1") return true;
  if (value == "0") return false;
  throw EConvertError("Can't convert '" + value + "' to boolean");
}

void TXMLRecord::SaveToXML(pugi::xml_node element) const {
  for (size_t i = 0; i < Recordset->Fields.size(); ++i) {
    const char* value = i < size() ? (*this)[i].c_str() : "";
    element.append_attribute(Recordset->Fields[i].c_str()) = value;
  }
}

void TXMLRecordset::AddField(const std::string& name) {
  Fields.push_back(name);
}

size_t TXMLRecordset::FieldIndex(const std::string& name) const {
  for (size_t i = 0; i < Fields.size(); ++i)
    if (Fields[i] == name) return i;
  throw EFieldNotFoundError(name);
}

void TXMLRecordset::LoadFromXML(pugi::xml_node element) {
  Clear();
  for (pugi::xml_node child = element.first_child(); child; child = child.next_sibling()) {
    if (child.type() == pugi::node_element) push_back(std::make_unique<TXMLRecord>(*this, child));
  }
}

void TXMLRecordset::SaveToXML(pugi::xml_node element) const {
  for (size_t i = 0; i < Count(); ++i) Record(i).SaveToXML(element.append_child("row"));
}

TXMLWebRecordset::TXMLWebRecordset(std::string page) : Page(std::move(page)) {}

pugi::xml_node TXMLWebRecordset::FetchRows(TWebClient& client, const std::string& request,
                                           std::unique_ptr<pugi::xml_document>& reply) {
  client.Post(Page, request, true);
  reply = client.ReceivedDataToXMLDocument();
  TXMLResponse response(*reply);
  const pugi::xml_node rows = FindChild(reply->document_element(), "rows");
  // Raised before the records are touched: the set keeps what it held.
  if (!rows) throw ERowsNotFoundError(Page);
  return rows;
}

void TXMLWebRecordset::Open(TWebClient& client) {
  std::unique_ptr<pugi::xml_document> reply;
  LoadFromXML(FetchRows(client, Params, reply));
}

void TXMLPagedWebRecordset::Open(TWebClient& client) {
  std::unique_ptr<pugi::xml_document> reply;
  const pugi::xml_node rows = FetchRows(
      client, "<getrows page='" + std::to_string(CurrentPage) + "'>" + Params + "</getrows>",
      reply);
  int number = 1;
  CurrentPage =
      static_cast<uint32_t>(TryParseInt(rows.attribute("page").value(), number) ? number : 1);
  number = 1;
  PageCount =
      static_cast<uint32_t>(TryParseInt(rows.attribute("pagecount").value(), number) ? number : 1);
  LoadFromXML(rows);
}
