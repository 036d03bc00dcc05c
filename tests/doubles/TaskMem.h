#pragma once
// Task memory that doubles hand out (media types, medium lists, page lists), tracked so a
// test can check that the code freed every block through platform::CoTaskMemFree.
#include "doubles/SeamOverride.h"
#include <cstddef>

namespace doubles {

// A task-allocated block that the watch in force (if any) tracks until it is freed.
void* TaskAlloc(size_t bytes);

// While alive, routes platform::CoTaskMemFree through the tracker.
class TaskMemWatch {
public:
    TaskMemWatch();
    ~TaskMemWatch();
    TaskMemWatch(const TaskMemWatch&) = delete;
    TaskMemWatch& operator=(const TaskMemWatch&) = delete;
    // Blocks handed out since the watch began and not freed yet.
    int Outstanding() const;
    // Frees of pointers that no double handed out (not counted as a fault by itself).
    int ForeignFrees() const;

private:
    SeamOverride<decltype(platform::CoTaskMemFree)> seam;
};

}  // namespace doubles
