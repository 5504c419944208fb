// Applying a form description: components are created by class name through the class registry,
// owned by the form, parented to the windowed control whose object encloses them, and given
// their stored properties in stored order. Event properties name member functions of the form,
// which the form has registered by name. Then every component gets Loaded(), in creation order.
#pragma once

#include <functional>
#include <initializer_list>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "core/forms/form_description.h"
#include "win/framework/events.h"
#include "win/framework/graphics.h"

namespace sapala::win {

class TComponent;
class TForm;

// An error in a description: the form, the line and what is wrong.
class LoadError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

using ComponentFactory = std::function<std::unique_ptr<TComponent>(TComponent* owner)>;

// Registers a class for descriptions; later registrations of the same name replace earlier ones.
void RegisterComponentClass(std::string name, ComponentFactory factory);
template <typename T>
void RegisterComponentClass(std::string name) {
  RegisterComponentClass(std::move(name),
                         [](TComponent* owner) { return std::make_unique<T>(owner); });
}

// A handler a form offers to its description, by method name.
using EventHandler = std::variant<TNotifyEvent, TKeyEvent, TKeyPressEvent, TMouseEvent,
                                  TMouseMoveEvent, TlcGetExtraLineData>;

class Loader {
 public:
  explicit Loader(TForm& root) : root_(root) {}

  // Applies the description to the form (its own properties) and creates its components.
  void Apply(const forms::Object& description);

  TForm& Root() noexcept { return root_; }

  // Value conversions; each throws LoadError naming the line when the value has another form.
  std::int64_t Int(const forms::Property& p) const;
  bool Bool(const forms::Property& p) const;
  std::wstring String(const forms::Property& p) const;  // UTF-8 stored text, widened
  std::string Ident(const forms::Property& p) const;
  std::vector<std::string> Set(const forms::Property& p) const;
  const std::vector<std::uint8_t>& Bytes(const forms::Property& p) const;
  TColor Color(const forms::Property& p) const;
  void ReadFont(TFont& font, std::string_view name, const forms::Property& p) const;
  // The component of this form with the name the property holds.
  TComponent* Reference(const forms::Property& p) const;

  template <typename Fn>
  Fn Event(const forms::Property& p) const {
    const EventHandler& h = Handler(p);
    if (const Fn* fn = std::get_if<Fn>(&h)) return *fn;
    Fail(p, "the handler " + Ident(p) + " does not fit this event");
  }

  // The value of an enumeration whose name the property holds, from a table of names and
  // values, or (for enumerations numbered 0, 1, 2...) from the array of names in value order.
  // An unknown name is an error such as "unknown bevel shape bsOval" (`what` = "bevel shape").
  template <typename E>
  E Enum(const forms::Property& p, std::initializer_list<std::pair<std::string_view, E>> names,
         std::string_view what) const {
    const std::string v = Ident(p);
    for (const auto& [n, e] : names) {
      if (n == v) return e;
    }
    Fail(p, "unknown " + std::string(what) + " " + v);
  }
  template <typename E, typename Names>
  E Enum(const forms::Property& p, const Names& names_in_order, std::string_view what) const {
    const std::string v = Ident(p);
    int i = 0;
    for (const char* n : names_in_order) {
      if (v == n) return static_cast<E>(i);
      ++i;
    }
    Fail(p, "unknown " + std::string(what) + " " + v);
  }

  [[noreturn]] void Fail(const forms::Property& p, const std::string& what) const;

  // References are resolved after every component exists (a property may name a later one).
  void Defer(std::function<void()> fixup) { fixups_.push_back(std::move(fixup)); }

 private:
  const EventHandler& Handler(const forms::Property& p) const;
  void ApplyProperties(TComponent& c, const forms::Object& o);
  void CreateChildren(TComponent& parent_object, const forms::Object& o);

  TForm& root_;
  std::vector<TComponent*> created_;
  std::vector<std::function<void()>> fixups_;
};

// Colour names of descriptions ("clBtnFace", "clLime"); false for an unknown name.
bool ColorFromName(std::string_view name, TColor& color);

}  // namespace sapala::win
