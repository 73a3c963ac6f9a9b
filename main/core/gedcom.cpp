#include "core/gedcom.h"

#include "kintrail/platform_qt/qtdatetime.h"

TGedcom::TGedcom(std::string fileName) : FileName(std::move(fileName)) {}

TGedcom::TGedcom(pugi::xml_node element) {
  LoadFromXML(element);
}

void TGedcom::LoadFromXML(pugi::xml_node element) {
  FileName = GetChildText(element, "filename", "");
  GedcomId = GetChildInt(element, "gedcomid", 0);
  UploadDate = kt::DateTime();
  if (GedcomId == 0) return;
  const auto date = kt::ParseLocaleDateTime(kt::ToQString(GetChildText(element, "uploaddate", "")));
  if (date) {
    UploadDate = *date;
  } else {
    GedcomId = 0;
  }
}

void TGedcom::SaveToXML(pugi::xml_node element) const {
  SetChildText(element, "filename", FileName);
  SetChildInt(element, "gedcomid", GedcomId);
  if (GedcomId != 0)
    SetChildText(element, "uploaddate", kt::FromQString(kt::FormatLocaleDateTime(UploadDate)));
}

TGedcom* TGedcoms::FindByGedcomId(int32_t id) const {
  for (const auto& gedcom : *this)
    if (gedcom->GedcomId == id) return gedcom.get();
  return nullptr;
}

void TGedcoms::ForgetGedcomId(int32_t id) {
  if (TGedcom* gedcom = FindByGedcomId(id)) gedcom->GedcomId = 0;
}
