#include "commctrl/ListStore.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

namespace w32::cc {

struct ListStore::Block {
    uint32_t state;
    uint16_t cells;
    uint16_t cellCap;  // slots in the end array
    intptr_t param;
    uint32_t byteCap;  // room for text bytes
    // uint32_t ends[cellCap]; char text[byteCap];
    uint32_t* Ends() { return reinterpret_cast<uint32_t*>(this + 1); }
    const uint32_t* Ends() const { return reinterpret_cast<const uint32_t*>(this + 1); }
    char* Bytes() { return reinterpret_cast<char*>(Ends() + cellCap); }
    const char* Bytes() const { return reinterpret_cast<const char*>(Ends() + cellCap); }
    uint32_t TextBytes() const { return cells ? Ends()[cells - 1] : 0; }
    std::string_view Cell(int i) const {
        if (i < 0 || i >= cells) return {};
        uint32_t begin = i ? Ends()[i - 1] : 0;
        return std::string_view(Bytes() + begin, Ends()[i] - begin);
    }
    size_t Size() const { return sizeof(Block) + sizeof(uint32_t) * cellCap + byteCap; }
};

ListStore::~ListStore() { Clear(); }

ListStore::Block* ListStore::Make(uint32_t state, intptr_t param, std::string_view text0, size_t cellCap,
                                  size_t byteCap) {
    cellCap = std::max<size_t>(cellCap, 1);
    byteCap = std::max(byteCap, text0.size());
    if (byteCap > UINT32_MAX) return nullptr;
    auto* b = static_cast<Block*>(std::malloc(sizeof(Block) + sizeof(uint32_t) * cellCap + byteCap));
    if (!b) return nullptr;
    b->state = state;
    b->cells = 1;
    b->cellCap = static_cast<uint16_t>(cellCap);
    b->param = param;
    b->byteCap = static_cast<uint32_t>(byteCap);
    if (!text0.empty()) std::memcpy(b->Bytes(), text0.data(), text0.size());
    b->Ends()[0] = static_cast<uint32_t>(text0.size());
    return b;
}

// Gives the block room for `cells` cells holding `bytes` text bytes, with
// room for the cells still to come; null when out of memory (the old block
// stays valid then).
ListStore::Block* ListStore::Grow(Block* old, size_t cells, size_t bytes) {
    size_t cellCap = old->cellCap;
    if (cells > cellCap) cellCap = std::max<size_t>(cells, std::min<size_t>(cellCap * 2 < 4 ? 4 : cellCap * 2, 0xFFFF));
    // Room for the free end slots at the average length of the cells so far.
    size_t byteCap = old->byteCap;
    if (bytes > byteCap) byteCap = std::max(bytes, (bytes * cellCap + cells - 1) / cells);
    if (byteCap > UINT32_MAX) byteCap = bytes;
    if (byteCap > UINT32_MAX) return nullptr;
    const size_t oldCellCap = old->cellCap;
    const uint32_t used = old->TextBytes();
    auto* b = static_cast<Block*>(std::realloc(old, sizeof(Block) + sizeof(uint32_t) * cellCap + byteCap));
    if (!b) return nullptr;
    if (cellCap != oldCellCap) {
        // The text moves behind the longer end array.
        char* from = reinterpret_cast<char*>(b->Ends() + oldCellCap);
        b->cellCap = static_cast<uint16_t>(cellCap);
        if (used) std::memmove(b->Bytes(), from, used);
    }
    b->byteCap = static_cast<uint32_t>(byteCap);
    return b;
}

// The block shrunk to its cells and their text (in place: nothing is
// copied but the text, when end slots are given back).
ListStore::Block* ListStore::Fit(Block* b) {
    const uint32_t used = b->TextBytes();
    if (b->cellCap == b->cells && b->byteCap == used) return b;
    if (b->cellCap != b->cells) {
        std::memmove(b->Ends() + b->cells, b->Bytes(), used);
        b->cellCap = b->cells;
    }
    b->byteCap = used;
    auto* fitted = static_cast<Block*>(std::realloc(b, b->Size()));
    return fitted ? fitted : b;  // a failed shrink leaves the block as it is
}

int ListStore::Insert(int row, std::string_view text0, uint32_t state, intptr_t param) {
    if (row < 0) row = 0;
    if (row > Count()) row = Count();
    // The row inserted before is complete now: its size is the likely size
    // of this one, and its spare room goes back.
    size_t byteHint = 0;
    if (Valid(lastInserted_)) {
        Block*& prev = rows_[lastInserted_].b;
        byteHint = prev->TextBytes();
        prev = Fit(prev);
    }
    lastInserted_ = -1;
    Block* b = Make(state, param, text0, size_t(cellHint_), byteHint);
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
    lastInserted_ = row;
    return row;
}

bool ListStore::Erase(int row) {
    if (!Valid(row)) return false;
    std::free(rows_[row].b);
    rows_.erase(rows_.begin() + row);
    lastInserted_ = -1;
    return true;
}

void ListStore::Clear() {
    for (Row& r : rows_) std::free(r.b);
    rows_.clear();
    rows_.shrink_to_fit();
    lastInserted_ = -1;
}

std::string_view ListStore::Text(int row, int sub) const {
    if (!Valid(row)) return {};
    return rows_[row].b->Cell(sub);
}

int ListStore::CellCount(int row) const { return Valid(row) ? rows_[row].b->cells : 0; }

bool ListStore::SetText(int row, int sub, std::string_view text) {
    if (!Valid(row) || sub < 0 || sub >= 0xFFFF) return false;
    Block* b = rows_[row].b;
    const uint32_t used = b->TextBytes();
    if (!text.empty() && text.data() >= b->Bytes() && text.data() < b->Bytes() + used) {
        const std::string copy(text);  // a text from this very row: moving the cells would change it
        return SetText(row, sub, copy);
    }
    if (sub < b->cells) {
        // Replace: the cells behind it shift by the difference in length.
        const uint32_t begin = sub ? b->Ends()[sub - 1] : 0, end = b->Ends()[sub];
        const size_t need = size_t(used) - (end - begin) + text.size();
        if (need > b->byteCap) {
            if (!(b = Grow(b, b->cells, need))) return false;
            rows_[row].b = b;
        }
        char* bytes = b->Bytes();
        if (text.size() != end - begin) std::memmove(bytes + begin + text.size(), bytes + end, used - end);
        if (!text.empty()) std::memcpy(bytes + begin, text.data(), text.size());
        const uint32_t newEnd = static_cast<uint32_t>(begin + text.size());
        const int64_t delta = int64_t(newEnd) - int64_t(end);
        for (int i = sub; i < b->cells; ++i) b->Ends()[i] = static_cast<uint32_t>(b->Ends()[i] + delta);
        return true;
    }
    // Append: the cells before it that were never set stay empty.
    const size_t need = size_t(used) + text.size();
    if (size_t(sub) + 1 > b->cellCap || need > b->byteCap) {
        if (!(b = Grow(b, size_t(sub) + 1, need))) return false;
        rows_[row].b = b;
    }
    if (!text.empty()) std::memcpy(b->Bytes() + used, text.data(), text.size());
    for (int i = b->cells; i < sub; ++i) b->Ends()[i] = used;
    b->Ends()[sub] = static_cast<uint32_t>(need);
    b->cells = static_cast<uint16_t>(sub + 1);
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
