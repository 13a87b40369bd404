#include "framework/data/Field.h"

#include <charconv>
#include <cmath>
#include <cstring>

#include "framework/core/Exception.h"
#include "framework/core/Property.h"
#include "framework/core/Unicode.h"
#include "framework/data/DataSet.h"
#include "framework/data/DatabaseError.h"

IMPLEMENT_CLASS_WITH_PROPERTIES(TField) {
  p.Text(u"FieldName", &TField::FieldName, &TField::SetFieldName);
  p.Object<TDataSet>(u"DataSet", &TField::DataSet, &TField::SetDataSet);
  p.Integer(u"Size", &TField::Size, &TField::SetSize);
  p.Enum<TFieldType>(u"DataType", &TField::DataType);
  p.Boolean(u"ReadOnly", &TField::ReadOnly, &TField::SetReadOnly);
  p.Boolean(u"Visible", &TField::Visible, &TField::SetVisible);
  p.Text(u"DisplayLabel", &TField::DisplayLabel, &TField::SetDisplayLabel);
}
IMPLEMENT_CLASS(TIntegerField)
IMPLEMENT_CLASS(TAutoIncField)
IMPLEMENT_CLASS(TFloatField)
IMPLEMENT_CLASS(TWideStringField)
IMPLEMENT_CLASS(TBlobField)
IMPLEMENT_CLASS(TMemoField)

TField::TField(TComponent* owner, TFieldType type, int size)
    : TComponent(owner), dataType_(type), size_(size) {}

TAutoIncField::TAutoIncField(TComponent* owner) : TIntegerField(owner, TFieldType::ftAutoInc) {
  SetReadOnly(true);
}

void TField::BeforeDestruction() {
  if (dataSet_ != nullptr) dataSet_->RemoveField(this);
  TComponent::BeforeDestruction();
}

void TField::SetDataSet(TDataSet* dataSet) {
  if (dataSet == dataSet_) return;
  if (isDefault_) throw EDatabaseError(u"A field made from a result stays with its data set");
  if (dataSet != nullptr) {
    dataSet->CheckInactive();
    dataSet->CheckFieldName(this, fieldName_);
  }
  if (dataSet_ != nullptr) {
    dataSet_->CheckInactive();
    dataSet_->RemoveField(this);
  }
  if (dataSet != nullptr) dataSet->AddField(this);
}

void TField::SetFieldName(const std::u16string& name) {
  if (name == fieldName_) return;
  if (isDefault_) throw EDatabaseError(u"A field made from a result keeps its column's name");
  if (dataSet_ != nullptr) {
    dataSet_->CheckInactive();
    dataSet_->CheckFieldName(this, name);
  }
  fieldName_ = name;
}

void TField::SetSize(int size) {
  if (size == size_) return;
  if (dataSet_ != nullptr) dataSet_->CheckInactive();
  if (size < 0) throw EDatabaseError(Name() + u": Invalid field size " + IntToStr(size));
  size_ = size;
}

int TField::Index() const {
  if (dataSet_ == nullptr) return -1;
  const auto& list = dataSet_->FieldList();
  for (size_t i = 0; i < list.size(); ++i)
    if (list[i] == this) return static_cast<int>(i);
  return -1;
}

TCellValue TField::Value() const {
  if (dataSet_ == nullptr || column_ < 0) return {};
  return dataSet_->CellValue(dataSet_->row_, column_);
}

namespace {

std::u16string CellText(const TCellValue& v) {
  switch (v.Kind) {
    case TValueKind::Null:
      return {};
    case TValueKind::Integer:
      return IntToStr(v.Integer);
    case TValueKind::Float:
      return FloatToText(v.Float);
    case TValueKind::Text:
      return Utf8ToUtf16(v.Bytes);
    case TValueKind::Blob: {
      std::u16string out;
      out.reserve(v.Bytes.size());
      for (char c : v.Bytes) out.push_back(static_cast<unsigned char>(c));
      return out;
    }
  }
  return {};
}

std::string_view TrimBytes(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

}  // namespace

bool TField::IsNull() const { return Value().IsNull(); }

std::u16string TField::AsString() const { return CellText(Value()); }

std::u16string TField::AsStringAt(int recNo) const {
  if (dataSet_ == nullptr || column_ < 0) return {};
  return CellText(dataSet_->CellValue(recNo - 1, column_));
}

int64_t TField::AsInteger() const {
  TCellValue v = Value();
  switch (v.Kind) {
    case TValueKind::Null:
      return 0;
    case TValueKind::Integer:
      return v.Integer;
    case TValueKind::Float:
      if (std::isfinite(v.Float) && std::fabs(v.Float) < 9.2e18)
        return static_cast<int64_t>(std::nearbyint(v.Float));
      break;
    case TValueKind::Text: {
      int64_t n = 0;
      if (TryStrToInt(Trim(Utf8ToUtf16(v.Bytes)), n)) return n;
      break;
    }
    case TValueKind::Blob:
      break;
  }
  throw EConvertError(u"'" + CellText(v) + u"' is not a valid integer value");
}

double TField::AsFloat() const {
  TCellValue v = Value();
  switch (v.Kind) {
    case TValueKind::Null:
      return 0;
    case TValueKind::Integer:
      return static_cast<double>(v.Integer);
    case TValueKind::Float:
      return v.Float;
    case TValueKind::Text: {
      std::string_view s = TrimBytes(v.Bytes);
      double d = 0;
      auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), d);
      if (!s.empty() && ec == std::errc() && end == s.data() + s.size()) return d;
      break;
    }
    case TValueKind::Blob:
      break;
  }
  throw EConvertError(u"'" + CellText(v) + u"' is not a valid floating point value");
}

std::u16string FloatToText(double value) {
  if (std::isnan(value)) return u"NAN";
  if (std::isinf(value)) return value > 0 ? u"INF" : u"-INF";
  if (value == 0) return u"0";
  char buffer[64];
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
  std::string text(buffer, ec == std::errc() ? end : buffer);
  // "1e+20" -> "1E20", "1.5e-07" -> "1.5E-7", as number text is written in the UI.
  size_t e = text.find('e');
  if (e != std::string::npos) {
    std::string mantissa = text.substr(0, e);
    std::string exponent = text.substr(e + 1);
    bool negative = !exponent.empty() && exponent[0] == '-';
    size_t digits = exponent.find_first_not_of("+-0");
    text = mantissa + "E" + (negative ? "-" : "") +
           (digits == std::string::npos ? "0" : exponent.substr(digits));
  }
  return Utf8ToUtf16(text);
}

TField* CreateField(TFieldType type, TComponent* owner) {
  switch (type) {
    case TFieldType::ftInteger:
      return new TIntegerField(owner);
    case TFieldType::ftAutoInc:
      return new TAutoIncField(owner);
    case TFieldType::ftFloat:
      return new TFloatField(owner);
    case TFieldType::ftMemo:
      return new TMemoField(owner);
    case TFieldType::ftBlob:
      return new TBlobField(owner);
    case TFieldType::ftWideString:
    case TFieldType::ftUnknown:
      break;
  }
  return new TWideStringField(owner);
}

namespace {

struct TTypeRule {
  const char16_t* Part;  // found anywhere in the upper-cased declared type
  TFieldType Type;
};

// Checked in order, as SQLite picks a column's affinity: "INT" anywhere is an
// integer; long text kinds come before the short ones whose names they contain.
const TTypeRule kTypeRules[] = {
    {u"COUNTER", TFieldType::ftAutoInc},  {u"AUTOINCREMENT", TFieldType::ftAutoInc},
    {u"INT", TFieldType::ftInteger},      {u"MEMO", TFieldType::ftMemo},
    {u"LONGTEXT", TFieldType::ftMemo},    {u"LONGCHAR", TFieldType::ftMemo},
    {u"NTEXT", TFieldType::ftMemo},       {u"CLOB", TFieldType::ftMemo},
    {u"CHAR", TFieldType::ftWideString},  {u"TEXT", TFieldType::ftWideString},
    {u"STRING", TFieldType::ftWideString}, {u"BLOB", TFieldType::ftBlob},
    {u"BINARY", TFieldType::ftBlob},      {u"IMAGE", TFieldType::ftBlob},
    {u"REAL", TFieldType::ftFloat},       {u"FLOA", TFieldType::ftFloat},
    {u"DOUB", TFieldType::ftFloat},       {u"NUMERIC", TFieldType::ftFloat},
    {u"DECIMAL", TFieldType::ftFloat},    {u"CURRENCY", TFieldType::ftFloat},
    {u"MONEY", TFieldType::ftFloat},
};

// Jet's default text size when a declaration gives none.
constexpr int kDefaultTextSize = 255;

int DeclaredSize(const std::u16string& declared) {
  size_t open = declared.find(u'(');
  if (open == std::u16string::npos) return kDefaultTextSize;
  int64_t n = 0;
  size_t close = declared.find_first_of(u",)", open + 1);
  if (close == std::u16string::npos || !TryStrToInt(Trim(declared.substr(open + 1, close - open - 1)), n) ||
      n <= 0 || n > 1 << 30)
    return kDefaultTextSize;
  return static_cast<int>(n);
}

}  // namespace

TFieldType FieldTypeForColumn(const TResultTable& result, int column, int& size) {
  const TResultColumn& col = result.Column(column);
  size = 0;
  if (col.RowIdAlias) return TFieldType::ftAutoInc;
  std::u16string declared = UpperAscii(col.DeclaredType);
  if (!declared.empty()) {
    for (const TTypeRule& rule : kTypeRules) {
      if (declared.find(rule.Part) == std::u16string::npos) continue;
      if (rule.Type == TFieldType::ftWideString) size = DeclaredSize(declared);
      return rule.Type;
    }
  }
  switch (result.FirstValueKind(column)) {
    case TValueKind::Integer:
      return TFieldType::ftInteger;
    case TValueKind::Float:
      return TFieldType::ftFloat;
    case TValueKind::Blob:
      return TFieldType::ftBlob;
    case TValueKind::Text:
    case TValueKind::Null:
      break;
  }
  size = kDefaultTextSize;
  return TFieldType::ftWideString;
}
