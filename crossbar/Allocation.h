#pragma once
// Where the routing list gets its nodes and routes from; a test swaps these to make
// one allocation fail.
#include <cstddef>

namespace crossbar {

extern void* (*Allocate)(size_t bytes);
extern void (*Free)(void* block);

}  // namespace crossbar
