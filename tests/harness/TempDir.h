#pragma once
// A throwaway directory for one test, removed with everything in it afterwards.
#include <string>
#include <string_view>

class TTempDir {
 public:
  TTempDir();
  ~TTempDir();
  TTempDir(const TTempDir&) = delete;
  TTempDir& operator=(const TTempDir&) = delete;
  // Windows path without a trailing separator.
  const std::u16string& Path() const { return path_; }
  // Writes bytes to Path()\name (sub-folders are created); answers the full path.
  std::u16string Write(const std::u16string& name, std::string_view bytes);
  std::u16string MakeDir(const std::u16string& name);

 private:
  std::u16string path_;
};
