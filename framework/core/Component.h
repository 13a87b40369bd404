#pragma once
// Components: objects with an owner that frees them, a name, a tag, and the loading
// and destroying states that forms and data modules go through.
#include <cstdint>
#include <string>
#include <vector>

#include "framework/core/Object.h"

enum : uint32_t {
  csLoading = 1,     // built by a form or data module that has not finished loading
  csDestroying = 2,  // BeforeDestruction has started
  csDesigning = 4,   // never set at run time; kept for the checks that mention it
};
using TComponentState = uint32_t;

enum class TOperation { opInsert, opRemove };

class TComponent : public TPersistent {
  DECLARE_CLASS(TComponent, TPersistent)
  explicit TComponent(TComponent* owner);

  TComponent* Owner() const { return owner_; }
  int ComponentCount() const { return static_cast<int>(components_.size()); }
  TComponent* Components(int index) const { return components_.at(static_cast<size_t>(index)); }
  const std::vector<TComponent*>& ComponentList() const { return components_; }
  // Position in the owner's list, -1 without owner.
  int ComponentIndex() const;
  // The owned component of that name (ASCII case ignored), or null.
  TComponent* FindComponent(std::u16string_view name) const;

  const std::u16string& Name() const { return name_; }
  // Raises EComponentError when another component of the same owner has the name.
  void SetName(const std::u16string& name);
  int32_t Tag() const { return tag_; }
  void SetTag(int32_t tag) { tag_ = tag; }

  TComponentState ComponentState() const { return state_; }
  bool IsLoading() const { return (state_ & csLoading) != 0; }
  bool IsDestroying() const { return (state_ & csDestroying) != 0; }
  bool IsDesigning() const { return (state_ & csDesigning) != 0; }

  // Moves a component between owners (null: unowned).
  void InsertComponent(TComponent* component);
  void RemoveComponent(TComponent* component);

  // Asks for Notification(component, opRemove) when component is destroyed.
  void FreeNotification(TComponent* component);
  void RemoveFreeNotification(TComponent* component);

  // Ends loading: every owned component that is loading, in order, then this one.
  // Called by whoever built the component tree (form creation).
  void FinishLoading();

 protected:
  ~TComponent() override;
  void BeforeDestruction() override;
  // Called once after the component's owner tree has been built; clears csLoading.
  virtual void Loaded();
  virtual void Notification(TComponent* component, TOperation operation);
  // Marks this component and everything it owns as being destroyed.
  void Destroying();
  // Frees the owned components, last first.
  void DestroyComponents();
  void SetDesigning(bool on);

 private:
  void Insert(TComponent* component);
  void Remove(TComponent* component);

  TComponent* owner_ = nullptr;
  std::vector<TComponent*> components_;
  std::vector<TComponent*> freeNotifies_;
  std::u16string name_;
  int32_t tag_ = 0;
  TComponentState state_ = 0;
};

// Components created while one of these is alive start in csLoading; form and data
// module creation opens one around the constructor.
class TLoadingScope {
 public:
  TLoadingScope();
  ~TLoadingScope();
  TLoadingScope(const TLoadingScope&) = delete;
  TLoadingScope& operator=(const TLoadingScope&) = delete;
  static bool Active();
};
