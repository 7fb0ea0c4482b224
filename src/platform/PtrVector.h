// PtrVector: the growable vector used throughout the system.
//
// It holds elements by value (in practice pointers it does not own) and keeps the system's
// growth policy: a full vector grows to (capacity + 1) * 2 (0 -> 2 -> 6 -> 14 -> 30 ...,
// 32 -> 66 ...), and removing from a vector that is less than about half full shrinks its
// storage to the old element count. The policy is visible through capacity().
#pragma once

#include <cstddef>
#include <memory>
#include <utility>

namespace platform {

template <class T>
class PtrVector {
 public:
  explicit PtrVector(int initialCapacity = 0)
      : capacity_(initialCapacity > 0 ? initialCapacity : 0), initialCapacity_(capacity_) {
    if (capacity_ > 0) items_ = std::make_unique<T[]>(static_cast<size_t>(capacity_));
  }

  PtrVector(const PtrVector& other) { *this = other; }
  PtrVector& operator=(const PtrVector& other) {
    if (this == &other) return *this;
    items_ =
        other.capacity_ > 0 ? std::make_unique<T[]>(static_cast<size_t>(other.capacity_)) : nullptr;
    for (int i = 0; i < other.count_; ++i) items_[i] = other.items_[i];
    count_ = other.count_;
    capacity_ = other.capacity_;
    initialCapacity_ = other.initialCapacity_;
    return *this;
  }
  PtrVector(PtrVector&& other) noexcept { swap(other); }
  PtrVector& operator=(PtrVector&& other) noexcept {
    swap(other);
    return *this;
  }

  // Appends `item`; returns the new count.
  int append(T item) {
    if (count_ == capacity_) reallocate((capacity_ + kGrowAdd) * kGrowMul);
    items_[count_++] = std::move(item);
    return count_;
  }

  // Removes the element at `index`; an index outside 0..count-1 is ignored.
  void removeAt(int index) {
    if (index < 0 || index >= count_) return;
    if (count_ > capacity_ / kGrowMul - kGrowAdd) {
      for (int i = index; i + 1 < count_; ++i) items_[i] = std::move(items_[i + 1]);
      items_[--count_] = T();
      return;
    }
    // Less than about half full: shrink the storage to the old count.
    auto fresh = std::make_unique<T[]>(static_cast<size_t>(count_));
    for (int i = 0, j = 0; i < count_; ++i)
      if (i != index) fresh[j++] = std::move(items_[i]);
    items_ = std::move(fresh);
    capacity_ = count_;
    --count_;
  }

  // Removes the first element equal to `item`, if any.
  void remove(const T& item) { removeAt(indexOf(item)); }

  int indexOf(const T& item) const {
    for (int i = 0; i < count_; ++i)
      if (items_[i] == item) return i;
    return -1;
  }
  bool contains(const T& item) const { return indexOf(item) >= 0; }

  // Empties the vector; storage beyond the initial capacity is given back.
  void clear() {
    if (capacity_ > initialCapacity_) {
      items_ = initialCapacity_ > 0 ? std::make_unique<T[]>(static_cast<size_t>(initialCapacity_))
                                    : nullptr;
      capacity_ = initialCapacity_;
    } else {
      for (int i = 0; i < count_; ++i) items_[i] = T();
    }
    count_ = 0;
  }

  // No bounds check: callers check against count().
  T& at(int index) { return items_[index]; }
  const T& at(int index) const { return items_[index]; }
  T& operator[](int index) { return items_[index]; }
  const T& operator[](int index) const { return items_[index]; }

  int count() const { return count_; }
  int capacity() const { return capacity_; }
  bool empty() const { return count_ == 0; }

  T* begin() { return items_.get(); }
  T* end() { return items_.get() + count_; }
  const T* begin() const { return items_.get(); }
  const T* end() const { return items_.get() + count_; }

 private:
  static constexpr int kGrowAdd = 1;
  static constexpr int kGrowMul = 2;

  void reallocate(int capacity) {
    auto fresh = std::make_unique<T[]>(static_cast<size_t>(capacity));
    for (int i = 0; i < count_; ++i) fresh[i] = std::move(items_[i]);
    items_ = std::move(fresh);
    capacity_ = capacity;
  }

  void swap(PtrVector& other) noexcept {
    std::swap(items_, other.items_);
    std::swap(count_, other.count_);
    std::swap(capacity_, other.capacity_);
    std::swap(initialCapacity_, other.initialCapacity_);
  }

  std::unique_ptr<T[]> items_;
  int count_ = 0;
  int capacity_ = 0;
  int initialCapacity_ = 0;
};

}  // namespace platform
