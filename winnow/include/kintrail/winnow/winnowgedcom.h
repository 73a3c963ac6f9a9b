#pragma once
// WinnowGEDCOM: one analysed GEDCOM file in memory (individuals, marriages,
// after synthesis the distinct last names and places), and the two outputs
// written from it: the summary XML and the ancestor / descendant /
// close-family extracts.
//
// Texts are single-byte Windows-1252. Platform failures (a file that cannot
// be opened, read or written) are thrown as std::system_error carrying errno.
// An object belongs to the thread that created it.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <kintrail/winnow/events.h>
#include <kintrail/winnow/export.h>
#include <kintrail/winnow/gedcomindividual.h>
#include <kintrail/winnow/gedcommarriage.h>
#include <kintrail/winnow/identities.h>

namespace kt::winnow {

class WINNOW_EXPORT WinnowGEDCOM {
 public:
  static constexpr const kt::Guid& ClassId = CLSID_WinnowGEDCOM;

  // Empties the calling thread's StringAtBeginning and StringAtEnd.
  WinnowGEDCOM();
  ~WinnowGEDCOM();
  WinnowGEDCOM(const WinnowGEDCOM&) = delete;
  WinnowGEDCOM& operator=(const WinnowGEDCOM&) = delete;

  // ---- Properties of _WinnowGEDCOM, in interface order ----
  int16_t debuging = 0;           // stored only
  int32_t MaxIndivToRetrieve = 0; // extraction stops descending at this many; 0 means 99999
  int32_t MaxSizeOfString = 0;    // stored only
  int32_t MaxGen = 0;             // generations an extraction covers; 0 means 99
  std::string SupplementaryLinks = ".../.../";  // stub name; "" switches stubs off
  std::string headerGEDCOM;       // when not empty, replaces the extract's header
  // Maintained by the library; a host may write them and every loop then uses
  // the written value (slots beyond what the list holds count as empty).
  int32_t LIndividualsCount = 0;
  int32_t LMarriagesCount = 0;

  // ---- Methods of _WinnowGEDCOM, in interface order ----
  // Reads the file into Individuals and Marriages; records' lines are kept
  // in gedcomString when withGedcomString is true.
  void AnalyzeGedcom(const std::string& Filename, bool withGedcomString);
  void removeAll();
  // Builds LastNames and Places.
  void SynthetizeGedcom();
  // Lowest index below LIndividualsCount whose Id equals indivId exactly, or -1.
  int32_t FindIndiv(const std::string& indivId);
  // Lowest index below LMarriagesCount whose Id equals famId exactly, or -1.
  int32_t FindFam(const std::string& famId);
  // The object at index l; nullptr outside 0..count-1 or for an empty slot.
  std::shared_ptr<TCGedcomIndividual> getIndiv(int32_t l) const;
  std::shared_ptr<TCGedcomMarriage> getMarri(int32_t l) const;
  // Index in Places of Name, or -1.
  int32_t FindPlaceId(const std::string& Name);
  // Writes the summary XML to OutputFileName; returns "0".
  std::string GetXMLindividuals(int32_t GedcomId);
  // CharEncoding := ce (1 ASCII, 2 ANSEL, 3 UNICODE), for the calling thread.
  void SetCharEncodingForGedcom(int16_t ce);
  // Each sets the calling thread's setting and returns its previous value.
  std::string SetFilename(const std::string& fn);
  std::string SetStringAtBeginning(const std::string& strAtBeginning);
  std::string SetStringAtEnd(const std::string& strAtEnd);
  // Extracts written to OutputFileName; idVal becomes the result's questionid.
  std::string GetASCE(const std::string& indivId, const std::string& idVal);  // ancestors, "0"
  std::string GetDESC(const std::string& indivId, const std::string& idVal);  // descendants, "0"
  int16_t GetFamily(const std::string& indivId, const std::string& idVal);    // close family, 0

  // ---- Event source (the connection point of __WinnowGEDCOM) ----
  // Attaches a sink (not owned; detach it before destroying it); returns a
  // cookie for Unadvise. Several sinks may be attached; each gets every event.
  uint32_t Advise(WinnowGEDCOMEvents* sink);
  void Unadvise(uint32_t cookie);

  // ---- State the object holds, read-only for hosts ----
  int32_t Status() const;                 // last progress code (0 before any method)
  const std::string& CharSet() const;     // character set name of the analysed file
  // Character set of the bytes kept in gedcomString: "UTF-8" for a UTF-8 or
  // UTF-16 file (UTF-16 is kept as UTF-8), otherwise CharSet. Extract headers
  // name it.
  const std::string& RecordTextCharSet() const;
  const std::vector<std::string>& LastNames() const;  // index = last-name identifier
  const std::vector<std::string>& Places() const;     // index = place identifier; 0 is "-"
  int32_t ExtractedIndividuals() const;
  int32_t ExtractedFamilies() const;
  int16_t ExtractMinYear() const;
  int16_t ExtractMaxYear() const;
  // Slots of Individuals and Marriages (grow in steps of 50 beyond the count).
  int32_t IndividualsCapacity() const;
  int32_t MarriagesCapacity() const;

  // AnalyzeGedcom over bytes already in memory (same rules, no file).
  void AnalyzeGedcomData(std::string_view data, bool withGedcomString);

  struct Impl;

 private:
  std::unique_ptr<Impl> impl_;
};

// Installs, for the calling thread, the callback the library runs where it
// processes "the thread's pending window messages" (Qt hosts pass one that
// calls QCoreApplication::processEvents); nullptr removes it. The same
// callback as the platform's kt::SetProcessMessagesCallback.
WINNOW_EXPORT void SetProcessMessagesCallback(void (*callback)(void* context), void* context = nullptr);

// The calling thread's output settings, for hosts and tools that show them.
WINNOW_EXPORT std::string OutputFileName();
WINNOW_EXPORT int16_t CharEncoding();

}  // namespace kt::winnow
