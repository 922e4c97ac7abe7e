#include "lock/WrongPasswordNotice.h"

namespace {

void AppendNumber(std::string* text, int value, int digits)
{
    std::string number = std::to_string(value);
    if (static_cast<int>(number.size()) < digits)
        text->append(digits - number.size(), '0');
    text->append(number);
}

void AppendDateTime(std::string* text, const LocalDateTime& t)
{
    AppendNumber(text, t.year, 4);
    *text += '-';
    AppendNumber(text, t.month, 2);
    *text += '-';
    AppendNumber(text, t.day, 2);
    *text += ' ';
    AppendNumber(text, t.hour, 2);
    *text += ':';
    AppendNumber(text, t.minute, 2);
    *text += ':';
    AppendNumber(text, t.second, 2);
}

}  // namespace

std::string FormatWrongPasswordNotice(const std::string& pattern, int count, const LocalDateTime& last,
                                      bool lastKnown)
{
    std::string text;
    for (size_t i = 0; i < pattern.size(); ++i) {
        char next = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
        if (pattern[i] != '%' || (next != '1' && next != '2' && next != '%')) {
            text += pattern[i];
            continue;
        }
        ++i;
        if (next == '1')
            AppendNumber(&text, count, 1);
        else if (next == '2' && lastKnown)
            AppendDateTime(&text, last);
        else if (next == '2')
            text += '?';
        else
            text += '%';
    }
    return text;
}
