// Ancestor, descendant and close-family extracts: a walk over the family
// links from one individual, copying the kept lines of each record reached,
// then link-only families and stub individuals so that the links resolve.
#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include <kintrail/platform/messagepump.h>
#include <kintrail/winnow/mfunctions.h>
#include <kintrail/winnow/winnowgedcom.h>

#include "outputchannel.h"
#include "winnowimpl.h"

namespace kt::winnow {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

// The identifier of the link line that starts at p ("1 FAMC @F1@"): from
// p + 8 to one before the line end. Trailing spaces before the line end are
// not part of it, so "1 FAMC @F1@ " still links to F1.
std::string LinkAt(const std::string& text, size_t p) {
  size_t e = text.find(kLineEnd, p);
  if (e == std::string::npos) e = text.size();
  while (e > p && text[e - 1] == ' ') --e;
  if (e < p + 9) return {};
  return text.substr(p + 8, e - p - 9);
}

// Calls f(line) for each line that holds `tag`, each line once, in order; a
// line runs from after the nearest control character before the hit to the
// next CR LF.
template <class F>
void ForEachLineWith(std::string_view text, std::string_view tag, F&& f) {
  size_t pos = 0;
  while (pos <= text.size()) {
    const size_t hit = text.find(tag, pos);
    if (hit == std::string_view::npos) return;
    size_t start = hit;
    while (start > 0 && static_cast<unsigned char>(text[start - 1]) >= 32) --start;
    size_t end = text.find(kLineEnd, hit);
    if (end == std::string_view::npos) end = text.size();
    f(text.substr(start, end - start));
    pos = end + 1;
  }
}

int32_t YearOf(std::string_view line) {
  int32_t value = 0;
  for (char c : MFunctions::FirstYear(line)) value = value * 10 + (c - '0');
  return value;
}

class Extraction {
 public:
  explicit Extraction(WinnowGEDCOM::Impl& model) : m_(model), self_(model.self) {}

  void WriteHeader(const std::string& idVal) {
    out_.Start();
    out_ << "<result questionid='" << idVal << "'>" << "<data><![CDATA[";
    if (!self_.headerGEDCOM.empty()) {
      Cdata(self_.headerGEDCOM);
      return;
    }
    std::string charLine;
    if (m_.recordTextCharSet == "UTF-8") {
      // The bytes carried are the file's UTF-8 bytes (UTF-16 files are kept as UTF-8).
      charLine = "1 CHAR UTF-8";
    } else if (!m_.charSet.empty()) {
      charLine = "1 CHAR " + m_.charSet;
    } else {
      switch (ThreadOutput().CharEncoding) {
        case 1: charLine = "1 CHAR ASCII"; break;
        case 2: charLine = "1 CHAR ANSEL"; break;
        case 3: charLine = "1 CHAR UNICODE"; break;
        default: break;
      }
    }
    out_ << "0 HEAD\r\n1 SOUR Kintrail\r\n2 VERS 1.0\r\n";
    if (!charLine.empty()) out_ << charLine << kLineEnd;
  }

  void ResetMarks() {
    m_.status = StatusExtracting;
    const int32_t people = m_.individuals.Bound(self_.LIndividualsCount);
    for (int32_t i = 0; i < people; ++i) {
      if (auto& p = m_.individuals.slots[static_cast<size_t>(i)]) {
        p->alreadyScant = false;
        p->alreadyScantAsSpouse = false;
      }
    }
    const int32_t families = m_.marriages.Bound(self_.LMarriagesCount);
    for (int32_t i = 0; i < families; ++i)
      if (auto& f = m_.marriages.slots[static_cast<size_t>(i)]) f->alreadyScant = false;
    m_.extractedIndividuals = 0;
    m_.RaiseAddIndividual(0, StatusExtracting);
    m_.extractedFamilies = 0;
    m_.RaiseAddMarriage(0, StatusExtracting);
    m_.extractMinYear = 9999;
    m_.extractMaxYear = -9999;
    PumpMessages();
  }

  void Ascendants(const std::string& id, int32_t gen) {
    auto p = Individual(m_.FindIndiv(id));
    if (!p || p->alreadyScant) return;
    p->alreadyScant = true;
    CountIndividual();
    Write(*p);
    const size_t at = p->gedcomString.find("1 FAMC");
    if (at == std::string::npos) return;
    auto f = Marriage(m_.FindFam(LinkAt(p->gedcomString, at)));
    if (!f || f->alreadyScant || gen >= Generations()) return;
    f->alreadyScant = true;
    CountFamily(true);
    Write(*f);
    if (gen < Generations() && m_.extractedIndividuals + 1 < IndividualLimit()) {
      const std::string husband = f->husbandID;
      const std::string wife = f->WifeID;
      Ascendants(husband, gen + 1);
      Ascendants(wife, gen + 1);
    }
  }

  void Descendants(const std::string& id, int32_t gen) { DescendantsAt(m_.FindIndiv(id), gen); }

  // Descendants of the individual at index k (what FindIndiv of its Id gives).
  void DescendantsAt(int32_t k, int32_t gen) {
    auto p = Individual(k);
    if (!p || p->alreadyScant) return;
    p->alreadyScant = true;
    if (!p->alreadyScantAsSpouse) {
      CountIndividual();
      Write(*p);
    }
    const std::string& text = p->gedcomString;
    for (size_t at = text.find("1 FAMS"); at != std::string::npos; at = text.find("1 FAMS", at + 6)) {
      auto f = Marriage(m_.FindFam(LinkAt(text, at)));
      if (!f || f->alreadyScant) continue;
      f->alreadyScant = true;
      CountFamily(true);
      Write(*f);
      Spouse(1 - p->Sex, *f);
      if (gen < Generations() && m_.extractedIndividuals + 1 < IndividualLimit()) Children(*f, gen);
    }
  }

  void Parents(const std::string& id) {
    auto p = Individual(m_.FindIndiv(id));
    if (!p) return;
    const size_t at = p->gedcomString.find("1 FAMC");
    if (at == std::string::npos) return;
    auto f = Marriage(m_.FindFam(LinkAt(p->gedcomString, at)));
    if (!f || f->alreadyScant) return;
    f->alreadyScant = true;
    CountFamily(false);
    Write(*f);
    GenerationLimit limit(self_, 1);
    if (m_.extractedIndividuals + 1 < IndividualLimit()) {
      const std::string husband = f->husbandID;
      const std::string wife = f->WifeID;
      Ascendants(husband, 1);
      Ascendants(wife, 1);
    }
  }

  void Supplementary() {
    stubWritten_.assign(m_.individuals.slots.size(), false);
    const int32_t people = m_.individuals.Bound(self_.LIndividualsCount);
    for (int32_t i = 0; i < people; ++i) {
      auto p = m_.individuals.slots[static_cast<size_t>(i)];
      if (!p || !(p->alreadyScant || p->alreadyScantAsSpouse)) continue;
      const std::string& text = p->gedcomString;
      for (size_t at = text.find("1 FAM"); at != std::string::npos; at = text.find("1 FAM", at + 5))
        LinkedFamily(LinkAt(text, at));
    }
    const int32_t families = m_.marriages.Bound(self_.LMarriagesCount);
    for (int32_t i = 0; i < families; ++i) {
      auto f = m_.marriages.slots[static_cast<size_t>(i)];
      if (!f || !f->alreadyScant) continue;
      Stubs("CHIL", *f);
      Stubs("HUSB", *f);
      Stubs("WIFE", *f);
    }
  }

  void Finish() {
    out_ << "0 TRLR\r\n";
    out_ << "]]></data><Stats " << " nbindi='" << static_cast<long long>(m_.extractedIndividuals) << "'"
         << " nbfam='" << static_cast<long long>(m_.extractedFamilies) << "'"
         << " minYear='" << static_cast<long long>(m_.extractMinYear) << "'"
         << " maxYear='" << static_cast<long long>(m_.extractMaxYear) << "'"
         << " />" << "</result>" << kLineEnd;
    m_.status = StatusExtractionDone;
    m_.RaiseAddIndividual(m_.extractedIndividuals, StatusExtractionDone);
    out_.Finish();
  }

  // Sets MaxGen for the length of a scope; the caller's value comes back
  // even when the walk ends with an exception.
  class GenerationLimit {
   public:
    GenerationLimit(WinnowGEDCOM& self, int32_t limit) : self_(self), saved_(self.MaxGen) { self.MaxGen = limit; }
    ~GenerationLimit() { self_.MaxGen = saved_; }
    GenerationLimit(const GenerationLimit&) = delete;
    GenerationLimit& operator=(const GenerationLimit&) = delete;

   private:
    WinnowGEDCOM& self_;
    int32_t saved_;
  };

 private:
  // The walk recurses once per generation; no real file has thousands of
  // generations, and a deeper recursion would overflow the stack.
  static constexpr int32_t kDeepestWalk = 2000;
  int32_t Generations() const { return self_.MaxGen == 0 ? 99 : std::min(self_.MaxGen, kDeepestWalk); }

  // Text inside the CDATA section: a "]]>" in the file's text would end the
  // section, so it is split into two sections, which a reader joins back
  // into the same bytes.
  void Cdata(std::string_view text) {
    size_t done = 0;
    for (size_t at = text.find("]]>"); at != std::string_view::npos; at = text.find("]]>", at + 3)) {
      out_ << text.substr(done, at + 2 - done) << "]]><![CDATA[";
      done = at + 2;
    }
    out_ << text.substr(done);
  }
  int32_t IndividualLimit() const { return self_.MaxIndivToRetrieve == 0 ? 99999 : self_.MaxIndivToRetrieve; }

  TCGedcomIndividual* Individual(int32_t k) const {
    if (k < 0 || static_cast<size_t>(k) >= m_.individuals.slots.size()) return nullptr;
    return m_.individuals.slots[static_cast<size_t>(k)];
  }
  TCGedcomMarriage* Marriage(int32_t k) const {
    if (k < 0 || static_cast<size_t>(k) >= m_.marriages.slots.size()) return nullptr;
    return m_.marriages.slots[static_cast<size_t>(k)];
  }

  void CountIndividual() {
    ++m_.extractedIndividuals;
    if ((m_.extractedIndividuals & 3) == 3) {
      m_.RaiseAddIndividual(m_.extractedIndividuals, m_.status);
      PumpMessages();
    }
  }

  void CountFamily(bool keepResponsive) {
    ++m_.extractedFamilies;
    m_.RaiseAddMarriage(m_.extractedFamilies, m_.status);
    if (keepResponsive)
      PumpMessages(100);
  }

  void Write(const TCGedcomIndividual& p) {
    out_ << "0 @";
    Cdata(p.Id);
    out_ << "@ INDI" << kLineEnd;
    Cdata(p.gedcomString);
    ScanYears(p.gedcomString);
  }
  void Write(const TCGedcomMarriage& f) {
    out_ << "0 @";
    Cdata(f.Id);
    out_ << "@ FAM" << kLineEnd;
    Cdata(f.gedcomString);
    ScanYears(f.gedcomString);
  }

  void ScanYears(std::string_view text) {
    ForEachLineWith(text, "DATE", [this](std::string_view line) {
      const int32_t y = YearOf(line);
      if (y <= 0) return;
      if (y < m_.extractMinYear) m_.extractMinYear = static_cast<int16_t>(y);
      if (y > m_.extractMaxYear) m_.extractMaxYear = static_cast<int16_t>(y);
    });
  }

  void Spouse(int role, const TCGedcomMarriage& f) {
    std::string_view tag;
    if (role == 1) {
      tag = "1 WIFE";
    } else if (role == 0) {
      tag = "1 HUSB";
    } else {
      return;
    }
    const size_t at = f.gedcomString.find(tag);
    if (at == std::string::npos) return;
    auto s = Individual(m_.FindIndiv(LinkAt(f.gedcomString, at)));
    if (!s || s->alreadyScant || s->alreadyScantAsSpouse) return;
    s->alreadyScantAsSpouse = true;
    CountIndividual();
    Write(*s);
  }

  void Children(const TCGedcomMarriage& f, int32_t gen) {
    const std::string& text = f.gedcomString;
    for (size_t at = text.find("1 CHIL"); at != std::string::npos; at = text.find("1 CHIL", at + 6)) {
      // FindIndiv of the child's Id would find this same, lowest, index.
      const int32_t k = m_.FindIndiv(LinkAt(text, at));
      if (Individual(k)) DescendantsAt(k, gen + 1);
    }
  }

  void LinkedFamily(const std::string& link) {
    auto f = Marriage(m_.FindFam(link));
    if (!f || f->alreadyScant) return;
    f->alreadyScant = true;
    out_ << "0 @";
    Cdata(link);
    out_ << "@ FAM" << kLineEnd;
    for (std::string_view tag : {"HUSB", "WIFE", "CHIL"})
      ForEachLineWith(f->gedcomString, tag, [this](std::string_view line) {
        Cdata(line);
        out_ << kLineEnd;
      });
  }

  void Stubs(std::string_view tag, const TCGedcomMarriage& f) {
    std::string pattern = "1 ";
    pattern.append(tag);
    pattern += ' ';
    const std::string& text = f.gedcomString;
    for (size_t at = text.find(pattern); at != std::string::npos; at = text.find(pattern, at + pattern.size())) {
      const std::string link = LinkAt(text, at);
      const int32_t k = m_.FindIndiv(link);
      auto s = Individual(k);
      if (!s || s->alreadyScant || s->alreadyScantAsSpouse) continue;
      if (static_cast<size_t>(k) >= stubWritten_.size()) stubWritten_.resize(static_cast<size_t>(k) + 1, false);
      if (stubWritten_[static_cast<size_t>(k)]) continue;
      stubWritten_[static_cast<size_t>(k)] = true;
      out_ << "0 @";
      Cdata(link);
      out_ << "@ INDI" << kLineEnd << "1 NAME ";
      Cdata(self_.SupplementaryLinks);
      out_ << kLineEnd;
      const std::string& own = s->gedcomString;
      for (size_t fam = own.find("1 FAM"); fam != std::string::npos; fam = own.find("1 FAM", fam + 5)) {
        auto linked = Marriage(m_.FindFam(LinkAt(own, fam)));
        if (!linked || !linked->alreadyScant) continue;
        size_t end = own.find(kLineEnd, fam);
        if (end == std::string::npos) end = own.size();
        Cdata(std::string_view(own).substr(fam, end - fam));
        out_ << kLineEnd;
      }
    }
  }

  WinnowGEDCOM::Impl& m_;
  WinnowGEDCOM& self_;
  OutputBuffer out_;
  std::vector<bool> stubWritten_;
};

std::string WithoutAtSigns(const std::string& text) {
  std::string id;
  id.reserve(text.size());
  for (char c : text)
    if (c != '@') id += c;
  return id;
}

// The frame the three extractions share: header, reset, the walk, the
// supplementary records, trailer and statistics.
template <class Walk>
void RunExtraction(WinnowGEDCOM::Impl& model, const std::string& indivId, const std::string& idVal, Walk&& walk) {
  const std::string id = WithoutAtSigns(indivId);
  const RecordsPinned pinned(model);
  Extraction x(model);
  x.WriteHeader(idVal);
  x.ResetMarks();
  walk(x, id);
  if (!model.self.SupplementaryLinks.empty()) x.Supplementary();
  x.Finish();
}

}  // namespace

std::string WinnowGEDCOM::GetASCE(const std::string& indivId, const std::string& idVal) {
  RunExtraction(*impl_, indivId, idVal, [](Extraction& x, const std::string& id) { x.Ascendants(id, 1); });
  return "0";
}

std::string WinnowGEDCOM::GetDESC(const std::string& indivId, const std::string& idVal) {
  RunExtraction(*impl_, indivId, idVal, [](Extraction& x, const std::string& id) { x.Descendants(id, 1); });
  return "0";
}

int16_t WinnowGEDCOM::GetFamily(const std::string& indivId, const std::string& idVal) {
  RunExtraction(*impl_, indivId, idVal, [this](Extraction& x, const std::string& id) {
    Extraction::GenerationLimit limit(*this, 2);
    x.Descendants(id, 1);
    x.Parents(id);
  });
  return 0;
}

}  // namespace kt::winnow
