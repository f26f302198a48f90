// Counts every global operator new of the program that links
// allocation_counter.cpp (it replaces the global allocation functions), so
// tests and the frame profile can prove a frame touches no heap.
#pragma once

// Allocations made so far by the whole program.
long AllocationsSoFar();

// Heap allocations made while `work` runs.
template <typename F>
long CountAllocations(F&& work) {
    long before = AllocationsSoFar();
    work();
    return AllocationsSoFar() - before;
}
