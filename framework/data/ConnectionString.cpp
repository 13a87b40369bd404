#include "framework/data/ConnectionString.h"

#include "framework/core/Unicode.h"
#include "framework/data/DatabaseError.h"

namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

[[noreturn]] void BadFormat() {
  // ADO's own wording for a connection string it cannot read.
  throw EADOError(u"Format of the initialization string does not conform to the OLE DB specification.");
}

}  // namespace

TConnectionString TConnectionString::Parse(std::u16string_view text) {
  TConnectionString result;
  const size_t n = text.size();
  size_t i = 0;
  while (i < n) {
    while (i < n && (IsBlank(text[i]) || text[i] == u';')) ++i;
    if (i >= n) break;

    std::u16string key;
    bool sawEquals = false;
    while (i < n) {
      char16_t c = text[i];
      if (c == u'=') {
        if (i + 1 < n && text[i + 1] == u'=') {
          key.push_back(u'=');
          i += 2;
          continue;
        }
        sawEquals = true;
        ++i;
        break;
      }
      if (c == u';') break;
      key.push_back(c);
      ++i;
    }
    key = Trim(key);
    if (!sawEquals || key.empty()) BadFormat();

    while (i < n && IsBlank(text[i])) ++i;
    std::u16string value;
    if (i < n && (text[i] == u'"' || text[i] == u'\'')) {
      const char16_t quote = text[i++];
      bool closed = false;
      while (i < n) {
        if (text[i] == quote) {
          if (i + 1 < n && text[i + 1] == quote) {
            value.push_back(quote);
            i += 2;
            continue;
          }
          closed = true;
          ++i;
          break;
        }
        value.push_back(text[i++]);
      }
      if (!closed) BadFormat();
      while (i < n && IsBlank(text[i])) ++i;
      if (i < n && text[i] != u';') BadFormat();
    } else {
      size_t start = i;
      while (i < n && text[i] != u';') ++i;
      value = Trim(text.substr(start, i - start));
    }
    result.entries_.push_back(TEntry{std::move(key), std::move(value)});
  }
  return result;
}

const TConnectionString::TEntry* TConnectionString::Find(std::u16string_view key) const {
  for (auto it = entries_.rbegin(); it != entries_.rend(); ++it)
    if (SameTextAscii(it->Key, key)) return &*it;
  return nullptr;
}

bool TConnectionString::Has(std::u16string_view key) const { return Find(key) != nullptr; }

std::u16string TConnectionString::Value(std::u16string_view key) const {
  const TEntry* e = Find(key);
  return e != nullptr ? e->Value : std::u16string();
}
