// The C library functions the program and the standard library's string
// reach, in place of a C runtime DLL; linked into the executable only (the
// test programs use the runtime's). Compiled without link-time
// optimisation: the compiler emits calls to memcpy and memset as it
// generates code, after the link-time pass would have dropped them.
#include <windows.h>

#include <cstddef>

#include "fw/Fault.h"

extern "C" {

// The string instructions: short, and never turned back into a call to
// the function being defined.
__attribute__((used)) void* memcpy(void* destination, const void* source, size_t count)
{
    void* d = destination;
    asm volatile("rep movsb" : "+D"(d), "+S"(source), "+c"(count) : : "memory");
    return destination;
}

__attribute__((used)) void* memmove(void* destination, const void* source, size_t count)
{
    char* d = static_cast<char*>(destination);
    const char* s = static_cast<const char*>(source);
    if (d <= s || d >= s + count)
        return memcpy(destination, source, count);
    // The destination overlaps the source's end: copy from the last byte down.
    d += count - 1;
    s += count - 1;
    asm volatile("std\n\trep movsb\n\tcld" : "+D"(d), "+S"(s), "+c"(count) : : "memory");
    return destination;
}

__attribute__((used)) void* memset(void* destination, int value, size_t count)
{
    void* d = destination;
    asm volatile("rep stosb" : "+D"(d), "+c"(count) : "a"(value) : "memory");
    return destination;
}

__attribute__((used)) int memcmp(const void* a, const void* b, size_t count)
{
    const unsigned char* p = static_cast<const unsigned char*>(a);
    const unsigned char* q = static_cast<const unsigned char*>(b);
    for (; count != 0; --count, ++p, ++q) {
        if (*p != *q)
            return *p - *q;
    }
    return 0;
}

__attribute__((used)) void* memchr(const void* block, int value, size_t count)
{
    const unsigned char* p = static_cast<const unsigned char*>(block);
    for (; count != 0; --count, ++p) {
        if (*p == static_cast<unsigned char>(value))
            return const_cast<unsigned char*>(p);
    }
    return nullptr;
}

__attribute__((used)) size_t strlen(const char* text)
{
    const char* end = text;
    while (*end != '\0')
        ++end;
    return static_cast<size_t>(end - text);
}

__attribute__((used)) char* strchr(const char* text, int value)
{
    for (;; ++text) {
        if (*text == static_cast<char>(value))
            return const_cast<char*>(text);
        if (*text == '\0')
            return nullptr;
    }
}

__attribute__((used)) int strncmp(const char* a, const char* b, size_t count)
{
    for (; count != 0; --count, ++a, ++b) {
        unsigned char p = static_cast<unsigned char>(*a);
        unsigned char q = static_cast<unsigned char>(*b);
        if (p != q || p == '\0')
            return p - q;
    }
    return 0;
}

__attribute__((used)) int strcmp(const char* a, const char* b)
{
    return strncmp(a, b, static_cast<size_t>(-1));
}

__attribute__((used)) char* strcpy(char* destination, const char* source)
{
    return static_cast<char*>(memcpy(destination, source, strlen(source) + 1));
}

// The process heap: the same on every Windows, and freed with the process.
__attribute__((used)) void* malloc(size_t size)
{
    return ::HeapAlloc(::GetProcessHeap(), 0, size);
}

__attribute__((used)) void free(void* block)
{
    if (block != nullptr)
        ::HeapFree(::GetProcessHeap(), 0, block);
}

// Reached only through the library's failed preconditions and exhausted
// memory; 3 is the runtime's exit code for it.
__attribute__((used, noreturn)) void abort()
{
    AfxEndOnFault(3);
}

}  // extern "C"
