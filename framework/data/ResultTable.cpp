#include "framework/data/ResultTable.h"

#include <climits>
#include <cstring>

#include "framework/data/DatabaseError.h"

TResultTable::TResultTable(std::vector<TResultColumn> columns) : columns_(std::move(columns)) {}

TCellValue TResultTable::Cell(int row, int column) const {
  TCellValue v;
  if (row < 0 || row >= rows_ || column < 0 || column >= ColumnCount()) return v;
  size_t i = static_cast<size_t>(row) * columns_.size() + static_cast<size_t>(column);
  v.Kind = static_cast<TValueKind>(kinds_[i]);
  switch (v.Kind) {
    case TValueKind::Null:
      break;
    case TValueKind::Integer:
      v.Integer = slots_[i];
      break;
    case TValueKind::Float:
      std::memcpy(&v.Float, &slots_[i], sizeof v.Float);
      break;
    case TValueKind::Text:
    case TValueKind::Blob: {
      size_t at = static_cast<size_t>(slots_[i]);
      uint32_t length;
      std::memcpy(&length, arena_.data() + at, sizeof length);
      v.Bytes = std::string_view(arena_.data() + at + sizeof length, length);
      break;
    }
  }
  return v;
}

TValueKind TResultTable::FirstValueKind(int column) const {
  const size_t width = columns_.size();
  for (size_t i = static_cast<size_t>(column); i < kinds_.size(); i += width)
    if (kinds_[i] != static_cast<uint8_t>(TValueKind::Null)) return static_cast<TValueKind>(kinds_[i]);
  return TValueKind::Null;
}

size_t TResultTable::BytesUsed() const {
  return kinds_.capacity() + slots_.capacity() * sizeof(int64_t) + arena_.capacity();
}

void TResultTable::AddNull() {
  kinds_.push_back(static_cast<uint8_t>(TValueKind::Null));
  slots_.push_back(0);
}

void TResultTable::AddInteger(int64_t value) {
  kinds_.push_back(static_cast<uint8_t>(TValueKind::Integer));
  slots_.push_back(value);
}

void TResultTable::AddFloat(double value) {
  int64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  kinds_.push_back(static_cast<uint8_t>(TValueKind::Float));
  slots_.push_back(bits);
}

void TResultTable::AddText(const char* bytes, size_t length) {
  AddBytes(TValueKind::Text, bytes, length);
}

void TResultTable::AddBlob(const void* bytes, size_t length) {
  AddBytes(TValueKind::Blob, bytes, length);
}

void TResultTable::AddBytes(TValueKind kind, const void* bytes, size_t length) {
  if (length > UINT32_MAX) throw EDatabaseError(u"A value is too large to be read");
  uint32_t length32 = static_cast<uint32_t>(length);
  kinds_.push_back(static_cast<uint8_t>(kind));
  slots_.push_back(static_cast<int64_t>(arena_.size()));
  arena_.append(reinterpret_cast<const char*>(&length32), sizeof length32);
  if (length != 0) arena_.append(static_cast<const char*>(bytes), length);
}

void TResultTable::EndRow() {
  if (kinds_.size() != (static_cast<size_t>(rows_) + 1) * columns_.size())
    throw EDatabaseError(u"A result row does not have one value per column");
  if (rows_ == INT_MAX) throw EDatabaseError(u"The result has too many records");
  ++rows_;
}
