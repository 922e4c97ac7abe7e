#include "controls/MenuText.h"

namespace {

unsigned char Upper(unsigned char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<unsigned char>(c - 'a' + 'A') : c;
}

}  // namespace

void CopyMenuText(char* dst, size_t dstSize, const char* src, IsLeadByteFn isLeadByte)
{
    size_t used = 0;
    while (src[used] != '\0') {
        size_t width = isLeadByte(static_cast<unsigned char>(src[used])) ? 2 : 1;
        // A lead byte whose trail is missing ends the text.
        if (width == 2 && src[used + 1] == '\0')
            break;
        if (used + width >= dstSize)
            break;
        used += width;
    }
    for (size_t i = 0; i < used; ++i)
        dst[i] = src[i];
    dst[used] = '\0';
}

unsigned char MenuMnemonic(const char* text, IsLeadByteFn isLeadByte)
{
    for (const char* p = text; *p != '\0' && *p != '\t';) {
        auto c = static_cast<unsigned char>(*p);
        if (isLeadByte(c)) {
            if (p[1] == '\0')
                return 0;
            p += 2;
            continue;
        }
        if (c != '&') {
            ++p;
            continue;
        }
        auto next = static_cast<unsigned char>(p[1]);
        if (next == '&') {
            p += 2;
            continue;
        }
        if (next == '\0' || next == '\t' || isLeadByte(next))
            return 0;
        return Upper(next);
    }
    return 0;
}

MenuCharAnswer AnswerMenuChar(const char* const* texts, int count, unsigned key, int highlighted,
                              IsLeadByteFn isLeadByte)
{
    MenuCharAnswer answer = {-1, false};
    if (key == 0 || key > 0xFF || count <= 0)
        return answer;
    unsigned char wanted = Upper(static_cast<unsigned char>(key));
    int start = highlighted >= 0 && highlighted < count ? highlighted + 1 : 0;
    int matches = 0;
    for (int i = 0; i < count; ++i) {
        int position = (start + i) % count;
        if (texts[position] == nullptr || MenuMnemonic(texts[position], isLeadByte) != wanted)
            continue;
        if (matches++ == 0)
            answer.position = position;
    }
    answer.execute = matches == 1;
    return answer;
}
