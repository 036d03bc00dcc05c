#include "doubles/TaskMem.h"
#include <algorithm>
#include <vector>

namespace doubles {
namespace {

struct Tracker {
    bool watching = false;
    std::vector<void*> outstanding;
    int foreignFrees = 0;
};

Tracker& State() {
    static Tracker t;
    return t;
}

void WINAPI TrackedFree(void* block) {
    auto& t = State();
    auto it = std::find(t.outstanding.begin(), t.outstanding.end(), block);
    if (it != t.outstanding.end())
        t.outstanding.erase(it);
    else if (block)
        ++t.foreignFrees;
    ::CoTaskMemFree(block);
}

}  // namespace

void* TaskAlloc(size_t bytes) {
    void* block = ::CoTaskMemAlloc(bytes);
    if (block && State().watching) State().outstanding.push_back(block);
    return block;
}

TaskMemWatch::TaskMemWatch() : seam(platform::CoTaskMemFree, &TrackedFree) {
    State() = Tracker{};
    State().watching = true;
}

TaskMemWatch::~TaskMemWatch() { State().watching = false; }

int TaskMemWatch::Outstanding() const { return static_cast<int>(State().outstanding.size()); }

int TaskMemWatch::ForeignFrees() const { return State().foreignFrees; }

}  // namespace doubles
