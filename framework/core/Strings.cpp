#include "framework/core/Strings.h"

#include "framework/core/Exception.h"
#include "framework/core/Property.h"
#include "framework/core/Stream.h"
#include "framework/core/Unicode.h"

IMPLEMENT_CLASS(TStrings)
IMPLEMENT_CLASS(TStringList)

std::vector<std::u16string> SplitLines(std::u16string_view text) {
  std::vector<std::u16string> lines;
  size_t start = 0, i = 0;
  while (i < text.size()) {
    char16_t c = text[i];
    if (c == u'\r' || c == u'\n') {
      lines.emplace_back(text.substr(start, i - start));
      if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
      start = ++i;
    } else {
      ++i;
    }
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

int TStrings::Add(const std::u16string& text) {
  int at = Count();
  Insert(at, text);
  return at;
}

int TStrings::AddObject(const std::u16string& text, TObject* object) {
  int at = Add(text);
  PutObject(at, object);
  return at;
}

void TStrings::AddStrings(const TStrings& other) {
  BeginUpdate();
  for (int i = 0; i < other.Count(); ++i) AddObject(other.Get(i), other.Objects(i));
  EndUpdate();
}

int TStrings::IndexOf(const std::u16string& text) const {
  for (int i = 0; i < Count(); ++i)
    if (SameTextAscii(Get(i), text)) return i;
  return -1;
}

std::u16string TStrings::Names(int index) const {
  std::u16string line = Get(index);
  size_t eq = line.find(u'=');
  return eq == std::u16string::npos ? std::u16string() : line.substr(0, eq);
}

std::u16string TStrings::ValueFromIndex(int index) const {
  std::u16string line = Get(index);
  size_t eq = line.find(u'=');
  return eq == std::u16string::npos ? std::u16string() : line.substr(eq + 1);
}

int TStrings::IndexOfName(const std::u16string& name) const {
  for (int i = 0; i < Count(); ++i) {
    std::u16string line = Get(i);
    size_t eq = line.find(u'=');
    if (eq != std::u16string::npos && SameTextAscii(std::u16string_view(line).substr(0, eq), name))
      return i;
  }
  return -1;
}

std::u16string TStrings::Values(const std::u16string& name) const {
  int i = IndexOfName(name);
  return i < 0 ? std::u16string() : ValueFromIndex(i);
}

void TStrings::SetValue(const std::u16string& name, const std::u16string& value) {
  int i = IndexOfName(name);
  if (value.empty()) {
    if (i >= 0) Delete(i);
  } else if (i < 0) {
    Add(name + u"=" + value);
  } else {
    Put(i, name + u"=" + value);
  }
}

std::u16string TStrings::Text() const {
  std::u16string out;
  for (int i = 0; i < Count(); ++i) {
    out += Get(i);
    out += u"\r\n";
  }
  return out;
}

void TStrings::SetText(std::u16string_view text) {
  BeginUpdate();
  Clear();
  for (auto& line : SplitLines(text)) Add(line);
  EndUpdate();
}

void TStrings::LoadFromFile(const std::u16string& fileName, unsigned codePage) {
  TOwned<TFileStream> file(new TFileStream(fileName, fmOpenRead | fmShareDenyNone));
  LoadFromStream(*file, codePage);
}

void TStrings::LoadFromStream(TStream& stream, unsigned codePage) {
  std::vector<uint8_t> bytes = stream.ReadRest();
  std::string_view raw(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  SetText(AnsiToWide(raw, codePage));
}

void TStrings::Assign(const TPersistent* source) {
  if (auto* other = As<TStrings>(source)) {
    BeginUpdate();
    Clear();
    AddStrings(*other);
    EndUpdate();
    return;
  }
  TPersistent::Assign(source);
}

void TStrings::BeginUpdate() {
  if (updateCount_++ == 0) SetUpdateState(true);
}

void TStrings::EndUpdate() {
  if (updateCount_ > 0 && --updateCount_ == 0) SetUpdateState(false);
}

void TStrings::SetUpdateState(bool) {}

std::u16string TStringList::Get(int index) const {
  CheckIndex(index);
  return items_[static_cast<size_t>(index)].text;
}

void TStringList::Put(int index, const std::u16string& text) {
  CheckIndex(index);
  Changing();
  items_[static_cast<size_t>(index)].text = text;
  Changed();
}

TObject* TStringList::Objects(int index) const {
  CheckIndex(index);
  return items_[static_cast<size_t>(index)].object;
}

void TStringList::PutObject(int index, TObject* object) {
  CheckIndex(index);
  Changing();
  items_[static_cast<size_t>(index)].object = object;
  Changed();
}

void TStringList::Insert(int index, const std::u16string& text) {
  CheckIndex(index, true);
  Changing();
  items_.insert(items_.begin() + index, Item{text, nullptr});
  Changed();
}

void TStringList::Delete(int index) {
  CheckIndex(index);
  Changing();
  items_.erase(items_.begin() + index);
  Changed();
}

void TStringList::Clear() {
  if (items_.empty()) return;
  Changing();
  items_.clear();
  Changed();
}

void TStringList::CheckIndex(int index, bool allowEnd) const {
  int limit = Count() + (allowEnd ? 1 : 0);
  if (index < 0 || index >= limit)
    throw EListError(u"List index out of bounds (" + IntToStr(index) + u")");
}

// While updating, one OnChanging goes out at the start and one OnChange at the end.
void TStringList::SetUpdateState(bool updating) {
  if (updating) {
    if (OnChanging) OnChanging(this);
  } else {
    if (OnChange) OnChange(this);
  }
}

void TStringList::Changing() {
  if (UpdateCount() == 0 && OnChanging) OnChanging(this);
}

void TStringList::Changed() {
  if (UpdateCount() == 0 && OnChange) OnChange(this);
}
