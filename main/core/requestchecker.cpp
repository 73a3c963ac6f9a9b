#include "core/requestchecker.h"

void TRequestChecker::LoadFromXML(pugi::xml_node autoupdate) {
  SetEnabled(!FindChild(autoupdate, "disabled"));
  SetIntervalMinutes(GetChildInt(autoupdate, "interval", DefaultIntervalMinutes));
}

void TRequestChecker::SaveToXML(pugi::xml_node autoupdate) const {
  if (!Enabled()) autoupdate.append_child("disabled");
  SetChildInt(autoupdate, "interval", IntervalMinutes());
}
