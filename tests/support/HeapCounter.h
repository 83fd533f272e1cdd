// Counts the heap a program holds, at every allocation, for tests and benchmarks that bound what
// a piece of work takes: through the sanitizers' hooks in their builds, else by standing in for the
// C library's allocator, which libpng, libtiff and operator new all call. Include it in one source
// file of a program only.
#pragma once

#include <malloc.h>

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstdint>

namespace heapcounter {
inline std::atomic<int64_t> sHeld{0};
inline std::atomic<int64_t> sPeak{0};
inline void NoteAllocated(int64_t bytes)
{
    const int64_t held = sHeld += bytes;
    for (int64_t peak = sPeak; held > peak && !sPeak.compare_exchange_weak(peak, held);) {
    }
}
// Starts a new peak at what is held now, and answers that.
inline int64_t StartPeak()
{
    return sPeak = sHeld.load();
}
} // namespace heapcounter

#if !defined(__has_feature)
#define __has_feature(feature) 0
#endif
#if defined(__SANITIZE_ADDRESS__) || __has_feature(address_sanitizer)
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*)(const volatile void*, size_t),
                                                         void (*)(const volatile void*));
extern "C" size_t __sanitizer_get_allocated_size(const volatile void*);
static const int sHeapCounterHooks = __sanitizer_install_malloc_and_free_hooks(
    [](const volatile void*, size_t size) { heapcounter::NoteAllocated(int64_t(size)); },
    [](const volatile void* p) { heapcounter::sHeld -= int64_t(__sanitizer_get_allocated_size(p)); });
#else
extern "C" {
void* __libc_malloc(size_t);
void* __libc_calloc(size_t, size_t);
void* __libc_realloc(void*, size_t);
void* __libc_memalign(size_t, size_t);
void __libc_free(void*);

static void* counted(void* p)
{
    heapcounter::NoteAllocated(p != nullptr ? int64_t(malloc_usable_size(p)) : 0);
    return p;
}
void* malloc(size_t size) { return counted(__libc_malloc(size)); }
void* calloc(size_t count, size_t size) { return counted(__libc_calloc(count, size)); }
void* memalign(size_t alignment, size_t size) { return counted(__libc_memalign(alignment, size)); }
void* aligned_alloc(size_t alignment, size_t size) { return memalign(alignment, size); }
int posix_memalign(void** out, size_t alignment, size_t size)
{
    *out = memalign(alignment, size);
    return *out != nullptr || size == 0 ? 0 : 12; // ENOMEM
}
void free(void* p)
{
    heapcounter::sHeld -= p != nullptr ? int64_t(malloc_usable_size(p)) : 0;
    __libc_free(p);
}
void* realloc(void* p, size_t size)
{
    const int64_t before = p != nullptr ? int64_t(malloc_usable_size(p)) : 0;
    void* moved = __libc_realloc(p, size);
    if (moved != nullptr || size == 0) {
        heapcounter::sHeld -= before;
        counted(moved);
    }
    return moved;
}
}
#endif
