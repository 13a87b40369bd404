#pragma once
// The seam to SQLCipher, private to the data layer: the connection holds one of
// these and nothing above the layer sees the engine.  Every failure is an EADOError
// worded as the Jet provider words it, so the exception box shows the same texts.
#include <cstdint>
#include <memory>
#include <string>

#include "framework/data/ResultTable.h"

struct sqlite3;

class TSqliteDatabase {
 public:
  // Opens an existing file read-only and shared, never creating one.  An empty key
  // opens an unencrypted file; a plain SQLite file opens whatever the key, as Jet
  // opens an unprotected database whatever password it is given.
  static std::unique_ptr<TSqliteDatabase> Open(const std::u16string& fullPath,
                                               const std::string& key);
  ~TSqliteDatabase();
  TSqliteDatabase(const TSqliteDatabase&) = delete;
  TSqliteDatabase& operator=(const TSqliteDatabase&) = delete;

  const std::u16string& FileName() const { return fileName_; }
  // Runs one reading statement and keeps its whole result.
  std::unique_ptr<TResultTable> Query(const std::u16string& sql);
  // Runs one reading statement to its end, keeping nothing: the engine's own cost.
  int64_t CountRows(const std::u16string& sql);

 private:
  TSqliteDatabase(sqlite3* db, std::u16string fileName) : db_(db), fileName_(std::move(fileName)) {}
  [[noreturn]] void Fail() const;

  sqlite3* db_;
  std::u16string fileName_;
};
