// Reads arbitrary bytes as a GEDCOM file, then summarises it and writes the
// three extracts of a few of the individuals it found.
#include <cstddef>
#include <cstdint>
#include <unistd.h>
#include <string>
#include <string_view>

#include <kintrail/winnow/winnowgedcom.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string output = "/dev/shm/winnow_fuzz_" + std::to_string(::getpid()) + ".out";
  kt::winnow::WinnowGEDCOM w;
  w.SetFilename(output);
  w.AnalyzeGedcomData(std::string_view(reinterpret_cast<const char*>(data), size), true);
  w.SynthetizeGedcom();
  w.GetXMLindividuals(1);
  const int32_t count = w.LIndividualsCount;
  for (int32_t i = 0; i < count && i < 3; ++i) {
    const std::string id = w.getIndiv(i)->Id;
    w.GetASCE(id, "q");
    w.GetDESC(id, "q");
    w.GetFamily(id, "q");
  }
  return 0;
}
