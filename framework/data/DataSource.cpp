#include "framework/data/DataSource.h"

#include <algorithm>

#include "framework/core/Property.h"
#include "framework/data/DataLink.h"

IMPLEMENT_CLASS_WITH_PROPERTIES(TDataSource) {
  p.Object<TDataSet>(u"DataSet", &TDataSource::DataSet, &TDataSource::SetDataSet);
  p.Boolean(u"AutoEdit", &TDataSource::AutoEdit, &TDataSource::SetAutoEdit);
  p.Boolean(u"Enabled", &TDataSource::Enabled, &TDataSource::SetEnabled);
  p.Enum<TDataSetState>(u"State", &TDataSource::State);
}

TDataSource::TDataSource(TComponent* owner) : TComponent(owner) {}

void TDataSource::BeforeDestruction() {
  SetDataSet(nullptr);
  while (!links_.empty()) links_.back()->SetDataSource(nullptr);
  TComponent::BeforeDestruction();
}

void TDataSource::Notification(TComponent* component, TOperation operation) {
  if (operation == TOperation::opRemove && component != nullptr && component == dataSet_)
    SetDataSet(nullptr);
  TComponent::Notification(component, operation);
}

void TDataSource::SetDataSet(TDataSet* dataSet) {
  if (dataSet == dataSet_) return;
  if (dataSet_ != nullptr) {
    dataSet_->RemoveDataSource(this);
    RemoveFreeNotification(dataSet_);
  }
  dataSet_ = dataSet;
  if (dataSet_ != nullptr) {
    dataSet_->AddDataSource(this);
    FreeNotification(dataSet_);
  }
  UpdateLinks();
}

void TDataSource::SetEnabled(bool value) {
  if (value == enabled_) return;
  enabled_ = value;
  UpdateLinks();
}

TDataSetState TDataSource::State() const {
  return enabled_ && dataSet_ != nullptr ? dataSet_->State() : TDataSetState::dsInactive;
}

bool TDataSource::HasLink(TDataLink* link) const {
  return std::find(links_.begin(), links_.end(), link) != links_.end();
}

void TDataSource::AddLink(TDataLink* link) {
  if (!HasLink(link)) links_.push_back(link);
}

void TDataSource::RemoveLink(TDataLink* link) {
  links_.erase(std::remove(links_.begin(), links_.end(), link), links_.end());
}

void TDataSource::UpdateLinks() {
  // A link's handler may free another link or this source's data set.
  std::vector<TDataLink*> links = links_;
  for (TDataLink* link : links)
    if (HasLink(link)) link->UpdateState();
  TDataSetState state = State();
  if (state != lastState_) {
    lastState_ = state;
    if (OnStateChange) OnStateChange(this);
  }
}

void TDataSource::DataEvent(TDataEvent event, int info) {
  if (event == TDataEvent::deUpdateState) {
    UpdateLinks();
    return;
  }
  if (!enabled_) return;
  std::vector<TDataLink*> links = links_;
  for (TDataLink* link : links) {
    if (!HasLink(link) || !link->Active()) continue;
    switch (event) {
      case TDataEvent::deDataSetChange:
        link->DataSetChanged();
        break;
      case TDataEvent::deDataSetScroll:
        link->DataSetScrolled(info);
        break;
      case TDataEvent::deLayoutChange:
        link->LayoutChanged();
        break;
      case TDataEvent::deUpdateState:
        break;
    }
  }
  if (OnDataChange) OnDataChange(this, nullptr);
}
