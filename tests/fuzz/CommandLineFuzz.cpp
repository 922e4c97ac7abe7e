// The command-line tail, the module base name and the ASCII comparison, on
// any bytes: each result is checked against what it must be, not just run.
#include <cstdint>
#include <cstring>
#include <string>

#include "FuzzCheck.h"
#include "fw/CommandLine.h"

namespace {

char FoldAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

char UpperAscii(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// Where the tail must start: after the quoted name (or the name up to the
// first blank or control character), then past every such character.
size_t ExpectedTailOffset(const std::string& line)
{
    size_t nameEnd;
    if (!line.empty() && line[0] == '"') {
        size_t close = line.find('"', 1);
        nameEnd = close == std::string::npos ? line.size() : close + 1;
    } else {
        nameEnd = 0;
        while (nameEnd < line.size() && !FuzzIsBlankOrControl(line[nameEnd]))
            ++nameEnd;
    }
    size_t tail = nameEnd;
    while (tail < line.size() && FuzzIsBlankOrControl(line[tail]))
        ++tail;
    return tail;
}

void CheckTail(const std::string& line)
{
    const char* start = line.c_str();
    const char* tail = CommandLineTail(start);
    uintptr_t offset = reinterpret_cast<uintptr_t>(tail) - reinterpret_cast<uintptr_t>(start);
    FUZZ_CHECK(offset <= line.size());
    FUZZ_CHECK(!FuzzIsBlankOrControl(*tail));
    FUZZ_CHECK(offset == ExpectedTailOffset(line));
}

void CheckBaseName(const std::string& path)
{
    std::string base = ModuleBaseName(path);
    FUZZ_CHECK(base.find_first_of("\\/:") == std::string::npos);
    size_t separator = path.find_last_of("\\/:");
    std::string name = separator == std::string::npos ? path : path.substr(separator + 1);
    FUZZ_CHECK(FuzzStartsWith(name, base));
    // What was cut is the extension: a dot and no other dot, or nothing when the name has none.
    std::string extension = name.substr(base.size());
    if (extension.empty())
        FUZZ_CHECK(name.find('.') == std::string::npos);
    else
        FUZZ_CHECK(extension[0] == '.' && extension.find('.', 1) == std::string::npos);
}

void CheckComparison(const std::string& a, const std::string& b)
{
    bool expected = a.size() == b.size();
    for (size_t i = 0; expected && i < a.size(); ++i)
        expected = FoldAscii(a[i]) == FoldAscii(b[i]);
    FUZZ_CHECK(EqualsIgnoreAsciiCase(a.c_str(), b.c_str()) == expected);
    FUZZ_CHECK(EqualsIgnoreAsciiCase(b.c_str(), a.c_str()) == expected);
    FUZZ_CHECK(EqualsIgnoreAsciiCase(a.c_str(), a.c_str()));
    std::string upper = a;
    for (char& c : upper)
        c = UpperAscii(c);
    FUZZ_CHECK(EqualsIgnoreAsciiCase(a.c_str(), upper.c_str()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string line = FuzzCString(data, size);
    CheckTail(line);
    CheckBaseName(line);
    // The bytes after the first NUL, up to the next, are the second string.
    size_t split = line.size() < size ? line.size() + 1 : size;
    CheckComparison(line, FuzzCString(data + split, size - split));
    CheckComparison(CommandLineTail(line.c_str()), "/protected");
    return 0;
}
