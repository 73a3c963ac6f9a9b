// Synthesis (distinct last names and places) and the summary XML.
#include <string>
#include <string_view>

#include <kintrail/platform/messagepump.h>
#include <kintrail/platform/text.h>
#include <kintrail/winnow/winnowgedcom.h>

#include "outputchannel.h"
#include "winnowimpl.h"

namespace kt::winnow {
namespace {

// "&" first, so that the other escapes are not escaped again; ">" stays.
// The bytes 0x80-0x9F, which Windows-1252 uses for characters outside
// Latin-1 (Œ, Š, Ÿ ...), become character references: the document is
// declared ISO-8859-1, where those bytes would read as control characters.
void AppendEscaped(OutputBuffer& out, std::string_view text) {
  size_t done = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    const char* escape = nullptr;
    switch (c) {
      case '&': escape = "&amp;"; break;
      case '<': escape = "&lt;"; break;
      case '\'': escape = "&apos;"; break;
      case '"': escape = "&quot;"; break;
      default:
        if (c < 0x80 || c > 0x9F) continue;
        break;
    }
    out << text.substr(done, i - done);
    if (escape != nullptr) {
      out << escape;
    } else {
      out << "&#" << static_cast<long long>(kt::Win1252ToCodePoint(c)) << ';';
    }
    done = i + 1;
  }
  out << text.substr(done);
}

}  // namespace

void WinnowGEDCOM::SynthetizeGedcom() {
  Impl& m = *impl_;
  m.RegisterPlace("-");
  m.status = StatusSynthesising;
  const int32_t count = LIndividualsCount;
  for (int32_t i = 0; i < count; ++i) {
    if ((i & 7) == 7) {
      m.RaiseAddIndividual(i, StatusSynthesising);
      PumpMessages();
    }
    // A host may change the count from inside the event: re-check the slot.
    const TCGedcomIndividual* p = m.individuals.At(i, LIndividualsCount);
    if (p == nullptr) continue;
    if (m.lastNames.Find(p->Name) < 0) m.lastNames.Add(p->Name);
    m.RegisterPlace(p->birthPlace);
    m.RegisterPlace(p->deathPlace);
  }
  m.status = StatusSynthesisDone;
  m.RaiseAddIndividual(LIndividualsCount, StatusSynthesisDone);
}

std::string WinnowGEDCOM::GetXMLindividuals(int32_t GedcomId) {
  Impl& m = *impl_;
  OutputBuffer out;
  out.Start();
  out << "<gedcom id=\"" << static_cast<long long>(GedcomId) << "\">";
  out << "<lnames>";
  for (size_t i = 0; i < m.lastNames.entries.size(); ++i) {
    out << "<ln id=\"" << static_cast<long long>(i) << "\" txt=\"";
    AppendEscaped(out, m.lastNames.entries[i]);
    out << "\" />";
  }
  out << "</lnames><places>";
  for (size_t i = 0; i < m.places.entries.size(); ++i) {
    out << "<p id=\"" << static_cast<long long>(i) << "\" txt=\"";
    AppendEscaped(out, m.places.entries[i]);
    out << "\" />";
  }
  out << "</places><indivs>";
  const int32_t bound = m.individuals.Bound(LIndividualsCount);
  for (int32_t i = 0; i < bound; ++i) {
    const TCGedcomIndividual* p = m.individuals.slots[static_cast<size_t>(i)];
    if (p == nullptr) continue;
    // An identifier is written escaped as well: "0 @I<1@ INDI" must not
    // break the whole document.
    out << "<i id=\"";
    AppendEscaped(out, p->Id);
    out << "\" lnid=\"" << static_cast<long long>(m.FindLastName(p->Name)) << "\" fn=\"";
    AppendEscaped(out, p->firstNames);
    out << "\">";
    const int32_t birthPlace = m.FindPlaceId(p->birthPlace);
    if (birthPlace >= 0 || p->birthDate > 0) {
      out << "<birth pid='" << static_cast<long long>(birthPlace >= 0 ? birthPlace : 0) << "' y='"
          << static_cast<long long>(p->birthDate) << "' />";
    }
    const int32_t deathPlace = m.FindPlaceId(p->deathPlace);
    if (deathPlace >= 0 || p->deathDate < 9999) {
      out << "<death pid='" << static_cast<long long>(deathPlace >= 0 ? deathPlace : 0) << "' y='"
          << static_cast<long long>(p->deathDate) << "' />";
    }
    out << "</i>";
  }
  out << "</indivs></gedcom>";
  out.Finish();
  return "0";
}

}  // namespace kt::winnow
