#pragma once
// Creating the library's objects by class identity, as COM hosts do.
#include <memory>

#include <kintrail/winnow/export.h>
#include <kintrail/winnow/gedcomindividual.h>
#include <kintrail/winnow/gedcommarriage.h>
#include <kintrail/winnow/identities.h>
#include <kintrail/winnow/winnowgedcom.h>

namespace kt::winnow {

// A new object of the creatable class classId (WinnowGEDCOM,
// TCGedcomIndividual or TCGedcomMarriage); nullptr for any other identity.
WINNOW_EXPORT std::shared_ptr<void> CreateObject(const kt::Guid& classId);

// The same, typed: nullptr unless classId is the identity of T.
template <class T>
std::shared_ptr<T> CreateObjectAs(const kt::Guid& classId) {
  if (classId != T::ClassId) return nullptr;
  return std::static_pointer_cast<T>(CreateObject(classId));
}

inline std::shared_ptr<WinnowGEDCOM> CreateWinnowGEDCOM() {
  return CreateObjectAs<WinnowGEDCOM>(CLSID_WinnowGEDCOM);
}

}  // namespace kt::winnow
