#include "MemoryTuning.h"

#include <malloc.h>

namespace {

// Above this much free memory at the top of the heap glibc trims it back to the system.
constexpr int kTrimThreshold = 512 * 1024 * 1024;

bool TuneAllocator()
{
    // Blocks served by mmap are unmapped on free and come back as fresh pages, whose first
    // touch is what costs; from the heap they are reused as they are.
    mallopt(M_MMAP_MAX, 0);
    mallopt(M_TRIM_THRESHOLD, kTrimThreshold);
    return true;
}

}  // namespace

void KeepFreedMemoryForReuse()
{
    [[maybe_unused]] static const bool tuned = TuneAllocator();
}
