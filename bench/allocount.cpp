#include "allocount.h"

#include <atomic>
#include <cstddef>

namespace {
std::atomic<long> allocations{0};
}

#ifdef DUDOVUVOV_COUNT_ALLOCATIONS
// glibc's own entry points; operator new ends in malloc as well.
extern "C" void *__libc_malloc(size_t size);
extern "C" void *__libc_calloc(size_t count, size_t size);
extern "C" void *__libc_realloc(void *pointer, size_t size);

extern "C" void *malloc(size_t size) noexcept
{
    allocations.fetch_add(1, std::memory_order_relaxed);
    return __libc_malloc(size);
}

extern "C" void *calloc(size_t count, size_t size) noexcept
{
    allocations.fetch_add(1, std::memory_order_relaxed);
    return __libc_calloc(count, size);
}

extern "C" void *realloc(void *pointer, size_t size) noexcept
{
    allocations.fetch_add(1, std::memory_order_relaxed);
    return __libc_realloc(pointer, size);
}
#endif

namespace allocount {

bool available()
{
#ifdef DUDOVUVOV_COUNT_ALLOCATIONS
    return true;
#else
    return false;
#endif
}

long count()
{
    return allocations.load(std::memory_order_relaxed);
}

} // namespace allocount
