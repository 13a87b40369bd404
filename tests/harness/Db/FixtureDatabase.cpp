#include "tests/harness/Db/FixtureDatabase.h"

#include <windows.h>

#define SQLITE_HAS_CODEC 1
#include <sqlcipher/sqlite3.h>

#include <stdexcept>

#include "framework/core/Unicode.h"
#include "framework/data/NativePath.h"
#include "tests/harness/TempDir.h"

void BuildFixtureDatabase(const std::u16string& path, std::string_view sql, std::string_view key) {
  DeleteFileW(reinterpret_cast<LPCWSTR>(path.c_str()));
  std::string native = NativeFileName(path);
  if (native.empty()) throw std::runtime_error("fixture: no native name for " + Utf16ToUtf8(path));
  sqlite3* db = nullptr;
  int rc = sqlite3_open_v2(native.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  auto fail = [&](const char* what) {
    std::string message = std::string("fixture: ") + what + ": " + sqlite3_errmsg(db);
    sqlite3_close(db);
    throw std::runtime_error(message);
  };
  if (rc != SQLITE_OK) fail("open");
  if (!key.empty() && sqlite3_key(db, key.data(), static_cast<int>(key.size())) != SQLITE_OK) fail("key");
  std::string script = "BEGIN;\n" + std::string(sql) + ";\nCOMMIT;";
  char* error = nullptr;
  if (sqlite3_exec(db, script.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
    std::string message = std::string("fixture: ") + (error != nullptr ? error : "exec failed");
    sqlite3_free(error);
    sqlite3_close(db);
    throw std::runtime_error(message);
  }
  if (sqlite3_close(db) != SQLITE_OK) throw std::runtime_error("fixture: close failed");
}

static std::u16string PathIn(TTempDir& dir, const std::u16string& name) {
  // Write() makes the folders and answers the path it wrote.
  return dir.Write(name, "");
}

std::u16string WriteFixtureDatabase(TTempDir& dir, const std::u16string& name, std::string_view sql,
                                    std::string_view key) {
  std::u16string path = PathIn(dir, name);
  BuildFixtureDatabase(path, sql, key);
  return path;
}

std::u16string WritePlainDatabase(TTempDir& dir, const std::u16string& name, std::string_view sql) {
  return WriteFixtureDatabase(dir, name, sql, {});
}

std::u16string WriteTextFile(TTempDir& dir, const std::u16string& name, std::string_view text) {
  return dir.Write(name, text);
}

std::u16string WriteRandomFile(TTempDir& dir, const std::u16string& name, size_t size, uint32_t seed) {
  std::string bytes(size, '\0');
  uint32_t x = seed != 0 ? seed : 1;
  for (char& b : bytes) {
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    b = static_cast<char>(x >> 24);
  }
  return dir.Write(name, bytes);
}

std::u16string JetConnectionString(const std::u16string& dataSource, const std::u16string& password) {
  return u"Provider=Microsoft.Jet.OLEDB.4.0;User ID=Admin;Data Source=" + dataSource +
         u";Mode=Share Deny None;Extended Properties=\"\";Persist Security Info=False;"
         u"Jet OLEDB:System database=\"\";Jet OLEDB:Registry Path=\"\";"
         u"Jet OLEDB:Database Password=" + password +
         u";Jet OLEDB:Engine Type=5;Jet OLEDB:Database Locking Mode=1;"
         u"Jet OLEDB:Global Partial Bulk Ops=2;Jet OLEDB:Global Bulk Transactions=1;"
         u"Jet OLEDB:New Database Password=\"\";Jet OLEDB:Create System Database=False;"
         u"Jet OLEDB:Encrypt Database=False;Jet OLEDB:Don't Copy Locale on Compact=False;"
         u"Jet OLEDB:Compact Without Replica Repair=False;Jet OLEDB:SFP=False";
}
