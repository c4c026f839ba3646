// Row store of the list view: the rows, their cell texts (GBK) and states.
// No Qt. Inserting at either end is O(1); each row keeps its cells in one
// heap block (a 4-byte end offset per cell followed by the text bytes), so a
// cell costs its text plus a few bytes. A cell is written in place when the
// block has room; the block grows geometrically, so filling a row cell by
// cell costs a few allocations, not one per cell. A new row's block is made
// with room for the list's columns and the text of the row inserted before
// it, so a row filled like the one before costs one allocation; that row's
// block is fitted to its cells when the next row comes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string_view>

namespace w32::cc {

class ListStore {
public:
    ListStore() = default;
    ListStore(const ListStore&) = delete;
    ListStore& operator=(const ListStore&) = delete;
    ~ListStore();

    int Count() const { return static_cast<int>(rows_.size()); }
    bool Valid(int row) const { return row >= 0 && row < Count(); }

    // Inserts a row before index `row` (clamped to 0..Count()) with the text of
    // its first cell. Returns the new row's index, or -1 when out of memory.
    int Insert(int row, std::string_view text0, uint32_t state = 0, intptr_t param = 0);
    bool Erase(int row);
    void Clear();

    // Text of a cell; empty for a missing row or a cell never set.
    std::string_view Text(int row, int sub) const;
    bool SetText(int row, int sub, std::string_view text);
    int CellCount(int row) const;

    uint32_t State(int row) const;
    // state = (state & ~mask) | (bits & mask); returns false for a bad row.
    bool SetState(int row, uint32_t bits, uint32_t mask);
    intptr_t Param(int row) const;
    bool SetParam(int row, intptr_t param);

    // The number of cells a new row is made with room for (the columns).
    void SetCellHint(int cells) { cellHint_ = cells < 1 ? 1 : (cells > 0xFFFF ? 0xFFFF : cells); }

    // Bytes held by the rows (blocks and row slots), for the memory figures.
    size_t HeapBytes() const;

private:
    struct Block;  // header, cell ends, text bytes
    struct Row {
        Block* b = nullptr;
    };
    static Block* Make(uint32_t state, intptr_t param, std::string_view text0, size_t cellCap, size_t byteCap);
    static Block* Grow(Block* old, size_t cells, size_t bytes);
    static Block* Fit(Block* b);
    std::deque<Row> rows_;
    int cellHint_ = 1;
    int lastInserted_ = -1;  // the row inserted last, while it may still be filled
};

}  // namespace w32::cc
