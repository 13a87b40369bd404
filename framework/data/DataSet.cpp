#include "framework/data/DataSet.h"

#include <algorithm>

#include "framework/core/Exception.h"
#include "framework/core/Property.h"
#include "framework/core/Unicode.h"
#include "framework/data/DataSource.h"
#include "framework/data/DatabaseError.h"

IMPLEMENT_CLASS_WITH_PROPERTIES(TDataSet) {
  p.Boolean(u"Active", &TDataSet::Active, &TDataSet::SetActive);
  p.Enum<TDataSetState>(u"State", &TDataSet::State);
  p.Integer(u"RecordCount", &TDataSet::RecordCount);
  p.Boolean(u"Eof", &TDataSet::Eof);
  p.Boolean(u"Bof", &TDataSet::Bof);
}

TDataSet::TDataSet(TComponent* owner) : TComponent(owner) {}

TDataSet::~TDataSet() = default;

void TDataSet::BeforeDestruction() {
  try {
    Close();
  } catch (const std::exception& e) {
    HandleException(e);
  }
  std::vector<TDataSource*> sources = sources_;
  for (TDataSource* s : sources) s->SetDataSet(nullptr);
  for (TField* f : persistent_) {
    f->dataSet_ = nullptr;
    f->column_ = -1;
  }
  persistent_.clear();
  fields_.clear();
  FreeDefaultFields();
  TComponent::BeforeDestruction();
}

void TDataSet::Loaded() {
  TComponent::Loaded();
  if (!streamedActive_) return;
  streamedActive_ = false;
  // Loading goes on whatever the open says; the error goes to the exception box.
  try {
    Open();
  } catch (const std::exception& e) {
    HandleException(e);
  }
}

void TDataSet::DatabaseError(const std::u16string& message) const {
  throw EDatabaseError(Name().empty() ? message : Name() + u": " + message);
}

void TDataSet::CheckActive() const {
  if (!active_) DatabaseError(u"Cannot perform this operation on a closed dataset");
}

void TDataSet::CheckInactive() const {
  if (active_) DatabaseError(u"Cannot perform this operation on an open dataset");
}

void TDataSet::SetActive(bool value) {
  if (IsLoading()) {
    streamedActive_ = value;
    return;
  }
  if (value) Open();
  else Close();
}

void TDataSet::Open() {
  if (IsLoading()) {
    streamedActive_ = true;
    return;
  }
  if (active_ || opening_) return;
  opening_ = true;
  std::unique_ptr<TResultTable> result;
  try {
    result = OpenResult();
    BindFields(*result);
  } catch (...) {
    opening_ = false;
    eof_ = bof_ = true;
    throw;
  }
  opening_ = false;
  result_ = std::move(result);
  active_ = true;
  const bool empty = result_->RowCount() == 0;
  row_ = empty ? -1 : 0;
  bof_ = true;
  eof_ = empty;
  DataEvent(TDataEvent::deUpdateState);
  if (!empty) DataEvent(TDataEvent::deDataSetScroll, 1);
  if (AfterOpen) AfterOpen(this);
}

void TDataSet::Close() {
  if (IsLoading()) streamedActive_ = false;
  if (!active_) return;
  // Fields read empty from here on, also for whoever hears of the close.
  active_ = false;
  result_.reset();
  row_ = -1;
  DataEvent(TDataEvent::deUpdateState);
  if (AfterClose) AfterClose(this);
}

void TDataSet::Requery() {
  CheckActive();
  std::unique_ptr<TResultTable> result = OpenResult();
  BindFields(*result);
  result_ = std::move(result);
  const bool empty = result_->RowCount() == 0;
  row_ = empty ? -1 : 0;
  bof_ = true;
  eof_ = empty;
  DataEvent(TDataEvent::deDataSetChange);
}

int TDataSet::RecordCount() const { return active_ ? result_->RowCount() : 0; }

TCellValue TDataSet::CellValue(int row, int column) const {
  if (!active_) return {};
  return result_->Cell(row, column);
}

void TDataSet::MoveTo(int row) {
  int distance = row - row_;
  row_ = row;
  if (distance != 0) {
    DataEvent(TDataEvent::deDataSetScroll, distance);
    if (AfterScroll) AfterScroll(this);
  }
}

void TDataSet::First() {
  CheckActive();
  bof_ = true;
  eof_ = RecordCount() == 0;
  if (!eof_) MoveTo(0);
}

void TDataSet::Last() {
  CheckActive();
  eof_ = true;
  bof_ = RecordCount() == 0;
  if (!bof_) MoveTo(RecordCount() - 1);
}

void TDataSet::Next() { MoveBy(1); }

void TDataSet::Prior() { MoveBy(-1); }

int TDataSet::MoveBy(int distance) {
  CheckActive();
  const int count = RecordCount();
  if (count == 0) {
    bof_ = eof_ = true;
    return 0;
  }
  if (distance == 0) return 0;
  int64_t target = static_cast<int64_t>(row_) + distance;
  if (distance > 0) {
    bof_ = false;
    eof_ = target > count - 1;
    if (eof_) target = count - 1;
  } else {
    eof_ = false;
    bof_ = target < 0;
    if (bof_) target = 0;
  }
  int moved = static_cast<int>(target) - row_;
  MoveTo(static_cast<int>(target));
  return moved;
}

void TDataSet::SetRecNo(int recNo) {
  CheckActive();
  if (recNo < 1 || recNo > RecordCount())
    DatabaseError(u"Record number " + IntToStr(recNo) + u" is out of range (1 to " +
                  IntToStr(RecordCount()) + u")");
  bof_ = eof_ = false;
  MoveTo(recNo - 1);
}

TField* TDataSet::Fields(int index) const {
  if (index < 0 || index >= FieldCount())
    DatabaseError(u"Field index " + IntToStr(index) + u" is out of range (" + IntToStr(FieldCount()) +
                  u" fields)");
  return fields_[static_cast<size_t>(index)];
}

TField* TDataSet::FindField(std::u16string_view name) const {
  for (TField* f : fields_)
    if (SameTextAscii(f->FieldName(), name)) return f;
  return nullptr;
}

TField* TDataSet::FieldByName(std::u16string_view name) const {
  TField* f = FindField(name);
  if (f == nullptr) DatabaseError(u"Field '" + std::u16string(name) + u"' not found");
  return f;
}

void TDataSet::CheckFieldName(const TField* field, const std::u16string& name) const {
  if (name.empty()) return;
  for (TField* f : persistent_)
    if (f != field && SameTextAscii(f->FieldName(), name))
      DatabaseError(u"Duplicate field name '" + name + u"'");
}

void TDataSet::AddField(TField* field) {
  // Persistent fields replace the ones made from the last result.
  FreeDefaultFields();
  persistent_.push_back(field);
  fields_.push_back(field);
  field->dataSet_ = this;
  field->column_ = -1;
}

void TDataSet::RemoveField(TField* field) {
  field->dataSet_ = nullptr;
  field->column_ = -1;
  auto drop = [field](std::vector<TField*>& list) {
    list.erase(std::remove(list.begin(), list.end(), field), list.end());
  };
  bool listed = std::find(fields_.begin(), fields_.end(), field) != fields_.end();
  drop(persistent_);
  drop(fields_);
  if (listed && active_) DataEvent(TDataEvent::deLayoutChange);
}

void TDataSet::BindFields(const TResultTable& result) {
  if (persistent_.empty()) {
    MakeDefaultFields(result);
    return;
  }
  std::vector<int> columns;
  columns.reserve(persistent_.size());
  for (TField* f : persistent_) {
    int found = -1;
    for (int c = 0; c < result.ColumnCount() && found < 0; ++c)
      if (SameTextAscii(result.Column(c).Name, f->FieldName())) found = c;
    if (found < 0) DatabaseError(u"Field '" + f->FieldName() + u"' not found");
    columns.push_back(found);
  }
  for (size_t i = 0; i < persistent_.size(); ++i) persistent_[i]->column_ = columns[i];
  fields_ = persistent_;
}

void TDataSet::MakeDefaultFields(const TResultTable& result) {
  struct TShape {
    std::u16string name;
    TFieldType type;
    int size;
  };
  std::vector<TShape> shapes;
  for (int c = 0; c < result.ColumnCount(); ++c) {
    TShape s;
    s.type = FieldTypeForColumn(result, c, s.size);
    // Two columns of one name ("select a, a") get "a" and "a_1", as field names are unique.
    std::u16string base = result.Column(c).Name;
    s.name = base;
    for (int k = 1;; ++k) {
      bool taken = std::any_of(shapes.begin(), shapes.end(),
                               [&](const TShape& o) { return SameTextAscii(o.name, s.name); });
      if (!taken) break;
      s.name = base + u"_" + IntToStr(k);
    }
    shapes.push_back(std::move(s));
  }
  // The same columns as last time keep their field objects, so a control that holds a
  // field across searches of one dictionary keeps a live one.
  bool same = shapes.size() == defaults_.size();
  for (size_t i = 0; same && i < shapes.size(); ++i) {
    const TField* f = defaults_[i].get();
    same = f->FieldName() == shapes[i].name && f->DataType() == shapes[i].type && f->Size() == shapes[i].size;
  }
  if (!same) {
    FreeDefaultFields();
    for (const TShape& s : shapes) {
      TOwned<TField> f(CreateField(s.type, nullptr));
      f->fieldName_ = s.name;
      f->size_ = s.size;
      f->dataSet_ = this;
      f->isDefault_ = true;
      defaults_.push_back(std::move(f));
    }
  }
  fields_.clear();
  for (size_t i = 0; i < defaults_.size(); ++i) {
    defaults_[i]->column_ = static_cast<int>(i);
    fields_.push_back(defaults_[i].get());
  }
  if (!same && active_) DataEvent(TDataEvent::deLayoutChange);
}

void TDataSet::FreeDefaultFields() {
  if (defaults_.empty()) return;
  // Detached first: a field that leaves its data set while being freed would report a
  // change of layout.
  for (auto& f : defaults_) {
    f->dataSet_ = nullptr;
    fields_.erase(std::remove(fields_.begin(), fields_.end(), f.get()), fields_.end());
  }
  defaults_.clear();
}

void TDataSet::AddDataSource(TDataSource* source) {
  if (std::find(sources_.begin(), sources_.end(), source) == sources_.end()) sources_.push_back(source);
}

void TDataSet::RemoveDataSource(TDataSource* source) {
  sources_.erase(std::remove(sources_.begin(), sources_.end(), source), sources_.end());
}

void TDataSet::DataEvent(TDataEvent event, int info) {
  // A handler may detach a source; only those still attached hear the rest.
  std::vector<TDataSource*> sources = sources_;
  for (TDataSource* s : sources)
    if (std::find(sources_.begin(), sources_.end(), s) != sources_.end()) s->DataEvent(event, info);
}
