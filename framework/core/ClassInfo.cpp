#include "framework/core/ClassInfo.h"

#include <algorithm>
#include <map>

#include "framework/core/Unicode.h"

TClassInfo::TClassInfo(const char16_t* name, const TClassInfo* parent, TRegistrar registrar)
    : name_(name), parent_(parent) {
  if (registrar != nullptr) registrar(own_);
  std::stable_sort(own_.begin(), own_.end(), [](const TPropInfo& a, const TPropInfo& b) {
    return CompareTextAscii(a.Name, b.Name) < 0;
  });
}

bool TClassInfo::InheritsFrom(const TClassInfo& other) const {
  for (const TClassInfo* c = this; c != nullptr; c = c->parent_)
    if (c == &other) return true;
  return false;
}

bool TClassInfo::InheritsFrom(std::u16string_view className) const {
  for (const TClassInfo* c = this; c != nullptr; c = c->parent_)
    if (SameTextAscii(c->name_, className)) return true;
  return false;
}

const TPropInfo* TClassInfo::FindProperty(std::u16string_view name) const {
  for (const TClassInfo* c = this; c != nullptr; c = c->parent_) {
    auto it = std::lower_bound(c->own_.begin(), c->own_.end(), name,
                               [](const TPropInfo& p, std::u16string_view n) {
                                 return CompareTextAscii(p.Name, n) < 0;
                               });
    if (it != c->own_.end() && SameTextAscii(it->Name, name)) return &*it;
  }
  return nullptr;
}

std::vector<const TPropInfo*> TClassInfo::Properties() const {
  std::map<std::u16string, const TPropInfo*> found;
  for (const TClassInfo* c = this; c != nullptr; c = c->parent_)
    for (const auto& p : c->own_) found.emplace(LowerAscii(p.Name), &p);
  std::vector<const TPropInfo*> out;
  for (auto& [key, p] : found) out.push_back(p);
  return out;
}

const std::vector<std::u16string>& BooleanValueNames() {
  static const std::vector<std::u16string> names{u"False", u"True"};
  return names;
}
