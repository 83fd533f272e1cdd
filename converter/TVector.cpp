// The allocation hooks and their defaults, the system allocator.
#include "TVector.h"

#include <cstdlib>

void* MAllocProc(size_t size)
{
    return std::malloc(size);
}

void MFreeProc(void* block)
{
    std::free(block);
}

MAllocHook MAlloc = MAllocProc;
MFreeHook MFree = MFreeProc;
