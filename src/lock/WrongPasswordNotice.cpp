#include "lock/WrongPasswordNotice.h"

#include <cstring>

void FormatWrongPasswordNotice(const char* pattern, int count, const LocalDateTime& last, bool lastKnown, char* out,
                               size_t outSize)
{
    char number[12];
    char* first = number + sizeof number - 1;
    *first = '\0';
    unsigned value = static_cast<unsigned>(count);
    do {
        *--first = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);

    char when[] = "0000-00-00 00:00:00";
    if (lastKnown) {
        // Each part's digits fill its field from the right.
        const int parts[] = {last.year, last.month, last.day, last.hour, last.minute, last.second};
        const int ends[] = {4, 7, 10, 13, 16, 19};
        for (int i = 0; i < 6; ++i) {
            int part = parts[i];
            for (int at = ends[i] - 1; part > 0 && when[at] == '0'; --at) {
                when[at] = static_cast<char>('0' + part % 10);
                part /= 10;
            }
        }
    } else {
        std::strcpy(when, "?");
    }

    size_t length = 0;
    for (const char* p = pattern; *p != '\0'; ++p) {
        char single[2] = {*p, '\0'};
        const char* piece = single;
        if (*p == '%' && (p[1] == '1' || p[1] == '2' || p[1] == '%')) {
            ++p;
            if (*p == '1')
                piece = first;
            else if (*p == '2')
                piece = when;
        }
        for (; *piece != '\0'; ++piece) {
            if (length + 1 < outSize)
                out[length++] = *piece;
        }
    }
    out[length] = '\0';
}
