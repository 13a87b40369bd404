#include "framework/data/ADOQuery.h"

#include "framework/core/Property.h"
#include "framework/data/DatabaseError.h"

IMPLEMENT_CLASS_WITH_PROPERTIES(TADOQuery) {
  p.Object<TADOConnection>(u"Connection", &TADOQuery::Connection, &TADOQuery::SetConnection);
  p.Object<TStrings>(u"SQL", &TADOQuery::SQL, &TADOQuery::SetSQL);
}

TADOQuery::TADOQuery(TComponent* owner) : TDataSet(owner), sql_(new TStringList) {
  sql_->OnChange = [this](TObject*) {
    if (Active()) Close();
  };
}

void TADOQuery::BeforeDestruction() {
  // SetConnection refuses an open query.
  try {
    Close();
  } catch (const std::exception& e) {
    HandleException(e);
  }
  SetConnection(nullptr);
  TDataSet::BeforeDestruction();
}

void TADOQuery::Notification(TComponent* component, TOperation operation) {
  if (operation == TOperation::opRemove && component != nullptr && component == connection_) {
    Close();
    connection_->UnregisterDataSet(this);
    connection_ = nullptr;
  }
  TDataSet::Notification(component, operation);
}

void TADOQuery::SetConnection(TADOConnection* connection) {
  if (connection == connection_) return;
  CheckInactive();
  if (connection_ != nullptr) {
    connection_->UnregisterDataSet(this);
    RemoveFreeNotification(connection_);
  }
  connection_ = connection;
  if (connection_ != nullptr) {
    connection_->RegisterDataSet(this);
    FreeNotification(connection_);
  }
}

void TADOQuery::SetSQL(TStrings* lines) {
  if (lines == nullptr) sql_->Clear();
  else sql_->Assign(lines);
}

std::unique_ptr<TResultTable> TADOQuery::OpenResult() {
  if (connection_ == nullptr) DatabaseError(u"Missing Connection or ConnectionString");
  return connection_->Execute(sql_->Text());
}
