#include "framework/core/Property.h"

#include "framework/core/Unicode.h"

const TPropInfo* GetPropInfo(const TObject* object, std::u16string_view name) {
  return object != nullptr ? object->ClassType().FindProperty(name) : nullptr;
}

bool HasProperty(const TObject* object, std::u16string_view name) {
  return GetPropInfo(object, name) != nullptr;
}

int64_t GetOrdProp(const TObject* object, std::u16string_view name, int64_t missing) {
  const TPropInfo* p = GetPropInfo(object, name);
  if (p == nullptr || !p->IsOrdinal() || !p->ReadOrd) return missing;
  return p->ReadOrd(*object);
}

std::u16string GetEnumProp(const TObject* object, std::u16string_view name) {
  const TPropInfo* p = GetPropInfo(object, name);
  if (p == nullptr || p->Kind != TPropKind::Enumeration) return {};
  int64_t v = p->ReadOrd(*object);
  if (v < 0 || static_cast<size_t>(v) >= p->ValueNames->size()) return {};
  return (*p->ValueNames)[static_cast<size_t>(v)];
}

std::u16string GetStrProp(const TObject* object, std::u16string_view name) {
  const TPropInfo* p = GetPropInfo(object, name);
  if (p == nullptr || p->Kind != TPropKind::Text) return {};
  return p->ReadText(*object);
}

std::u16string GetSetProp(const TObject* object, std::u16string_view name) {
  const TPropInfo* p = GetPropInfo(object, name);
  if (p == nullptr || p->Kind != TPropKind::Set) return {};
  return SetToText(*p->ValueNames, p->ReadOrd(*object));
}

TObject* GetObjectProp(const TObject* object, std::u16string_view name, const TClassInfo* cls) {
  const TPropInfo* p = GetPropInfo(object, name);
  if (p == nullptr || p->Kind != TPropKind::Object) return nullptr;
  TObject* value = p->ReadObject(*object);
  if (value != nullptr && cls != nullptr && !value->InheritsFrom(*cls)) return nullptr;
  return value;
}

static bool ValidOrdinal(const TPropInfo& p, int64_t value) {
  if (p.Kind == TPropKind::Enumeration)
    return value >= 0 && static_cast<size_t>(value) < p.ValueNames->size();
  if (p.Kind == TPropKind::Set)
    return p.ValueNames->size() >= 63 || (value >> p.ValueNames->size()) == 0;
  return true;
}

bool SetOrdProp(TObject* object, std::u16string_view name, int64_t value) {
  const TPropInfo* p = GetPropInfo(object, name);
  if (p == nullptr || !p->IsOrdinal() || !p->WriteOrd || !ValidOrdinal(*p, value)) return false;
  p->WriteOrd(*object, value);
  return true;
}

bool SetEnumProp(TObject* object, std::u16string_view name, std::u16string_view valueName) {
  const TPropInfo* p = GetPropInfo(object, name);
  if (p == nullptr || p->Kind != TPropKind::Enumeration || !p->WriteOrd) return false;
  const auto& names = *p->ValueNames;
  for (size_t i = 0; i < names.size(); ++i) {
    if (SameTextAscii(names[i], valueName)) {
      p->WriteOrd(*object, static_cast<int64_t>(i));
      return true;
    }
  }
  return false;
}

bool SetStrProp(TObject* object, std::u16string_view name, const std::u16string& value) {
  const TPropInfo* p = GetPropInfo(object, name);
  if (p == nullptr || p->Kind != TPropKind::Text || !p->WriteText) return false;
  p->WriteText(*object, value);
  return true;
}

bool SetObjectProp(TObject* object, std::u16string_view name, TObject* value) {
  const TPropInfo* p = GetPropInfo(object, name);
  if (p == nullptr || p->Kind != TPropKind::Object || !p->WriteObject) return false;
  if (value != nullptr && !value->InheritsFrom(*p->ObjectClass)) return false;
  p->WriteObject(*object, value);
  return true;
}

bool SetPropText(TObject* object, std::u16string_view name, const std::u16string& text) {
  const TPropInfo* p = GetPropInfo(object, name);
  if (p == nullptr) return false;
  switch (p->Kind) {
    case TPropKind::Integer: {
      int64_t v;
      return TryStrToInt(Trim(text), v) && SetOrdProp(object, name, v);
    }
    case TPropKind::Enumeration:
      return SetEnumProp(object, name, Trim(text));
    case TPropKind::Set: {
      int64_t mask;
      return TextToSet(*p->ValueNames, text, mask) && SetOrdProp(object, name, mask);
    }
    case TPropKind::Text:
      return SetStrProp(object, name, text);
    case TPropKind::Object:
      return false;
  }
  return false;
}

std::u16string SetToText(const std::vector<std::u16string>& names, int64_t mask) {
  std::u16string out = u"[";
  bool first = true;
  for (size_t i = 0; i < names.size() && i < 64; ++i) {
    if ((static_cast<uint64_t>(mask) >> i) & 1) {
      if (!first) out += u',';
      out += names[i];
      first = false;
    }
  }
  return out + u"]";
}

bool TextToSet(const std::vector<std::u16string>& names, std::u16string_view text, int64_t& mask) {
  std::u16string t = Trim(text);
  if (t.size() < 2 || t.front() != u'[' || t.back() != u']') return false;
  std::u16string_view inner(t);
  inner = inner.substr(1, inner.size() - 2);
  int64_t result = 0;
  size_t pos = 0;
  while (pos <= inner.size()) {
    size_t comma = inner.find(u',', pos);
    if (comma == std::u16string_view::npos) comma = inner.size();
    std::u16string item = Trim(inner.substr(pos, comma - pos));
    if (item.empty()) {
      if (Trim(inner).empty()) break;  // "[]"
      return false;
    }
    size_t i = 0;
    while (i < names.size() && !SameTextAscii(names[i], item)) ++i;
    if (i == names.size() || i >= 63) return false;
    result |= int64_t(1) << i;
    pos = comma + 1;
  }
  mask = result;
  return true;
}
