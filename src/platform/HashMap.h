// HashMap: the chained hash map with insertion-ordered keys used throughout the system.
//
// Keys are either text (std::string, compared by content and hashed by sampling 32 of their
// bytes) or pointers (compared and hashed by address). keys() lists them in first-insertion
// order. The bucket policy is observable through bucketCount(): a new map has 65 buckets and
// grows to 2n+1 buckets when the count reaches 75 % of n; it shrinks to (n-1)/2 after removals
// leave it sparse. forEach() walks the buckets from the last to the first.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "platform/PtrVector.h"

namespace platform {

// The text-key hash: 32 samples at index (k * n) / 32 for k = 1..32, where n is the length
// (at most 65535) and index n is the terminating zero; h = h * 31 + sample in 32-bit arithmetic.
// Text is UTF-8, so the samples are bytes; for ASCII keys this is the character hash.
inline int32_t textHash(std::string_view key) {
  uint32_t n = key.size() > 65535 ? 65535 : static_cast<uint32_t>(key.size());
  uint32_t h = 0;
  for (uint32_t k = 1; k <= 32; ++k) {
    uint32_t index = (k * n) / 32;
    uint32_t c = index < key.size() ? static_cast<unsigned char>(key[index]) : 0;
    h = h * 31 + c;
  }
  return static_cast<int32_t>(h);
}

template <class K>
struct MapKeyTraits;

template <>
struct MapKeyTraits<std::string> {
  static int32_t hash(const std::string& key) { return textHash(key); }
  static bool isNull(const std::string&) { return false; }
};

template <class P>
struct MapKeyTraits<P*> {
  static int32_t hash(P* key) {
    return static_cast<int32_t>(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(key)));
  }
  static bool isNull(P* key) { return key == nullptr; }
};

template <class K, class V>
class HashMap {
 public:
  static constexpr int kInitialBuckets = 65;

  HashMap() { resetBuckets(kInitialBuckets); }
  HashMap(const HashMap&) = delete;
  HashMap& operator=(const HashMap&) = delete;
  HashMap(HashMap&&) noexcept = default;
  HashMap& operator=(HashMap&&) noexcept = default;

  // Stores `value` under `key`. Returns the value it replaces, or nothing for a new key (which is
  // appended to keys()). A null pointer key is ignored.
  std::optional<V> put(const K& key, V value) {
    if (MapKeyTraits<K>::isNull(key)) return std::nullopt;
    int32_t h = MapKeyTraits<K>::hash(key);
    if (Node* node = find(key, h)) {
      std::optional<V> old(std::move(node->value));
      node->value = std::move(value);
      return old;
    }
    if (count_ >= threshold_) rehash(2 * bucketCount() + 1);
    auto& head = buckets_[bucketOf(h)];
    head = std::make_unique<Node>(Node{h, key, std::move(value), std::move(head)});
    ++count_;
    order_.append(key);
    return std::nullopt;
  }

  // The value stored under `key`, or null.
  V* get(const K& key) {
    if (MapKeyTraits<K>::isNull(key)) return nullptr;
    Node* node = find(key, MapKeyTraits<K>::hash(key));
    return node ? &node->value : nullptr;
  }
  const V* get(const K& key) const { return const_cast<HashMap*>(this)->get(key); }
  bool contains(const K& key) const { return get(key) != nullptr; }

  // Removes `key`; returns its value, or nothing when absent.
  std::optional<V> remove(const K& key) {
    if (MapKeyTraits<K>::isNull(key)) return std::nullopt;
    int32_t h = MapKeyTraits<K>::hash(key);
    std::unique_ptr<Node>* link = &buckets_[bucketOf(h)];
    while (*link && !((*link)->hash == h && (*link)->key == key)) link = &(*link)->next;
    if (!*link) return std::nullopt;
    std::unique_ptr<Node> node = std::move(*link);
    *link = std::move(node->next);
    --count_;
    order_.remove(key);
    int n = bucketCount();
    if (count_ > 24 && static_cast<float>(count_) < static_cast<float>((n - 1) / 2) * kLoadFactor)
      rehash((n - 1) / 2);
    return std::optional<V>(std::move(node->value));
  }

  // The keys in first-insertion order, removals closed up.
  const PtrVector<K>& keys() const { return order_; }

  // Visits buckets from the last to the first, each chain from its head. `visit(key, value)`
  // returning false skips the rest of that bucket's chain.
  template <class Visitor>
  void forEach(Visitor&& visit) {
    for (int b = bucketCount() - 1; b >= 0; --b)
      for (Node* node = buckets_[b].get(); node; node = node->next.get())
        if (!visit(static_cast<const K&>(node->key), node->value)) break;
  }

  // Drops every entry and returns to 65 buckets.
  void clear() {
    resetBuckets(kInitialBuckets);
    order_.clear();
    count_ = 0;
  }

  int count() const { return count_; }
  int bucketCount() const { return static_cast<int>(buckets_.size()); }

 private:
  static constexpr float kLoadFactor = 0.75f;

  struct Node {
    int32_t hash;
    K key;
    V value;
    std::unique_ptr<Node> next;
  };

  int bucketOf(int32_t h) const {
    // |h| mod n, taken in 64 bits so that the most negative hash has a magnitude too.
    return static_cast<int>(std::llabs(static_cast<long long>(h)) % bucketCount());
  }

  Node* find(const K& key, int32_t h) const {
    for (Node* node = buckets_[bucketOf(h)].get(); node; node = node->next.get())
      if (node->hash == h && node->key == key) return node;
    return nullptr;
  }

  void resetBuckets(int n) {
    buckets_.clear();
    buckets_.resize(static_cast<size_t>(n));
    threshold_ = static_cast<int>(n * kLoadFactor);
  }

  // Moves every node into a table of `n` buckets; nodes keep their relative chain order reversed,
  // as pushing each at the head of its new bucket does.
  void rehash(int n) {
    std::vector<std::unique_ptr<Node>> old = std::move(buckets_);
    resetBuckets(n);
    for (auto& head : old) {
      while (head) {
        std::unique_ptr<Node> node = std::move(head);
        head = std::move(node->next);
        auto& target = buckets_[bucketOf(node->hash)];
        node->next = std::move(target);
        target = std::move(node);
      }
    }
  }

  std::vector<std::unique_ptr<Node>> buckets_;
  PtrVector<K> order_;
  int count_ = 0;
  int threshold_ = 0;
};

}  // namespace platform
