// The program's heap: global new and delete straight over the C heap. The library's own
// new reports exhaustion by throwing, which would bring the whole exception runtime into
// programs that throw nothing. Plain new cannot report a failure without throwing, so it
// ends the process as an uncaught bad_alloc would; the program's own allocations use the
// nothrow forms and handle a null result.
#include <cstdlib>
#include <new>

namespace {
void* Allocate(std::size_t size) { return std::malloc(size ? size : 1); }
}  // namespace

void* operator new(std::size_t size) {
    void* block = Allocate(size);
    if (!block) std::abort();
    return block;
}
void* operator new[](std::size_t size) { return ::operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }

void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { std::free(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { std::free(block); }
