#pragma once
// One individual (GEDCOM INDI record): plain read-write fields, no behaviour.
// Texts are single-byte Windows-1252, except gedcomString, which keeps the
// bytes of the file (see WinnowGEDCOM::RecordTextCharSet).
#include <cstdint>
#include <string>

#include <kintrail/winnow/export.h>
#include <kintrail/winnow/identities.h>

namespace kt::winnow {

class WINNOW_EXPORT TCGedcomIndividual {
 public:
  static constexpr const kt::Guid& ClassId = CLSID_TCGedcomIndividual;

  std::string Id;              // cross-reference without its "@" signs, upper-cased
  uint8_t Sex = 0;             // 1 female, 0 anything else
  std::string Name;            // last name, normalised
  std::string firstNames;      // given names, normalised
  std::string birthPlace;      // birth (or baptism) place, normalised
  int16_t birthDate = 0;       // birth (or baptism) year; 0 means none
  int16_t deathDate = 9999;    // death (or burial) year; 9999 means none
  std::string deathPlace;      // death (or burial) place, normalised
  std::string occupation;      // normalised
  std::string gedcomString;    // lines below level 0, each followed by CR LF
  bool alreadyScant = false;          // in the current extract
  bool alreadyScantAsSpouse = false;  // written into the current extract as a spouse
};

}  // namespace kt::winnow
