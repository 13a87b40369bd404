#include "framework/data/SqliteDatabase.h"

#include <windows.h>

#define SQLITE_HAS_CODEC 1
#include <sqlcipher/sqlite3.h>

#include <cstring>
#include <map>

#include "framework/core/Unicode.h"
#include "framework/data/DatabaseError.h"
#include "framework/data/NativePath.h"

namespace {

LPCWSTR W(const std::u16string& s) { return reinterpret_cast<LPCWSTR>(s.c_str()); }

[[noreturn]] void FileNotFound(const std::u16string& path) {
  throw EADOError(u"Could not find file '" + path + u"'.");
}
[[noreturn]] void NotADatabase(const std::u16string& path) {
  throw EADOError(u"Unrecognized database format '" + path + u"'.");
}
[[noreturn]] void CannotOpen(const std::u16string& path) {
  throw EADOError(u"Cannot open the file '" + path +
                  u"'. It is already opened exclusively by another user, or you need "
                  u"permission to view its data.");
}
[[noreturn]] void WrongPassword() { throw EADOError(u"Not a valid password."); }

// What the first bytes of the file tell before the engine sees it.
enum class THeader { Plain, Foreign, Unknown };

THeader ReadHeader(const std::u16string& path, uint64_t& size) {
  HANDLE h = CreateFileW(W(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) CannotOpen(path);
  LARGE_INTEGER length{};
  char head[32] = {};
  DWORD got = 0;
  BOOL ok = GetFileSizeEx(h, &length) && ReadFile(h, head, sizeof head, &got, nullptr);
  CloseHandle(h);
  if (!ok) CannotOpen(path);
  size = static_cast<uint64_t>(length.QuadPart);
  if (got >= 16 && std::memcmp(head, "SQLite format 3", 16) == 0) return THeader::Plain;
  // A real Access file put in place of ours: say so rather than blame the password.
  if (got >= 19 && (std::memcmp(head + 4, "Standard Jet DB", 15) == 0 ||
                    std::memcmp(head + 4, "Standard ACE DB", 15) == 0))
    return THeader::Foreign;
  return THeader::Unknown;
}

// Finalises on every path out.
class TStatement {
 public:
  TStatement() = default;
  ~TStatement() { sqlite3_finalize(stmt_); }
  TStatement(const TStatement&) = delete;
  TStatement& operator=(const TStatement&) = delete;
  sqlite3_stmt** Out() { return &stmt_; }
  sqlite3_stmt* Get() const { return stmt_; }

 private:
  sqlite3_stmt* stmt_ = nullptr;
};

std::u16string EngineMessage(sqlite3* db) {
  const char* text = sqlite3_errmsg(db);
  std::u16string message = Utf8ToUtf16(text != nullptr ? text : "unknown error");
  // Jet's wording for the one failure users meet most: a table the file lacks.
  static const std::u16string noTable = u"no such table: ";
  if (message.compare(0, noTable.size(), noTable) == 0)
    return u"Cannot find the input table or query '" + message.substr(noTable.size()) +
           u"'. Make sure it exists and that its name is spelled correctly.";
  return message;
}

bool OnlyBlanksAndSemicolons(const char* p) {
  for (; *p != 0; ++p)
    if (*p != ' ' && *p != '\t' && *p != '\r' && *p != '\n' && *p != ';') return false;
  return true;
}

std::u16string Quoted(const char* identifier) {
  std::u16string out = u"\"";
  for (char16_t c : Utf8ToUtf16(identifier)) {
    if (c == u'"') out.push_back(u'"');
    out.push_back(c);
  }
  return out + u"\"";
}

}  // namespace

std::unique_ptr<TSqliteDatabase> TSqliteDatabase::Open(const std::u16string& path,
                                                       const std::string& key) {
  DWORD attributes = GetFileAttributesW(W(path));
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
    FileNotFound(path);
  uint64_t size = 0;
  THeader header = ReadHeader(path, size);
  // Every database is a whole number of pages of at least 512 bytes; SQLite would take
  // an empty file for an empty database.
  if (header == THeader::Foreign || size == 0 || size % 512 != 0) NotADatabase(path);

  std::string nativeName = NativeFileName(path);
  if (nativeName.empty()) CannotOpen(path);
  sqlite3* raw = nullptr;
  // One thread uses a connection: without the connection's mutex, reading a cell is
  // not two lock calls, which halves the time to keep a large result.
  int rc = sqlite3_open_v2(nativeName.c_str(), &raw, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
  std::unique_ptr<TSqliteDatabase> db(new TSqliteDatabase(raw, path));
  if (rc != SQLITE_OK) CannotOpen(path);
  if (header != THeader::Plain && !key.empty())
    sqlite3_key(raw, key.data(), static_cast<int>(key.size()));
  // Another program writing the file holds it only briefly.
  sqlite3_busy_timeout(raw, 2000);

  // The key is only tried when the first page is read.
  rc = sqlite3_exec(raw, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
  switch (rc) {
    case SQLITE_OK:
      // Searches that scan a whole table read it again and again: keep its pages
      // decrypted (up to 192 MiB, about the whole dictionary) instead of deciphering
      // every page on every scan.
      sqlite3_exec(raw, "PRAGMA cache_size = -196608", nullptr, nullptr, nullptr);
      return db;
    case SQLITE_NOTADB:
      // An encrypted page and a foreign one look alike: past the checks above, a file
      // that does not read with the key is taken to be ours with another password.
      if (header == THeader::Plain) NotADatabase(path);
      WrongPassword();
    case SQLITE_CORRUPT:
      NotADatabase(path);
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      throw EADOError(u"Could not use '" + path + u"'; file already in use.");
    case SQLITE_CANTOPEN:
    case SQLITE_PERM:
    case SQLITE_AUTH:
      CannotOpen(path);
    default:
      throw EADOError(EngineMessage(raw));
  }
}

TSqliteDatabase::~TSqliteDatabase() { sqlite3_close_v2(db_); }

void TSqliteDatabase::Fail() const { throw EADOError(EngineMessage(db_)); }

namespace {

[[noreturn]] void ThrowEngine(sqlite3* db) { throw EADOError(EngineMessage(db)); }

void Prepare(sqlite3* db, const std::string& sql, TStatement& stmt) {
  const char* tail = nullptr;
  int rc = sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()) + 1, stmt.Out(), &tail);
  if (rc != SQLITE_OK) ThrowEngine(db);
  // The texts ADO gives for these cases.
  if (stmt.Get() == nullptr) throw EADOError(u"Command text was not set for the command object.");
  if (tail != nullptr && !OnlyBlanksAndSemicolons(tail))
    throw EADOError(u"Characters found after end of SQL statement.");
  if (!sqlite3_stmt_readonly(stmt.Get()))
    throw EADOError(u"Cannot update. Database or object is read-only.");
  if (sqlite3_column_count(stmt.Get()) == 0)
    throw EADOError(u"CommandText does not return a result set.");
}

// Number of primary-key columns of a table: one INTEGER key column is the rowid.
int PrimaryKeyColumns(sqlite3* db, const char* database, const char* table) {
  std::u16string sql = u"PRAGMA " + Quoted(database) + u".table_info(" + Quoted(table) + u")";
  TStatement stmt;
  if (sqlite3_prepare_v2(db, Utf16ToUtf8(sql).c_str(), -1, stmt.Out(), nullptr) != SQLITE_OK) return 0;
  int keys = 0;
  while (sqlite3_step(stmt.Get()) == SQLITE_ROW)
    if (sqlite3_column_int(stmt.Get(), 5) > 0) ++keys;
  return keys;
}

std::vector<TResultColumn> DescribeColumns(sqlite3* db, sqlite3_stmt* stmt) {
  const int count = sqlite3_column_count(stmt);
  std::vector<TResultColumn> columns(static_cast<size_t>(count));
  std::map<std::string, int> keysOfTable;
  for (int c = 0; c < count; ++c) {
    TResultColumn& col = columns[static_cast<size_t>(c)];
    const char* name = sqlite3_column_name(stmt, c);
    col.Name = Utf8ToUtf16(name != nullptr ? name : "");
    const char* declared = sqlite3_column_decltype(stmt, c);
    col.DeclaredType = Utf8ToUtf16(declared != nullptr ? declared : "");
    const char* database = sqlite3_column_database_name(stmt, c);
    const char* table = sqlite3_column_table_name(stmt, c);
    const char* origin = sqlite3_column_origin_name(stmt, c);
    if (database == nullptr || table == nullptr || origin == nullptr) continue;
    const char* type = nullptr;
    int primaryKey = 0;
    if (sqlite3_table_column_metadata(db, database, table, origin, &type, nullptr, nullptr,
                                      &primaryKey, nullptr) != SQLITE_OK)
      continue;
    if (!primaryKey || type == nullptr || LowerAscii(std::string_view(type)) != "integer") continue;
    std::string tableKey = std::string(database) + '.' + table;
    auto it = keysOfTable.find(tableKey);
    if (it == keysOfTable.end())
      it = keysOfTable.emplace(tableKey, PrimaryKeyColumns(db, database, table)).first;
    col.RowIdAlias = it->second == 1;
  }
  return columns;
}

}  // namespace

std::unique_ptr<TResultTable> TSqliteDatabase::Query(const std::u16string& sql) {
  TStatement stmt;
  Prepare(db_, Utf16ToUtf8(sql), stmt);
  sqlite3_stmt* s = stmt.Get();
  auto result = std::make_unique<TResultTable>(DescribeColumns(db_, s));
  const int count = result->ColumnCount();
  int rc;
  while ((rc = sqlite3_step(s)) == SQLITE_ROW) {
    for (int c = 0; c < count; ++c) {
      switch (sqlite3_column_type(s, c)) {
        case SQLITE_INTEGER:
          result->AddInteger(sqlite3_column_int64(s, c));
          break;
        case SQLITE_FLOAT:
          result->AddFloat(sqlite3_column_double(s, c));
          break;
        case SQLITE_TEXT: {
          auto text = reinterpret_cast<const char*>(sqlite3_column_text(s, c));
          result->AddText(text, static_cast<size_t>(sqlite3_column_bytes(s, c)));
          break;
        }
        case SQLITE_BLOB: {
          const void* bytes = sqlite3_column_blob(s, c);
          result->AddBlob(bytes, static_cast<size_t>(sqlite3_column_bytes(s, c)));
          break;
        }
        default:
          result->AddNull();
          break;
      }
    }
    result->EndRow();
  }
  if (rc != SQLITE_DONE) Fail();
  return result;
}

int64_t TSqliteDatabase::CountRows(const std::u16string& sql) {
  TStatement stmt;
  Prepare(db_, Utf16ToUtf8(sql), stmt);
  int64_t rows = 0;
  int rc;
  while ((rc = sqlite3_step(stmt.Get())) == SQLITE_ROW) ++rows;
  if (rc != SQLITE_DONE) Fail();
  return rows;
}
