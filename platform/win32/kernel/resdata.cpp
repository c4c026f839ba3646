// Lookups in the executable's compiled resource table.
#include "../src/res/resdata.h"

#include <cstdlib>
#include <cstring>

namespace w32res {
namespace {

bool SameName(const char* a, const char* b) {
    for (;; ++a, ++b) {
        unsigned char ca = static_cast<unsigned char>(*a);
        unsigned char cb = static_cast<unsigned char>(*b);
        if (ca >= 'a' && ca <= 'z') ca = static_cast<unsigned char>(ca - 'a' + 'A');
        if (cb >= 'a' && cb <= 'z') cb = static_cast<unsigned char>(cb - 'a' + 'A');
        if (ca != cb) return false;
        if (ca == 0) return true;
    }
}

// "#123" names the resource numbered 123.
bool ParseHashNumber(const char* name, uint32_t* number) {
    if (name[0] != '#' || name[1] < '0' || name[1] > '9') return false;
    char* end = nullptr;
    unsigned long v = std::strtoul(name + 1, &end, 10);
    if (*end != '\0' || v > 0xFFFFu) return false;
    *number = static_cast<uint32_t>(v);
    return true;
}

}  // namespace

const Table& ProgramTable() { return w32_resource_table; }

const Resource* Find(const Table& table, uint16_t type, const char* name) {
    if (name == nullptr) return nullptr;
    bool byNumber = IsIntResource(name);
    uint32_t number = 0;
    if (byNumber)
        number = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(name));
    else if (ParseHashNumber(name, &number))
        byNumber = true;
    for (size_t i = 0; i < table.count; ++i) {
        const Resource& r = table.resources[i];
        if (r.type != type) continue;
        if (byNumber ? (r.name == nullptr && r.number == number) : (r.name != nullptr && SameName(r.name, name)))
            return &r;
    }
    return nullptr;
}

const StringEntry* FindString(const Table& table, uint32_t id) {
    size_t lo = 0, hi = table.stringCount;
    while (lo < hi) {
        size_t mid = lo + (hi - lo) / 2;
        uint32_t v = table.strings[mid].id;
        if (v == id) return &table.strings[mid];
        if (v < id)
            lo = mid + 1;
        else
            hi = mid;
    }
    return nullptr;
}

const Resource* Find(uint16_t type, const char* name) { return Find(ProgramTable(), type, name); }

const DialogTemplate* FindDialog(const char* name) {
    const Resource* r = Find(kTypeDialog, name);
    return r ? static_cast<const DialogTemplate*>(r->data) : nullptr;
}

const MenuTemplate* FindMenu(const char* name) {
    const Resource* r = Find(kTypeMenu, name);
    return r ? static_cast<const MenuTemplate*>(r->data) : nullptr;
}

const BinaryData* FindBitmap(const char* name) {
    const Resource* r = Find(kTypeBitmap, name);
    return r ? static_cast<const BinaryData*>(r->data) : nullptr;
}

const BinaryData* FindIcon(const char* name) {
    const Resource* r = Find(kTypeIcon, name);
    return r ? static_cast<const BinaryData*>(r->data) : nullptr;
}

const StringEntry* FindString(uint32_t id) { return FindString(ProgramTable(), id); }

}  // namespace w32res
