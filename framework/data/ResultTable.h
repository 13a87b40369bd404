#pragma once
// A query result held in memory, compactly: one kind byte and one 64-bit slot per
// cell, and every text in a single byte arena (UTF-8 as the engine stores it,
// each text preceded by its length).  Opening a search of hundreds of thousands of
// rows thus costs a few allocations, not one string per cell, and any record is
// reached in constant time.
#include <cstddef>
#include <cstdint>
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
  void AddBytes(TValueKind kind, const void* bytes, size_t length);

  std::vector<TResultColumn> columns_;
  std::vector<uint8_t> kinds_;
  std::vector<int64_t> slots_;  // integer, float bits, or arena offset
  std::string arena_;
  int rows_ = 0;
};
