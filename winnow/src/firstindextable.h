#pragma once
// Hash table from a text key to the lowest index of a list element carrying
// it. The table stores only indexes and hashes; the keys are read from the
// list through a callback, so it never holds a copy of a text.
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

namespace kt::winnow {

class FirstIndexTable {
 public:
  void Clear() {
    slots_.clear();
    used_ = 0;
  }

  void Reserve(size_t count) {
    size_t want = 16;
    while (want < count * 2) want *= 2;
    if (want > slots_.size()) Rehash(want);
  }

  // Lowest index recorded for key, or -1. keyOf(index) returns the element's
  // current key, or nullptr when the slot is empty.
  template <class KeyOf>
  int32_t Find(std::string_view key, KeyOf&& keyOf) const {
    if (slots_.empty()) return -1;
    const uint32_t hash = Hash(key);
    const size_t mask = slots_.size() - 1;
    for (size_t i = hash & mask;; i = (i + 1) & mask) {
      const Slot& slot = slots_[i];
      if (slot.index < 0) return -1;
      if (slot.hash == hash) {
        const std::string* current = keyOf(slot.index);
        if (current != nullptr && *current == key) return slot.index;
      }
    }
  }

  // Records index for key, keeping the lower index when the key is there.
  template <class KeyOf>
  void Insert(std::string_view key, int32_t index, KeyOf&& keyOf) {
    if ((used_ + 1) * 2 > slots_.size()) Rehash(slots_.empty() ? 16 : slots_.size() * 2);
    const uint32_t hash = Hash(key);
    const size_t mask = slots_.size() - 1;
    for (size_t i = hash & mask;; i = (i + 1) & mask) {
      Slot& slot = slots_[i];
      if (slot.index < 0) {
        slot = {hash, index};
        ++used_;
        return;
      }
      if (slot.hash == hash) {
        const std::string* current = keyOf(slot.index);
        if (current != nullptr && *current == key) {
          if (index < slot.index) slot.index = index;
          return;
        }
      }
    }
  }

 private:
  struct Slot {
    uint32_t hash;
    int32_t index;  // -1: free
  };

  static uint32_t Hash(std::string_view key) {
    // FNV-1a: identifiers are short, so a simple byte hash is fastest here.
    uint32_t h = 2166136261u;
    for (unsigned char c : key) h = (h ^ c) * 16777619u;
    return h;
  }

  void Rehash(size_t size) {
    std::vector<Slot> old = std::move(slots_);
    slots_.assign(size, Slot{0, -1});
    const size_t mask = size - 1;
    for (const Slot& s : old) {
      if (s.index < 0) continue;
      size_t i = s.hash & mask;
      while (slots_[i].index >= 0) i = (i + 1) & mask;
      slots_[i] = s;
    }
  }

  std::vector<Slot> slots_;
  size_t used_ = 0;
};

}  // namespace kt::winnow
