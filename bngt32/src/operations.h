#pragma once
// The operations behind gt and ugt, after the entry points have checked the
// command structure. Each returns a result code and reports its own failures
// with their details.
#include <cstdint>
#include <string>
#include <vector>

#include "bngt32.h"
#include "itemlist.h"

namespace bngt32 {

class Call;

// What gt works with once the structure is checked.
struct GtJob {
  const GTCMDSTRUCT* command = nullptr;
  int32_t function = 0;
  std::string gtFile;       // quotes removed
  std::string destination;  // trailing "/" when set
  std::string tempPath;     // trailing "/" when set
  std::vector<std::string> pieces;
  CollectOptions collect;
  int level = 6;
};

int32_t GzipItems(Call& call, const GtJob& job);             // functions 1 and 4
int32_t GzipItemsToCallback(Call& call, const GtJob& job);   // function 6
int32_t GzipMemoryToMemory(Call& call, const GtJob& job);    // function 5
int32_t TarAddItems(Call& call, const GtJob& job);           // functions 2 and 7
int32_t TarDeleteItems(Call& call, const GtJob& job);        // function 3

// What ugt works with once the structure is checked.
struct UgtJob {
  UGTCMDSTRUCT* command = nullptr;
  std::string gtFile;
  std::string destination;  // absolute, trailing "/"
  std::string filespec;
};

int32_t Gunzip(Call& call, const UgtJob& job);               // function 1
int32_t GunzipToMemory(Call& call, const UgtJob& job);       // functions 3 and 5
int32_t GunzipToCallback(Call& call, const UgtJob& job);     // function 4
int32_t Untar(Call& call, const UgtJob& job);                // functions 2, 6 and 7
int32_t CountItems(Call& call, const UgtJob& job, bool matchingOnly);  // functions 8 and 9
int32_t FillGzipInfo(Call& call, const UgtJob& job);         // function 10
int32_t FillTarInfo(Call& call, const UgtJob& job);          // functions 11 to 15

// Names inside gzip headers are kept in the OEM code page (CP437).
std::string ToHeaderName(const std::string& name);
std::string FromHeaderName(const std::string& bytes);

}  // namespace bngt32
