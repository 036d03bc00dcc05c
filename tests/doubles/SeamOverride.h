#pragma once
// Replaces one platform operation for the life of a scope and puts the real one back.
#include "platform/Seam.h"

template <class Fn>
class SeamOverride {
public:
    SeamOverride(Fn& slot, Fn replacement) : slot(slot), saved(slot) { slot = replacement; }
    ~SeamOverride() { slot = saved; }
    SeamOverride(const SeamOverride&) = delete;
    SeamOverride& operator=(const SeamOverride&) = delete;

private:
    Fn& slot;
    Fn saved;
};
