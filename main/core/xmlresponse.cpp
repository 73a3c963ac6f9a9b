#include "core/xmlresponse.h"

#include "core/veskerrors.h"
#include "core/veskmessage.h"

namespace {
int32_t IntAttribute(pugi::xml_node element, const char* name) {
  int value = 0;
  return TryParseInt(element.attribute(name).value(), value) ? value : 0;
}
}  // namespace

EXMLResponseError::EXMLResponseError(int32_t code, int32_t serverCode,
                                     const std::string& description)
    : std::runtime_error(FormatMessage(msg::ResponseError, code, serverCode, description.c_str())),
      Code(code),
      ServerCode(serverCode),
      Description(description) {}

TXMLResponse::TXMLResponse(const pugi::xml_document& document) {
  LoadFromXML(document.document_element());
}

void TXMLResponse::LoadFromXML(pugi::xml_node root) {
  if (!root) throw EXMLResponseEmptyDocument();
  const pugi::xml_node error = FindChild(root, "error");
  if (!error) return;
  std::string description;
  for (pugi::xml_node node = error.first_child(); node; node = node.next_sibling()) {
    if (node.type() == pugi::node_pcdata) {
      description = node.value();
      break;
    }
  }
  throw EXMLResponseError(IntAttribute(error, "code"), IntAttribute(error, "vbcode"), description);
}
