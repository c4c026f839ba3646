// w32rc: compiles resource scripts (.rc, UTF-8) into one C++ source holding
// the resource table of an executable (see src/res/resdata.h).
//
// The script language understood:
//  - // and /* */ comments, '\' line continuation, #include "x.h" (headers:
//    only their directives count; <system> headers are skipped, their names
//    are predefined), #define NAME value, #undef, #if/#ifdef/#ifndef/#elif/
//    #else/#endif, #error; #pragma is ignored.
//  - Names: a number or a #defined name is a numbered resource; any other
//    name (bare or quoted) is a string name.
//  - DIALOG / DIALOGEX x, y, cx, cy with STYLE, EXSTYLE, CAPTION, FONT,
//    CLASS, MENU and the controls CONTROL, LTEXT, RTEXT, CTEXT, EDITTEXT,
//    PUSHBUTTON, DEFPUSHBUTTON, PUSHBOX, GROUPBOX, CHECKBOX, AUTOCHECKBOX,
//    STATE3, AUTO3STATE, RADIOBUTTON, AUTORADIOBUTTON, COMBOBOX, LISTBOX,
//    SCROLLBAR, ICON; styles are "a | b | NOT c" over the statement's defaults.
//  - MENU / MENUEX with POPUP, MENUITEM, MENUITEM SEPARATOR and options;
//    STRINGTABLE; BITMAP, ICON, CURSOR, RCDATA and numbered types naming a
//    file (relative to the script's folder or an include folder).
//  - Strings: "" for a quote, C escapes; adjacent strings are joined. All
//    texts become GBK; text GBK cannot hold is an error.
#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace w32rc {

// A compile error; what() is "file:line: message".
class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct DialogItem {
    std::string windowClass;
    std::string text;  // GBK
    uint32_t textId = 0;
    int32_t id = 0;
    int16_t x = 0, y = 0, cx = 0, cy = 0;
    uint32_t style = 0, exStyle = 0, helpId = 0;
};

struct Dialog {
    bool extended = false;
    uint32_t style = 0, exStyle = 0;
    int16_t x = 0, y = 0, cx = 0, cy = 0;
    std::string caption;  // GBK
    bool hasClass = false, hasMenu = false, hasFont = false;
    std::string windowClass, menuName, fontFace;
    int16_t fontPointSize = 0;
    uint16_t fontWeight = 0;
    uint8_t fontItalic = 0, fontCharset = 0;
    std::vector<DialogItem> items;
};

struct MenuNode {
    std::string text;  // GBK
    uint32_t id = 0;
    uint32_t flags = 0;
    std::vector<MenuNode> children;
};

struct Menu {
    bool extended = false;
    std::vector<MenuNode> items;
};

struct Binary {
    std::vector<unsigned char> bytes;
    int32_t width = 0, height = 0;
    uint16_t bitCount = 0;
};

struct Resource {
    uint16_t type = 0;
    bool named = false;
    std::string name;     // when named (as written)
    uint32_t number = 0;  // otherwise
    std::string where;    // "file:line" of the definition
    std::shared_ptr<Dialog> dialog;
    std::shared_ptr<Menu> menu;
    std::shared_ptr<Binary> binary;
};

struct StringEntry {
    uint32_t id = 0;
    std::string text;  // GBK
    std::string where;
};

struct Script {
    std::vector<Resource> resources;
    std::vector<StringEntry> strings;       // sorted by id after Compile
    std::vector<std::string> dependencies;  // every file read
};

struct Options {
    std::vector<std::string> includeDirs;
};

// Parses the scripts (in order) into one resource set. Throws Error.
Script Compile(const std::vector<std::string>& rcFiles, const Options& options);

// The C++ source defining the table; `header` is the include path of resdata.h.
std::string Emit(const Script& script, const std::string& header);

// The value of a predefined style/constant name (WS_CHILD, ES_LEFT, IDOK, ...).
bool LookupConstant(const std::string& name, int64_t* value);

}  // namespace w32rc
