#include "fw/CommandLine.h"

namespace {

bool IsBlankOrControl(char c)
{
    unsigned char u = static_cast<unsigned char>(c);
    return u >= 1 && u <= 32;
}

char FoldAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

const char* CommandLineTail(const char* commandLine)
{
    const char* p = commandLine;
    if (*p == '"') {
        ++p;
        while (*p != '\0' && *p != '"')
            ++p;
        if (*p == '"')
            ++p;
    } else {
        while (*p != '\0' && !IsBlankOrControl(*p))
            ++p;
    }
    while (IsBlankOrControl(*p))
        ++p;
    return p;
}

std::string ModuleBaseName(const std::string& modulePath)
{
    std::string::size_type slash = modulePath.find_last_of("\\/:");
    std::string name = slash == std::string::npos ? modulePath : modulePath.substr(slash + 1);
    std::string::size_type dot = name.find_last_of('.');
    if (dot != std::string::npos)
        name.erase(dot);
    return name;
}

bool EqualsIgnoreAsciiCase(const char* a, const char* b)
{
    for (; *a != '\0' && *b != '\0'; ++a, ++b) {
        if (FoldAscii(*a) != FoldAscii(*b))
            return false;
    }
    return *a == *b;
}
