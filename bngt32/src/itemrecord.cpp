#include "itemrecord.h"

#include <algorithm>
#include <cstring>
#include <ctime>

#include "callcontext.h"

namespace bngt32 {
namespace {

constexpr uint32_t kChangeableAttributes =
    GT_ATTR_READONLY | GT_ATTR_HIDDEN | GT_ATTR_SYSTEM | GT_ATTR_ARCHIVE;

void CopyField(char* field, size_t size, const std::string& text) {
  const size_t n = std::min(text.size(), size - 1);
  std::memcpy(field, text.data(), n);
  field[n] = '\0';
}

}  // namespace

int64_t ParseRecordDateTime(const char* text, size_t size) {
  const size_t length = strnlen(text, size);
  if (length < 19 || text[2] != '/' || text[5] != '/' || text[13] != ':' || text[16] != ':') {
    return 0;
  }
  auto number = [&](size_t pos, size_t len, bool& ok) {
    int v = 0;
    for (size_t i = pos; i < pos + len; ++i) {
      if (text[i] < '0' || text[i] > '9') ok = false;
      v = v * 10 + (text[i] - '0');
    }
    return v;
  };
  bool ok = true;
  const int month = number(0, 2, ok), day = number(3, 2, ok), year = number(6, 4, ok);
  const int hour = number(11, 2, ok), minute = number(14, 2, ok), second = number(17, 2, ok);
  if (!ok) return 0;
  std::tm local{};
  local.tm_mon = std::clamp(month, 1, 12) - 1;
  local.tm_mday = std::clamp(day, 1, 31);
  local.tm_year = std::clamp(year, 1970, 2035) - 1900;
  local.tm_hour = std::min(hour, 23);
  local.tm_min = std::min(minute, 59);
  local.tm_sec = std::min(second, 59);
  local.tm_isdst = -1;
  const std::time_t t = std::mktime(&local);
  return t < 0 ? 0 : static_cast<int64_t>(t);
}

void OfferToRenameCallback(Call& call, int32_t kind, ItemFields& fields) {
  const CallSettings& settings = call.Settings();
  if (settings.rename == nullptr) return;
  GTRENAMESTRUCT record{};
  record.ulStructSize = GTRENAMESTRUCT_SIZE;
  CopyField(record.szStoredName, sizeof record.szStoredName, fields.storedName);
  CopyField(record.szSourcePath, sizeof record.szSourcePath, fields.sourcePath);
  CopyField(record.szDateTime, sizeof record.szDateTime, FormatLocalDateTime(fields.mtime));
  record.dwAttributes = fields.attributes;
  record.lKind = kind;
  settings.rename(&record, settings.renameData);
  fields.storedName.assign(record.szStoredName, strnlen(record.szStoredName, sizeof record.szStoredName));
  fields.mtime = ParseRecordDateTime(record.szDateTime, sizeof record.szDateTime);
  fields.attributes = (fields.attributes & ~kChangeableAttributes) |
                      (record.dwAttributes & kChangeableAttributes);
}

}  // namespace bngt32
