#pragma once
// A query result held in memory, compactly: one kind byte and one 64-bit slot per
// cell, and the texts in a chain of byte chunks (UTF-8 as the engine stores it, each
// text preceded by its length).  Opening a search of hundreds of thousands of rows
// thus costs a few dozen allocations, not one string per cell, and any record is
// reached in constant time.  Cells go in blocks that double in size, so growing
// never copies what is stored: copying, and touching fresh pages while copying, was
// most of the cost of keeping a large result.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

enum class TValueKind : uint8_t { Null, Integer, Float, Text, Blob };

struct TCellValue {
  TValueKind Kind = TValueKind::Null;
  int64_t Integer = 0;
  double Float = 0;
  std::string_view Bytes;  // Text (UTF-8) or Blob
  bool IsNull() const { return Kind == TValueKind::Null; }
};

struct TResultColumn {
  std::u16string Name;
  // The type the table declares for the column, "" for an expression.
  std::u16string DeclaredType;
  // The column is its table's INTEGER PRIMARY KEY, numbered by the engine.
  bool RowIdAlias = false;
};

class TResultTable {
 public:
  explicit TResultTable(std::vector<TResultColumn> columns);

  int ColumnCount() const { return static_cast<int>(columns_.size()); }
  const TResultColumn& Column(int index) const { return columns_.at(static_cast<size_t>(index)); }
  int RowCount() const { return rows_; }
  TCellValue Cell(int row, int column) const;
  // Kind of the first value that is not null in the column; Null when there is none.
  TValueKind FirstValueKind(int column) const;
  size_t BytesUsed() const;

  // Filling: the cells of one row in column order, then EndRow().
  void AddNull();
  void AddInteger(int64_t value);
  void AddFloat(double value);
  void AddText(const char* bytes, size_t length);
  void AddBlob(const void* bytes, size_t length);
  // Raises EDatabaseError when the row is not complete or the result too large.
  void EndRow();

 private:
  struct TCellBlock {
    std::unique_ptr<uint8_t[]> Kinds;
    std::unique_ptr<int64_t[]> Slots;  // integer, float bits, or chunk << 32 | offset
  };
  struct TChunk {
    std::unique_ptr<char[]> Bytes;
    size_t Size;
  };
  static void Locate(size_t cell, size_t& block, size_t& offset);
  void AddCell(TValueKind kind, int64_t slot);
  void AddBytes(TValueKind kind, const void* bytes, size_t length);

  std::vector<TResultColumn> columns_;
  std::vector<TCellBlock> blocks_;
  size_t cells_ = 0;
  size_t capacity_ = 0;
  std::vector<TChunk> chunks_;
  size_t chunkUsed_ = 0;  // of the last chunk
  size_t bytesAllocated_ = 0;
  int rows_ = 0;
};
