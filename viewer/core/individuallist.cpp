#include "individuallist.h"

#include "rawrecord.h"

namespace ktviewer {

int EffectiveLetterGroup(int requested, int32_t individualCount) {
  return requested == 0 && individualCount > kAllGroupLimit ? 1 : requested;
}

bool InLetterGroup(const QString& surname, int group, const QString& groupText) {
  if (group == 0) return true;
  const QChar first = surname.isEmpty() ? QChar(u'~') : surname.front();
  return groupText.contains(first, Qt::CaseSensitive);
}

QString ListEntryText(const kt::winnow::TCGedcomIndividual& individual) {
  return FromWinnowText(individual.Name) + u' ' +
         ProperCase(FromWinnowText(individual.firstNames)) +
         FormatLifeYears(individual.birthDate, individual.deathDate);
}

}  // namespace ktviewer
