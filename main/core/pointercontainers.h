#pragma once
// The client's owning containers of object pointers: whatever they still hold
// is deleted when it is erased through them, when they are cleared and when
// they are destroyed.
#include <iterator>
#include <list>
#include <memory>
#include <vector>

template <typename T>
class pointervector {
 public:
  size_t size() const { return Items.size(); }
  bool empty() const { return Items.empty(); }
  T& at(size_t index) const { return *Items.at(index); }
  T& operator[](size_t index) const { return *Items[index]; }
  void push_back(std::unique_ptr<T> item) { Items.push_back(std::move(item)); }
  void erase(size_t index) { Items.erase(Items.begin() + static_cast<std::ptrdiff_t>(index)); }
  void clear() { Items.clear(); }

 private:
  std::vector<std::unique_ptr<T>> Items;
};

template <typename T>
class pointerlist {
 public:
  using container = std::list<std::unique_ptr<T>>;
  size_t size() const { return Items.size(); }
  bool empty() const { return Items.empty(); }
  T& push_back(std::unique_ptr<T> item) { return *Items.emplace_back(std::move(item)); }
  // Erases and deletes `item` (found by identity); nothing when absent.
  void erase(const T* item) {
    Items.remove_if([item](const std::unique_ptr<T>& held) { return held.get() == item; });
  }
  void clear() { Items.clear(); }
  typename container::const_iterator begin() const { return Items.begin(); }
  typename container::const_iterator end() const { return Items.end(); }

 private:
  container Items;
};
