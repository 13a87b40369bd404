#pragma once
// What a bound control holds to follow a data source.  A link is told when the data
// set it sees opens or closes (ActiveChanged), when the current record moves
// (DataSetScrolled, also for the first record of a fresh result), when the whole
// result is replaced (DataSetChanged) and when the field list changes
// (LayoutChanged).  By default a scroll and a layout change are handled as a change of
// the data set, and that as a change of the whole record.
#include <string>

#include "framework/core/Object.h"
#include "framework/core/Strings.h"

class TDataSource;
class TDataSet;
class TField;

class TDataLink : public TPersistent {
  DECLARE_CLASS(TDataLink, TPersistent)
  TDataLink() = default;

  TDataSource* DataSource() const { return source_; }
  void SetDataSource(TDataSource* source);
  // The source's data set, null without one.
  TDataSet* DataSet() const;
  // The data set is open and reachable through an enabled source.
  bool Active() const { return active_; }
  int RecordCount() const;

 protected:
  ~TDataLink() override;
  void BeforeDestruction() override;
  virtual void ActiveChanged() {}
  virtual void DataSetChanged() { RecordChanged(nullptr); }
  virtual void DataSetScrolled(int distance) { DataSetChanged(); }
  virtual void LayoutChanged() { DataSetChanged(); }
  virtual void RecordChanged(TField* field) {}

 private:
  friend class TDataSource;
  // Re-reads the active state; ActiveChanged when it changed.
  void UpdateState();

  TDataSource* source_ = nullptr;  // kept exact by both sides
  bool active_ = false;
};

// A link to one field by name, as an edit or a label bound to a column holds it.
class TFieldDataLink : public TDataLink {
  DECLARE_CLASS(TFieldDataLink, TDataLink)
  TFieldDataLink() = default;

  const std::u16string& FieldName() const { return fieldName_; }
  void SetFieldName(const std::u16string& name);
  // The field of that name while the data set is open, else null.
  TField* Field() const;
  // The field's text of the current record; empty without an open field.
  std::u16string FieldText() const;

  // After the shown value may have changed (open, close, move, new result).
  TNotifyEvent OnDataChange;
  TNotifyEvent OnActiveChange;

 protected:
  void ActiveChanged() override;
  void LayoutChanged() override;
  void RecordChanged(TField* field) override;

 private:
  void UpdateField();

  std::u16string fieldName_;
  TWeakRef<TField> field_;
};
