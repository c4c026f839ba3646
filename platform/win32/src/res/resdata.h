// Compiled resources: the data w32rc generates from resource scripts, one
// table per executable, and the lookups the USER32/GDI32/KERNEL32 parts use.
//
// Every executable that calls w32_add_resources() links one generated source
// defining `w32_resource_table`; an executable without it sees an empty table.
// All texts are GBK, NUL-terminated. Names compare case-insensitively (ASCII),
// as Win32 resource names do.
#pragma once

#include <cstddef>
#include <cstdint>

namespace w32res {

// Resource types (the Win32 RT_* numbers).
enum ResType : uint16_t {
    kTypeCursor = 1,
    kTypeBitmap = 2,
    kTypeIcon = 3,
    kTypeMenu = 4,
    kTypeDialog = 5,
    kTypeString = 6,
    kTypeRcData = 10,
    kTypeManifest = 24,
};

// One control of a dialog template. Rectangle in dialog units.
struct DialogItem {
    const char* windowClass;  // "BUTTON", "EDIT", "STATIC", "COMBOBOX", "LISTBOX",
                              // "SCROLLBAR" or a custom name ("SysListView32", ...)
    const char* text;         // GBK; "" when none; for ICON controls the icon's name
                              // (nullptr when textId names it by number)
    uint32_t textId;          // resource number given instead of a text, else 0
    int32_t id;               // control id (-1 for IDC_STATIC)
    int16_t x, y, cx, cy;     // dialog units
    uint32_t style;           // complete style: WS_CHILD | WS_VISIBLE | defaults | given
    uint32_t exStyle;
    uint32_t helpId;
};

struct DialogTemplate {
    uint32_t style;  // complete style (DS_SETFONT set when a FONT is given)
    uint32_t exStyle;
    int16_t x, y, cx, cy;     // dialog units
    const char* caption;      // GBK, "" when none
    const char* windowClass;  // CLASS statement, nullptr when none
    const char* menuName;     // MENU statement, nullptr when none
    const char* fontFace;     // GBK face name, nullptr when no FONT statement
    int16_t fontPointSize;
    uint16_t fontWeight;  // 0 when not given
    uint8_t fontItalic;
    uint8_t fontCharset;
    uint8_t extended;  // 1 for DIALOGEX
    const DialogItem* items;
    uint32_t itemCount;
};

// Menu item flags, in MF_* bits.
enum MenuFlags : uint32_t {
    kMenuGrayed = 0x0001,      // MF_GRAYED
    kMenuDisabled = 0x0002,    // MF_DISABLED
    kMenuChecked = 0x0008,     // MF_CHECKED
    kMenuPopup = 0x0010,       // MF_POPUP
    kMenuBarBreak = 0x0020,    // MF_MENUBARBREAK
    kMenuBreak = 0x0040,       // MF_MENUBREAK
    kMenuRadioCheck = 0x0200,  // MFT_RADIOCHECK
    kMenuSeparator = 0x0800,   // MF_SEPARATOR
    kMenuDefault = 0x1000,     // MFS_DEFAULT
    kMenuHelp = 0x4000,        // MF_HELP (right-justified)
};

struct MenuItem {
    const char* text;          // GBK; "" for separators
    uint32_t id;               // command id (MENUEX popups may carry one too)
    uint32_t flags;            // MenuFlags
    const MenuItem* children;  // popups only
    uint32_t childCount;
};

// A menu resource: its top-level items (for a popup-menu resource these are
// the POPUPs, GetSubMenu(h, n) is items[n]).
struct MenuTemplate {
    const MenuItem* items;
    uint32_t count;
    uint8_t extended;  // 1 for MENUEX
};

// BITMAP, ICON, CURSOR and raw resources: the referenced file, byte for byte
// (a .bmp file with its BITMAPFILEHEADER, a whole .ico file).
struct BinaryData {
    const unsigned char* data;
    size_t size;
    int32_t width;   // bitmaps: from the info header (height positive); icons:
    int32_t height;  // the first image of the directory (256 for 0); else 0
    uint16_t bitCount;
};

struct StringEntry {
    uint32_t id;
    const char* text;  // GBK
    uint32_t length;   // bytes, without the NUL
};

struct Resource {
    uint16_t type;     // ResType
    const char* name;  // string name, nullptr when numbered
    uint32_t number;   // numeric name when name == nullptr
    const void* data;  // DialogTemplate / MenuTemplate / BinaryData by type
};

struct Table {
    const Resource* resources;
    size_t count;
    const StringEntry* strings;  // sorted by id
    size_t stringCount;
};

// True when `name` is a MAKEINTRESOURCE number rather than a string pointer.
inline bool IsIntResource(const char* name) { return (reinterpret_cast<uintptr_t>(name) >> 16) == 0; }

// The table of this executable (empty when it has no resources).
const Table& ProgramTable();

// Lookups by string name, "#123" or MAKEINTRESOURCE(123). nullptr when absent.
const Resource* Find(uint16_t type, const char* name);
const DialogTemplate* FindDialog(const char* name);
const MenuTemplate* FindMenu(const char* name);
const BinaryData* FindBitmap(const char* name);
const BinaryData* FindIcon(const char* name);
const StringEntry* FindString(uint32_t id);

// The same lookups in a given table (tests, tools).
const Resource* Find(const Table& table, uint16_t type, const char* name);
const StringEntry* FindString(const Table& table, uint32_t id);

}  // namespace w32res

// Defined by the source w32rc generates for the executable.
extern "C" const w32res::Table w32_resource_table;
