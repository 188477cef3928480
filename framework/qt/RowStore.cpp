#include "framework/qt/RowStore.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <utility>

namespace Ovelund {

namespace {
constexpr std::size_t kCellsPerChunkTarget = 16384;
constexpr std::uint32_t kTextChunkBytes = 64 * 1024;

std::int32_t ClampColumns(std::int32_t count) {
    return std::clamp(count, std::int32_t{1}, RowStore::kMaxColumns);
}

// Cuts before a UTF-8 continuation byte would be split, so a truncated cell is still whole characters.
std::string_view FitCell(std::string_view text) {
    if (text.size() <= RowStore::kMaxCellBytes) {
        return text;
    }
    std::size_t length = RowStore::kMaxCellBytes;
    while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80) {
        --length;
    }
    return text.substr(0, length);
}
} // namespace

RowStore::RowStore(std::int32_t columnCount)
    : columns_(ClampColumns(columnCount)), rowsPerChunkShift_(RowsPerChunkShift(columns_)) {}

// Blocks of a power-of-two number of rows, about kCellsPerChunkTarget cells each, so that locating a row is a
// shift and a mask.
int RowStore::RowsPerChunkShift(std::int32_t columns) {
    const std::size_t rows = std::max<std::size_t>(1, kCellsPerChunkTarget / std::size_t(columns));
    int shift = 0;
    while ((std::size_t{2} << shift) <= rows) {
        ++shift;
    }
    return shift;
}

RowStore::CellRef* RowStore::RowCells(std::int32_t row) const {
    const auto index = static_cast<std::size_t>(row);
    const std::size_t mask = (std::size_t{1} << rowsPerChunkShift_) - 1;
    return cellChunks_[index >> rowsPerChunkShift_].get() + (index & mask) * std::size_t(columns_);
}

void RowStore::SetColumnCount(std::int32_t count) {
    count = ClampColumns(count);
    if (count == columns_) {
        return;
    }
    // The text arena is kept as it is; only the cell records are laid out anew. It moves over last, so a
    // failed allocation leaves this store untouched.
    RowStore relaid(count);
    const std::int32_t kept = std::min(count, columns_);
    for (std::int32_t row = 0; row < rows_; ++row) {
        relaid.AddRow({});
        std::copy_n(RowCells(row), kept, relaid.RowCells(row));
    }
    relaid.textChunks_ = std::move(textChunks_);
    relaid.openTextChunk_ = openTextChunk_;
    relaid.textBytesAllocated_ = textBytesAllocated_;
    *this = std::move(relaid);
}

RowStore::CellRef RowStore::StoreText(std::string_view text) {
    text = FitCell(text);
    if (text.empty()) {
        return {};
    }
    const auto length = static_cast<std::uint32_t>(text.size());
    // A text bigger than a block gets a block of its own; the open block stays open for the small ones.
    if (length > kTextChunkBytes) {
        TextChunk& own = textChunks_.emplace_back();
        own.bytes = std::make_unique_for_overwrite<char[]>(length);
        own.capacity = own.used = length;
        textBytesAllocated_ += length;
        std::memcpy(own.bytes.get(), text.data(), length);
        return {static_cast<std::uint32_t>(textChunks_.size() - 1), 0, length};
    }
    if (textChunks_.empty() ||
        textChunks_[openTextChunk_].capacity - textChunks_[openTextChunk_].used < length) {
        TextChunk& fresh = textChunks_.emplace_back();
        fresh.bytes = std::make_unique_for_overwrite<char[]>(kTextChunkBytes);
        fresh.capacity = kTextChunkBytes;
        textBytesAllocated_ += kTextChunkBytes;
        openTextChunk_ = textChunks_.size() - 1;
    }
    TextChunk& open = textChunks_[openTextChunk_];
    const CellRef ref{static_cast<std::uint32_t>(openTextChunk_), open.used, length};
    std::memcpy(open.bytes.get() + open.used, text.data(), length);
    open.used += length;
    return ref;
}

std::int32_t RowStore::AddRow(std::string_view text) {
    if (rows_ == std::numeric_limits<std::int32_t>::max()) {
        return -1;
    }
    const std::size_t chunk = static_cast<std::size_t>(rows_) >> rowsPerChunkShift_;
    if (chunk == cellChunks_.size()) {
        // Left uninitialised, so that no append pays for writing (and faulting in) a whole block: each row
        // clears its own cells below.
        cellChunks_.push_back(std::make_unique_for_overwrite<CellRef[]>(CellsPerChunk()));
    }
    const CellRef first = StoreText(text);
    CellRef* cells = RowCells(rows_);
    std::fill_n(cells, columns_, CellRef{});
    cells[0] = first;
    return rows_++;
}

void RowStore::SetCell(std::int32_t row, std::int32_t column, std::string_view text) {
    if (row < 0 || row >= rows_ || column < 0 || column >= columns_) {
        return;
    }
    CellRef& ref = RowCells(row)[column];
    text = FitCell(text);
    if (ref.length > 0 && text.size() <= ref.length) {
        // memmove: `text` may be a view into this very cell.
        if (!text.empty()) {
            std::memmove(textChunks_[ref.chunk].bytes.get() + ref.offset, text.data(), text.size());
        }
        ref.length = static_cast<std::uint32_t>(text.size());
        return;
    }
    ref = StoreText(text);
}

std::string_view RowStore::Cell(std::int32_t row, std::int32_t column) const {
    if (row < 0 || row >= rows_ || column < 0 || column >= columns_) {
        return {};
    }
    const CellRef& ref = RowCells(row)[column];
    if (ref.length == 0) {
        return {};
    }
    return {textChunks_[ref.chunk].bytes.get() + ref.offset, ref.length};
}

void RowStore::Clear() {
    std::vector<std::unique_ptr<CellRef[]>>().swap(cellChunks_);
    std::vector<TextChunk>().swap(textChunks_);
    rows_ = 0;
    openTextChunk_ = 0;
    textBytesAllocated_ = 0;
}

std::size_t RowStore::BytesAllocated() const {
    return cellChunks_.capacity() * sizeof(cellChunks_[0]) +
           cellChunks_.size() * CellsPerChunk() * sizeof(CellRef) +
           textChunks_.capacity() * sizeof(TextChunk) + textBytesAllocated_;
}

} // namespace Ovelund
