#pragma once
// The event interface __WinnowGEDCOM: a host implements it and attaches it to
// an object with WinnowGEDCOM::Advise. Events arrive synchronously, on the
// caller's thread, inside the method that causes them.
#include <cstdint>

#include <kintrail/winnow/export.h>

namespace kt::winnow {

class WINNOW_EXPORT WinnowGEDCOMEvents {
 public:
  virtual ~WinnowGEDCOMEvents() = default;
  // Dispatch id 1: a running count of individuals and the current Status.
  virtual void OnAddIndividual(int32_t numberOfIndividual, int32_t status) = 0;
  // Dispatch id 2: a running count of marriages and the current Status.
  virtual void OnAddMarriage(int32_t numberOfMarriages, int32_t status) = 0;
};

inline constexpr int32_t DISPID_OnAddIndividual = 1;
inline constexpr int32_t DISPID_OnAddMarriage = 2;

// Values of WinnowGEDCOM::Status.
enum WinnowStatus : int32_t {
  StatusReading = 2,
  StatusReadingDone = 3,
  StatusSynthesising = 4,
  StatusSynthesisDone = 5,
  StatusExtracting = 10,
  StatusExtractionDone = 11,
};

}  // namespace kt::winnow
