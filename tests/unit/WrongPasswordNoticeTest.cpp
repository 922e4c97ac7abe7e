#include <gtest/gtest.h>

#include "lock/WrongPasswordNotice.h"

namespace {

std::string Format(const char* pattern, int count, const LocalDateTime& last, bool lastKnown, size_t size = 256)
{
    std::string out(size, 'X');
    FormatWrongPasswordNotice(pattern, count, last, lastKnown, &out[0], size);
    return out.c_str();
}

LocalDateTime At(int year, int month, int day, int hour, int minute, int second)
{
    LocalDateTime t;
    t.year = year;
    t.month = month;
    t.day = day;
    t.hour = hour;
    t.minute = minute;
    t.second = second;
    return t;
}

TEST(WrongPasswordNotice, CountAndLocalDateTimeTakeTheirPlaces)
{
    LocalDateTime last = At(2026, 3, 5, 14, 7, 9);
    EXPECT_EQ(Format("%1 wrong, last at %2.", 3, last, true), "3 wrong, last at 2026-03-05 14:07:09.");
    // Either order, either placeholder repeated, texts in other languages.
    EXPECT_EQ(Format("%2 / %1 / %1", 12, At(1999, 12, 31, 0, 0, 0), true),
              "1999-12-31 00:00:00 / 12 / 12");
    EXPECT_EQ(Format("\xB4\xED\xCE\xF3 %1", 2, last, true), "\xB4\xED\xCE\xF3 2");
    EXPECT_EQ(Format("%2", 1, At(2038, 1, 19, 3, 14, 7), true), "2038-01-19 03:14:07");
}

TEST(WrongPasswordNotice, OtherPercentSignsAndAnUnknownTime)
{
    LocalDateTime last = At(2026, 3, 5, 14, 7, 9);
    EXPECT_EQ(Format("100%% %3 %d %", 1, last, true), "100% %3 %d %");
    EXPECT_EQ(Format("%1 at %2", 4, last, false), "4 at ?");
    EXPECT_EQ(Format("", 4, last, true), "");
}

TEST(WrongPasswordNotice, ALongTextIsCutToTheBuffer)
{
    LocalDateTime last = At(2026, 3, 5, 14, 7, 9);
    EXPECT_EQ(Format("%1 at %2", 1234567890, last, true, 8), "1234567");
    EXPECT_EQ(Format("%1 at %2", 3, last, true, 12), "3 at 2026-0");
    EXPECT_EQ(Format("abc", 3, last, true, 1), "");
}

}  // namespace
