#include "crossbar/Allocation.h"
#include <cstdlib>

namespace crossbar {
namespace {
void* HeapAllocate(size_t bytes) { return std::malloc(bytes); }
void HeapFree(void* block) { std::free(block); }
}  // namespace

void* (*Allocate)(size_t bytes) = &HeapAllocate;
void (*Free)(void* block) = &HeapFree;

}  // namespace crossbar
