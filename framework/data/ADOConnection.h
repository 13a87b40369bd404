#pragma once
// The database connection, in the shape of an ADO connection over the Jet provider.
// The connection string is kept as written and read key by key when the connection
// opens: "Provider" must be Microsoft.Jet.OLEDB.4.0, which here means SQLCipher;
// "Data Source" is resolved against the current directory; "Jet OLEDB:Database
// Password" is the key of the encrypted file.  Other keys are accepted and ignored.
// The file is opened read-only and shared whatever the mode, and never created.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/core/ClassInfo.h"
#include "framework/core/Component.h"
#include "framework/core/Strings.h"
#include "framework/data/ResultTable.h"

class TSqliteDatabase;
class TDataSet;
class TADOQuery;

enum class TConnectMode {
  cmUnknown,
  cmRead,
  cmWrite,
  cmReadWrite,
  cmShareDenyRead,
  cmShareDenyWrite,
  cmShareExclusive,
  cmShareDenyNone
};
DECLARE_ENUM_NAMES(TConnectMode, u"cmUnknown", u"cmRead", u"cmWrite", u"cmReadWrite",
                   u"cmShareDenyRead", u"cmShareDenyWrite", u"cmShareExclusive", u"cmShareDenyNone")

class TADOConnection : public TComponent {
  DECLARE_CLASS(TADOConnection, TComponent)
  explicit TADOConnection(TComponent* owner);

  const std::u16string& ConnectionString() const { return connectionString_; }
  // Raises EADOError while connected.
  void SetConnectionString(const std::u16string& text);
  // The connection string's Provider value.
  std::u16string Provider() const;
  // There is never a login dialog: the password is the connection string's.
  bool LoginPrompt() const { return loginPrompt_; }
  void SetLoginPrompt(bool value) { loginPrompt_ = value; }
  // Kept for the data module; the provider always opens read-only and shared.
  TConnectMode Mode() const { return mode_; }
  void SetMode(TConnectMode mode) { mode_ = mode; }

  bool Connected() const { return db_ != nullptr; }
  // While loading, true is kept and the connection opens at Loaded().
  void SetConnected(bool value);
  // Raises EADOError with the provider's message; the connection stays closed.
  void Open();
  // Closes the data sets that use the connection first.
  void Close();
  // The full path of the open file; empty while closed.
  std::u16string FileName() const;

  int DataSetCount() const { return static_cast<int>(dataSets_.size()); }
  TDataSet* DataSets(int index) const;

  // Runs sql to its end without keeping a row and answers how many there were: the
  // engine's own time, for measurements beside a query's.  Connects first.
  int64_t CountResultRows(const std::u16string& sql);

  TNotifyEvent AfterConnect;
  TNotifyEvent AfterDisconnect;

 protected:
  ~TADOConnection() override;
  void Loaded() override;
  void BeforeDestruction() override;

 private:
  friend class TADOQuery;
  void Connect();
  // The whole result of a reading statement; connects first.
  std::unique_ptr<TResultTable> Execute(const std::u16string& sql);
  void RegisterDataSet(TADOQuery* dataSet);
  void UnregisterDataSet(TADOQuery* dataSet);

  std::unique_ptr<TSqliteDatabase> db_;
  std::u16string connectionString_;
  std::vector<TADOQuery*> dataSets_;
  TConnectMode mode_ = TConnectMode::cmUnknown;
  bool loginPrompt_ = true;
  bool streamedConnected_ = false;
};
