#include "framework/data/ResultTable.h"

#include <climits>
#include <cstring>

#include "framework/data/DatabaseError.h"

namespace {
// Block k holds kFirstBlock << k cells; chunks grow from kFirstChunk to kLargestChunk
// bytes, and a longer text gets a chunk of its own.
constexpr size_t kFirstBlock = 256;
constexpr size_t kFirstChunk = 4096;
constexpr size_t kLargestChunk = size_t(4) << 20;
}  // namespace

TResultTable::TResultTable(std::vector<TResultColumn> columns) : columns_(std::move(columns)) {}

void TResultTable::Locate(size_t cell, size_t& block, size_t& offset) {
  const unsigned long long q = cell / kFirstBlock + 1;
  block = static_cast<size_t>(63 - __builtin_clzll(q));
  offset = cell - kFirstBlock * ((size_t(1) << block) - 1);
}

TCellValue TResultTable::Cell(int row, int column) const {
  TCellValue v;
  if (row < 0 || row >= rows_ || column < 0 || column >= ColumnCount()) return v;
  size_t block, offset;
  Locate(static_cast<size_t>(row) * columns_.size() + static_cast<size_t>(column), block, offset);
  const TCellBlock& b = blocks_[block];
  v.Kind = static_cast<TValueKind>(b.Kinds[offset]);
  const int64_t slot = b.Slots[offset];
  switch (v.Kind) {
    case TValueKind::Null:
      break;
    case TValueKind::Integer:
      v.Integer = slot;
      break;
    case TValueKind::Float:
      std::memcpy(&v.Float, &slot, sizeof v.Float);
      break;
    case TValueKind::Text:
    case TValueKind::Blob: {
      const char* at = chunks_[static_cast<size_t>(slot >> 32)].Bytes.get() + (slot & 0xFFFFFFFF);
      uint32_t length;
      std::memcpy(&length, at, sizeof length);
      v.Bytes = std::string_view(at + sizeof length, length);
      break;
    }
  }
  return v;
}

TValueKind TResultTable::FirstValueKind(int column) const {
  const size_t width = columns_.size();
  for (size_t cell = static_cast<size_t>(column); cell < cells_; cell += width) {
    size_t block, offset;
    Locate(cell, block, offset);
    uint8_t kind = blocks_[block].Kinds[offset];
    if (kind != static_cast<uint8_t>(TValueKind::Null)) return static_cast<TValueKind>(kind);
  }
  return TValueKind::Null;
}

size_t TResultTable::BytesUsed() const { return bytesAllocated_; }

void TResultTable::AddCell(TValueKind kind, int64_t slot) {
  if (cells_ == capacity_) {
    const size_t size = kFirstBlock << blocks_.size();
    // Left uninitialised: pages are touched only as cells are written.
    blocks_.push_back(TCellBlock{std::unique_ptr<uint8_t[]>(new uint8_t[size]),
                                 std::unique_ptr<int64_t[]>(new int64_t[size])});
    capacity_ += size;
    bytesAllocated_ += size * (sizeof(uint8_t) + sizeof(int64_t));
  }
  size_t block, offset;
  Locate(cells_, block, offset);
  blocks_[block].Kinds[offset] = static_cast<uint8_t>(kind);
  blocks_[block].Slots[offset] = slot;
  ++cells_;
}

void TResultTable::AddNull() { AddCell(TValueKind::Null, 0); }

void TResultTable::AddInteger(int64_t value) { AddCell(TValueKind::Integer, value); }

void TResultTable::AddFloat(double value) {
  int64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  AddCell(TValueKind::Float, bits);
}

void TResultTable::AddText(const char* bytes, size_t length) {
  AddBytes(TValueKind::Text, bytes, length);
}

void TResultTable::AddBlob(const void* bytes, size_t length) {
  AddBytes(TValueKind::Blob, bytes, length);
}

void TResultTable::AddBytes(TValueKind kind, const void* bytes, size_t length) {
  if (length > UINT32_MAX - sizeof(uint32_t)) throw EDatabaseError(u"A value is too large to be read");
  const size_t need = sizeof(uint32_t) + length;
  if (chunks_.empty() || chunks_.back().Size - chunkUsed_ < need) {
    size_t size = chunks_.empty() ? kFirstChunk : chunks_.back().Size * 2;
    if (size > kLargestChunk) size = kLargestChunk;
    if (size < need) size = need;
    chunks_.push_back(TChunk{std::unique_ptr<char[]>(new char[size]), size});
    chunkUsed_ = 0;
    bytesAllocated_ += size;
  }
  char* at = chunks_.back().Bytes.get() + chunkUsed_;
  const uint32_t length32 = static_cast<uint32_t>(length);
  std::memcpy(at, &length32, sizeof length32);
  if (length != 0) std::memcpy(at + sizeof length32, bytes, length);
  const int64_t slot = (static_cast<int64_t>(chunks_.size() - 1) << 32) | static_cast<int64_t>(chunkUsed_);
  chunkUsed_ += need;
  AddCell(kind, slot);
}

void TResultTable::EndRow() {
  if (cells_ != (static_cast<size_t>(rows_) + 1) * columns_.size())
    throw EDatabaseError(u"A result row does not have one value per column");
  if (rows_ == INT_MAX) throw EDatabaseError(u"The result has too many records");
  ++rows_;
}
