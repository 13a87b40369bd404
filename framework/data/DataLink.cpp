#include "framework/data/DataLink.h"

#include "framework/core/Property.h"
#include "framework/data/DataSource.h"

IMPLEMENT_CLASS(TDataLink)
IMPLEMENT_CLASS(TFieldDataLink)

TDataLink::~TDataLink() = default;

void TDataLink::BeforeDestruction() {
  // Quietly: the control that owns the link is being taken apart.
  if (source_ != nullptr) source_->RemoveLink(this);
  source_ = nullptr;
  TPersistent::BeforeDestruction();
}

void TDataLink::SetDataSource(TDataSource* source) {
  if (source == source_) return;
  if (source_ != nullptr) source_->RemoveLink(this);
  source_ = source;
  if (source_ != nullptr) source_->AddLink(this);
  UpdateState();
}

TDataSet* TDataLink::DataSet() const { return source_ != nullptr ? source_->DataSet() : nullptr; }

int TDataLink::RecordCount() const { return active_ ? DataSet()->RecordCount() : 0; }

void TDataLink::UpdateState() {
  bool active = source_ != nullptr && source_->State() != TDataSetState::dsInactive;
  if (active == active_) return;
  active_ = active;
  ActiveChanged();
}

void TFieldDataLink::SetFieldName(const std::u16string& name) {
  if (name == fieldName_) return;
  fieldName_ = name;
  UpdateField();
  if (OnDataChange) OnDataChange(this);
}

TField* TFieldDataLink::Field() const { return Active() ? field_.Get() : nullptr; }

std::u16string TFieldDataLink::FieldText() const {
  TField* f = Field();
  return f != nullptr ? f->AsString() : std::u16string();
}

void TFieldDataLink::UpdateField() {
  TDataSet* ds = DataSet();
  field_ = Active() && ds != nullptr && !fieldName_.empty() ? ds->FindField(fieldName_) : nullptr;
}

void TFieldDataLink::ActiveChanged() {
  UpdateField();
  if (OnActiveChange) OnActiveChange(this);
  if (OnDataChange) OnDataChange(this);
}

void TFieldDataLink::LayoutChanged() {
  UpdateField();
  TDataLink::LayoutChanged();
}

void TFieldDataLink::RecordChanged(TField* field) {
  if (field != nullptr && field != field_.Get()) return;
  if (OnDataChange) OnDataChange(this);
}
