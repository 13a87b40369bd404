#pragma once
// OLE DB connection strings: "Key=Value;Key=Value".  Keys compare without regard to
// ASCII case and are trimmed; a value is trimmed, or quoted with " or ' (a doubled
// quote inside stands for one, so "" is the empty value); "==" in a key stands for
// "=".  Empty segments are skipped and a key given twice takes its last value.
#include <string>
#include <string_view>
#include <vector>

class TConnectionString {
 public:
  struct TEntry {
    std::u16string Key;
    std::u16string Value;
  };

  TConnectionString() = default;
  // Raises EADOError when text is no list of Key=Value pairs.
  static TConnectionString Parse(std::u16string_view text);

  const std::vector<TEntry>& Entries() const { return entries_; }
  bool Has(std::u16string_view key) const;
  // The value of key, empty when absent.
  std::u16string Value(std::u16string_view key) const;

 private:
  const TEntry* Find(std::u16string_view key) const;
  std::vector<TEntry> entries_;
};
