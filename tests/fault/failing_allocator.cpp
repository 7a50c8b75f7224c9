// Replaces the program's global allocation functions: plain malloc and free, with a countdown to
// the one allocation that fails.

#include "failing_allocator.h"

#include <cstdlib>
#include <new>

namespace quillet::testing {
namespace {

long countdown = 0; // allocations left until the failing one; 0 when none is chosen
bool failed = false;

} // namespace

void FailAllocation(long nth) {
    countdown = nth;
    failed = false;
}

void StopFailingAllocations() {
    countdown = 0;
}

bool AllocationFailed() {
    return failed;
}

namespace {

void* Allocate(std::size_t size) {
    if (countdown > 0 && --countdown == 0) {
        failed = true;
        throw std::bad_alloc();
    }
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}

} // namespace
} // namespace quillet::testing

void* operator new(std::size_t size) {
    return quillet::testing::Allocate(size);
}
void* operator new[](std::size_t size) {
    return quillet::testing::Allocate(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return quillet::testing::Allocate(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept {
    return operator new(size, tag);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}
