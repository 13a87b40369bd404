#pragma once
// A data set with a static cursor over a result held in memory: the record count is
// exact as soon as it is open, and every move is constant time.  The provider's
// part is OpenResult(); fields, moving and the news to data sources are here.
//
// Closing keeps Eof and Bof as they were (a record-identifier edit that empties
// on close must not look like the end of the result); a data set that never opened,
// or whose last open failed, has both set.  Fields of a closed data set read empty.
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "framework/core/ClassInfo.h"
#include "framework/core/Component.h"
#include "framework/core/Strings.h"
#include "framework/data/Field.h"
#include "framework/data/ResultTable.h"

class TDataSource;

enum class TDataSetState { dsInactive, dsBrowse };
DECLARE_ENUM_NAMES(TDataSetState, u"dsInactive", u"dsBrowse")

// What a data set tells its data sources.
enum class TDataEvent {
  deUpdateState,    // opened or closed
  deDataSetChange,  // the whole result replaced while open
  deDataSetScroll,  // the current record moved; info = distance in records
  deLayoutChange,   // the field list changed while open
};

class TDataSet : public TComponent {
  DECLARE_CLASS(TDataSet, TComponent)

  bool Active() const { return active_; }
  // While loading, the value is kept and applied at Loaded().
  void SetActive(bool value);
  // A failed open raises (EDatabaseError or EADOError) and leaves the data set closed.
  void Open();
  void Close();
  // Runs the result again while open, standing on the first record.
  void Requery();
  TDataSetState State() const { return active_ ? TDataSetState::dsBrowse : TDataSetState::dsInactive; }

  bool Eof() const { return eof_; }
  bool Bof() const { return bof_; }
  bool IsEmpty() const { return RecordCount() == 0; }
  // 0 while closed.
  int RecordCount() const;
  // 1-based current record; 0 while closed or empty.
  int RecNo() const { return row_ + 1; }
  // Raises EDatabaseError outside 1..RecordCount.
  void SetRecNo(int recNo);

  // Moving raises EDatabaseError on a closed data set.  Next at the last record sets
  // Eof and stays; Prior at the first sets Bof; MoveBy goes as far as it can and
  // answers how far it went.
  void First();
  void Last();
  void Next();
  void Prior();
  int MoveBy(int distance);

  int FieldCount() const { return static_cast<int>(fields_.size()); }
  // Raises EDatabaseError for an index outside the list.
  TField* Fields(int index) const;
  const std::vector<TField*>& FieldList() const { return fields_; }
  // ASCII case ignored.  FindField answers null for a missing name, FieldByName raises.
  TField* FindField(std::u16string_view name) const;
  TField* FieldByName(std::u16string_view name) const;
  // The field list was made from the result's columns (no persistent fields).
  bool DefaultFields() const { return persistent_.empty(); }

  TNotifyEvent AfterOpen;
  TNotifyEvent AfterClose;
  TNotifyEvent AfterScroll;

 protected:
  explicit TDataSet(TComponent* owner);
  ~TDataSet() override;
  void Loaded() override;
  void BeforeDestruction() override;
  virtual std::unique_ptr<TResultTable> OpenResult() = 0;
  // Raises EDatabaseError with this data set's name before the text.
  [[noreturn]] void DatabaseError(const std::u16string& message) const;
  void CheckInactive() const;

 private:
  friend class TField;
  friend class TDataSource;

  void CheckActive() const;
  void AddField(TField* field);
  void RemoveField(TField* field);
  void CheckFieldName(const TField* field, const std::u16string& name) const;
  TCellValue CellValue(int row, int column) const;
  // Binds the fields to the result's columns, or raises without changing any.
  void BindFields(const TResultTable& result);
  void MakeDefaultFields(const TResultTable& result);
  void FreeDefaultFields();
  void MoveTo(int row);
  void AddDataSource(TDataSource* source);
  void RemoveDataSource(TDataSource* source);
  void DataEvent(TDataEvent event, int info = 0);

  std::unique_ptr<TResultTable> result_;
  std::vector<TField*> persistent_;
  std::vector<TOwned<TField>> defaults_;
  std::vector<TField*> fields_;
  std::vector<TDataSource*> sources_;
  int row_ = -1;
  bool active_ = false;
  bool eof_ = true;
  bool bof_ = true;
  bool streamedActive_ = false;
  bool opening_ = false;
};
