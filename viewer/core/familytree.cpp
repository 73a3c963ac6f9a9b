#include "familytree.h"

#include "rawrecord.h"

namespace ktviewer {

namespace {

// Each line of `record` that starts with `tag`, by plain substring search, in
// order; `visit` gets the line (up to its CR LF or the end of the record).
template <typename Visit>
void ForEachTagLine(std::string_view record, std::string_view tag, Visit visit) {
  size_t found = record.find(tag);
  while (found != std::string_view::npos) {
    const std::string_view line = LineAt(record, found);
    if (!visit(line)) return;
    const size_t next = found + line.size();
    if (next >= record.size()) return;
    found = record.find(tag, next);
  }
}

}  // namespace

FamilyTree::FamilyTree(const ViewerDocument& document) : document_(document) {
  Reset();
}

void FamilyTree::Reset() {
  ascendants_.fill(-1);
  unions_.fill(UnionRecord{});
  children_.fill(ChildRecord{});
  numberOfUnions_ = 0;
  numberOfChildren_ = 0;
  currentUnion_ = -1;
  childrenOfUnion_ = 0;
  firstChildShown_ = 0;
  shownChildren_.fill(-1);
  childPlacesFilled_ = 0;
}

TreeResult FamilyTree::SetInfos(int32_t indiv) {
  if (document_.IndividualCount() == 0) return TreeResult::NoFileLoaded;
  if (indiv < 0 || indiv >= document_.IndividualCount()) return TreeResult::Ignored;
  ascendants_.fill(-1);
  getASCEtree(1, indiv);
  LoadUnions(indiv);
  firstChildShown_ = 0;
  ShowChildren();
  return TreeResult::Done;
}

void FamilyTree::getASCEtree(int sosa, int32_t indi) {
  if (indi < 0 || sosa > kAncestorSlots) return;
  ascendants_[sosa - 1] = indi;
  const int32_t family = getParentFamily(indi);
  if (family < 0) return;
  const MarriagePtr marriage = document_.Marriage(family);
  if (!marriage) return;
  getASCEtree(2 * sosa, document_.FindIndiv(marriage->husbandID));
  getASCEtree(2 * sosa + 1, document_.FindIndiv(marriage->WifeID));
}

int32_t FamilyTree::getParentFamily(int32_t indiv) const {
  const IndividualPtr individual = document_.Individual(indiv);
  if (!individual) return -1;
  const std::string_view record = individual->gedcomString;
  const size_t found = record.find("1 FAMC");
  if (found == std::string_view::npos) return -1;
  const int32_t family = document_.FindFam(getPointerFromGedcomLine(LineAt(record, found)));
  return family >= 0 ? family : -1;
}

void FamilyTree::LoadUnions(int32_t indiv) {
  unions_.fill(UnionRecord{});
  children_.fill(ChildRecord{});
  numberOfUnions_ = 0;
  numberOfChildren_ = 0;
  const IndividualPtr primary = document_.Individual(indiv);
  if (!primary) {
    currentUnion_ = -1;
    return;
  }
  // A FAMS line naming no family is dropped: there is nothing to show for it,
  // and fetching marriage -1 would read outside the library's list.
  ForEachTagLine(primary->gedcomString, "1 FAMS", [&](std::string_view line) {
    if (numberOfUnions_ >= kMaxUnions) return false;
    const int32_t marriage = document_.FindFam(getPointerFromGedcomLine(line));
    if (marriage >= 0) unions_[numberOfUnions_++].marriageIndex = marriage;
    return true;
  });
  currentUnion_ = numberOfUnions_ == 0 ? -1 : 0;

  const bool woman = primary->Sex != 0;
  const std::string_view spouseTag = woman ? "HUSB" : "WIFE";
  for (int u = 0; u < numberOfUnions_; ++u) {
    const MarriagePtr marriage = document_.Marriage(unions_[u].marriageIndex);
    if (!marriage) continue;
    const std::string_view record = marriage->gedcomString;
    unions_[u].spouseIndex =
        document_.FindIndiv(getPointerFromGedcomLine(getTagLines(record, spouseTag)));
    ForEachTagLine(record, "1 CHIL", [&](std::string_view line) {
      if (numberOfChildren_ >= kMaxChildren) return false;
      ChildRecord& child = children_[numberOfChildren_++];
      child.childIndex = document_.FindIndiv(getPointerFromGedcomLine(line));
      child.unionIndex = u;
      child.fatherIndex = woman ? unions_[u].spouseIndex : indiv;
      child.motherIndex = woman ? indiv : unions_[u].spouseIndex;
      return true;
    });
  }
}

TreeResult FamilyTree::ShowChildren() {
  if (document_.IndividualCount() == 0) return TreeResult::NoFileLoaded;
  shownChildren_.fill(-1);
  childrenOfUnion_ = 0;
  int& nextBox = childPlacesFilled_;
  nextBox = 0;
  for (int c = 0; c < numberOfChildren_; ++c) {
    if (children_[c].unionIndex != currentUnion_) continue;
    ++childrenOfUnion_;
    if (childrenOfUnion_ > firstChildShown_ && nextBox < kChildPlaces)
      shownChildren_[nextBox++] = children_[c].childIndex;
  }
  return TreeResult::Done;
}

int32_t FamilyTree::spouseShown() const {
  return currentUnion_ >= 0 ? unions_[currentUnion_].spouseIndex : -1;
}

QString FamilyTree::ShowIndividual(int32_t indiv) const {
  const IndividualPtr ind = indiv >= 0 ? document_.Individual(indiv) : nullptr;
  if (!ind) return {};
  const std::string_view record = ind->gedcomString;
  const QString lineEnd = QStringLiteral("\r\n");
  return u' ' + FromWinnowText(ind->Name) + lineEnd + FromWinnowText(ind->firstNames) + lineEnd +
         document_.RawText(getEventDate(record, 1, "BIRT")) + QStringLiteral(" - ") +
         ProperCase(FromWinnowText(ind->birthPlace)) + lineEnd +
         document_.RawText(getEventDate(record, 1, "DEAT")) + QStringLiteral(" - ") +
         ProperCase(FromWinnowText(ind->deathPlace)) + lineEnd;
}

QString FamilyTree::UnionCounterText() const {
  return QStringLiteral("Union ") + QString::number(currentUnion_ + 1) + u'/' +
         QString::number(numberOfUnions_);
}

TreeResult FamilyTree::MoveToAncestor(int k) {
  if (k < 1 || k >= kShownAncestors) return TreeResult::Ignored;
  if (ascendants_[k] < 0) return TreeResult::Ignored;
  return SetInfos(ascendants_[k]);
}

TreeResult FamilyTree::MoveToSpouse() {
  // With no union there is nobody to move; a loaded file makes the old
  // "load a file first" message meaningless, so nothing happens.
  if (document_.IndividualCount() == 0) return TreeResult::NoFileLoaded;
  const int32_t spouse = spouseShown();
  if (spouse < 0) return TreeResult::Ignored;
  return SetInfos(spouse);
}

TreeResult FamilyTree::MoveToChild(int box) {
  if (box < 0 || box >= kChildPlaces || shownChildren_[box] < 0) return TreeResult::Ignored;
  return SetInfos(shownChildren_[box]);
}

TreeResult FamilyTree::MoveToFirstIndividual() {
  if (document_.individualNumber() <= 0) return TreeResult::Ignored;
  return SetInfos(0);
}

TreeResult FamilyTree::StepUnion(int delta) {
  if (delta < 0 && currentUnion_ >= 1) --currentUnion_;
  if (delta > 0 && currentUnion_ < numberOfUnions_ - 1) ++currentUnion_;
  firstChildShown_ = 0;
  return ShowChildren();
}

TreeResult FamilyTree::PreviousUnion() {
  return StepUnion(-1);
}
TreeResult FamilyTree::NextUnion() {
  return StepUnion(+1);
}

TreeResult FamilyTree::OtherChildren() {
  firstChildShown_ = firstChildShown_ + 6 < childrenOfUnion_ ? firstChildShown_ + 6 : 0;
  return ShowChildren();
}

}  // namespace ktviewer
