#pragma once

// Counts heap allocations (malloc, calloc, realloc) of the whole process, so
// that a benchmark can tell how many one operation makes.
namespace allocount {

// False where the counting allocator is not built in (sanitizer builds).
bool available();
long count();

} // namespace allocount
