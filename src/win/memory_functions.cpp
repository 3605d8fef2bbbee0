// The memory and string functions that the compiler and the standard
// library's templates call, for binaries that link no C runtime. Built with
// -fno-tree-loop-distribute-patterns so that these loops do not become
// calls to themselves.
#include <stddef.h>

extern "C" {

void* memset(void* target, int value, size_t size) {
    unsigned char* p = static_cast<unsigned char*>(target);
    while (size--) *p++ = static_cast<unsigned char>(value);
    return target;
}

void* memcpy(void* target, const void* source, size_t size) {
    unsigned char* p = static_cast<unsigned char*>(target);
    const unsigned char* q = static_cast<const unsigned char*>(source);
    while (size--) *p++ = *q++;
    return target;
}

void* memmove(void* target, const void* source, size_t size) {
    unsigned char* p = static_cast<unsigned char*>(target);
    const unsigned char* q = static_cast<const unsigned char*>(source);
    if (p < q) {
        while (size--) *p++ = *q++;
    } else if (p > q) {
        while (size--) p[size] = q[size];
    }
    return target;
}

int memcmp(const void* left, const void* right, size_t size) {
    const unsigned char* p = static_cast<const unsigned char*>(left);
    const unsigned char* q = static_cast<const unsigned char*>(right);
    for (; size; --size, ++p, ++q) {
        if (*p != *q) return *p < *q ? -1 : 1;
    }
    return 0;
}

void* memchr(const void* block, int value, size_t size) {
    const unsigned char* p = static_cast<const unsigned char*>(block);
    for (; size; --size, ++p) {
        if (*p == static_cast<unsigned char>(value)) return const_cast<unsigned char*>(p);
    }
    return nullptr;
}

size_t strlen(const char* text) {
    const char* end = text;
    while (*end) ++end;
    return static_cast<size_t>(end - text);
}

char* strchr(const char* text, int character) {
    for (;; ++text) {
        if (*text == static_cast<char>(character)) return const_cast<char*>(text);
        if (!*text) return nullptr;
    }
}

char* strrchr(const char* text, int character) {
    const char* found = nullptr;
    do {
        if (*text == static_cast<char>(character)) found = text;
    } while (*text++);
    return const_cast<char*>(found);
}

}  // extern "C"
