// The few C++ runtime pieces the program supplies itself, linked into
// Tethra.exe only. The program is built without exceptions, so a failed
// allocation or a library precondition (a string grown past max_size) can
// only end the process. Doing that here keeps the library's exception and
// diagnostic machinery out of the executable: its throw paths bring the
// unwinder, the old copy-on-write string and random_device, and its
// default terminate handler brings a 46 KB symbol demangler.
#include <cstdlib>
#include <exception>
#include <new>

#include <bits/functexcept.h>

void* operator new(std::size_t size)
{
    void* block = std::malloc(size != 0 ? size : 1);
    if (block == nullptr)
        std::abort();
    return block;
}

void* operator new[](std::size_t size)
{
    return operator new(size);
}

void operator delete(void* block) noexcept
{
    std::free(block);
}

void operator delete[](void* block) noexcept
{
    std::free(block);
}

void operator delete(void* block, std::size_t) noexcept
{
    std::free(block);
}

void operator delete[](void* block, std::size_t) noexcept
{
    std::free(block);
}

// Called for a pure virtual function reached during construction or
// destruction; the library's version goes through the terminate handler.
extern "C" void __cxa_pure_virtual()
{
    std::abort();
}

// The handler std::terminate calls. Defining it here replaces the library's
// default, the verbose handler that demangles the active exception's type.
namespace __cxxabiv1 {
extern std::terminate_handler __terminate_handler;
std::terminate_handler __terminate_handler = std::abort;
}  // namespace __cxxabiv1

// The throw functions the standard containers, std::string and
// std::function call on misuse or exhaustion.
namespace std {
void __throw_bad_alloc() { abort(); }
void __throw_bad_array_new_length() { abort(); }
void __throw_bad_function_call() { abort(); }
void __throw_length_error(const char*) { abort(); }
void __throw_logic_error(const char*) { abort(); }
void __throw_out_of_range(const char*) { abort(); }
void __throw_out_of_range_fmt(const char*, ...) { abort(); }
void __throw_invalid_argument(const char*) { abort(); }
}  // namespace std
