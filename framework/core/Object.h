#pragma once
// The root of every framework class.  Objects are created with new and destroyed with
// Free(), never with delete: Free() first runs BeforeDestruction() on the whole object,
// so a class can still call its virtuals while it takes itself apart.
#include <memory>
#include <string>

#include "framework/core/ClassInfo.h"

// Put first in a class body; the class's .cpp file then has IMPLEMENT_CLASS(Cls) or
// IMPLEMENT_CLASS_WITH_PROPERTIES(Cls) (framework/core/Property.h).
#define DECLARE_CLASS(Cls, Base)                                              \
 public:                                                                      \
  using inherited = Base;                                                     \
  static const TClassInfo& StaticClass();                                     \
  const TClassInfo& ClassType() const override { return Cls::StaticClass(); }

// Shared by an object and the weak references to it; cleared when the object goes.
struct TLifeToken {
  bool Alive = true;
};

class TObject {
 public:
  static const TClassInfo& StaticClass();
  virtual const TClassInfo& ClassType() const { return StaticClass(); }
  const std::u16string& ClassName() const { return ClassType().Name(); }
  bool InheritsFrom(const TClassInfo& c) const { return ClassType().InheritsFrom(c); }
  template <class T>
  bool Is() const {
    return ClassType().InheritsFrom(T::StaticClass());
  }
  // Destroys the object: BeforeDestruction(), then the destructors.
  void Free();
  std::shared_ptr<TLifeToken> LifeToken() const;
  bool Alive() const { return !life_ || life_->Alive; }

  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;

 protected:
  TObject() = default;
  virtual ~TObject();
  // Runs while the whole object still exists.  Overrides call the inherited one last.
  virtual void BeforeDestruction();
  // Clears every weak reference to this object.
  void EndLife();

 private:
  mutable std::shared_ptr<TLifeToken> life_;
};

// Null-safe destruction, as the owner of a plain pointer does it.
inline void FreeObject(TObject* object) {
  if (object != nullptr) object->Free();
}
template <class T>
void FreeAndNil(T*& object) {
  T* o = object;
  object = nullptr;
  FreeObject(o);
}

template <class T>
T* As(TObject* object) {
  return object != nullptr && object->Is<T>() ? static_cast<T*>(object) : nullptr;
}
template <class T>
const T* As(const TObject* object) {
  return object != nullptr && object->Is<T>() ? static_cast<const T*>(object) : nullptr;
}

struct TObjectDeleter {
  void operator()(TObject* object) const { FreeObject(object); }
};
// Sole ownership of a framework object.
template <class T>
using TOwned = std::unique_ptr<T, TObjectDeleter>;

// A reference that reads as null once its target has been destroyed.
template <class T>
class TWeakRef {
 public:
  TWeakRef() = default;
  TWeakRef(T* target) { Reset(target); }
  TWeakRef& operator=(T* target) {
    Reset(target);
    return *this;
  }
  T* Get() const { return token_ && token_->Alive ? target_ : nullptr; }
  T* operator->() const { return Get(); }
  explicit operator bool() const { return Get() != nullptr; }
  void Reset(T* target = nullptr) {
    target_ = target;
    token_ = target != nullptr ? target->LifeToken() : nullptr;
  }

 private:
  T* target_ = nullptr;
  std::shared_ptr<TLifeToken> token_;
};

// An object that can copy another of a compatible class.
class TPersistent : public TObject {
  DECLARE_CLASS(TPersistent, TObject)
  // Raises EConvertError when the source cannot be assigned to this object.
  virtual void Assign(const TPersistent* source);

 protected:
  // The reverse direction: source asks the destination to take it.
  virtual void AssignTo(TPersistent* dest) const;
};
