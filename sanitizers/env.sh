# Sanitizer settings shared by every sanitizer run; sourced by
# scripts/test-sanitizers, scripts/test-fuzz and scripts/reliability-report,
# each of which adds its own options after these.
#
# intercept_tls_get_addr=0: the sanitizer runtimes of GCC 12 and LLVM 14 take
# a thread-local block that a library loaded at run time (here one that comes
# with the JPEG reader) gets from the heap for a glibc 2.19 block with a
# header in front whenever its address is 16 bytes past a page boundary. They
# then read a start and size out of the heap words before it, and at exit
# LeakSanitizer's tracer scans that made-up range and dies ("Tracer caught
# signal 11", at a low address such as 0x1988) after every test has passed. Where
# the block lands depends only on how many small blocks were taken before it
# (fonts installed, paths, the environment), so one machine fails every time
# and another never. glibc stopped writing such headers in 2.25. With the
# interception off, the runtime no longer guesses; such blocks are ordinary
# heap blocks reached from the thread's own data, which is still scanned.
sanitizer_common="intercept_tls_get_addr=0"
export ASAN_OPTIONS="$sanitizer_common:detect_leaks=1:halt_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$root/sanitizers/lsan.supp:print_suppressions=0"
