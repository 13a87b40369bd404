#pragma once
// Run-time class information: the exact class name, the parent class, and the
// published properties, registered once per class and searched by name.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class TObject;
class TClassInfo;

enum class TPropKind { Integer, Enumeration, Set, Text, Object };

struct TPropInfo {
  std::u16string Name;
  TPropKind Kind = TPropKind::Integer;
  // Value names of an enumeration (booleans are "False", "True"), or the element
  // names of a set; index = ordinal.
  const std::vector<std::u16string>* ValueNames = nullptr;
  const TClassInfo* ObjectClass = nullptr;
  std::function<int64_t(const TObject&)> ReadOrd;
  std::function<void(TObject&, int64_t)> WriteOrd;
  std::function<std::u16string(const TObject&)> ReadText;
  std::function<void(TObject&, const std::u16string&)> WriteText;
  std::function<TObject*(const TObject&)> ReadObject;
  std::function<void(TObject&, TObject*)> WriteObject;

  bool IsOrdinal() const { return Kind == TPropKind::Integer || Kind == TPropKind::Enumeration ||
                                  Kind == TPropKind::Set; }
  bool Writable() const { return WriteOrd || WriteText || WriteObject; }
};

class TClassInfo {
 public:
  using TRegistrar = void (*)(std::vector<TPropInfo>& list);
  TClassInfo(const char16_t* name, const TClassInfo* parent, TRegistrar registrar);
  TClassInfo(const TClassInfo&) = delete;
  TClassInfo& operator=(const TClassInfo&) = delete;

  const std::u16string& Name() const { return name_; }
  const TClassInfo* Parent() const { return parent_; }
  bool InheritsFrom(const TClassInfo& other) const;
  // Compares class names without regard to ASCII case, as name tests do.
  bool InheritsFrom(std::u16string_view className) const;
  // This class's own registration first, then the parents'.
  const TPropInfo* FindProperty(std::u16string_view name) const;
  // Every property the class has, nearest registration winning, sorted by name.
  std::vector<const TPropInfo*> Properties() const;

 private:
  std::u16string name_;
  const TClassInfo* parent_;
  std::vector<TPropInfo> own_;  // sorted by lower-cased name
};

// Value names of an enumeration type, declared once next to the type.
template <class E>
struct TEnumNames;

#define DECLARE_ENUM_NAMES(E, ...)                                   \
  template <>                                                       \
  struct TEnumNames<E> {                                            \
    static const std::vector<std::u16string>& Names() {             \
      static const std::vector<std::u16string> names{__VA_ARGS__};  \
      return names;                                                 \
    }                                                               \
  };

const std::vector<std::u16string>& BooleanValueNames();

// Name of an enumeration value, "" when out of range.
template <class E>
std::u16string EnumName(E value) {
  const auto& names = TEnumNames<E>::Names();
  auto i = static_cast<size_t>(value);
  return i < names.size() ? names[i] : std::u16string();
}
