// TComponent: the root of the framework's objects. A component has a name, a tag and an owner;
// the owner frees what it owns, in the reverse order of creation. While a form description is
// being applied the component is "loading"; Loaded() runs once the whole description is in.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/forms/form_description.h"

namespace sapala::win {

class TComponent;
class Loader;

// Base of everything events can name as their sender.
class TObject {
 public:
  virtual ~TObject() = default;
};

enum ComponentState : unsigned { csLoading = 1, csReading = 2, csDestroying = 4, csDesigning = 8 };

// Told when a component it watches is freed. The call comes from the component's destructor:
// the listener may only drop what it holds of the component, not call into it.
class TFreeListener {
 public:
  virtual void ComponentFreed(TComponent& component) noexcept = 0;

 protected:
  ~TFreeListener() = default;
};

class TComponent : public TObject {
 public:
  explicit TComponent(TComponent* owner);
  ~TComponent() override;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  const std::string& Name() const noexcept { return name_; }
  // The class name the component was created under ("TForm1", "TEdit"); windows of our own
  // classes are registered under it.
  const std::string& ClassName() const noexcept { return class_name_; }
  void SetClassName(std::string name) { class_name_ = std::move(name); }
  void SetName(std::string name) { name_ = std::move(name); }
  INT_PTR Tag() const noexcept { return tag_; }
  void SetTag(INT_PTR tag) noexcept { tag_ = tag; }
  TComponent* Owner() const noexcept { return owner_; }
  unsigned ComponentState() const noexcept { return state_; }
  bool Loading() const noexcept { return state_ & csLoading; }
  bool Destroying() const noexcept { return state_ & csDestroying; }

  // Creates a component owned by this one; the reference stays valid until this one is freed.
  template <typename T, typename... Args>
  T& Create(Args&&... args) {
    auto owned = std::make_unique<T>(this, std::forward<Args>(args)...);
    T& ref = *owned;
    components_.push_back(std::move(owned));
    return ref;
  }
  void Adopt(std::unique_ptr<TComponent> component);
  // Takes an owned component out of this one (nullptr when it is not owned here); the caller
  // frees it.
  std::unique_ptr<TComponent> Extract(TComponent* component) noexcept;

  std::size_t ComponentCount() const noexcept { return components_.size(); }
  TComponent* Component(std::size_t i) const noexcept { return components_[i].get(); }
  TComponent* FindComponent(std::string_view name) const noexcept;
  template <typename T>
  T* Find(std::string_view name) const noexcept {
    return dynamic_cast<T*>(FindComponent(name));
  }

  // Applies one stored property; false when this class has no property of that name.
  virtual bool ReadProperty(std::string_view name, const forms::Property& p, Loader& loader);
  // Called once the whole description has been applied (state no longer csLoading).
  virtual void Loaded() {}

  // Watching a component's end: `listener` is told once when this component is freed, unless it
  // unregistered first. Registering twice is one registration.
  void FreeNotification(TFreeListener* listener);
  void RemoveFreeNotification(TFreeListener* listener) noexcept;

  void SetState(unsigned bits, bool on) noexcept {
    state_ = on ? (state_ | bits) : (state_ & ~bits);
  }

 protected:
  // Frees the owned components now (newest first); a subclass that must outlive its children's
  // destruction calls this at the start of its own destructor.
  void DestroyComponents() noexcept;

 private:
  TComponent* owner_;
  std::string name_;
  std::string class_name_;
  INT_PTR tag_ = 0;
  unsigned state_ = 0;
  std::vector<std::unique_ptr<TComponent>> components_;
  std::vector<TFreeListener*> free_listeners_;
};

}  // namespace sapala::win
