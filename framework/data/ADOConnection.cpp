#include "framework/data/ADOConnection.h"

#include <algorithm>

#include "framework/core/Exception.h"
#include "framework/core/Property.h"
#include "framework/core/Stream.h"
#include "framework/core/Unicode.h"
#include "framework/data/ADOQuery.h"
#include "framework/data/ConnectionString.h"
#include "framework/data/DatabaseError.h"
#include "framework/data/NativePath.h"
#include "framework/data/SqliteDatabase.h"

namespace {
const char16_t kJetProvider[] = u"Microsoft.Jet.OLEDB.4.0";
const char16_t kPasswordKey[] = u"Jet OLEDB:Database Password";
}  // namespace

IMPLEMENT_CLASS_WITH_PROPERTIES(TADOConnection) {
  p.Text(u"ConnectionString", &TADOConnection::ConnectionString, &TADOConnection::SetConnectionString);
  p.Text(u"Provider", &TADOConnection::Provider);
  p.Boolean(u"LoginPrompt", &TADOConnection::LoginPrompt, &TADOConnection::SetLoginPrompt);
  p.Enum<TConnectMode>(u"Mode", &TADOConnection::Mode, &TADOConnection::SetMode);
  p.Boolean(u"Connected", &TADOConnection::Connected, &TADOConnection::SetConnected);
}

TADOConnection::TADOConnection(TComponent* owner) : TComponent(owner) {}

TADOConnection::~TADOConnection() = default;

void TADOConnection::BeforeDestruction() {
  try {
    Close();
  } catch (const std::exception& e) {
    HandleException(e);
  }
  TComponent::BeforeDestruction();
}

void TADOConnection::Loaded() {
  TComponent::Loaded();
  if (!streamedConnected_) return;
  streamedConnected_ = false;
  // A data module goes on loading with the connection closed; the user sees why.
  try {
    Open();
  } catch (const std::exception& e) {
    HandleException(e);
  }
}

void TADOConnection::SetConnectionString(const std::u16string& text) {
  if (text == connectionString_) return;
  if (Connected()) throw EADOError(u"Operation is not allowed when the object is open.");
  connectionString_ = text;
}

std::u16string TADOConnection::Provider() const {
  try {
    return TConnectionString::Parse(connectionString_).Value(u"Provider");
  } catch (const EADOError&) {
    return {};
  }
}

void TADOConnection::SetConnected(bool value) {
  if (IsLoading()) {
    streamedConnected_ = value;
    return;
  }
  if (value) Open();
  else Close();
}

void TADOConnection::Open() {
  if (IsLoading()) {
    streamedConnected_ = true;
    return;
  }
  Connect();
}

void TADOConnection::Connect() {
  if (db_ != nullptr) return;
  TConnectionString settings = TConnectionString::Parse(connectionString_);
  std::u16string provider = settings.Value(u"Provider");
  if (provider.empty()) throw EADOError(u"The connection string names no Provider.");
  if (!SameTextAscii(provider, kJetProvider))
    throw EADOError(u"Provider '" + provider + u"' cannot be found. It may not be properly installed.");
  std::u16string dataSource = settings.Value(u"Data Source");
  if (dataSource.empty()) throw EADOError(u"The connection string names no Data Source.");
  // Against the current directory, not the executable's folder.
  std::u16string fullPath = ExpandFileName(dataSource);
  db_ = TSqliteDatabase::Open(fullPath, Utf16ToUtf8(settings.Value(kPasswordKey)));
  if (AfterConnect) AfterConnect(this);
}

void TADOConnection::Close() {
  if (IsLoading()) streamedConnected_ = false;
  if (db_ == nullptr) return;
  std::vector<TADOQuery*> dataSets = dataSets_;
  for (TADOQuery* q : dataSets)
    if (std::find(dataSets_.begin(), dataSets_.end(), q) != dataSets_.end()) q->Close();
  db_.reset();
  if (AfterDisconnect) AfterDisconnect(this);
}

std::u16string TADOConnection::FileName() const { return db_ != nullptr ? db_->FileName() : std::u16string(); }

TDataSet* TADOConnection::DataSets(int index) const { return dataSets_.at(static_cast<size_t>(index)); }

std::unique_ptr<TResultTable> TADOConnection::Execute(const std::u16string& sql) {
  // Also while loading: a query that opens before the connection's Loaded needs it now.
  Connect();
  return db_->Query(sql);
}

int64_t TADOConnection::CountResultRows(const std::u16string& sql) {
  Connect();
  return db_->CountRows(sql);
}

void TADOConnection::RegisterDataSet(TADOQuery* dataSet) {
  if (std::find(dataSets_.begin(), dataSets_.end(), dataSet) == dataSets_.end())
    dataSets_.push_back(dataSet);
}

void TADOConnection::UnregisterDataSet(TADOQuery* dataSet) {
  dataSets_.erase(std::remove(dataSets_.begin(), dataSets_.end(), dataSet), dataSets_.end());
}
