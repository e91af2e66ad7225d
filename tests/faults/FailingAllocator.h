#pragma once
// Makes heap allocation fail on demand (through testkit/Heap.h). Only allocations made by the script
// while a failure is armed are counted; the test's own thread always gets its memory.
#include <cstdint>

namespace faults {

// False where the binary cannot replace operator new (a sanitizer runtime that brings its own).
bool CanFailAllocations();

// Counts from the next allocation on: the nth one (1 for the first) throws std::bad_alloc, and with
// everyAfter so does every later one (memory stays exhausted). nth 0 only counts.
void ArmAllocationFailure(std::uint64_t nth, bool everyAfter);
void DisarmAllocationFailure();
// Allocations asked for since arming, and whether one of them was refused.
std::uint64_t AllocationsSinceArmed();
bool AllocationRefused();

}  // namespace faults
