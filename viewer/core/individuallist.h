#pragma once
// The entries of the individuals list: letter groups of surnames and the
// text of each entry.
#include <QString>
#include <cstdint>

#include "viewerdocument.h"

namespace ktviewer {

// Above this many individuals the "all" group is refused (group 1 instead).
inline constexpr int32_t kAllGroupLimit = 31000;

// The group the list opens for `requested` with `individualCount` individuals.
int EffectiveLetterGroup(int requested, int32_t individualCount);

// Whether a surname belongs to group `group` (0 is "all"): its first
// character, "~" for an empty surname, occurs in the group's text.
bool InLetterGroup(const QString& surname, int group, const QString& groupText);

// "SURNAME Given Names  ( o1850 +1920)".
QString ListEntryText(const kt::winnow::TCGedcomIndividual& individual);

}  // namespace ktviewer
