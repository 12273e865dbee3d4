// Counts every allocation through operator new, so that the benchmark can show that the frames
// of a running program allocate nothing. The count is a plain integer: one thread draws. Under
// AddressSanitizer the sanitizer's own operator new stays in place and nothing is counted.
#include "allocations.h"

#include <cstdlib>
#include <new>

namespace qp::headless {
namespace {
unsigned long long allocations = 0;
}

bool AllocationsCounted()
{
#if defined(__SANITIZE_ADDRESS__)
    return false;
#else
    return true;
#endif
}

unsigned long long AllocationCount() { return allocations; }

}  // namespace qp::headless

#if !defined(__SANITIZE_ADDRESS__)

namespace {

void* Allocate(std::size_t size)
{
    ++qp::headless::allocations;
    // malloc(0) may give null; operator new must give a distinct pointer.
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}

}  // namespace

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    try {
        return Allocate(size);
    } catch (...) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept { return operator new(size, tag); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }

#endif
