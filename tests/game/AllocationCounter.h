// Counts the heap allocations made through operator new while a CountingAllocations is alive
// (the test program replaces the global operator new; see AllocationCounter.cpp).
#pragma once

#include <cstdint>

namespace game::testing {

class CountingAllocations {
 public:
  CountingAllocations();
  ~CountingAllocations();
  CountingAllocations(const CountingAllocations&) = delete;
  CountingAllocations& operator=(const CountingAllocations&) = delete;
  // Allocations since this object was made.
  std::int64_t count() const;

 private:
  std::int64_t start_;
};

}  // namespace game::testing
