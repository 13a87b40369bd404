#pragma once
// A small dictionary database in the shape of the real one, made in a temporary folder
// as dll/kestlib.dll, and the program's objects made over it.
#include <string>

#include "tests/harness/TempDir.h"

struct TDictionaryFixtureOptions {
  bool dropOrdColumn = false;       // kest_cd without one of its persistent fields
  bool extraWordColumn = false;     // kest_cd with one column more
  bool withoutSayingsTable = false; // no kest_xhy
  bool emptySystemTable = false;    // kest_sys without its row
};

// The SQL of the fixture.
std::string DictionaryFixtureSql(const TDictionaryFixtureOptions& options = {});
// Writes dir\dll\kestlib.dll (encrypted with the dictionary's key); answers its path.
std::u16string WriteDictionaryFixture(TTempDir& dir, const TDictionaryFixtureOptions& options = {},
                                      const std::string& key = "qant527~");

// Makes the application, the main window and the data module as the program does, with
// the current directory set to folder (so "dll/kestlib.dll" is looked for there).
void CreateProgramIn(const std::u16string& folder);
