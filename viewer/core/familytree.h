#pragma once
// The small family tree around the primary individual: parents and
// grandparents by Sosa number, the unions with one spouse shown at a time and
// their children six at a time. Every move rebuilds it from the raw records.
#include <QString>
#include <array>
#include <cstdint>

#include "viewerdocument.h"

namespace ktviewer {

inline constexpr int kAncestorSlots = 8;   // Sosa 1..8; Sosa 8 is computed, not shown
inline constexpr int kShownAncestors = 7;  // primary, parents, grandparents
inline constexpr int kMaxUnions = 51;
inline constexpr int kMaxChildren = 201;
inline constexpr int kChildPlaces = 6;

struct UnionRecord {
  int32_t marriageIndex = -1;
  int32_t spouseIndex = -1;
};

struct ChildRecord {
  int32_t childIndex = -1;
  int32_t unionIndex = -1;
  int32_t fatherIndex = -1;
  int32_t motherIndex = -1;
};

// What a tree command did: the window shows MsgLoadFileFirst for NoFileLoaded.
enum class TreeResult { Done, Ignored, NoFileLoaded };

class FamilyTree {
 public:
  explicit FamilyTree(const ViewerDocument& document);

  // Makes `indiv` primary and rebuilds the tree; -1 or an index outside the
  // loaded file does nothing.
  TreeResult SetInfos(int32_t indiv);

  // The moves bound to the boxes: ancestor k (1..6), the spouse, child box b.
  TreeResult MoveToAncestor(int k);
  TreeResult MoveToSpouse();
  TreeResult MoveToChild(int box);
  TreeResult MoveToFirstIndividual();

  // Union navigator and child paging.
  TreeResult PreviousUnion();
  TreeResult NextUnion();
  TreeResult OtherChildren();

  // Forgets the tree (no file loaded, or after a failed load).
  void Reset();

  // Summary text of an individual for a box: four lines, each ending in CR
  // LF (surname, given names, birth date - place, death date - place); empty
  // for -1.
  QString ShowIndividual(int32_t indiv) const;
  // "Union 2/3".
  QString UnionCounterText() const;

  // State read by the window.
  const std::array<int32_t, kAncestorSlots>& ascendants() const { return ascendants_; }
  int16_t numberOfUnions() const { return numberOfUnions_; }
  int32_t currentUnion() const { return currentUnion_; }
  const UnionRecord& unionAt(int position) const { return unions_[position]; }
  int16_t numberOfChildren() const { return numberOfChildren_; }
  const ChildRecord& childAt(int position) const { return children_[position]; }
  int16_t childrenOfUnion() const { return childrenOfUnion_; }
  int16_t firstChildShown() const { return firstChildShown_; }
  // Individual shown in child place b, or -1.
  int32_t shownChild(int box) const { return shownChildren_[box]; }
  // Number of child places filled on this page (a child whose pointer
  // matches nobody fills a place with an empty box).
  int childPlacesFilled() const { return childPlacesFilled_; }
  int32_t spouseShown() const;
  bool otherChildrenVisible() const { return childrenOfUnion_ >= 7; }
  bool unionInfoVisible() const { return currentUnion_ != -1; }
  bool unionNavigatorVisible() const { return numberOfUnions_ >= 2; }
  bool hasPrimary() const { return ascendants_[0] >= 0; }

  // Marriage index of the family named by the individual's first FAMC line.
  int32_t getParentFamily(int32_t indiv) const;

 private:
  void getASCEtree(int sosa, int32_t indi);
  void LoadUnions(int32_t indiv);
  TreeResult ShowChildren();
  TreeResult StepUnion(int delta);

  const ViewerDocument& document_;
  std::array<int32_t, kAncestorSlots> ascendants_;
  std::array<UnionRecord, kMaxUnions> unions_;
  int16_t numberOfUnions_ = 0;
  int32_t currentUnion_ = -1;
  std::array<ChildRecord, kMaxChildren> children_;
  int16_t numberOfChildren_ = 0;
  int16_t childrenOfUnion_ = 0;
  int16_t firstChildShown_ = 0;
  std::array<int32_t, kChildPlaces> shownChildren_;
  int childPlacesFilled_ = 0;
};

}  // namespace ktviewer
