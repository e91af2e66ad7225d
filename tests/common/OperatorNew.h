#pragma once
// Every global operator new and delete, replaced over malloc and free, for the programs that watch the
// heap: the benchmark counts allocations, the fault tests refuse them. A program that links
// OperatorNew.cpp defines AdmitAllocation.

// Called before each allocation, on the allocating thread; it must not allocate. False refuses it:
// operator new throws std::bad_alloc, the nothrow forms return null.
bool AdmitAllocation();
