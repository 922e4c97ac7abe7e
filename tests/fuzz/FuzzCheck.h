// Property checks for the fuzz targets: a failed check aborts, so libFuzzer
// saves the input and the replay test fails, whatever NDEBUG says.
#ifndef TETHRA_TESTS_FUZZ_FUZZCHECK_H
#define TETHRA_TESTS_FUZZ_FUZZCHECK_H

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

[[noreturn]] inline void FuzzCheckFailed(const char* condition, const char* file, int line)
{
    std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, condition);
    std::abort();
}

#define FUZZ_CHECK(condition) ((condition) ? (void)0 : FuzzCheckFailed(#condition, __FILE__, __LINE__))

// The input as the C string a Windows function would hand over: up to the first NUL.
inline std::string FuzzCString(const uint8_t* data, size_t size)
{
    std::string bytes(reinterpret_cast<const char*>(data), size);
    return std::string(bytes.c_str());
}

inline bool FuzzIsBlankOrControl(char c)
{
    unsigned char u = static_cast<unsigned char>(c);
    return u >= 1 && u <= 32;
}

inline bool FuzzStartsWith(const std::string& s, const std::string& prefix)
{
    return s.compare(0, prefix.size(), prefix) == 0;
}

inline bool FuzzEndsWith(const std::string& s, const std::string& suffix)
{
    return s.size() >= suffix.size() && s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

#endif
