// The two languages of the resources: what the resource compiler stored, and
// which one the program picks.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "WinTestSupport.h"
#include "fw/Afx.h"
#include "res/resource.h"

namespace {

const LANGID kChinese = MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED);
const LANGID kEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

const WORD* Raw(const char* type, UINT id, LANGID language, DWORD* size)
{
    HMODULE module = ::GetModuleHandleA(nullptr);
    HRSRC found = ::FindResourceExA(module, type, MAKEINTRESOURCEA(id), language);
    if (found == nullptr)
        return nullptr;
    *size = ::SizeofResource(module, found);
    return static_cast<const WORD*>(::LockResource(::LoadResource(module, found)));
}

// The UTF-16 of string id as stored in language's block.
std::u16string StoredString(UINT id, LANGID language)
{
    DWORD size = 0;
    const WORD* unit = Raw(RT_STRING, (id >> 4) + 1, language, &size);
    if (unit == nullptr)
        return u"(no block)";
    for (UINT entry = id & 15; entry > 0; --entry)
        unit += 1 + *unit;
    return std::u16string(reinterpret_cast<const char16_t*>(unit + 1), *unit);
}

// A template's point size and font name (a DS_SETFONT DLGTEMPLATE: header,
// then menu, class and caption, each 0xFFFF and an ordinal or a string).
std::u16string StoredFont(UINT id, LANGID language)
{
    DWORD size = 0;
    const WORD* word = Raw(RT_DIALOG, id, language, &size);
    if (word == nullptr)
        return u"(no template)";
    word += sizeof(DLGTEMPLATE) / sizeof(WORD);
    for (int field = 0; field < 3; ++field) {
        if (*word == 0xFFFF)
            word += 2;
        else
            while (*word++ != 0) {}
    }
    std::u16string font = std::u16string(1, static_cast<char16_t>(u'0' + *word)) + u" ";
    for (++word; *word != 0; ++word)
        font += static_cast<char16_t>(*word);
    return font;
}

bool IsAscii(const std::string& text)
{
    for (unsigned char c : text) {
        if (c >= 0x80)
            return false;
    }
    return true;
}

BOOL CALLBACK CollectText(HWND hWnd, LPARAM texts)
{
    // An icon control's text is its icon's ordinal (0xFF, then the id), not a text anyone sees.
    char className[16] = "";
    ::GetClassNameA(hWnd, className, sizeof className);
    if (::lstrcmpiA(className, "Static") == 0 && (::GetWindowLongA(hWnd, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
        return TRUE;
    char text[256] = "";
    ::GetWindowTextA(hWnd, text, sizeof text);
    reinterpret_cast<std::vector<std::string>*>(texts)->push_back(text);
    return TRUE;
}

INT_PTR CALLBACK PlainDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

}  // namespace

TEST(ResourceLanguage, BothLanguagesAreStoredAsTheirUnicodeText)
{
    EXPECT_EQ(StoredString(IDS_WRONG_PASSWORD, kChinese), u"密码错误，请再试一次。");
    EXPECT_EQ(StoredString(IDS_WRONG_PASSWORD, kEnglish), u"Wrong password. Please try again.");
    EXPECT_EQ(StoredString(IDS_UNLOCK, kChinese), u"解锁");
    EXPECT_EQ(StoredString(IDS_UNLOCK, kEnglish), u"Unlock");
    for (UINT id : {IDD_ABOUTBOX, IDD_LOCKPANEL, IDD_PASSWORD_PROMPT, IDD_SETTINGS, IDD_CHANGE_PASSWORD}) {
        EXPECT_EQ(StoredFont(id, kChinese), u"9 宋体") << id;
        EXPECT_EQ(StoredFont(id, kEnglish), u"8 MS Sans Serif") << id;
    }
}

// Run under code page 936 and under 1252 (and 1252 with a Chinese user
// locale): the choice follows the code page alone, and outside 936 every
// text of every template, of the menu and of the string table is ASCII.
TEST(ResourceLanguage, TheCodePageChoosesAndOutside936EveryTextIsAscii)
{
    // The ctest entries for other locales name the code page they must give.
    if (const char* want = std::getenv("TETHRA_EXPECT_ACP")) {
        ASSERT_EQ(::GetACP(), std::strtoul(want, nullptr, 10));
    }
    bool chinese = ::GetACP() == 936;
    EXPECT_EQ(AfxGetUiLanguage(), chinese ? kChinese : kEnglish);

    std::vector<std::string> texts;
    char text[256];
    for (UINT id : {IDR_MAINFRAME, AFX_IDS_APP_TITLE, ID_APP_ABOUT, IDS_WRONG_PASSWORD, IDS_PASSWORDS_DIFFER,
                    IDS_PASSWORD_CHANGED, IDS_WRITE_FAILED, IDS_UNSUPPORTED_SYSTEM, IDS_LOCK, IDS_UNLOCK,
                    AFX_IDP_PARSE_STRING_SIZE}) {
        EXPECT_GT(AfxLoadString(id, text, sizeof text), 0) << id;
        texts.push_back(text);
    }
    // The titles live in the Chinese table only: English finds them there.
    EXPECT_EQ(texts[0], "Tethra");
    EXPECT_EQ(texts[1], "Tethra");
    AfxLoadString(IDS_LOCK, text, sizeof text);
    EXPECT_STREQ(text, Shown("锁定", "Lock"));

    HMENU menu = AfxLoadMenu(IDR_MAINFRAME);
    ASSERT_NE(menu, nullptr);
    ::GetMenuStringA(menu, 0, text, sizeof text, MF_BYPOSITION);
    texts.push_back(text);
    HMENU popup = ::GetSubMenu(menu, 0);
    for (int i = 0; i < ::GetMenuItemCount(popup); ++i) {
        ::GetMenuStringA(popup, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
        texts.push_back(text);
    }
    ::DestroyMenu(menu);
    EXPECT_EQ(texts.back(), Shown("退出(&X)", "E&xit"));

    ASSERT_TRUE(AfxInitCommonControls(ICC_DATE_CLASSES));
    for (UINT id : {IDD_ABOUTBOX, IDD_LOCKPANEL, IDD_PASSWORD_PROMPT, IDD_SETTINGS, IDD_CHANGE_PASSWORD}) {
        auto* dialogTemplate = static_cast<const DLGTEMPLATE*>(AfxLoadResource(RT_DIALOG, id));
        HWND dialog = ::CreateDialogIndirectParamA(::GetModuleHandleA(nullptr), dialogTemplate, nullptr,
                                                   &PlainDialogProc, 0);
        ASSERT_NE(dialog, nullptr) << id;
        size_t before = texts.size();
        CollectText(dialog, reinterpret_cast<LPARAM>(&texts));
        ::EnumChildWindows(dialog, &CollectText, reinterpret_cast<LPARAM>(&texts));
        EXPECT_GT(texts.size(), before + 2) << id;
        ::DestroyWindow(dialog);
    }
    if (chinese)
        return;
    for (const std::string& shown : texts)
        EXPECT_TRUE(IsAscii(shown)) << shown;
}
