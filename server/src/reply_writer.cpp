#include "reply_writer.h"

#include "kintrail/platform/text.h"

namespace kt::server {

std::string EscapeXml(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 8);
  size_t pos = 0;
  while (pos < text.size()) {
    const size_t start = pos;
    int32_t cp = DecodeUtf8(text, pos);
    if (cp < 0) cp = static_cast<int32_t>(Win1252ToCodePoint(static_cast<unsigned char>(text[start])));
    switch (cp) {
      case '&': out += "&amp;"; continue;
      case '<': out += "&lt;"; continue;
      case '>': out += "&gt;"; continue;
      case '"': out += "&quot;"; continue;
      default: break;
    }
    if (cp < 0x20 && cp != '\t' && cp != '\n' && cp != '\r') continue;  // not allowed in XML 1.0
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
      out += static_cast<char>(cp);
    } else {
      out += "&#" + std::to_string(cp) + ";";
    }
  }
  return out;
}

ReplyWriter::ReplyWriter(std::string_view rootName, Attributes attributes) : root_(rootName) {
  out_ = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><";
  out_ += root_;
  WriteAttributes(attributes);
  out_ += '>';
}

void ReplyWriter::WriteAttributes(Attributes attributes) {
  for (const auto& [name, value] : attributes) {
    out_ += ' ';
    out_ += name;
    out_ += "=\"";
    out_ += EscapeXml(value);
    out_ += '"';
  }
}

ReplyWriter& ReplyWriter::Open(std::string_view name, Attributes attributes) {
  out_ += '<';
  out_ += name;
  WriteAttributes(attributes);
  out_ += '>';
  return *this;
}

ReplyWriter& ReplyWriter::Empty(std::string_view name, Attributes attributes) {
  out_ += '<';
  out_ += name;
  WriteAttributes(attributes);
  out_ += "/>";
  return *this;
}

ReplyWriter& ReplyWriter::Close(std::string_view name) {
  out_ += "</";
  out_ += name;
  out_ += '>';
  return *this;
}

ReplyWriter& ReplyWriter::Text(std::string_view utf8) {
  out_ += EscapeXml(utf8);
  return *this;
}

ReplyWriter& ReplyWriter::RawCData(std::string_view bytes) {
  out_ += "<![CDATA[";
  size_t start = 0;
  for (size_t found; (found = bytes.find("]]>", start)) != std::string_view::npos;) {
    out_.append(bytes.substr(start, found + 2 - start));
    out_ += "]]><![CDATA[";
    start = found + 2;
  }
  out_.append(bytes.substr(start));
  out_ += "]]>";
  return *this;
}

std::string ReplyWriter::Finish() {
  out_ += "</";
  out_ += root_;
  out_ += '>';
  return std::move(out_);
}

std::string ErrorReply(int code, std::string_view description) {
  ReplyWriter writer("response");
  const std::string codeText = std::to_string(code);
  writer.Open("error", {{"code", codeText}, {"vbcode", "0"}}).Text(description).Close("error");
  return writer.Finish();
}

std::string EmptyReply(std::string_view rootName) { return ReplyWriter(rootName).Finish(); }

}  // namespace kt::server
