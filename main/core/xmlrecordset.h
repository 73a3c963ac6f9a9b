#pragma once
// Lists the server returns as rows of attributes: a record set with named
// fields whose records hold one text per field, fetched from a page in one
// exchange or one page of a longer result at a time.
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/pointercontainers.h"
#include "core/xmlpersist.h"

class TWebClient;
class TXMLRecordset;

class EFieldNotFoundError : public std::runtime_error {
 public:
  explicit EFieldNotFoundError(const std::string& name)
      : std::runtime_error("Field '" + name + "' not found") {}
};

// A reply that passed the envelope check but carries no `rows` element.
class ERowsNotFoundError : public std::runtime_error {
 public:
  explicit ERowsNotFoundError(const std::string& page)
      : std::runtime_error("The server's reply from " + page + " holds no rows") {}
};

class TXMLRecord : public std::vector<std::string> {
 public:
  // One value per field of `recordset`: the attribute of that name, or empty.
  TXMLRecord(const TXMLRecordset& recordset, pugi::xml_node element);

  const TXMLRecordset* Recordset;  // not owned

  const std::string& Field(const std::string& name) const;
  int FieldAsInteger(const std::string& name) const;  // EConvertError
  int FieldAsIntegerDef(const std::string& name, int def) const;
  bool FieldAsBoolean(const std::string& name) const;  // "1" or "0", else EConvertError
  void SaveToXML(pugi::xml_node element) const;
};

class TXMLRecordset : public pointervector<TXMLRecord> {
 public:
  virtual ~TXMLRecordset() = default;

  std::vector<std::string> Fields;

  void AddField(const std::string& name);
  size_t FieldIndex(const std::string& name) const;  // EFieldNotFoundError
  size_t Count() const { return size(); }
  const TXMLRecord& Record(size_t index) const { return at(index); }  // std::out_of_range
  void Clear() { clear(); }
  // One record per child element, whatever its tag name.
  void LoadFromXML(pugi::xml_node element);
  // One `row` element per record.
  void SaveToXML(pugi::xml_node element) const;
};

class TXMLWebRecordset : public TXMLRecordset {
 public:
  explicit TXMLWebRecordset(std::string page);

  std::string Page;
  std::string Params;

  // Fetches the rows through `client` (bound to the session), replacing the
  // records; raises what the exchange raises, ERowsNotFoundError without rows.
  virtual void Open(TWebClient& client);

 protected:
  // Posts `request` to Page and returns the `rows` element of the checked reply.
  pugi::xml_node FetchRows(TWebClient& client, const std::string& request,
                           std::unique_ptr<pugi::xml_document>& reply);
};

class TXMLPagedWebRecordset : public TXMLWebRecordset {
 public:
  using TXMLWebRecordset::TXMLWebRecordset;

  uint32_t CurrentPage = 1;
  uint32_t PageCount = 1;

  // Asks for CurrentPage inside <getrows page='n'>Params</getrows>; takes the
  // page number and the page count the server returns.
  void Open(TWebClient& client) override;
};
