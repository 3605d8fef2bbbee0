// The Windows build runs without C++ exceptions and without a C runtime DLL.
// These replace the library's throwing helpers and allocation operators so
// that none of the exception runtime is linked, and take memory from the
// process heap: running out of memory or breaking a container's bounds ends
// the program at once instead of unwinding.
#include <windows.h>

#include <cstddef>
#include <new>

namespace {
// The exit code of a program that ended on a fault it cannot go on from.
constexpr UINT kFaultExitCode = 3;

[[noreturn]] void StopOnFault() { ExitProcess(kFaultExitCode); }
}  // namespace

namespace std {
void __throw_length_error(const char*) { StopOnFault(); }
void __throw_logic_error(const char*) { StopOnFault(); }
void __throw_out_of_range(const char*) { StopOnFault(); }
void __throw_out_of_range_fmt(const char*, ...) { StopOnFault(); }
void __throw_invalid_argument(const char*) { StopOnFault(); }
void __throw_bad_alloc() { StopOnFault(); }
void __throw_bad_array_new_length() { StopOnFault(); }
void __throw_bad_function_call() { StopOnFault(); }
}  // namespace std

void* operator new(std::size_t size) {
    void* block = HeapAlloc(GetProcessHeap(), 0, size ? size : 1);
    if (!block) StopOnFault();
    return block;
}
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete(void* block) noexcept {
    if (block) HeapFree(GetProcessHeap(), 0, block);
}
void operator delete[](void* block) noexcept { operator delete(block); }
void operator delete(void* block, std::size_t) noexcept { operator delete(block); }
void operator delete[](void* block, std::size_t) noexcept { operator delete(block); }
