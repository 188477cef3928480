#pragma once
// Rows of UTF-8 text cells, kept compact enough for a list that grows to millions of rows.
//
// Storage is chunked twice: cell records (12 bytes each) live in fixed-size blocks of rows, and the text
// bytes live in a byte arena of 64 KiB blocks. Neither ever moves once written, so an append costs the same
// at row ten as at row ten million: no per-row heap node and no reallocation that copies the rows.
//
// Rows and columns count from 0. Out-of-range access is defined: Cell() returns an empty view and SetCell()
// does nothing. A cell that was never set reads as empty.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <type_traits>
#include <vector>

namespace Ovelund {

class RowStore {
public:
    static constexpr std::int32_t kMaxColumns = 256;
    // Longer texts are cut at the last whole UTF-8 sequence that fits; no list cell shows a megabyte.
    static constexpr std::size_t kMaxCellBytes = std::size_t{1} << 20;

    // The column count is clamped to [1, kMaxColumns].
    explicit RowStore(std::int32_t columnCount = 1);

    RowStore(const RowStore&) = delete;
    RowStore& operator=(const RowStore&) = delete;
    RowStore(RowStore&&) noexcept = default;
    RowStore& operator=(RowStore&&) noexcept = default;
    ~RowStore() = default;

    std::int32_t ColumnCount() const { return columns_; }
    // Clamped to [1, kMaxColumns]. Existing rows keep the cells of the columns that remain; this re-lays out
    // every row (O(rows)), which is meant for setting up a list, not for a list being filled.
    void SetColumnCount(std::int32_t count);

    // Appends a row whose first cell is `text` and returns its index; -1 once the store holds INT32_MAX rows.
    std::int32_t AddRow(std::string_view text);
    // Replaces one cell. A text no longer than the cell's current one is written in place; a longer one is
    // appended to the arena (the old bytes stay allocated until Clear()).
    void SetCell(std::int32_t row, std::int32_t column, std::string_view text);
    // The view stays valid until the store is next modified.
    std::string_view Cell(std::int32_t row, std::int32_t column) const;
    std::int32_t RowCount() const { return rows_; }
    // Removes every row and returns all memory to the allocator.
    void Clear();

    // Bytes this store holds from the allocator: cell blocks, text blocks and their index vectors (allocator
    // bookkeeping excluded; every block is at least tens of kilobytes, so it is negligible).
    std::size_t BytesAllocated() const;

private:
    // Trivial on purpose: a fresh block of cells is left untouched until its rows are added (see AddRow).
    struct CellRef {
        std::uint32_t chunk;
        std::uint32_t offset;
        std::uint32_t length; // 0: empty or never set
    };
    static_assert(std::is_trivially_default_constructible_v<CellRef>);
    struct TextChunk {
        std::unique_ptr<char[]> bytes;
        std::uint32_t capacity = 0;
        std::uint32_t used = 0;
    };

    static int RowsPerChunkShift(std::int32_t columns);
    std::size_t CellsPerChunk() const {
        return (std::size_t{1} << rowsPerChunkShift_) * std::size_t(columns_);
    }
    CellRef* RowCells(std::int32_t row) const;
    CellRef StoreText(std::string_view text);

    std::int32_t columns_;
    int rowsPerChunkShift_;
    std::int32_t rows_ = 0;
    std::vector<std::unique_ptr<CellRef[]>> cellChunks_;
    std::vector<TextChunk> textChunks_;
    std::size_t openTextChunk_ = 0; // the block small texts are appended to
    std::size_t textBytesAllocated_ = 0;
};

} // namespace Ovelund
