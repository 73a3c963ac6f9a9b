#pragma once
// Storage for the records of one kind: objects made in blocks that never
// move, so that reading a file costs no allocation and no reference count per
// record. A host's shared_ptr to one object shares its block, which outlives
// the store while the host holds it.
#include <cstddef>
#include <map>
#include <memory>
#include <utility>
#include <vector>

namespace kt::winnow {

template <class T>
class RecordStore {
 public:
  static constexpr size_t kBlockObjects = 4096;

  // A new object moved from `value`, valid until Clear() (or, once shared
  // or pinned, longer).
  T* New(T&& value) {
    if (current_ == nullptr || current_->size() == kBlockObjects) {
      auto block = std::make_shared<Block>();
      // Reserved, not constructed: pages of the block are touched only as
      // objects are made in them.
      block->reserve(kBlockObjects);
      current_ = block.get();
      blocks_.emplace(block->data(), std::move(block));
    }
    return &current_->emplace_back(std::move(value));
  }

  // A shared_ptr to an object of this store that keeps its block alive.
  std::shared_ptr<T> Share(T* object) const {
    if (object == nullptr) return nullptr;
    auto it = blocks_.upper_bound(object);
    if (it == blocks_.begin()) return nullptr;
    --it;
    return std::shared_ptr<T>(it->second, object);
  }

  void Clear() {
    if (pins_ > 0) {
      for (auto& entry : blocks_) retired_.push_back(std::move(entry.second));
    }
    blocks_.clear();
    current_ = nullptr;
  }

  // While pinned, Clear() keeps the objects until the last Unpin(): a walk
  // holding pointers to them may raise events in which a host empties the
  // model.
  void Pin() { ++pins_; }
  void Unpin() {
    if (--pins_ == 0) retired_.clear();
  }

 private:
  using Block = std::vector<T>;
  // Blocks by the address of their first object, to find an object's block.
  std::map<const T*, std::shared_ptr<Block>, std::less<>> blocks_;
  Block* current_ = nullptr;
  int pins_ = 0;
  std::vector<std::shared_ptr<Block>> retired_;
};

}  // namespace kt::winnow
