// The program's resource table, compiled from resources/*.rc as the program
// gets it: the names the program loads, their kinds, sizes and contents
// where the program depends on them.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "res/resdata.h"
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

// Index of the control in template (tab) order, -1 when absent.
int Position(const DialogTemplate* d, int id) {
    for (uint32_t i = 0; i < d->itemCount; ++i)
        if (d->items[i].id == id) return static_cast<int>(i);
    return -1;
}

TEST(ProgramResources, BitmapsHaveTheSizesTheirPagesDrawThemAt) {
    const char* toolbar[] = {"ID_BMP_HOMEPAGE", "ID_BMP_OPPORTUNITIES", "ID_BMP_ACCOUNTS", "ID_BMP_CONTACTS",
                             "ID_BMP_TASKS",    "ID_BMP_MAIL",          "ID_BMP_BACK",     "ID_BMP_FORWARD",
                             "ID_BMP_SETTING",  "ID_BMP_EXPORT"};
    for (const char* name : toolbar) {
        SCOPED_TRACE(name);
        const w32res::BinaryData* b = w32res::FindBitmap(name);
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->width, 32);
        EXPECT_EQ(b->height, 32);
        EXPECT_EQ(b->bitCount, 24);
    }
    struct {
        const char* name;
        int w, h;
    } pictures[] = {{"ID_BMP_INSTALL1", 499, 59},           {"ID_BMP_INSTALL2", 165, 303},
                    {"ID_BMP_HOMEPAGE_RELATION", 405, 216}, {"ID_BMP_OPP_RELATION", 280, 200},
                    {"ID_BMP_ACC_RELATION", 280, 200},      {"ID_BMP_CON_RELATION", 280, 200}};
    for (const auto& p : pictures) {
        SCOPED_TRACE(p.name);
        const w32res::BinaryData* b = w32res::FindBitmap(p.name);
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->width, p.w);
        EXPECT_EQ(b->height, p.h);
    }
}

TEST(ProgramResources, IconsExist) {
    EXPECT_NE(w32res::FindIcon("IDI_APPLICATION_ICON"), nullptr);
    for (const char* name : {"IDI_LISTVIEW_CHECKED", "IDI_LISTVIEW_UNCHECKED"}) {
        const w32res::BinaryData* b = w32res::FindIcon(name);
        ASSERT_NE(b, nullptr) << name;
        EXPECT_EQ(b->width, 16) << name;
        EXPECT_EQ(b->height, 16) << name;
    }
}

TEST(ProgramResources, PopupMenuHasTheSixSubMenusWithTheirCommands) {
    const w32res::MenuTemplate* m = w32res::FindMenu("IDM_POP_MENU");
    ASSERT_NE(m, nullptr);
    ASSERT_EQ(m->count, 6u);
    for (uint32_t i = 0; i < m->count; ++i) EXPECT_TRUE(m->items[i].flags & w32res::kMenuPopup) << i;
    auto ids = [](const MenuItem& popup) {
        std::string s;
        for (uint32_t i = 0; i < popup.childCount; ++i) {
            const MenuItem& c = popup.children[i];
            if (c.flags & w32res::kMenuPopup) {
                s += "[";
                for (uint32_t k = 0; k < c.childCount; ++k) s += std::to_string(c.children[k].id) + " ";
                s += "]";
            } else {
                s += std::to_string(c.id) + " ";
            }
        }
        return s;
    };
    EXPECT_EQ(ids(m->items[0]), "40003 40004 ");
    EXPECT_EQ(ids(m->items[1]), "40005 [40006 40007 ][40008 40009 ][40010 40011 ]");
    EXPECT_EQ(ids(m->items[2]), "40012 40013 ");
    EXPECT_EQ(ids(m->items[3]), "40014 40017 ");
    EXPECT_EQ(ids(m->items[4]), "40015 40016 ");
    EXPECT_EQ(ids(m->items[5]), "40018 40019 ");
    EXPECT_STREQ(m->items[5].text, "导出");
    EXPECT_STREQ(m->items[5].children[1].text, "Excel文件");
}

TEST(ProgramResources, AgreementPartsFitTheirBuffers) {
    size_t total = 0;
    for (UINT id = 1; id <= 5; ++id) {
        char buf[1024];
        int n = LoadStringA(nullptr, id, buf, sizeof buf);
        const w32res::StringEntry* e = w32res::FindString(id);
        ASSERT_NE(e, nullptr) << id;
        EXPECT_GT(n, 0) << id;
        EXPECT_LE(e->length, 1023u) << id;  // read whole into 1024 bytes
        total += e->length;
        // Line breaks are CR LF, the only ones a multi-line edit shows.
        for (uint32_t i = 0; i < e->length; ++i) {
            if (e->text[i] == '\n') {
                EXPECT_TRUE(i > 0 && e->text[i - 1] == '\r') << "string " << id << " at " << i;
            }
        }
    }
    EXPECT_LE(total, 4095u);  // joined into 4096 bytes
}

TEST(ProgramResources, WizardAndLoginDialogs) {
    const char* names[] = {"ID_DLG_INSTALL1", "ID_DLG_INSTALL2", "ID_DLG_LOGINSETTING", "ID_DLG_LOGIN"};
    for (const char* name : names) {
        SCOPED_TRACE(name);
        const DialogTemplate* d = w32res::FindDialog(name);
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(d->cx, 250);
        EXPECT_EQ(d->cy, 172);
        uint32_t frame = WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_CENTER;
        EXPECT_EQ(d->style & frame, frame);
        // Only the first two pages have a close box.
        bool closeBox = std::strcmp(name, "ID_DLG_INSTALL1") == 0 || std::strcmp(name, "ID_DLG_INSTALL2") == 0;
        EXPECT_EQ((d->style & WS_SYSMENU) != 0, closeBox);
        ASSERT_NE(Item(d, IDCANCEL), nullptr);
    }
    // Page 2 starts with its default "next" button disabled.
    const DialogTemplate* agree = w32res::FindDialog("ID_DLG_INSTALL2");
    const DialogItem* next = Item(agree, IDOK);
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(next->style & (BS_TYPEMASK | WS_DISABLED), static_cast<uint32_t>(BS_DEFPUSHBUTTON | WS_DISABLED));
    // The login dialog opens in the password edit: it is the first tab stop.
    const DialogTemplate* login = w32res::FindDialog("ID_DLG_LOGIN");
    ASSERT_GE(Position(login, 1087), 0);
    ASSERT_GE(Position(login, 1100), 0);
    EXPECT_LT(Position(login, 1087), Position(login, 1100));
    for (uint32_t i = 0; i < static_cast<uint32_t>(Position(login, 1087)); ++i)
        EXPECT_FALSE(login->items[i].style & WS_TABSTOP) << login->items[i].id;
}

TEST(ProgramResources, RelationPageIsAHiddenChild) {
    const DialogTemplate* d = w32res::FindDialog("ID_DLG_RELATING");
    ASSERT_NE(d, nullptr);
    EXPECT_TRUE(d->style & WS_CHILD);
    EXPECT_FALSE(d->style & WS_VISIBLE);
    EXPECT_FALSE(d->style & WS_CAPTION);
}

}  // namespace
