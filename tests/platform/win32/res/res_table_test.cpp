// The resource table compiled from scripts/sample.rc and scripts/more.rc into
// this executable by w32_add_resources, read through the lookups the window
// layer uses and through LoadStringA.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "res/resdata.h"
#include "scripts/sample_ids.h"
#include "win32.h"

namespace {

using w32res::DialogItem;
using w32res::DialogTemplate;
using w32res::MenuItem;

const DialogItem* Item(const DialogTemplate* d, int id) {
    for (uint32_t i = 0; i < d->itemCount; ++i)
        if (d->items[i].id == id) return &d->items[i];
    return nullptr;
}

std::vector<unsigned char> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

constexpr uint32_t kChildVisible = WS_CHILD | WS_VISIBLE;

TEST(ResourceDialog, TemplateHeaderKeepsStylesUnitsCaptionAndFont) {
    const DialogTemplate* d = w32res::FindDialog("ID_DLG_SAMPLE");
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->style, DS_SETFONT | DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU);
    EXPECT_EQ(d->exStyle, 0u);
    EXPECT_EQ(d->x, 0);
    EXPECT_EQ(d->cx, 250);
    EXPECT_EQ(d->cy, 172);
    EXPECT_STREQ(d->caption, "系统登陆");  // GBK bytes on both sides
    EXPECT_EQ(std::strlen(d->caption), 8u);
    ASSERT_NE(d->fontFace, nullptr);
    EXPECT_STREQ(d->fontFace, "\xCB\xCE\xCC\xE5");  // 宋体 in GBK
    EXPECT_EQ(d->fontPointSize, 9);
    EXPECT_EQ(d->fontWeight, 400);
    EXPECT_EQ(d->fontCharset, 0x86);
    EXPECT_EQ(d->extended, 1);
    EXPECT_EQ(d->windowClass, nullptr);
    EXPECT_EQ(d->menuName, nullptr);
    EXPECT_EQ(d->itemCount, 21u);
}

TEST(ResourceDialog, DefaultStylesFollowTheStatementKind) {
    const DialogTemplate* d = w32res::FindDialog("ID_DLG_SAMPLE");
    ASSERT_NE(d, nullptr);
    struct Expect {
        int id;
        const char* cls;
        uint32_t style;
    } cases[] = {
        {IDOK, "BUTTON", kChildVisible | BS_DEFPUSHBUTTON | WS_TABSTOP},
        {IDCANCEL, "BUTTON", kChildVisible | BS_PUSHBUTTON},  // NOT WS_TABSTOP
        {-1, "STATIC", kChildVisible | SS_LEFT | WS_GROUP},
        {7, "STATIC", kChildVisible | SS_CENTER | WS_GROUP | SS_NOPREFIX},
        {1086, "EDIT", kChildVisible | ES_LEFT | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL},
        {1087, "EDIT", kChildVisible | WS_BORDER | WS_TABSTOP | ES_PASSWORD | ES_AUTOHSCROLL},
        {1100, "EDIT", kChildVisible | WS_BORDER | WS_TABSTOP | ES_MULTILINE | ES_READONLY | WS_VSCROLL},
        {1098, "BUTTON", kChildVisible | BS_AUTORADIOBUTTON | WS_TABSTOP | WS_GROUP},
        {1099, "BUTTON", kChildVisible | BS_RADIOBUTTON | WS_TABSTOP},
        {1201, "BUTTON", kChildVisible | BS_CHECKBOX | WS_TABSTOP},
        {1202, "BUTTON", kChildVisible | BS_AUTOCHECKBOX | WS_TABSTOP | WS_DISABLED},
        {1203, "BUTTON", kChildVisible | BS_GROUPBOX},
        {1204, "COMBOBOX", kChildVisible | CBS_DROPDOWNLIST | WS_VSCROLL | CBS_SORT | WS_TABSTOP},
        {1205, "LISTBOX", kChildVisible | LBS_NOTIFY | WS_BORDER},
        {1207, "BUTTON", WS_CHILD | BS_OWNERDRAW},  // NOT WS_VISIBLE
        {1208, "STATIC", kChildVisible | SS_ICON},
    };
    for (const Expect& e : cases) {
        SCOPED_TRACE(e.id);
        const DialogItem* it = Item(d, e.id);
        ASSERT_NE(it, nullptr);
        EXPECT_STREQ(it->windowClass, e.cls);
        EXPECT_EQ(it->style, e.style) << std::hex << it->style << " != " << e.style;
    }
    EXPECT_EQ(Item(d, 1100)->exStyle, static_cast<uint32_t>(WS_EX_CLIENTEDGE));
}

TEST(ResourceDialog, ControlsKeepTemplateOrderUnitsAndTexts) {
    const DialogTemplate* d = w32res::FindDialog("ID_DLG_SAMPLE");
    ASSERT_NE(d, nullptr);
    // Template order is the tab order.
    EXPECT_EQ(d->items[0].id, IDOK);
    EXPECT_EQ(d->items[1].id, IDCANCEL);
    EXPECT_EQ(d->items[5].id, 1086);
    EXPECT_EQ(d->items[6].id, 1087);
    const DialogItem* pass = Item(d, 1087);  // written over a continued line
    EXPECT_EQ(pass->x, 127);
    EXPECT_EQ(pass->y, 131);
    EXPECT_EQ(pass->cx, 116);
    EXPECT_EQ(pass->cy, 14);
    EXPECT_STREQ(Item(d, IDOK)->text, "确定");
    EXPECT_STREQ(Item(d, 1098)->text, "同意上面的软件使用协议");
    EXPECT_STREQ(Item(d, 1086)->text, "");  // EDITTEXT has no text
    EXPECT_STREQ(Item(d, 1210)->text, "He said \"hi\" \\ and A");
    // An id built by an expression in the header.
    EXPECT_NE(Item(d, 1098), nullptr);
}

TEST(ResourceDialog, CustomClassesAndIconControls) {
    const DialogTemplate* d = w32res::FindDialog("ID_DLG_SAMPLE");
    ASSERT_NE(d, nullptr);
    const DialogItem* list = Item(d, 1051);
    ASSERT_NE(list, nullptr);
    EXPECT_STREQ(list->windowClass, "SysListView32");
    EXPECT_EQ(list->style, kChildVisible | LVS_REPORT | LVS_SINGLESEL | WS_BORDER | WS_TABSTOP);
    const DialogItem* picker = Item(d, 1206);
    EXPECT_STREQ(picker->windowClass, "SysDateTimePick32");
    EXPECT_EQ(picker->style, kChildVisible | DTS_RIGHTALIGN | WS_TABSTOP | WS_DISABLED);
    EXPECT_EQ(picker->exStyle, static_cast<uint32_t>(WS_EX_STATICEDGE));
    EXPECT_EQ(picker->x, 1);
    EXPECT_EQ(picker->cx, 60);
    // ICON controls name their icon, quoted or not; the size is optional.
    EXPECT_STREQ(Item(d, 1208)->text, "SAMPLE_ICON");
    EXPECT_EQ(Item(d, 1208)->cx, 0);
    EXPECT_STREQ(Item(d, 1209)->text, "SAMPLE_ICON");
    EXPECT_EQ(Item(d, 1209)->cx, 16);
    EXPECT_EQ(Item(d, 1209)->style, kChildVisible | SS_ICON | SS_CENTERIMAGE);
}

TEST(ResourceDialog, DialogDefaultsAndOptionalStatements) {
    // Lower-case keywords, FONT adds DS_SETFONT, no caption.
    const DialogTemplate* child = w32res::FindDialog("ID_DLG_CHILD");
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(child->style, WS_CHILD | DS_SETFONT);
    EXPECT_STREQ(child->caption, "");
    EXPECT_STREQ(child->fontFace, "System");
    EXPECT_EQ(child->fontPointSize, 10);
    EXPECT_EQ(child->extended, 0);
    EXPECT_EQ(child->itemCount, 0u);
    EXPECT_EQ(child->items, nullptr);
    EXPECT_EQ(child->x, 10);
    EXPECT_EQ(child->y, 20);

    // No STYLE: a bordered popup with a system menu, with a caption bar for its caption.
    const DialogTemplate* quoted = w32res::FindDialog("QUOTED_DLG");
    ASSERT_NE(quoted, nullptr);
    EXPECT_EQ(quoted->style, WS_POPUP | WS_BORDER | WS_SYSMENU | WS_CAPTION);
    EXPECT_STREQ(quoted->caption, "样例程序");  // a caption given by a #defined string
    EXPECT_EQ(quoted->fontFace, nullptr);

    const DialogTemplate* numbered = w32res::FindDialog(MAKEINTRESOURCEA(301));
    ASSERT_NE(numbered, nullptr);
    EXPECT_EQ(numbered->exStyle, static_cast<uint32_t>(WS_EX_TOOLWINDOW));
    EXPECT_STREQ(numbered->windowClass, "MyDialogClass");
    EXPECT_STREQ(numbered->menuName, "IDM_POP");
}

TEST(ResourceNames, StringNamesNumbersAndTypesAreLookedUpApart) {
    // String names compare without regard to case.
    EXPECT_EQ(w32res::FindDialog("id_dlg_sample"), w32res::FindDialog("ID_DLG_SAMPLE"));
    // A #defined name is a number, found by MAKEINTRESOURCE or "#n" only.
    EXPECT_EQ(w32res::FindDialog("IDD_NUMBERED"), nullptr);
    EXPECT_NE(w32res::FindDialog(MAKEINTRESOURCEA(IDD_NUMBERED)), nullptr);
    EXPECT_EQ(w32res::FindDialog("#301"), w32res::FindDialog(MAKEINTRESOURCEA(301)));
    EXPECT_EQ(w32res::FindDialog("#301x"), nullptr);
    EXPECT_EQ(w32res::FindDialog(MAKEINTRESOURCEA(302)), nullptr);  // 302 is a menu
    EXPECT_NE(w32res::FindMenu(MAKEINTRESOURCEA(302)), nullptr);
    // One name for a menu and a bitmap.
    EXPECT_NE(w32res::FindMenu("IDM_POP"), nullptr);
    EXPECT_NE(w32res::FindBitmap("IDM_POP"), nullptr);
    EXPECT_EQ(w32res::FindDialog("IDM_POP"), nullptr);
    EXPECT_EQ(w32res::FindDialog("NO_SUCH_DIALOG"), nullptr);
    EXPECT_EQ(w32res::FindDialog(nullptr), nullptr);
    EXPECT_EQ(w32res::FindIcon("SAMPLE_BMP"), nullptr);
    // The second script's resources are in the same table.
    EXPECT_NE(w32res::FindDialog("OTHER_DLG"), nullptr);
}

TEST(ResourceMenu, PopupTreeWithSeparatorsAndFlags) {
    const w32res::MenuTemplate* m = w32res::FindMenu("IDM_POP");
    ASSERT_NE(m, nullptr);
    ASSERT_EQ(m->count, 3u);
    const MenuItem& customers = m->items[0];
    EXPECT_STREQ(customers.text, "客户");
    EXPECT_EQ(customers.flags, static_cast<uint32_t>(w32res::kMenuPopup));
    ASSERT_EQ(customers.childCount, 3u);
    EXPECT_STREQ(customers.children[0].text, "新建客户");
    EXPECT_EQ(customers.children[0].id, 40003u);
    EXPECT_EQ(customers.children[0].flags, 0u);
    EXPECT_EQ(customers.children[1].flags, static_cast<uint32_t>(w32res::kMenuSeparator));
    EXPECT_EQ(customers.children[2].flags, static_cast<uint32_t>(w32res::kMenuGrayed | w32res::kMenuChecked));

    const MenuItem& relation = m->items[1];
    ASSERT_EQ(relation.childCount, 2u);
    const MenuItem& nested = relation.children[1];
    EXPECT_STREQ(nested.text, "销售机会");
    EXPECT_TRUE(nested.flags & w32res::kMenuPopup);
    ASSERT_EQ(nested.childCount, 2u);
    EXPECT_EQ(nested.children[1].id, 40007u);
    EXPECT_EQ(nested.children[0].children, nullptr);

    const MenuItem& exportMenu = m->items[2];
    EXPECT_EQ(exportMenu.flags, static_cast<uint32_t>(w32res::kMenuPopup | w32res::kMenuGrayed));
    EXPECT_STREQ(exportMenu.children[0].text, "文本文件\tCtrl+T");
    EXPECT_EQ(exportMenu.children[0].id, 40018u);
}

TEST(ResourceMenu, ExtendedMenuTypesAndStates) {
    const w32res::MenuTemplate* m = w32res::FindMenu(MAKEINTRESOURCEA(302));
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->extended, 1);
    ASSERT_EQ(m->count, 1u);
    const MenuItem& file = m->items[0];
    EXPECT_EQ(file.id, 100u);
    ASSERT_EQ(file.childCount, 4u);
    EXPECT_EQ(file.children[0].id, 101u);
    EXPECT_TRUE(file.children[1].flags & w32res::kMenuSeparator);
    EXPECT_EQ(file.children[2].flags,
              static_cast<uint32_t>(w32res::kMenuRadioCheck | w32res::kMenuChecked | w32res::kMenuDefault));
    EXPECT_EQ(file.children[3].flags, static_cast<uint32_t>(w32res::kMenuGrayed | w32res::kMenuDisabled));
}

TEST(ResourceStrings, LoadStringCopiesGbkTextsFromAllScripts) {
    char buf[64];
    EXPECT_EQ(LoadStringA(nullptr, 1, buf, sizeof buf), 6);
    EXPECT_STREQ(buf, "第一段");
    int n = LoadStringA(nullptr, 2, buf, sizeof buf);
    EXPECT_STREQ(buf, "第二段：\r\n条款");
    EXPECT_EQ(n, static_cast<int>(std::strlen("第二段：\r\n条款")));
    EXPECT_EQ(LoadStringA(nullptr, 3, buf, sizeof buf), 14);
    EXPECT_STREQ(buf, "来自第二个文件");
    EXPECT_EQ(LoadStringA(nullptr, 5, buf, sizeof buf), 7);  // adjacent strings joined
    EXPECT_STREQ(buf, "abc中文");
    // An empty string exists but copies nothing.
    strcpy(buf, "old");
    EXPECT_EQ(LoadStringA(nullptr, 4, buf, sizeof buf), 0);
    EXPECT_STREQ(buf, "");
}

TEST(ResourceStrings, LoadStringCutsAtCharacterBoundaryAndReportsMissing) {
    char buf[8];
    std::memset(buf, 'x', sizeof buf);
    // "第一段" is 6 bytes; 5 bytes of room hold 2 characters (4 bytes) + NUL.
    EXPECT_EQ(LoadStringA(nullptr, 1, buf, 5), 4);
    EXPECT_STREQ(buf, "第一");
    EXPECT_EQ(buf[5], 'x');                         // nothing written past the size given
    EXPECT_EQ(LoadStringA(nullptr, 5, buf, 5), 3);  // "abc" + first byte of 中 would split it
    EXPECT_STREQ(buf, "abc");
    EXPECT_EQ(LoadStringA(nullptr, 1, buf, 1), 0);
    EXPECT_STREQ(buf, "");
    strcpy(buf, "old");
    EXPECT_EQ(LoadStringA(nullptr, 999, buf, sizeof buf), 0);
    EXPECT_STREQ(buf, "");
    EXPECT_EQ(LoadStringA(nullptr, 1, nullptr, 10), 0);
    EXPECT_EQ(LoadStringA(nullptr, 1, buf, 0), 0);
}

TEST(ResourceStrings, TableIsSortedForBinarySearch) {
    const w32res::Table& t = w32res::ProgramTable();
    ASSERT_EQ(t.stringCount, 5u);
    for (size_t i = 1; i < t.stringCount; ++i) EXPECT_LT(t.strings[i - 1].id, t.strings[i].id);
    EXPECT_EQ(w32res::FindString(6), nullptr);
    EXPECT_EQ(w32res::FindString(0), nullptr);
}

TEST(ResourceFiles, BitmapsAndIconsAreEmbeddedByteForByte) {
    const w32res::BinaryData* bmp = w32res::FindBitmap("SAMPLE_BMP");
    ASSERT_NE(bmp, nullptr);
    std::vector<unsigned char> file = ReadFile(SAMPLE_DIR "/tiny.bmp");
    ASSERT_EQ(bmp->size, file.size());
    EXPECT_EQ(std::memcmp(bmp->data, file.data(), file.size()), 0);
    EXPECT_EQ(bmp->width, 3);
    EXPECT_EQ(bmp->height, 2);
    EXPECT_EQ(bmp->bitCount, 24);
    EXPECT_EQ(bmp->data[0], 'B');

    const w32res::BinaryData* ico = w32res::FindIcon("sample_icon");
    ASSERT_NE(ico, nullptr);
    std::vector<unsigned char> icoFile = ReadFile(SAMPLE_DIR "/tiny.ico");
    ASSERT_EQ(ico->size, icoFile.size());
    EXPECT_EQ(std::memcmp(ico->data, icoFile.data(), icoFile.size()), 0);
    EXPECT_EQ(ico->width, 16);
    EXPECT_EQ(ico->height, 16);
    EXPECT_EQ(ico->bitCount, 32);
}

}  // namespace
