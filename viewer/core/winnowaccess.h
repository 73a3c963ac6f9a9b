#pragma once
// The analysis library's types as the viewer's document hands them out.
#include <memory>
#include <string_view>

#include <kintrail/winnow/gedcomindividual.h>
#include <kintrail/winnow/gedcommarriage.h>

namespace ktviewer {

using IndividualPtr = std::shared_ptr<const kt::winnow::TCGedcomIndividual>;
using MarriagePtr = std::shared_ptr<const kt::winnow::TCGedcomMarriage>;

}  // namespace ktviewer

namespace kt::winnow {
class WinnowGEDCOM;
}
