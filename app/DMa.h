#pragma once
// The dictionary store: the connection to the dictionary database, one query and one
// data source per dictionary, and the system table.
#include <string>

#include "framework/data/ADOConnection.h"
#include "framework/data/ADOQuery.h"
#include "framework/data/DataSource.h"
#include "framework/data/Field.h"
#include "framework/forms/DataModule.h"

class TDMa : public TDataModule {
  DECLARE_CLASS(TDMa, TDataModule)
  explicit TDMa(TComponent* owner);

  TADOConnection* db;
  TADOQuery* seachQ;
  TDataSource* seachS;
  TADOQuery* cd_seachq;
  TDataSource* cd_seachS;
  TDataSource* cy_seachS;
  TADOQuery* cy_seachQ;
  TADOQuery* en_seachQ;
  TDataSource* en_seachS;
  TADOQuery* xhy_seachQ;
  TDataSource* xhy_seachS;
  TADOQuery* sysQ;
  TDataSource* sysS;

  // The connection string as the data module holds it, with this data source.
  static std::u16string ConnectionString(const std::u16string& dataSource);
  // Where the database is looked for: relative to the current directory.
  static const char16_t* const DefaultDataSource;
  // A data source to use instead, for tools that open another file; empty: the default.
  static std::u16string DataSourceOverride;

 private:
  TADOQuery* Query(const char16_t* name, const char16_t* sql);
  TDataSource* Source(const char16_t* name, TDataSet* dataSet);
  template <class F>
  F* Field(TADOQuery* query, const char16_t* fieldName, int size = 0);
};

extern TDMa* DMa;
