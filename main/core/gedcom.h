#pragma once
// A shared GEDCOM file as the configuration remembers it: its path, the
// server's identifier of its summary and the time of the last upload.
#include <memory>
#include <string>

#include "core/pointercontainers.h"
#include "core/xmlpersist.h"
#include "kintrail/platform/datetime.h"

class TGedcom : public TXMLLoadObject, public TXMLSaveObject {
 public:
  explicit TGedcom(std::string fileName);
  explicit TGedcom(pugi::xml_node element);

  std::string FileName;
  std::string CompressedSummary;  // not persisted
  int32_t GedcomId = 0;           // 0: not uploaded
  kt::DateTime UploadDate;
  int32_t IndividualCount = -1;
  int32_t FamilyCount = -1;

  // `filename`, `gedcomid` and, when uploaded, `uploaddate` in the user's
  // locale format; an unreadable date counts as never uploaded.
  void LoadFromXML(pugi::xml_node element) override;
  void SaveToXML(pugi::xml_node element) const override;
};

class TGedcoms : public pointerlist<TGedcom> {
 public:
  TGedcom* FindByGedcomId(int32_t id) const;
  void ForgetGedcomId(int32_t id);
};
