#pragma once
// Makes one chosen allocation of this test program fail, as a full address space would.

#include <cstddef>

namespace quillet::testing {

// From now on, the nth allocation (1 for the next) throws std::bad_alloc.
void FailAllocation(long nth);
// No allocation fails any more.
void StopFailingAllocations();
// Whether the chosen allocation has come and failed since the last FailAllocation.
bool AllocationFailed();

} // namespace quillet::testing
