#include "win/framework/loader.h"

#include <windows.h>

#include "win/framework/controls.h"
#include "win/framework/forms.h"
#include "win/framework/text.h"

namespace sapala::win {

namespace {

std::map<std::string, ComponentFactory, std::less<>>& Registry() {
  static std::map<std::string, ComponentFactory, std::less<>> registry;
  return registry;
}

struct NamedColor {
  const char* name;
  TColor color;
};
constexpr NamedColor kColors[] = {
    {"clBlack", 0x000000},
    {"clMaroon", 0x000080},
    {"clGreen", 0x008000},
    {"clOlive", 0x008080},
    {"clNavy", 0x800000},
    {"clPurple", 0x800080},
    {"clTeal", 0x808000},
    {"clGray", 0x808080},
    {"clSilver", 0xC0C0C0},
    {"clRed", 0x0000FF},
    {"clLime", 0x00FF00},
    {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},
    {"clFuchsia", 0xFF00FF},
    {"clAqua", 0xFFFF00},
    {"clWhite", 0xFFFFFF},
    {"clMoneyGreen", 0xC0DCC0},
    {"clSkyBlue", 0xF0CAA6},
    {"clCream", 0xF0FBFF},
    {"clMedGray", 0xA4A0A0},
    {"clNone", graphics::clNone},
    {"clDefault", graphics::clDefault},
    {"clScrollBar", graphics::clScrollBar},
    {"clBackground", graphics::clBackground},
    {"clActiveCaption", graphics::clActiveCaption},
    {"clInactiveCaption", graphics::clInactiveCaption},
    {"clMenu", graphics::clMenu},
    {"clWindow", graphics::clWindow},
    {"clWindowFrame", graphics::clWindowFrame},
    {"clMenuText", graphics::clMenuText},
    {"clWindowText", graphics::clWindowText},
    {"clCaptionText", graphics::clCaptionText},
    {"clActiveBorder", graphics::clActiveBorder},
    {"clInactiveBorder", graphics::clInactiveBorder},
    {"clAppWorkSpace", graphics::clAppWorkSpace},
    {"clHighlight", graphics::clHighlight},
    {"clHighlightText", graphics::clHighlightText},
    {"clBtnFace", graphics::clBtnFace},
    {"clBtnShadow", graphics::clBtnShadow},
    {"clGrayText", graphics::clGrayText},
    {"clBtnText", graphics::clBtnText},
    {"clInactiveCaptionText", graphics::clInactiveCaptionText},
    {"clBtnHighlight", graphics::clBtnHighlight},
    {"cl3DDkShadow", graphics::cl3DDkShadow},
    {"cl3DLight", graphics::cl3DLight},
    {"clInfoText", graphics::clInfoText},
    {"clInfoBk", graphics::clInfoBk},
    {"clHotLight", graphics::clHotLight},
    {"clGradientActiveCaption", graphics::clGradientActiveCaption},
    {"clGradientInactiveCaption", graphics::clGradientInactiveCaption},
    {"clMenuHighlight", graphics::clMenuHighlight},
    {"clMenuBar", graphics::clMenuBar},
};

}  // namespace

void RegisterComponentClass(std::string name, ComponentFactory factory) {
  Registry()[std::move(name)] = std::move(factory);
}

bool ColorFromName(std::string_view name, TColor& color) {
  for (const auto& c : kColors) {
    if (name == c.name) {
      color = c.color;
      return true;
    }
  }
  return false;
}

void Loader::Fail(const forms::Property& p, const std::string& what) const {
  throw LoadError(root_.ClassName() + ", line " + std::to_string(p.line) + ", " + p.name + ": " +
                  what);
}

std::int64_t Loader::Int(const forms::Property& p) const {
  if (const auto* v = std::get_if<std::int64_t>(&p.value)) return *v;
  Fail(p, "a whole number was expected");
}

bool Loader::Bool(const forms::Property& p) const {
  const std::string id = Ident(p);
  if (id == "True") return true;
  if (id == "False") return false;
  Fail(p, "True or False was expected");
}

std::wstring Loader::String(const forms::Property& p) const {
  if (const auto* v = std::get_if<std::string>(&p.value)) return Widen(*v);
  Fail(p, "a string was expected");
}

std::string Loader::Ident(const forms::Property& p) const {
  if (const auto* v = std::get_if<forms::Identifier>(&p.value)) return v->name;
  Fail(p, "a name was expected");
}

std::vector<std::string> Loader::Set(const forms::Property& p) const {
  if (const auto* v = std::get_if<forms::SetValue>(&p.value)) return v->members;
  Fail(p, "a set was expected");
}

const std::vector<std::uint8_t>& Loader::Bytes(const forms::Property& p) const {
  if (const auto* v = std::get_if<forms::Binary>(&p.value)) return v->bytes;
  Fail(p, "binary data was expected");
}

TColor Loader::Color(const forms::Property& p) const {
  if (const auto* v = std::get_if<std::int64_t>(&p.value)) return static_cast<TColor>(*v);
  TColor c;
  if (ColorFromName(Ident(p), c)) return c;
  Fail(p, "unknown colour " + Ident(p));
}

void Loader::ReadFont(TFont& font, std::string_view name, const forms::Property& p) const {
  if (name == "Name")
    font.SetName(String(p));
  else if (name == "Height")
    font.SetHeight(static_cast<int>(Int(p)));
  else if (name == "Size")
    font.SetSize(static_cast<int>(Int(p)));
  else if (name == "Color")
    font.SetColor(Color(p));
  else if (name == "Charset") {
    if (std::get_if<std::int64_t>(&p.value)) {
      font.SetCharset(static_cast<int>(Int(p)));
      return;
    }
    const std::string id = Ident(p);
    static const std::pair<const char*, int> charsets[] = {
        {"ANSI_CHARSET", ANSI_CHARSET},
        {"DEFAULT_CHARSET", DEFAULT_CHARSET},
        {"SYMBOL_CHARSET", SYMBOL_CHARSET},
        {"ARABIC_CHARSET", ARABIC_CHARSET},
        {"EASTEUROPE_CHARSET", EASTEUROPE_CHARSET},
        {"RUSSIAN_CHARSET", RUSSIAN_CHARSET},
        {"OEM_CHARSET", OEM_CHARSET}};
    for (const auto& [n, v] : charsets) {
      if (id == n) {
        font.SetCharset(v);
        return;
      }
    }
    Fail(p, "unknown character set " + id);
  } else if (name == "Pitch") {
    const std::string id = Ident(p);
    if (id == "fpDefault")
      font.SetPitch(FontPitch::fpDefault);
    else if (id == "fpFixed")
      font.SetPitch(FontPitch::fpFixed);
    else if (id == "fpVariable")
      font.SetPitch(FontPitch::fpVariable);
    else
      Fail(p, "unknown pitch " + id);
  } else if (name == "Style") {
    unsigned style = 0;
    for (const auto& m : Set(p)) {
      if (m == "fsBold")
        style |= fsBold;
      else if (m == "fsItalic")
        style |= fsItalic;
      else if (m == "fsUnderline")
        style |= fsUnderline;
      else if (m == "fsStrikeOut")
        style |= fsStrikeOut;
      else
        Fail(p, "unknown font style " + m);
    }
    font.SetStyle(style);
  } else {
    Fail(p, "not a font property");
  }
}

TComponent* Loader::Reference(const forms::Property& p) const {
  const std::string name = Ident(p);
  if (TComponent* c = root_.FindComponent(name)) return c;
  Fail(p, "no component is named " + name);
}

const EventHandler& Loader::Handler(const forms::Property& p) const {
  const std::string method = Ident(p);
  if (const EventHandler* h = root_.FindHandler(method)) return *h;
  Fail(p, "the form has no handler " + method);
}

void Loader::ApplyProperties(TComponent& c, const forms::Object& o) {
  for (const auto& p : o.properties) {
    if (!c.ReadProperty(p.name, p, *this)) Fail(p, "no such property of " + o.class_name);
  }
}

void Loader::CreateChildren(TComponent& parent_object, const forms::Object& o) {
  for (const auto& child : o.children) {
    const auto& registry = Registry();
    const auto it = registry.find(child.class_name);
    if (it == registry.end()) {
      throw LoadError(root_.ClassName() + ", line " + std::to_string(child.line) + ": class " +
                      child.class_name + " is not registered");
    }
    std::unique_ptr<TComponent> made = it->second(&root_);
    TComponent& c = *made;
    root_.Adopt(std::move(made));
    c.SetName(child.name);
    c.SetClassName(child.class_name);
    c.SetState(csLoading | csReading, true);
    created_.push_back(&c);
    if (auto* control = dynamic_cast<TControl*>(&c)) {
      TWinControl* parent = dynamic_cast<TWinControl*>(&parent_object);
      control->SetParent(parent ? parent : &root_);
    }
    ApplyProperties(c, child);
    CreateChildren(c, child);
  }
}

void Loader::Apply(const forms::Object& description) {
  root_.SetState(csLoading | csReading, true);
  created_.push_back(&root_);
  if (root_.Name().empty()) root_.SetName(description.name);
  ApplyProperties(root_, description);
  CreateChildren(root_, description);
  for (auto& fix : fixups_) fix();
  for (TComponent* c : created_) c->SetState(csLoading | csReading, false);
  for (TComponent* c : created_) c->Loaded();
}

}  // namespace sapala::win
