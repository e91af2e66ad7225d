#pragma once
// Every operator new of the benchmark binary goes through a counting replacement.
#include <cstdint>

std::uint64_t AllocationCount();
