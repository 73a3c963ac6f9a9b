#include "logs.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

#include "callcontext.h"
#include "catalogue.h"
#include "kintrail/platform/folders.h"

namespace bngt32 {
namespace {

void MakeFolders(const std::string& folder) {
  for (size_t pos = 1; pos <= folder.size(); ++pos) {
    if (pos == folder.size() || folder[pos] == '/') {
      ::mkdir(folder.substr(0, pos).c_str(), 0777);
    }
  }
}

std::string WithSlash(std::string folder) {
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder;
}

std::string NowText() { return FormatLocalDateTime(static_cast<int64_t>(std::time(nullptr))); }

// One structure field as the log shows it: a number, or a pointer and, for
// texts, the text itself (cut at `textLimit`).
struct Field {
  int32_t format;  // catalogue number of the line format, 0 for none
  long value;
  const char* text = nullptr;
  size_t textLimit = 0;
};

std::string FormatField(Call& call, const Field& field) {
  if (field.format == 0) return {};
  const std::string format = call.Text(field.format);
  if (format.empty()) return {};
  std::string out = FormatSafely(format, {field.value});
  if (field.text != nullptr) {
    out.append(field.text, strnlen(field.text, field.textLimit));
    out += '\n';
  }
  return out;
}

long PointerValue(const void* p) { return static_cast<long>(reinterpret_cast<uintptr_t>(p)); }
template <typename F>
long FunctionValue(F f) {
  return static_cast<long>(reinterpret_cast<uintptr_t>(f));
}

void WriteFields(Call& call, const std::vector<Field>& fields) {
  std::string text = "\n" + FormatSafely(call.Text(kMsgDiagnosticHeader), {}, NowText());
  for (const Field& f : fields) text += FormatField(call, f);
  AppendToFile(LogPath(call.Text(kMsgDiagnosticLogFile)), text);
}

}  // namespace

std::string LogFolder() {
  std::string folder;
  if (const char* env = std::getenv("BNGT32_LOG_DIR"); env != nullptr && *env != '\0') {
    folder = WithSlash(env);
  } else {
    folder = WithSlash(kt::XdgStateHome()) + "bngt32/";
  }
  MakeFolders(folder);
  return folder;
}

std::string LogPath(const std::string& catalogueName) {
  std::string name = catalogueName;
  while (!name.empty() && (name.front() == '\\' || name.front() == '/')) name.erase(0, 1);
  return LogFolder() + name;
}

void AppendToFile(const std::string& path, const std::string& text) {
  std::FILE* f = std::fopen(path.c_str(), "ab");
  if (f == nullptr) return;
  std::fwrite(text.data(), 1, text.size(), f);
  std::fclose(f);
}

void WriteDiagnosticStructure(Call& call, const GTCMDSTRUCT& c) {
  int32_t n = kMsgGtFieldFormatFirst;
  auto num = [&](long v) { return Field{n++, v}; };
  auto txt = [&](const char* p, size_t limit) { return Field{n++, PointerValue(p), p, limit}; };
  auto ptr = [&](long v) { return Field{n++, v}; };
  // Built in structure order; the numbering skips the two fields without a line.
  std::vector<Field> fields;
  fields.push_back(num(static_cast<long>(c.ulgtStructSize)));
  fields.push_back(num(c.lFunction));
  fields.push_back(txt(c.lpszGTFile, 260));
  fields.push_back(txt(c.lpszItemList, 20000));
  fields.push_back(txt(c.lpszDestination, 260));
  fields.push_back(txt(c.lpszTempPath, 260));
  fields.push_back(num(c.lIndex));
  fields.push_back(num(c.bResv1));
  fields.push_back(num(c.bResv2));
  fields.push_back(num(c.bAllQuiet));
  fields.push_back(num(c.bRecurseFlag));
  fields.push_back(num(c.lCompFactor));
  fields.push_back(num(c.bResv3));
  fields.push_back(num(c.bLFtoCRLF));
  fields.push_back(num(c.bGrowExistingFlag));
  fields.push_back(num(c.bAddComment));
  fields.push_back(txt(c.lpszComment, 4096));
  fields.push_back(num(c.bInclDate));
  fields.push_back(num(c.bExclDate));
  fields.push_back(ptr(PointerValue(c.lpszDate1)));
  fields.push_back(ptr(PointerValue(c.lpszDate2)));
  fields.push_back(txt(c.lpszIncludeList, 4096));
  fields.push_back(txt(c.lpszExludeList, 4096));
  fields.push_back(num(c.bDosify));
  fields.push_back(num(c.bIncludeSysHidden));
  fields.push_back(num(c.bEncryptFlag));
  fields.push_back(ptr(PointerValue(c.lpszEncryptCode)));
  fields.push_back(ptr(static_cast<long>(c.dwGTSubOptions)));
  fields.push_back(ptr(PointerValue(c.lpMemBlock)));
  fields.push_back(num(c.lMemBlockSize));
  fields.push_back(ptr(FunctionValue(c.lpMajorStatus)));
  fields.push_back(ptr(PointerValue(c.lpMajorUserData)));
  fields.push_back(ptr(FunctionValue(c.lpMinorStatus)));
  fields.push_back(ptr(PointerValue(c.lpMinorUserData)));
  fields.push_back(ptr(FunctionValue(c.lpMessageDisplay)));
  fields.push_back(ptr(PointerValue(c.lpMessageDisplayData)));
  fields.push_back(ptr(FunctionValue(c.lpRenameProc)));
  fields.push_back(ptr(PointerValue(c.lpRenameUserData)));
  fields.push_back(ptr(PointerValue(c.lpCallbackStruct)));
  for (int32_t v : {c.lResv1, c.lResv2, c.lResv3, c.lResv4, c.lResv5, c.lResv6, c.lResv7,
                    c.lResv8}) {
    fields.push_back(num(v));
  }
  WriteFields(call, fields);
}

void WriteDiagnosticStructure(Call& call, const UGTCMDSTRUCT& c) {
  const int32_t* formats = UgtFieldFormatNumbers();
  int index = 0;
  auto num = [&](long v) { return Field{formats[index++], v}; };
  auto txt = [&](const char* p) { return Field{formats[index++], PointerValue(p), p, 260}; };
  std::vector<Field> fields;
  fields.push_back(num(static_cast<long>(c.ulugtStructSize)));
  fields.push_back(num(c.lFunction));
  fields.push_back(txt(c.lpszGTFile));
  fields.push_back(txt(c.lpszFilespec));
  fields.push_back(txt(c.lpszDestination));
  fields.push_back(num(PointerValue(c.gzipInfo)));
  fields.push_back(num(PointerValue(c.tarInfo)));
  fields.push_back(num(c.lIndex));
  fields.push_back(num(c.bFreshenFlag));
  fields.push_back(num(c.bUpdateFlag));
  fields.push_back(num(c.bOverWriteFlag));
  fields.push_back(num(c.bAllQuiet));
  fields.push_back(num(c.TestFlag));
  fields.push_back(num(c.bNoDirectoryNames));
  fields.push_back(num(c.bResv1));
  fields.push_back(num(c.bRecurseFlag));
  fields.push_back(num(c.bDiagnosticLog));
  fields.push_back(num(c.bLFtoCRLF));
  fields.push_back(num(c.bDecryptFlag));
  fields.push_back(num(PointerValue(c.lpszDecryptCode)));
  fields.push_back(num(c.lReturnCount));
  fields.push_back(num(PointerValue(c.lpszReturnString)));
  fields.push_back(num(static_cast<long>(c.dwUGTSubOptions)));
  fields.push_back(num(PointerValue(c.lpMemBlock)));
  fields.push_back(num(c.lMemBlockSize));
  fields.push_back(num(c.lStartingOffset));
  WriteFields(call, fields);
}

}  // namespace bngt32
