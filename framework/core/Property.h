#pragma once
// Published properties: registration (one place per class) and access by name.
// A property that a class lacks reads as -1, empty text or no object, and writing it
// does nothing; the access functions never throw for a missing name.
#include <functional>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "framework/core/ClassInfo.h"
#include "framework/core/Object.h"

template <class C>
class TPropertyBuilder {
 public:
  explicit TPropertyBuilder(std::vector<TPropInfo>& list) : list_(list) {}

  // Getters are member functions of C (or a base); setters too, or nullptr for read-only.
  template <class G, class S = std::nullptr_t>
  void Integer(const char16_t* name, G get, S set = nullptr) {
    TPropInfo& p = Add(name, TPropKind::Integer);
    p.ReadOrd = [get](const TObject& o) {
      return static_cast<int64_t>(std::invoke(get, static_cast<const C&>(o)));
    };
    if constexpr (!std::is_same_v<S, std::nullptr_t>) {
      p.WriteOrd = [set](TObject& o, int64_t v) {
        using Arg = typename SetterArg<S>::type;
        std::invoke(set, static_cast<C&>(o), static_cast<Arg>(v));
      };
    }
  }

  template <class G, class S = std::nullptr_t>
  void Boolean(const char16_t* name, G get, S set = nullptr) {
    TPropInfo& p = Add(name, TPropKind::Enumeration);
    p.ValueNames = &BooleanValueNames();
    p.ReadOrd = [get](const TObject& o) {
      return static_cast<int64_t>(std::invoke(get, static_cast<const C&>(o)) ? 1 : 0);
    };
    if constexpr (!std::is_same_v<S, std::nullptr_t>)
      p.WriteOrd = [set](TObject& o, int64_t v) { std::invoke(set, static_cast<C&>(o), v != 0); };
  }

  template <class E, class G, class S = std::nullptr_t>
  void Enum(const char16_t* name, G get, S set = nullptr) {
    TPropInfo& p = Add(name, TPropKind::Enumeration);
    p.ValueNames = &TEnumNames<E>::Names();
    p.ReadOrd = [get](const TObject& o) {
      return static_cast<int64_t>(std::invoke(get, static_cast<const C&>(o)));
    };
    if constexpr (!std::is_same_v<S, std::nullptr_t>)
      p.WriteOrd = [set](TObject& o, int64_t v) {
        std::invoke(set, static_cast<C&>(o), static_cast<E>(v));
      };
  }

  // A set of E held as a bit mask (bit n = element n).
  template <class E, class G, class S = std::nullptr_t>
  void Set(const char16_t* name, G get, S set = nullptr) {
    TPropInfo& p = Add(name, TPropKind::Set);
    p.ValueNames = &TEnumNames<E>::Names();
    p.ReadOrd = [get](const TObject& o) {
      return static_cast<int64_t>(std::invoke(get, static_cast<const C&>(o)));
    };
    if constexpr (!std::is_same_v<S, std::nullptr_t>)
      p.WriteOrd = [set](TObject& o, int64_t v) {
        using Arg = typename SetterArg<S>::type;
        std::invoke(set, static_cast<C&>(o), static_cast<Arg>(v));
      };
  }

  template <class G, class S = std::nullptr_t>
  void Text(const char16_t* name, G get, S set = nullptr) {
    TPropInfo& p = Add(name, TPropKind::Text);
    p.ReadText = [get](const TObject& o) {
      return std::u16string(std::invoke(get, static_cast<const C&>(o)));
    };
    if constexpr (!std::is_same_v<S, std::nullptr_t>)
      p.WriteText = [set](TObject& o, const std::u16string& v) {
        std::invoke(set, static_cast<C&>(o), v);
      };
  }

  // An object-valued property of class O.  A setter of an owned sub-object (a font,
  // a bitmap) usually Assigns; one of a reference stores the pointer.
  template <class O, class G, class S = std::nullptr_t>
  void Object(const char16_t* name, G get, S set = nullptr) {
    TPropInfo& p = Add(name, TPropKind::Object);
    p.ObjectClass = &O::StaticClass();
    p.ReadObject = [get](const TObject& o) -> TObject* {
      return const_cast<std::remove_const_t<O>*>(std::invoke(get, static_cast<const C&>(o)));
    };
    if constexpr (!std::is_same_v<S, std::nullptr_t>)
      p.WriteObject = [set](TObject& o, TObject* v) {
        std::invoke(set, static_cast<C&>(o), As<O>(v));
      };
  }

 private:
  template <class S>
  struct SetterArg;
  template <class R, class K, class A>
  struct SetterArg<R (K::*)(A)> {
    using type = std::decay_t<A>;
  };

  TPropInfo& Add(const char16_t* name, TPropKind kind) {
    list_.emplace_back();
    list_.back().Name = name;
    list_.back().Kind = kind;
    return list_.back();
  }

  std::vector<TPropInfo>& list_;
};

#define IMPLEMENT_CLASS(Cls)                                                          \
  const TClassInfo& Cls::StaticClass() {                                              \
    static const TClassInfo info(u## #Cls, &Cls::inherited::StaticClass(), nullptr); \
    return info;                                                                      \
  }

// Follow with a block that registers through the builder `p`.
#define IMPLEMENT_CLASS_WITH_PROPERTIES(Cls)                                    \
  static void Cls##_RegisterProperties(TPropertyBuilder<Cls>& p);               \
  const TClassInfo& Cls::StaticClass() {                                        \
    static const TClassInfo info(u## #Cls, &Cls::inherited::StaticClass(),      \
                                 [](std::vector<TPropInfo>& list) {             \
                                   TPropertyBuilder<Cls> builder(list);          \
                                   Cls##_RegisterProperties(builder);            \
                                 });                                            \
    return info;                                                                \
  }                                                                             \
  static void Cls##_RegisterProperties(TPropertyBuilder<Cls>& p)

// Access by name.  Names compare without regard to ASCII case.
const TPropInfo* GetPropInfo(const TObject* object, std::u16string_view name);
bool HasProperty(const TObject* object, std::u16string_view name);
// Integer, enumeration (booleans: 0/1) or set mask; missing (-1) for other kinds.
int64_t GetOrdProp(const TObject* object, std::u16string_view name, int64_t missing = -1);
// The value name of an enumeration or boolean property; "" otherwise.
std::u16string GetEnumProp(const TObject* object, std::u16string_view name);
// A text property; "" otherwise.
std::u16string GetStrProp(const TObject* object, std::u16string_view name);
// A set as "[name,name]"; "" when the property is no set.
std::u16string GetSetProp(const TObject* object, std::u16string_view name);
// The object value, null when absent or not of class cls (when given).
TObject* GetObjectProp(const TObject* object, std::u16string_view name,
                       const TClassInfo* cls = nullptr);

// Each answers false, changing nothing, when the property is missing, read-only or
// of another kind, or when the value does not fit it.
bool SetOrdProp(TObject* object, std::u16string_view name, int64_t value);
bool SetEnumProp(TObject* object, std::u16string_view name, std::u16string_view valueName);
bool SetStrProp(TObject* object, std::u16string_view name, const std::u16string& value);
bool SetObjectProp(TObject* object, std::u16string_view name, TObject* value);
// By the property's kind: integers parse decimal text, enumerations and booleans take a
// value name, sets take "[a,b]", text properties take the text.
bool SetPropText(TObject* object, std::u16string_view name, const std::u16string& text);

std::u16string SetToText(const std::vector<std::u16string>& names, int64_t mask);
bool TextToSet(const std::vector<std::u16string>& names, std::u16string_view text, int64_t& mask);
