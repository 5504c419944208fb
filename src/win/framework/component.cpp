#include "win/framework/component.h"

#include <algorithm>

#include "win/framework/loader.h"

namespace sapala::win {

TComponent::TComponent(TComponent* owner) : owner_(owner) {}

TComponent::~TComponent() {
  // Each listener is told once; the list is taken first, so one that unregisters while it is
  // told changes nothing here.
  std::vector<TFreeListener*> listeners = std::move(free_listeners_);
  free_listeners_.clear();
  for (TFreeListener* l : listeners) l->ComponentFreed(*this);
  DestroyComponents();
}

void TComponent::FreeNotification(TFreeListener* listener) {
  if (!listener) return;
  if (std::find(free_listeners_.begin(), free_listeners_.end(), listener) != free_listeners_.end())
    return;
  free_listeners_.push_back(listener);
}

void TComponent::RemoveFreeNotification(TFreeListener* listener) noexcept {
  std::erase(free_listeners_, listener);
}

void TComponent::DestroyComponents() noexcept {
  state_ |= csDestroying;
  while (!components_.empty()) {
    // Take it out first: its destructor may look at its owner's list.
    std::unique_ptr<TComponent> last = std::move(components_.back());
    components_.pop_back();
    last.reset();
  }
}

void TComponent::Adopt(std::unique_ptr<TComponent> component) {
  components_.push_back(std::move(component));
}

std::unique_ptr<TComponent> TComponent::Extract(TComponent* component) noexcept {
  for (auto it = components_.begin(); it != components_.end(); ++it) {
    if (it->get() == component) {
      std::unique_ptr<TComponent> out = std::move(*it);
      components_.erase(it);
      return out;
    }
  }
  return nullptr;
}

TComponent* TComponent::FindComponent(std::string_view name) const noexcept {
  for (const auto& c : components_) {
    if (c->Name().size() == name.size() &&
        ::CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, c->Name().data(),
                         static_cast<int>(name.size()), name.data(),
                         static_cast<int>(name.size())) == CSTR_EQUAL) {
      return c.get();
    }
  }
  return nullptr;
}

bool TComponent::ReadProperty(std::string_view name, const forms::Property& p, Loader& loader) {
  if (name == "Tag") {
    tag_ = static_cast<INT_PTR>(loader.Int(p));
    return true;
  }
  return false;
}

}  // namespace sapala::win
