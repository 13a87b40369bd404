#include "framework/controls/WindowProcHook.h"

#include <algorithm>
#include <map>

namespace {

// The hooks installed on each control, oldest first.
std::map<const TControl*, std::vector<TWindowProcHook*>>& Chains() {
  static std::map<const TControl*, std::vector<TWindowProcHook*>> chains;
  return chains;
}

}  // namespace

TWindowProcHook::TWindowProcHook(TControl* control, TWndMethod handler)
    : control_(control), key_(control), handler_(handler) {
  previous_ = control->WindowProc();
  control->SetWindowProc(handler);
  Chains()[control].push_back(this);
  installed_ = true;
}

TWindowProcHook::~TWindowProcHook() { Remove(); }

void TWindowProcHook::Remove() {
  if (!installed_) return;
  installed_ = false;
  TControl* control = control_.Get();
  auto chain = Chains().find(key_);
  if (chain != Chains().end()) {
    auto& hooks = chain->second;
    hooks.erase(std::remove(hooks.begin(), hooks.end(), this), hooks.end());
    if (control != nullptr) {
      if (control->WindowProc() == handler_) {
        control->SetWindowProc(previous_);
      } else {
        // A later hook passes messages on to us: it passes them on past us now.
        for (TWindowProcHook* later : hooks)
          if (later->previous_ == handler_) later->previous_ = previous_;
      }
    }
    if (hooks.empty()) Chains().erase(chain);
  }
}
