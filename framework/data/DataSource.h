#pragma once
// The go-between of a data set and the controls bound to it: each control holds a
// data link to a data source, and the source passes the data set's news to every
// link.  A disabled source, or one without an open data set, shows its links an
// inactive data set.  Editing is never started from here (AutoEdit off by default).
#include <functional>
#include <vector>

#include "framework/core/Component.h"
#include "framework/data/DataSet.h"

class TDataLink;

using TDataChangeEvent = std::function<void(TObject* sender, TField* field)>;

class TDataSource : public TComponent {
  DECLARE_CLASS(TDataSource, TComponent)
  explicit TDataSource(TComponent* owner);

  TDataSet* DataSet() const { return dataSet_; }
  void SetDataSet(TDataSet* dataSet);
  bool AutoEdit() const { return autoEdit_; }
  void SetAutoEdit(bool value) { autoEdit_ = value; }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);
  // dsInactive when disabled, without data set, or with a closed one.
  TDataSetState State() const;
  int LinkCount() const { return static_cast<int>(links_.size()); }

  // After the state the links see changed, and after the current record moved or the
  // result was replaced (field null: the whole record).
  TNotifyEvent OnStateChange;
  TDataChangeEvent OnDataChange;

 protected:
  void BeforeDestruction() override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  friend class TDataSet;
  friend class TDataLink;

  void DataEvent(TDataEvent event, int info);
  void AddLink(TDataLink* link);
  void RemoveLink(TDataLink* link);
  bool HasLink(TDataLink* link) const;
  void UpdateLinks();

  TDataSet* dataSet_ = nullptr;
  std::vector<TDataLink*> links_;
  TDataSetState lastState_ = TDataSetState::dsInactive;
  bool autoEdit_ = false;
  bool enabled_ = true;
};
