#include "framework/core/Component.h"

#include <algorithm>

#include "framework/core/Exception.h"
#include "framework/core/Property.h"
#include "framework/core/Unicode.h"

namespace {
thread_local int g_loadingDepth = 0;
}

TLoadingScope::TLoadingScope() { ++g_loadingDepth; }
TLoadingScope::~TLoadingScope() { --g_loadingDepth; }
bool TLoadingScope::Active() { return g_loadingDepth > 0; }

IMPLEMENT_CLASS_WITH_PROPERTIES(TComponent) {
  p.Text(u"Name", &TComponent::Name, &TComponent::SetName);
  p.Integer(u"Tag", &TComponent::Tag, &TComponent::SetTag);
}

TComponent::TComponent(TComponent* owner) {
  if (TLoadingScope::Active()) state_ |= csLoading;
  if (owner != nullptr) owner->InsertComponent(this);
}

TComponent::~TComponent() {
  // Free() has done the work; a component deleted some other way must still leave its
  // owner's list.
  if (owner_ != nullptr) owner_->Remove(this);
}

void TComponent::BeforeDestruction() {
  Destroying();
  EndLife();
  while (!freeNotifies_.empty()) {
    TComponent* c = freeNotifies_.back();
    freeNotifies_.pop_back();
    auto& theirs = c->freeNotifies_;
    theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
    c->Notification(this, TOperation::opRemove);
  }
  DestroyComponents();
  if (owner_ != nullptr) owner_->RemoveComponent(this);
  TPersistent::BeforeDestruction();
}

void TComponent::Destroying() {
  if (IsDestroying()) return;
  state_ |= csDestroying;
  for (TComponent* c : components_) c->Destroying();
}

void TComponent::DestroyComponents() {
  // Each component still knows its owner while it is taken apart, and leaves the list
  // itself at the end of its BeforeDestruction.
  while (!components_.empty()) components_.back()->Free();
}

int TComponent::ComponentIndex() const {
  if (owner_ == nullptr) return -1;
  auto& list = owner_->components_;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

TComponent* TComponent::FindComponent(std::u16string_view name) const {
  if (name.empty()) return nullptr;
  for (TComponent* c : components_)
    if (SameTextAscii(c->name_, name)) return c;
  return nullptr;
}

void TComponent::SetName(const std::u16string& name) {
  if (name == name_) return;
  if (owner_ != nullptr && !name.empty()) {
    TComponent* other = owner_->FindComponent(name);
    if (other != nullptr && other != this)
      throw EComponentError(u"A component named " + name + u" already exists");
  }
  name_ = name;
}

void TComponent::InsertComponent(TComponent* component) {
  if (component->owner_ == this) return;
  if (component->owner_ != nullptr) component->owner_->RemoveComponent(component);
  if (!component->name_.empty() && FindComponent(component->name_) != nullptr)
    throw EComponentError(u"A component named " + component->name_ + u" already exists");
  Insert(component);
  Notification(component, TOperation::opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
  if (component->owner_ != this) return;
  Notification(component, TOperation::opRemove);
  Remove(component);
}

void TComponent::Insert(TComponent* component) {
  components_.push_back(component);
  component->owner_ = this;
}

void TComponent::Remove(TComponent* component) {
  auto it = std::find(components_.begin(), components_.end(), component);
  if (it != components_.end()) components_.erase(it);
  component->owner_ = nullptr;
}

void TComponent::FreeNotification(TComponent* component) {
  if (component == nullptr || component == this) return;
  if (std::find(freeNotifies_.begin(), freeNotifies_.end(), component) == freeNotifies_.end()) {
    freeNotifies_.push_back(component);
    component->freeNotifies_.push_back(this);
  }
}

void TComponent::RemoveFreeNotification(TComponent* component) {
  auto drop = [](std::vector<TComponent*>& v, TComponent* c) {
    v.erase(std::remove(v.begin(), v.end(), c), v.end());
  };
  drop(freeNotifies_, component);
  drop(component->freeNotifies_, this);
}

void TComponent::Notification(TComponent* component, TOperation operation) {
  if (operation == TOperation::opRemove && component != nullptr) {
    // Pass the news on to what we own: they may refer to it too.
    std::vector<TComponent*> owned = components_;
    for (TComponent* c : owned)
      if (c != component) c->Notification(component, operation);
  }
}

void TComponent::FinishLoading() {
  // Loaded() may create components; walk a snapshot.
  std::vector<TComponent*> owned = components_;
  for (TComponent* c : owned)
    if (c->IsLoading()) c->Loaded();
  if (IsLoading()) Loaded();
}

void TComponent::Loaded() { state_ &= ~csLoading; }

void TComponent::SetDesigning(bool on) {
  if (on) state_ |= csDesigning;
  else state_ &= ~csDesigning;
}
