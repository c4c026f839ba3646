#include "commctrl/ListStore.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

namespace w32::cc {

struct ListStore::Block {
    uint32_t state;
    uint16_t cells;
    uint16_t reserved;
    intptr_t param;
    // uint32_t ends[cells]; char text[ends[cells-1]];
    uint32_t* Ends() { return reinterpret_cast<uint32_t*>(this + 1); }
    const uint32_t* Ends() const { return reinterpret_cast<const uint32_t*>(this + 1); }
    char* Bytes() { return reinterpret_cast<char*>(Ends() + cells); }
    const char* Bytes() const { return reinterpret_cast<const char*>(Ends() + cells); }
    uint32_t TextBytes() const { return cells ? Ends()[cells - 1] : 0; }
    std::string_view Cell(int i) const {
        if (i < 0 || i >= cells) return {};
        uint32_t begin = i ? Ends()[i - 1] : 0;
        return std::string_view(Bytes() + begin, Ends()[i] - begin);
    }
    size_t Size() const { return sizeof(Block) + sizeof(uint32_t) * cells + TextBytes(); }
};

ListStore::~ListStore() { Clear(); }

ListStore::Block* ListStore::Make(uint32_t state, intptr_t param, int cells, const std::string_view* texts) {
    size_t bytes = 0;
    for (int i = 0; i < cells; ++i) bytes += texts[i].size();
    size_t size = sizeof(Block) + sizeof(uint32_t) * cells + bytes;
    auto* b = static_cast<Block*>(std::malloc(size));
    if (!b) return nullptr;
    b->state = state;
    b->cells = static_cast<uint16_t>(cells);
    b->reserved = 0;
    b->param = param;
    uint32_t end = 0;
    char* out = b->Bytes();
    for (int i = 0; i < cells; ++i) {
        if (!texts[i].empty()) std::memcpy(out + end, texts[i].data(), texts[i].size());
        end += static_cast<uint32_t>(texts[i].size());
        b->Ends()[i] = end;
    }
    return b;
}

int ListStore::Insert(int row, std::string_view text0, uint32_t state, intptr_t param) {
    if (row < 0) row = 0;
    if (row > Count()) row = Count();
    Block* b = Make(state, param, 1, &text0);
    if (!b) return -1;
    try {
        if (row == 0)
            rows_.push_front(Row{b});
        else if (row == Count())
            rows_.push_back(Row{b});
        else
            rows_.insert(rows_.begin() + row, Row{b});
    } catch (const std::bad_alloc&) {
        std::free(b);
        return -1;
    }
    return row;
}

bool ListStore::Erase(int row) {
    if (!Valid(row)) return false;
    std::free(rows_[row].b);
    rows_.erase(rows_.begin() + row);
    return true;
}

void ListStore::Clear() {
    for (Row& r : rows_) std::free(r.b);
    rows_.clear();
    rows_.shrink_to_fit();
}

std::string_view ListStore::Text(int row, int sub) const {
    if (!Valid(row)) return {};
    return rows_[row].b->Cell(sub);
}

int ListStore::CellCount(int row) const { return Valid(row) ? rows_[row].b->cells : 0; }

bool ListStore::SetText(int row, int sub, std::string_view text) {
    if (!Valid(row) || sub < 0 || sub >= 0xFFFF) return false;
    Block* old = rows_[row].b;
    int cells = old->cells > sub ? old->cells : sub + 1;
    std::string_view small[16];
    std::vector<std::string_view> large;
    std::string_view* texts = small;
    if (cells > 16) {
        large.resize(cells);
        texts = large.data();
    }
    for (int i = 0; i < cells; ++i) texts[i] = i == sub ? text : old->Cell(i);
    Block* b = Make(old->state, old->param, cells, texts);
    if (!b) return false;
    rows_[row].b = b;
    std::free(old);
    return true;
}

uint32_t ListStore::State(int row) const { return Valid(row) ? rows_[row].b->state : 0; }

bool ListStore::SetState(int row, uint32_t bits, uint32_t mask) {
    if (!Valid(row)) return false;
    uint32_t& s = rows_[row].b->state;
    s = (s & ~mask) | (bits & mask);
    return true;
}

intptr_t ListStore::Param(int row) const { return Valid(row) ? rows_[row].b->param : 0; }

bool ListStore::SetParam(int row, intptr_t param) {
    if (!Valid(row)) return false;
    rows_[row].b->param = param;
    return true;
}

size_t ListStore::HeapBytes() const {
    size_t n = rows_.size() * sizeof(Row);
    for (const Row& r : rows_) n += r.b->Size();
    return n;
}

}  // namespace w32::cc
