#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "controls/MenuRecordTable.h"
#include "controls/MenuText.h"

namespace {

// Code page 936 (GBK): lead bytes 0x81 to 0xFE.
bool GbkLead(unsigned char c)
{
    return c >= 0x81 && c != 0xFF;
}

bool NoLead(unsigned char)
{
    return false;
}

// GBK bytes of the tray menu's texts.
const char kShow[] = "\xCF\xD4\xCA\xBE(&S)...";             // 显示(&S)...
const char kLock[] = "\xCB\xF8\xB6\xA8(&L)";                // 锁定(&L)
const char kAbout[] = "\xB9\xD8\xD3\xDA Tethra(&A)...";     // 关于 Tethra(&A)...
const char kExit[] = "\xCD\xCB\xB3\xF6(&X)";                // 退出(&X)

TEST(MenuText, ShortTextsAreCopiedWhole)
{
    char record[128];
    CopyMenuText(record, sizeof record, kAbout, GbkLead);
    EXPECT_STREQ(record, kAbout);
    CopyMenuText(record, sizeof record, "", GbkLead);
    EXPECT_STREQ(record, "");
}

TEST(MenuText, LongTextsAreCutToTheRecordWithoutSplittingACharacter)
{
    // 255 bytes, what the menu can hand back, into a 128-byte record that
    // sits in a buffer with guard bytes either side.
    std::string ascii(255, 'a');
    char guarded[130];
    std::memset(guarded, '#', sizeof guarded);
    CopyMenuText(guarded + 1, 128, ascii.c_str(), GbkLead);
    EXPECT_EQ(std::strlen(guarded + 1), 127u);
    EXPECT_EQ(guarded[0], '#');
    EXPECT_EQ(guarded[129], '#');

    // 'x' then double-byte characters: the one that would straddle the
    // 127th byte is dropped whole.
    std::string mixed = "x";
    while (mixed.size() < 255)
        mixed += "\xCB\xF8";
    char record[128];
    CopyMenuText(record, sizeof record, mixed.c_str(), GbkLead);
    EXPECT_EQ(std::strlen(record), 127u);
    CopyMenuText(record, sizeof record, mixed.c_str() + 1, GbkLead);
    EXPECT_EQ(std::strlen(record), 126u);
    EXPECT_EQ(static_cast<unsigned char>(record[125]), 0xF8);

    // A lead byte with no trail is not copied.
    CopyMenuText(record, sizeof record, "ab\xCB", GbkLead);
    EXPECT_STREQ(record, "ab");
    // A one-byte destination holds only the terminator.
    CopyMenuText(record, 1, "abc", GbkLead);
    EXPECT_STREQ(record, "");
}

TEST(MenuText, MnemonicFollowsTheFirstSingleAmpersandBeforeTheTab)
{
    EXPECT_EQ(MenuMnemonic(kShow, GbkLead), 'S');
    EXPECT_EQ(MenuMnemonic(kExit, GbkLead), 'X');
    EXPECT_EQ(MenuMnemonic("e&xit", GbkLead), 'X');
    EXPECT_EQ(MenuMnemonic("Save && &quit", GbkLead), 'Q');
    EXPECT_EQ(MenuMnemonic("&&&&", GbkLead), 0);
    EXPECT_EQ(MenuMnemonic("trailing &", GbkLead), 0);
    EXPECT_EQ(MenuMnemonic("plain", GbkLead), 0);
    EXPECT_EQ(MenuMnemonic("Open\tCtrl+&O", GbkLead), 0);
    EXPECT_EQ(MenuMnemonic("&1 first", GbkLead), '1');
    // A double-byte mnemonic cannot be typed as one key.
    EXPECT_EQ(MenuMnemonic("&\xCB\xF8", GbkLead), 0);
}

TEST(MenuText, TrailBytesThatLookLikeAsciiAreNotMarkers)
{
    // 0x81 0x26: a lead byte whose trail is the '&' byte, then "A(&B)". Read
    // byte by byte it would give 'A'.
    EXPECT_EQ(MenuMnemonic("\x81&A(&B)", GbkLead), 'B');
    EXPECT_EQ(MenuMnemonic("\x81&A(&B)", NoLead), 'A');
    // 0x81 0x41 looks like "A"; the lead byte at the end has no trail.
    EXPECT_EQ(MenuMnemonic("\x81\x41", GbkLead), 0);
    EXPECT_EQ(MenuMnemonic("x\x81", GbkLead), 0);
}

TEST(MenuText, AKeyRunsTheOnlyItemWithItsMnemonic)
{
    const char* texts[] = {kShow, nullptr, kLock, kAbout, nullptr, kExit};
    MenuCharAnswer answer = AnswerMenuChar(texts, 6, 'x', -1, GbkLead);
    EXPECT_EQ(answer.position, 5);
    EXPECT_TRUE(answer.execute);
    answer = AnswerMenuChar(texts, 6, 'L', 3, GbkLead);
    EXPECT_EQ(answer.position, 2);
    EXPECT_TRUE(answer.execute);
    // No item, a key beyond one byte, and items the system handles itself.
    EXPECT_EQ(AnswerMenuChar(texts, 6, 'q', -1, GbkLead).position, -1);
    EXPECT_EQ(AnswerMenuChar(texts, 6, 0x100 + 'X', -1, GbkLead).position, -1);
    EXPECT_EQ(AnswerMenuChar(texts, 6, 0, -1, GbkLead).position, -1);
    EXPECT_EQ(AnswerMenuChar(texts, 0, 'x', -1, GbkLead).position, -1);
}

TEST(MenuText, AKeySharedByItemsMovesTheHighlightToTheNextOne)
{
    const char* texts[] = {"&Alpha", "&Beta", "&Another", nullptr, "&apple"};
    MenuCharAnswer answer = AnswerMenuChar(texts, 5, 'a', -1, NoLead);
    EXPECT_EQ(answer.position, 0);
    EXPECT_FALSE(answer.execute);
    EXPECT_EQ(AnswerMenuChar(texts, 5, 'a', 0, NoLead).position, 2);
    EXPECT_EQ(AnswerMenuChar(texts, 5, 'a', 2, NoLead).position, 4);
    EXPECT_EQ(AnswerMenuChar(texts, 5, 'a', 4, NoLead).position, 0);
    // A highlight out of range starts at the top.
    EXPECT_EQ(AnswerMenuChar(texts, 5, 'a', 9, NoLead).position, 0);
}

// ---------------------------------------------------------------------------
// The record table. "Menus" here are numbers; a menu holds a record while
// the set of live menus names it.

std::set<uintptr_t> g_liveMenus;

MenuHold HeldByLiveMenu(const MenuItemRecord& record)
{
    return g_liveMenus.count(record.menu) != 0 ? MenuHold::Held : MenuHold::NotHeld;
}

TEST(MenuRecordTable, RecordsKeepTheirDataAndAreFoundOnlyByTheirOwnAddress)
{
    CMenuRecordTable table;
    MenuItemRecord* lock = table.Add(7, kLock, 32775, -1, GbkLead);
    MenuItemRecord* sub = table.Add(7, "&More", -2, -2, GbkLead);
    EXPECT_EQ(lock->commandId, 32775);
    EXPECT_EQ(lock->imageIndex, -1);
    EXPECT_STREQ(lock->text, kLock);
    EXPECT_EQ(sub->imageIndex, -2);
    EXPECT_EQ(table.Find(reinterpret_cast<uintptr_t>(lock)), lock);
    EXPECT_EQ(table.Find(reinterpret_cast<uintptr_t>(sub)), sub);
    EXPECT_EQ(table.Find(0), nullptr);
    EXPECT_EQ(table.Find(reinterpret_cast<uintptr_t>(lock) + 1), nullptr);
    EXPECT_EQ(table.Find(reinterpret_cast<uintptr_t>(&table)), nullptr);

    std::string longText(300, 'w');
    MenuItemRecord* cut = table.Add(7, longText.c_str(), 1, 0, GbkLead);
    EXPECT_EQ(std::strlen(cut->text), 127u);
}

TEST(MenuRecordTable, StaysBoundedWhenAMenuIsLoadedAndDestroyedThousandsOfTimes)
{
    CMenuRecordTable table;
    g_liveMenus = {1};
    std::vector<MenuItemRecord*> frameMenu;
    for (int i = 0; i < 11; ++i)
        frameMenu.push_back(table.Add(1, kShow, 32771 + i, -1, GbkLead));

    for (uintptr_t popup = 100; popup < 3100; ++popup) {
        // As before each showing: the last copy is gone, its records go.
        table.Reclaim(&HeldByLiveMenu);
        g_liveMenus.insert(popup);
        for (int i = 0; i < 11; ++i)
            table.Add(popup, kExit, 57665, 5, GbkLead);
        EXPECT_LE(table.Count(), 22u);
        g_liveMenus.erase(popup);
    }
    EXPECT_EQ(table.Reclaim(&HeldByLiveMenu), 11u);
    EXPECT_EQ(table.Count(), 11u);
    // The records of the menu that lives on are the very same objects.
    for (MenuItemRecord* record : frameMenu)
        EXPECT_EQ(table.Find(reinterpret_cast<uintptr_t>(record)), record);
    EXPECT_EQ(frameMenu[3]->commandId, 32774);

    g_liveMenus.clear();
    EXPECT_EQ(table.Reclaim(&HeldByLiveMenu), 11u);
    EXPECT_EQ(table.Count(), 0u);
    EXPECT_EQ(table.Find(reinterpret_cast<uintptr_t>(frameMenu[0])), nullptr);
}

TEST(MenuRecordTable, ARecordIsLetGoOnlyWhenEveryItemOfItsMenuAnsweredWithoutIt)
{
    const uintptr_t mine = 0x1000;
    const MenuItemAnswer held[] = {{true, 0x2000}, {true, mine}, {false, 0}};
    const MenuItemAnswer others[] = {{true, 0x2000}, {true, 0}, {true, 0x3000}};
    // An item the system would not read (Windows 95 refusing the query)
    // may be the one that holds the record.
    const MenuItemAnswer unread[] = {{true, 0x2000}, {false, 0}, {true, 0x3000}};
    EXPECT_EQ(DecideMenuHold(true, held, 3, mine), MenuHold::Held);
    EXPECT_EQ(DecideMenuHold(true, others, 3, mine), MenuHold::NotHeld);
    EXPECT_EQ(DecideMenuHold(true, unread, 3, mine), MenuHold::Unknown);
    EXPECT_EQ(DecideMenuHold(true, nullptr, -1, mine), MenuHold::Unknown) << "the count failed";
    EXPECT_EQ(DecideMenuHold(true, nullptr, 0, mine), MenuHold::NotHeld) << "an empty menu";
    EXPECT_EQ(DecideMenuHold(false, unread, 3, mine), MenuHold::NotHeld) << "the menu is gone";

    // The table keeps what cannot be decided on.
    CMenuRecordTable table;
    MenuItemRecord* kept = table.Add(1, kShow, 32779, -1, GbkLead);
    MenuItemRecord* gone = table.Add(2, kExit, 57665, 5, GbkLead);
    EXPECT_EQ(table.Reclaim([](const MenuItemRecord& record) {
                  return record.menu == 1 ? MenuHold::Unknown : MenuHold::NotHeld;
              }),
              1u);
    EXPECT_EQ(table.Find(reinterpret_cast<uintptr_t>(kept)), kept);
    EXPECT_EQ(table.Find(reinterpret_cast<uintptr_t>(gone)), nullptr);
}

}  // namespace
