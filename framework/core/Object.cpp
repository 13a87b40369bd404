#include "framework/core/Object.h"

#include "framework/core/Exception.h"
#include "framework/core/Property.h"

const TClassInfo& TObject::StaticClass() {
  static const TClassInfo info(u"TObject", nullptr, nullptr);
  return info;
}

TObject::~TObject() { EndLife(); }

void TObject::Free() {
  BeforeDestruction();
  delete this;
}

void TObject::BeforeDestruction() { EndLife(); }

void TObject::EndLife() {
  if (!life_) {
    // Shared by every object that died before anyone asked for its token.
    static const auto dead = std::make_shared<TLifeToken>(TLifeToken{false});
    life_ = dead;
  }
  life_->Alive = false;
}

std::shared_ptr<TLifeToken> TObject::LifeToken() const {
  if (!life_) life_ = std::make_shared<TLifeToken>();
  return life_;
}

IMPLEMENT_CLASS(TPersistent)

void TPersistent::Assign(const TPersistent* source) {
  if (source == nullptr) throw EConvertError(u"Cannot assign nil to a " + ClassName());
  source->AssignTo(this);
}

void TPersistent::AssignTo(TPersistent* dest) const {
  throw EConvertError(u"Cannot assign a " + ClassName() + u" to a " + dest->ClassName());
}
