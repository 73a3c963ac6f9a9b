// Every reader of what clients send, on arbitrary bytes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "gunzip.h"
#include "request_document.h"
#include "summary_document.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  std::string error;
  (void)kt::server::ParseConnectDocument(input, error);
  if (auto document = kt::server::RequestDocument::Parse(input, error)) {
    (void)kt::server::ReadSummary(*document, error);
    (void)kt::server::RequestDocument::RawCData(document->Root().child("data"));
  }
  (void)kt::server::Gunzip(input, 1 << 20);
  return 0;
}
