#pragma once
// One marriage (GEDCOM FAM record): plain read-write fields, no behaviour.
#include <string>

#include <kintrail/winnow/export.h>
#include <kintrail/winnow/identities.h>

namespace kt::winnow {

class WINNOW_EXPORT TCGedcomMarriage {
 public:
  static constexpr const kt::Guid& ClassId = CLSID_TCGedcomMarriage;

  std::string Id;            // cross-reference without its "@" signs, upper-cased
  std::string husbandID;     // Id of the husband, upper-cased
  std::string WifeID;        // Id of the wife, upper-cased
  std::string place;         // marriage place as written (trimmed, not normalised)
  std::string udate = "0";   // marriage date text as written (trimmed)
  std::string gedcomString;  // lines below level 0, each followed by CR LF
  bool alreadyScant = false; // in the current extract
};

}  // namespace kt::winnow
