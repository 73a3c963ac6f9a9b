#pragma once
// Writing one extracted item, the same for gunzip and untar: output path,
// rename callback, folders, the refusal to write onto the archive, the
// overwrite rules and questions, attributes, times and events.
#include <cstdint>
#include <functional>
#include <string>

#include "bngt32.h"
#include "streams.h"

namespace bngt32 {

class Call;

struct ExtractSettings {
  std::string destination;  // absolute, trailing "/"
  std::string archivePath;
  bool test = false;
  bool overwrite = false;
  bool noDirectoryNames = false;
  bool lfToCrlf = false;
  bool freshen = false;  // only items whose output exists and is older
  bool update = false;   // only items whose output is missing or older
  uint32_t subOptions = 0;
};

// The settings a ugt command asks for, extracting from archivePath into
// destination.
ExtractSettings ExtractSettingsOf(const UGTCMDSTRUCT& command, const std::string& destination,
                                  const std::string& archivePath);

struct ExtractItemRequest {
  std::string storedName;
  int64_t mtime = 0;
  uint32_t attributes = 0;
  uint32_t mode = 0;   // tar permission bits, 0 when the archive has none
  int32_t kind = 2;    // record kind: 2 gzip, 1 tar
};

// Decodes the item's bytes into the sink; returns a ugt code.
using ItemDecoder = std::function<int32_t(ByteSink&)>;

struct ExtractOutcome {
  int32_t code = 0;     // 0 written or tested, 15 skipped, else the failure
  std::string detail;   // for the report of a failure
  bool done = false;    // written (or tested)
};

ExtractOutcome ExtractItem(Call& call, const ExtractSettings& settings,
                           const ExtractItemRequest& request, const ItemDecoder& decode);

}  // namespace bngt32
