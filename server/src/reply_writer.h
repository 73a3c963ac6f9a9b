#pragma once
// Reply documents, written by hand in ISO-8859-1 (the client's code page):
// characters outside Latin-1 become numeric references, so nothing is lost
// whether the reader decodes the bytes as Latin-1 or as Windows-1252.
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

namespace kt::server {

// Escapes UTF-8 text for an attribute value or element text.
std::string EscapeXml(std::string_view utf8);

class ReplyWriter {
public:
  using Attributes = std::initializer_list<std::pair<std::string_view, std::string_view>>;
  explicit ReplyWriter(std::string_view rootName, Attributes attributes = {});

  // <name a="..."> left open, or <name a="..."/> when `empty`.
  ReplyWriter& Open(std::string_view name, Attributes attributes = {});
  ReplyWriter& Empty(std::string_view name, Attributes attributes = {});
  ReplyWriter& Close(std::string_view name);
  ReplyWriter& Text(std::string_view utf8);
  // The bytes as they are, in CDATA sections (split where they hold "]]>").
  ReplyWriter& RawCData(std::string_view bytes);
  // Ends the root element and returns the document.
  std::string Finish();

private:
  void WriteAttributes(Attributes attributes);
  std::string root_;
  std::string out_;
};

// <?xml ...?><response><error code="N" vbcode="0">description</error></response>
std::string ErrorReply(int code, std::string_view description);
// A reply holding only its (empty) root element.
std::string EmptyReply(std::string_view rootName);

}  // namespace kt::server
