#pragma once
// Fields: one column of a data set, read from the current record.  Persistent fields
// are made by the data set's owner (a data module) and given DataSet = the query;
// otherwise the data set makes one field per result column when it opens.  Every
// value reads as text: integers in decimal, memos whole, floats in at most 15
// significant digits, null as the empty text, and so does everything of a closed data set.
//
// The field classes are small enough to share this file.
#include <cstdint>
#include <string>

#include "framework/core/ClassInfo.h"
#include "framework/core/Component.h"
#include "framework/data/ResultTable.h"

class TDataSet;

enum class TFieldType { ftUnknown, ftWideString, ftInteger, ftAutoInc, ftFloat, ftMemo, ftBlob };
DECLARE_ENUM_NAMES(TFieldType, u"ftUnknown", u"ftWideString", u"ftInteger", u"ftAutoInc",
                   u"ftFloat", u"ftMemo", u"ftBlob")

class TField : public TComponent {
  DECLARE_CLASS(TField, TComponent)

  TDataSet* DataSet() const { return dataSet_; }
  // Appends the field to the data set's persistent fields; raises EDatabaseError when
  // that data set is open or already has a field of this name.
  void SetDataSet(TDataSet* dataSet);
  const std::u16string& FieldName() const { return fieldName_; }
  void SetFieldName(const std::u16string& name);
  // Characters for text fields.  Kept for display: values are never cut to it.
  int Size() const { return size_; }
  void SetSize(int size);
  TFieldType DataType() const { return dataType_; }
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool value) { readOnly_ = value; }
  bool Visible() const { return visible_; }
  void SetVisible(bool value) { visible_ = value; }
  // The column title; the field name unless set.
  std::u16string DisplayLabel() const { return displayLabel_.empty() ? fieldName_ : displayLabel_; }
  void SetDisplayLabel(const std::u16string& text) { displayLabel_ = text; }

  // Position in the data set's field list, -1 outside one.
  int Index() const;
  // 1-based result column the field reads, 0 while unbound.
  int FieldNo() const { return column_ + 1; }

  bool IsNull() const;
  std::u16string AsString() const;
  // Null reads 0.  Raise EConvertError for text that is no number.
  int64_t AsInteger() const;
  double AsFloat() const;
  std::u16string DisplayText() const { return AsString(); }
  // The text of record recNo (1-based) without moving the data set: grids paint rows
  // other than the current one with it.  Empty outside the result.
  std::u16string AsStringAt(int recNo) const;

 protected:
  TField(TComponent* owner, TFieldType type, int size);
  void BeforeDestruction() override;

 private:
  friend class TDataSet;
  TCellValue Value() const;

  TDataSet* dataSet_ = nullptr;  // kept exact by both sides
  int column_ = -1;
  bool isDefault_ = false;  // made by the data set from its result, and owned by it
  std::u16string fieldName_;
  std::u16string displayLabel_;
  TFieldType dataType_;
  int size_;
  bool readOnly_ = false;
  bool visible_ = true;
};

class TIntegerField : public TField {
  DECLARE_CLASS(TIntegerField, TField)
  explicit TIntegerField(TComponent* owner) : TField(owner, TFieldType::ftInteger, 0) {}

 protected:
  TIntegerField(TComponent* owner, TFieldType type) : TField(owner, type, 0) {}
};

// The table's own numbering: read-only.
class TAutoIncField : public TIntegerField {
  DECLARE_CLASS(TAutoIncField, TIntegerField)
  explicit TAutoIncField(TComponent* owner);
};

class TFloatField : public TField {
  DECLARE_CLASS(TFloatField, TField)
  explicit TFloatField(TComponent* owner) : TField(owner, TFieldType::ftFloat, 0) {}
};

// Default size 20 characters.
class TWideStringField : public TField {
  DECLARE_CLASS(TWideStringField, TField)
  explicit TWideStringField(TComponent* owner) : TField(owner, TFieldType::ftWideString, 20) {}
};

// Binary data reads as text one byte per character.
class TBlobField : public TField {
  DECLARE_CLASS(TBlobField, TField)
  explicit TBlobField(TComponent* owner) : TField(owner, TFieldType::ftBlob, 0) {}

 protected:
  TBlobField(TComponent* owner, TFieldType type) : TField(owner, type, 0) {}
};

class TMemoField : public TBlobField {
  DECLARE_CLASS(TMemoField, TBlobField)
  explicit TMemoField(TComponent* owner) : TBlobField(owner, TFieldType::ftMemo) {}
};

// A new field of the class for type (owner may be null).
TField* CreateField(TFieldType type, TComponent* owner);
// The field type and size for a column of a result: from the declared type, else from
// the first value in the column.
TFieldType FieldTypeForColumn(const TResultTable& result, int column, int& size);
// A number as field text shows it: up to 15 significant digits, "1E20", "1.5E-7".
std::u16string FloatToText(double value);
