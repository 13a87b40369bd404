#pragma once
// A query over an ADO connection: its SQL text (a string list; the program clears it
// and adds one line) runs when the query opens, and the whole result is kept with a
// static cursor.  Opening connects a closed connection first, so a failure shows the
// provider's message for the connection.  Changing the SQL closes an open query.
#include <memory>

#include "framework/core/Strings.h"
#include "framework/data/ADOConnection.h"
#include "framework/data/DataSet.h"

class TADOQuery : public TDataSet {
  DECLARE_CLASS(TADOQuery, TDataSet)
  explicit TADOQuery(TComponent* owner);

  TADOConnection* Connection() const { return connection_; }
  // Raises EDatabaseError while open.
  void SetConnection(TADOConnection* connection);
  TStrings* SQL() const { return sql_.get(); }
  // Copies the lines.
  void SetSQL(TStrings* lines);

 protected:
  void BeforeDestruction() override;
  void Notification(TComponent* component, TOperation operation) override;
  std::unique_ptr<TResultTable> OpenResult() override;

 private:
  TOwned<TStringList> sql_;
  TADOConnection* connection_ = nullptr;  // dropped when the connection goes
};
