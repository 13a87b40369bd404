#pragma once
// One encrypted fixture database and one open connection for the whole test
// program: every open of an encrypted file derives its key (tens of milliseconds),
// so tests that are not about opening share these.
#include <string>
#include <vector>

#include "framework/core/Component.h"
#include "framework/data/ADOConnection.h"
#include "framework/data/ADOQuery.h"
#include "tests/harness/TempDir.h"

extern const char kFixtureKey[];
extern const char16_t kFixtureKey16[];

// The tables of the shared database, as SQL.
extern const char kSharedSchema[];

struct TSharedDatabase {
  TTempDir Dir;
  std::u16string Path;
  TComponent* Owner = nullptr;  // owns the connection
  TADOConnection* Connection = nullptr;
};
TSharedDatabase& SharedDatabase();

// A query on the shared connection, owned by owner, with sql as its one line.
TADOQuery* NewQuery(TComponent* owner, const std::u16string& name, const std::u16string& sql);

// Records what the exception box would show while alive.
class TExceptionRecorder {
 public:
  TExceptionRecorder();
  ~TExceptionRecorder();
  const std::vector<std::u16string>& Messages() const;
};
