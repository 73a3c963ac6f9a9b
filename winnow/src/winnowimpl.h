#pragma once
// State of a WinnowGEDCOM object behind its public properties, shared by the
// units that read, summarise and extract.
#include <cstdint>
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include <kintrail/winnow/winnowgedcom.h>

#include "firstindextable.h"
#include "recordstore.h"

namespace kt::winnow {

// A list of the object model: slots that grow in designed steps, the count
// kept by the owner (a public, host-writable property), and an index from Id
// to the lowest slot. The index is brought up to date by the lookups, so that
// reading a file does not pay for it. The objects live in the store.
template <class T>
struct RecordList {
  std::vector<T*> slots = std::vector<T*>(1);
  RecordStore<T> store;
  FirstIndexTable index;
  size_t indexedSlots = 0;  // slots below this are in the index
  bool indexStale = false;  // an indexed slot was overwritten: rebuild

  const std::string* IdAt(int32_t i) const {
    const auto& p = slots[static_cast<size_t>(i)];
    return p ? &p->Id : nullptr;
  }
  T* At(int32_t i, int32_t count) const {
    if (i < 0 || i >= count || static_cast<size_t>(i) >= slots.size()) return nullptr;
    return slots[static_cast<size_t>(i)];
  }
  std::shared_ptr<T> Share(int32_t i, int32_t count) const { return store.Share(At(i, count)); }
  // Slots visited by a loop from 0 to count - 1 (those beyond the list are empty).
  int32_t Bound(int32_t count) const {
    if (count <= 0) return 0;
    return static_cast<int32_t>(std::min<size_t>(static_cast<size_t>(count), slots.size()));
  }
  void Reset() {
    slots.clear();
    slots.shrink_to_fit();
    slots.resize(1);
    store.Clear();
    index.Clear();
    indexedSlots = 0;
    indexStale = false;
  }
  // Appends at index count with the designed growth (count + 51 slots when
  // the highest index is below the count); returns the new count.
  int32_t Append(T* item, int32_t count, int32_t growth) {
    if (count < 0) count = 0;
    const auto at = static_cast<size_t>(count);
    if (slots.size() - 1 < at) slots.resize(at + static_cast<size_t>(growth) + 1);
    T*& slot = slots[at];
    if (at < indexedSlots) {
      // Only when a host lowered the count: keep the index exact.
      if (slot) {
        indexStale = true;
      } else {
        slot = item;
        index.Insert(slot->Id, count, [this](int32_t i) { return IdAt(i); });
        return count + 1;
      }
    }
    slot = item;
    return count + 1;
  }
  int32_t Find(const std::string& id, int32_t count) {
    if (indexStale) {
      index.Clear();
      indexedSlots = 0;
      indexStale = false;
    }
    if (indexedSlots < slots.size()) {
      index.Reserve(slots.size());
      for (size_t i = indexedSlots; i < slots.size(); ++i)
        if (slots[i]) index.Insert(slots[i]->Id, static_cast<int32_t>(i), [this](int32_t k) { return IdAt(k); });
      indexedSlots = slots.size();
    }
    const int32_t found = index.Find(id, [this](int32_t i) { return IdAt(i); });
    return found >= 0 && found < count ? found : -1;
  }
};

// A table of distinct texts in order of first appearance.
struct TextTable {
  std::vector<std::string> entries;
  FirstIndexTable index;

  const std::string* At(int32_t i) const { return &entries[static_cast<size_t>(i)]; }
  int32_t Find(std::string_view text) const {
    return index.Find(text, [this](int32_t i) { return At(i); });
  }
  int32_t Add(std::string text) {
    const auto i = static_cast<int32_t>(entries.size());
    entries.push_back(std::move(text));
    index.Insert(entries.back(), i, [this](int32_t k) { return At(k); });
    return i;
  }
  void Reset() {
    entries.clear();
    entries.shrink_to_fit();
    index.Clear();
  }
};

// Processes the calling thread's pending messages `times` times; nothing to
// do (and no call) when the host installed no callback on this thread.
void PumpMessages(int times = 1);

struct WinnowGEDCOM::Impl {
  explicit Impl(WinnowGEDCOM& owner) : self(owner) {}

  WinnowGEDCOM& self;
  RecordList<TCGedcomIndividual> individuals;
  RecordList<TCGedcomMarriage> marriages;
  TextTable lastNames;
  TextTable places;
  int32_t status = 0;
  std::string charSet;
  std::string recordTextCharSet;
  int32_t extractedIndividuals = 0;
  int32_t extractedFamilies = 0;
  int16_t extractMinYear = 0;
  int16_t extractMaxYear = 0;
  // Where the last search of each kind stopped (-1 after a reset).
  int32_t indivSearchPosition = -1;
  int32_t famSearchPosition = -1;
  int32_t placeSearchPosition = -1;
  int32_t lastNameSearchPosition = -1;

  struct Sink {
    uint32_t cookie;
    WinnowGEDCOMEvents* events;
  };
  std::vector<Sink> sinks;
  uint32_t nextCookie = 1;

  void RaiseAddIndividual(int32_t number, int32_t statusCode);
  void RaiseAddMarriage(int32_t number, int32_t statusCode);

  void Clear();  // empties the model and both tables
  void AddIndividual(TCGedcomIndividual* individual);
  void AddMarriage(TCGedcomMarriage* marriage);
  int32_t FindIndiv(const std::string& id);
  int32_t FindFam(const std::string& id);
  int32_t FindLastName(const std::string& name);
  int32_t FindPlaceId(const std::string& name);
  int32_t RegisterPlace(const std::string& name);

};

// Keeps the model's records alive for a scope that holds pointers to them
// across events and pumped messages (see RecordStore::Pin).
class RecordsPinned {
 public:
  explicit RecordsPinned(WinnowGEDCOM::Impl& model) : model_(model) {
    model_.individuals.store.Pin();
    model_.marriages.store.Pin();
  }
  ~RecordsPinned() {
    model_.individuals.store.Unpin();
    model_.marriages.store.Unpin();
  }
  RecordsPinned(const RecordsPinned&) = delete;
  RecordsPinned& operator=(const RecordsPinned&) = delete;

 private:
  WinnowGEDCOM::Impl& model_;
};

}  // namespace kt::winnow
