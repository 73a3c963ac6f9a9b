// Creation by class identity, the counterpart of the COM class factory.
#include <kintrail/winnow/factory.h>

namespace kt::winnow {

std::shared_ptr<void> CreateObject(const kt::Guid& classId) {
  if (classId == CLSID_WinnowGEDCOM) return std::make_shared<WinnowGEDCOM>();
  if (classId == CLSID_TCGedcomIndividual) return std::make_shared<TCGedcomIndividual>();
  if (classId == CLSID_TCGedcomMarriage) return std::make_shared<TCGedcomMarriage>();
  return nullptr;
}

}  // namespace kt::winnow
