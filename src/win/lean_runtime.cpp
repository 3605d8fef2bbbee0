// The Windows build runs without C++ exceptions. These replace the library's
// throwing helpers and allocation operators so that none of the exception
// runtime is linked: running out of memory or breaking a container's bounds
// ends the program at once instead of unwinding.
#include <cstdlib>
#include <new>

namespace std {
void __throw_length_error(const char*) { abort(); }
void __throw_logic_error(const char*) { abort(); }
void __throw_out_of_range(const char*) { abort(); }
void __throw_out_of_range_fmt(const char*, ...) { abort(); }
void __throw_invalid_argument(const char*) { abort(); }
void __throw_bad_alloc() { abort(); }
void __throw_bad_array_new_length() { abort(); }
void __throw_bad_function_call() { abort(); }
}  // namespace std

void* operator new(std::size_t size) {
    void* block = std::malloc(size ? size : 1);
    if (!block) std::abort();
    return block;
}
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }
