// The allocation counter of the benchmark: how many times operator new ran so far.
#pragma once

namespace qp::headless {

// False where the count is not kept (a sanitizer build, whose allocator must stay its own).
bool AllocationsCounted();
unsigned long long AllocationCount();

}  // namespace qp::headless
