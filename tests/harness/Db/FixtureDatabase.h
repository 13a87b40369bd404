#pragma once
// Database files that tests build for themselves: a few tables from SQL statements,
// encrypted with a chosen key (SQLCipher's default settings, as the provider reads
// them) or plain, and files that are no database at all.
#include <cstdint>
#include <string>
#include <string_view>

class TTempDir;

// Creates the file at path (replacing one that is there) and runs sql, any number of
// statements, in one transaction.  An empty key leaves the file unencrypted.
// Raises std::runtime_error with SQLite's message.
void BuildFixtureDatabase(const std::u16string& path, std::string_view sql, std::string_view key);

// The same in dir, at name (sub-folders made); answers the full path.
std::u16string WriteFixtureDatabase(TTempDir& dir, const std::u16string& name, std::string_view sql,
                                    std::string_view key);
std::u16string WritePlainDatabase(TTempDir& dir, const std::u16string& name, std::string_view sql);

// Bytes that no engine reads as a database.
std::u16string WriteTextFile(TTempDir& dir, const std::u16string& name, std::string_view text);
// size pseudo-random bytes from seed: what an encrypted page looks like to a reader
// without the key.
std::u16string WriteRandomFile(TTempDir& dir, const std::u16string& name, size_t size,
                               uint32_t seed = 1);

// The dictionary's connection string with another data source and password.
std::u16string JetConnectionString(const std::u16string& dataSource, const std::u16string& password);
