// Reading a GEDCOM file into individuals and marriages.
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <system_error>

#include <kintrail/platform/text.h>
#include <kintrail/winnow/mfunctions.h>
#include <kintrail/winnow/winnowgedcom.h>

#include "linesplitter.h"
#include "textscan.h"
#include "winnowimpl.h"

namespace kt::winnow {
namespace {

using MFunctions::AnselToAnsi;
using MFunctions::IbmPcToAnsi;

// How the bytes of a file are turned into Windows-1252 before a line is parsed.
enum class Conversion {
  None,
  IbmPc,
  Ansel,
  Utf8,
  Utf8WhenValid,  // no character set named: UTF-8 lines are taken as UTF-8
};

enum class RecordType { Header, Individual, Marriage, Other };

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

bool NamesUtf8(std::string_view charSet) { return EqualsNoCase(charSet, "UTF-8") || EqualsNoCase(charSet, "UTF8"); }

using textscan::TrimSpaces;
std::string_view Trimmed(std::string_view text) { return TrimSpaces(text); }

// Characters 3 to 6 of a line (the tag of a one-digit level), trimmed.
std::string_view TagOf(std::string_view line) {
  if (line.size() <= 2) return {};
  return Trimmed(line.substr(2, 4));
}


class GedcomReader {
 public:
  GedcomReader(WinnowGEDCOM::Impl& model, bool withGedcomString, bool unicodeFile)
      : model_(model), keep_(withGedcomString), unicodeFile_(unicodeFile) {
    UpdateConversion();
  }

  void operator()(std::string_view raw, LineBytes bytes) {
    std::string_view line = raw;
    if (bytes.quote) {
      quoted_.assign(raw);
      for (char& c : quoted_)
        if (c == '"') c = '\'';
      line = quoted_;
    }
    if (keep_ && (type_ == RecordType::Individual || type_ == RecordType::Marriage)) {
      const size_t first = line.find_first_not_of(' ');
      if (first == std::string_view::npos || line[first] != '0') {
        recordText_.append(line);
        recordText_ += "\r\n";
      }
    }
    if (conversion_ != Conversion::None && bytes.highByte) line = Convert(line);

    const int level = !line.empty() && line[0] >= '0' && line[0] <= '9' ? line[0] - '0' : 0;
    if (level == 0) {
      StartRecord(line);
    } else if (level == 1) {
      LevelOne(line);
    } else if (level <= 3) {
      LevelTwoOrThree(line);
    }
  }

  bool DecodedUtf8() const { return decodedUtf8_; }

 private:
  std::string_view Convert(std::string_view line) {
    switch (conversion_) {
      case Conversion::IbmPc: converted_ = IbmPcToAnsi(line); break;
      case Conversion::Ansel: converted_ = AnselToAnsi(line); break;
      case Conversion::Utf8: converted_ = kt::Utf8ToWin1252(line); break;
      case Conversion::Utf8WhenValid:
        if (!kt::IsValidUtf8(line)) return line;
        converted_ = kt::Utf8ToWin1252(line);
        decodedUtf8_ = true;
        break;
      case Conversion::None: return line;
    }
    return converted_;
  }

  void UpdateConversion() {
    const std::string& cs = model_.charSet;
    if (unicodeFile_) {
      conversion_ = Conversion::Utf8;
    } else if (cs == "IBMPC") {
      conversion_ = Conversion::IbmPc;
    } else if (cs == "ANSEL") {
      conversion_ = Conversion::Ansel;
    } else if (NamesUtf8(cs)) {
      conversion_ = Conversion::Utf8;
    } else if ((!charSetDeclared_ || cs == "ASCII") && type_ != RecordType::Header) {
      conversion_ = Conversion::Utf8WhenValid;
    } else {
      conversion_ = Conversion::None;
    }
  }

  // The fields of a record live as long as the model: each gets an
  // allocation of its exact size (a string grown in place keeps up to half
  // of its allocation unused). The text is built in a reused buffer first.
  static void SetField(std::string& field, std::string_view text) {
    if (text.size() <= field.capacity()) {
      field.assign(text);
    } else {
      field = std::string(text);
    }
  }
  void SetNormalized(std::string& field, std::string_view text) {
    textscan::NormalizeName(text, fieldText_);
    SetField(field, fieldText_);
  }
  void SetUpperCase(std::string& field, std::string_view text) {
    textscan::UpperCase(text, fieldText_);
    SetField(field, fieldText_);
  }

  void StartRecord(std::string_view line) {
    if (type_ == RecordType::Individual) {
      // A record without an Id is dropped.
      if (!individual_.Id.empty()) {
        if (keep_) SetField(individual_.gedcomString, recordText_);
        model_.AddIndividual(model_.individuals.store.New(std::move(individual_)));
      }
      individual_ = TCGedcomIndividual();
    } else if (type_ == RecordType::Marriage) {
      if (!marriage_.Id.empty()) {
        if (keep_) SetField(marriage_.gedcomString, recordText_);
        model_.AddMarriage(model_.marriages.store.New(std::move(marriage_)));
      }
      marriage_ = TCGedcomMarriage();
    }
    recordText_.clear();

    const RecordType previous = type_;
    if (line.find("INDI") != std::string_view::npos) {
      type_ = RecordType::Individual;
      SetUpperCase(individual_.Id, textscan::XrefId(line));
    } else if (line.find("HEAD") != std::string_view::npos) {
      type_ = RecordType::Header;
    } else if (line.find("FAM") != std::string_view::npos) {
      type_ = RecordType::Marriage;
      SetUpperCase(marriage_.Id, textscan::XrefId(line));
    } else {
      type_ = RecordType::Other;
    }
    if ((previous == RecordType::Header) != (type_ == RecordType::Header)) UpdateConversion();
  }

  void LevelOne(std::string_view line) {
    const std::string_view tag = TagOf(line);
    levelOneTag_.Set(tag);
    switch (type_) {
      case RecordType::Header:
        if (tag == "CHAR") {
          model_.charSet = textscan::TagValue(line);
          charSetDeclared_ = true;
          UpdateConversion();
        }
        break;
      case RecordType::Individual:
        if (tag == "NAME") {
          textscan::GivenNames(line, scratch_);
          SetNormalized(individual_.firstNames, scratch_);
          SetNormalized(individual_.Name, textscan::Surname(line));
        } else if (tag == "SEX") {
          const std::string_view value = line.size() > 6 ? Trimmed(line.substr(6)) : std::string_view();
          individual_.Sex = value.size() == 1 && (value[0] == 'F' || value[0] == 'f') ? 1 : 0;
        } else if (tag == "OCCU") {
          SetNormalized(individual_.occupation, textscan::TagValue(line));
        }
        break;
      case RecordType::Marriage:
        if (tag == "HUSB") {
          SetUpperCase(marriage_.husbandID, textscan::XrefId(line));
        } else if (tag == "WIFE") {
          SetUpperCase(marriage_.WifeID, textscan::XrefId(line));
        }
        break;
      case RecordType::Other: break;
    }
  }

  void LevelTwoOrThree(std::string_view line) {
    const std::string_view sub = TagOf(line);
    const std::string_view top = levelOneTag_.View();
    if (type_ == RecordType::Individual) {
      TCGedcomIndividual& p = individual_;
      const bool date = sub == "DATE";
      const bool place = sub == "PLAC";
      if (!date && !place) return;
      // Normalising a date changes no digit and no digit run, so the years
      // are read from the value as it is.
      const std::string_view value = textscan::TagValue(line);
      if (top == "BIRT") {
        if (date) p.birthDate = static_cast<int16_t>(textscan::FirstYearNumber(value));
        else SetNormalized(p.birthPlace, value);
      } else if (top == "BAPM") {
        if (date) {
          if (p.birthDate == 0) p.birthDate = static_cast<int16_t>(textscan::FirstYearNumber(value));
        } else if (p.birthPlace.empty()) {
          SetNormalized(p.birthPlace, value);
        }
      } else if (top == "DEAT") {
        if (date) p.deathDate = static_cast<int16_t>(textscan::LastYearNumber(value));
        else SetNormalized(p.deathPlace, value);
      } else if (top == "BURI") {
        if (date) {
          if (p.deathDate == 9999) p.deathDate = static_cast<int16_t>(textscan::LastYearNumber(value));
        } else if (p.deathPlace.empty()) {
          SetNormalized(p.deathPlace, value);
        }
      }
    } else if (type_ == RecordType::Marriage && top == "MARR") {
      if (sub == "DATE") {
        SetField(marriage_.udate, textscan::TagValue(line));
      } else if (sub == "PLAC") {
        SetField(marriage_.place, textscan::TagValue(line));
      }
    }
  }

  WinnowGEDCOM::Impl& model_;
  const bool keep_;
  const bool unicodeFile_;  // byte-order mark or UTF-16: every line is UTF-8
  bool charSetDeclared_ = false;
  bool decodedUtf8_ = false;
  Conversion conversion_ = Conversion::None;
  RecordType type_ = RecordType::Header;
  TCGedcomIndividual individual_;  // the open records, moved into the model when they end
  TCGedcomMarriage marriage_;
  // The tag of the last level-1 line: at most four characters (TagOf).
  struct ShortTag {
    char text[4] = {};
    size_t size = 0;
    void Set(std::string_view tag) {
      size = std::min(tag.size(), sizeof text);
      if (size > 0) std::memcpy(text, tag.data(), size);  // an empty view may have no data
    }
    std::string_view View() const { return {text, size}; }
  } levelOneTag_;
  std::string recordText_;  // lines of the open record, reused from record to record
  std::string quoted_;
  std::string converted_;
  std::string scratch_;
  std::string fieldText_;
};

enum class Detected { Bytes, Utf8Bom, Utf16Le, Utf16Be };

Detected Detect(std::string_view head) {
  auto byte = [&](size_t i) { return i < head.size() ? static_cast<unsigned char>(head[i]) : -1; };
  if (byte(0) == 0xEF && byte(1) == 0xBB && byte(2) == 0xBF) return Detected::Utf8Bom;
  if (byte(0) == 0xFF && byte(1) == 0xFE) return Detected::Utf16Le;
  if (byte(0) == 0xFE && byte(1) == 0xFF) return Detected::Utf16Be;
  if (byte(0) == '0' && byte(1) == 0) return Detected::Utf16Le;
  if (byte(0) == 0 && byte(1) == '0') return Detected::Utf16Be;
  return Detected::Bytes;
}

std::string Utf16Body(std::string_view bytes, bool bigEndian) {
  if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == (bigEndian ? 0xFE : 0xFF) &&
      static_cast<unsigned char>(bytes[1]) == (bigEndian ? 0xFF : 0xFE))
    bytes.remove_prefix(2);
  return kt::Utf16ToUtf8(bytes, bigEndian);
}

void Finish(WinnowGEDCOM::Impl& model, const GedcomReader& reader, bool unicodeFile) {
  model.recordTextCharSet = unicodeFile || NamesUtf8(model.charSet) || reader.DecodedUtf8() ? "UTF-8" : model.charSet;
  model.status = StatusReadingDone;
  model.RaiseAddIndividual(model.self.LIndividualsCount, StatusReadingDone);
}

void Begin(WinnowGEDCOM::Impl& model, Detected detected) {
  const bool utf16 = detected == Detected::Utf16Le || detected == Detected::Utf16Be;
  model.charSet = utf16 ? "UNICODE" : "ANSI";
  model.recordTextCharSet = model.charSet;
}

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

}  // namespace

void WinnowGEDCOM::AnalyzeGedcomData(std::string_view data, bool withGedcomString) {
  impl_->Clear();
  impl_->status = StatusReading;
  const Detected detected = Detect(data);
  Begin(*impl_, detected);
  std::string decoded;
  if (detected == Detected::Utf16Le || detected == Detected::Utf16Be) {
    decoded = Utf16Body(data, detected == Detected::Utf16Be);
    data = decoded;
  } else if (detected == Detected::Utf8Bom) {
    data.remove_prefix(3);
  }
  const bool unicodeFile = detected != Detected::Bytes;
  GedcomReader reader(*impl_, withGedcomString, unicodeFile);
  LineSplitter<GedcomReader> lines(reader);
  lines.Feed(data);
  lines.Finish();
  Finish(*impl_, reader, unicodeFile);
}

void WinnowGEDCOM::AnalyzeGedcom(const std::string& Filename, bool withGedcomString) {
  impl_->Clear();
  impl_->status = StatusReading;
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(Filename.c_str(), "rb"));
  if (!file) throw std::system_error(errno, std::generic_category(), "cannot open " + Filename);

  constexpr size_t kBlock = 1 << 20;
  std::string block(kBlock, '\0');
  auto readBlock = [&]() -> std::string_view {
    const size_t n = std::fread(block.data(), 1, block.size(), file.get());
    if (n < block.size() && std::ferror(file.get()))
      throw std::system_error(errno ? errno : EIO, std::generic_category(), "cannot read " + Filename);
    return std::string_view(block.data(), n);
  };

  std::string_view first = readBlock();
  const Detected detected = Detect(first);
  if (detected == Detected::Utf16Le || detected == Detected::Utf16Be) {
    // UTF-16 files are rare and small: decode the whole file at once.
    std::string all(first);
    for (std::string_view more = readBlock(); !more.empty(); more = readBlock()) all.append(more);
    file.reset();
    AnalyzeGedcomData(all, withGedcomString);
    return;
  }
  Begin(*impl_, detected);
  if (detected == Detected::Utf8Bom) first.remove_prefix(3);
  const bool unicodeFile = detected != Detected::Bytes;
  GedcomReader reader(*impl_, withGedcomString, unicodeFile);
  LineSplitter<GedcomReader> lines(reader);
  for (std::string_view data = first; !data.empty(); data = readBlock()) lines.Feed(data);
  lines.Finish();
  file.reset();
  Finish(*impl_, reader, unicodeFile);
}

}  // namespace kt::winnow
