#include "win/skin/glow.h"

#include <memory>
#include <vector>

#include "core/graphics/pixels.h"
#include "core/skin/glow_picture.h"
#include "win/skin/platform.h"
#include "win/skin/skin_manager.h"

namespace sapala::win::skin {

namespace {

constexpr wchar_t kGlowClass[] = L"TlcGlowWindow";

std::vector<std::unique_ptr<TlcGlowEffect>>& Table() {
  static std::vector<std::unique_ptr<TlcGlowEffect>> table;
  return table;
}

// The mouse falls through a glow to whatever lies under it.
LRESULT CALLBACK GlowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
  if (msg == WM_NCHITTEST) return HTTRANSPARENT;
  if (msg == WM_MOUSEACTIVATE) return MA_NOACTIVATE;
  return ::DefWindowProcW(hwnd, msg, wp, lp);
}

bool RegisterGlowClass() {
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{};
  if (::GetClassInfoExW(instance, kGlowClass, &wc)) return true;
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = GlowProc;
  wc.hInstance = instance;
  wc.lpszClassName = kGlowClass;
  return ::RegisterClassExW(&wc) != 0;
}

graphics::Rect ToRect(const RECT& r) { return graphics::Rect{r.left, r.top, r.right, r.bottom}; }

}  // namespace

Bitmap PremultipliedSection(const graphics::Bitmap& picture) {
  if (picture.Empty() || picture.Format() != graphics::PixelFormat::pf32bit) return Bitmap();
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = picture.Width();
  bi.bmiHeader.biHeight = -picture.Height();  // top-down
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  Bitmap section(::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!section || !bits) return Bitmap();
  const std::ptrdiff_t stride = std::ptrdiff_t{picture.Width()} * 4;
  graphics::Bitmap view =
      graphics::Bitmap::Wrap(static_cast<std::uint8_t*>(bits), picture.Width(), picture.Height(),
                             stride, graphics::PixelFormat::pf32bit);
  for (int y = 0; y < picture.Height(); ++y) {
    std::copy_n(picture.Row32(y), picture.Width(), view.Row32(y));
  }
  graphics::PremultiplyAlpha(view);
  return section;
}

TlcGlowEffect::TlcGlowEffect(TsSkinManager& manager, int maskIndex, int margin)
    : manager_(manager), mask_index_(maskIndex), margin_(margin) {}

TlcGlowEffect::~TlcGlowEffect() = default;

bool TlcGlowEffect::Show(RECT controlRect, RECT visibleRect, HWND host) {
  if (window_) return true;
  const LayeredWindowApi& api = LayeredApi();
  if (!api.UpdateLayeredWindow || !RegisterGlowClass()) return false;
  sapala::skin::GlowPicture g = sapala::skin::BuildGlowPicture(
      manager_.Core().Tables, mask_index_, ToRect(controlRect), ToRect(visibleRect), margin_);
  if (g.Picture.Empty()) return false;
  const int w = g.Picture.Width(), h = g.Picture.Height();
  window_.reset(::CreateWindowExW(kGlowExStyle, kGlowClass, L"", WS_POPUP, g.Position.x,
                                  g.Position.y, w, h, nullptr, nullptr, ::GetModuleHandleW(nullptr),
                                  nullptr));
  if (!window_) return false;
  // Z-order: over the host, under whatever lay over it; a topmost host gets a topmost glow.
  HWND after = HWND_TOP;
  if (host && (::GetWindowLongPtrW(host, GWL_EXSTYLE) & WS_EX_TOPMOST)) {
    after = HWND_TOPMOST;
  } else if (host) {
    if (HWND above = ::GetWindow(host, GW_HWNDPREV)) after = above;
  }
  ::SetWindowPos(window_.get(), after, g.Position.x, g.Position.y, 0, 0,
                 SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER | SWP_NOSENDCHANGING);
  Bitmap section = PremultipliedSection(g.Picture);
  if (!section) return false;
  {
    WindowDC screen(nullptr);
    MemoryDC mem(::CreateCompatibleDC(screen.get()));
    SelectedObject selected(mem.get(), section.get());
    POINT src{0, 0}, dst{g.Position.x, g.Position.y};
    SIZE size{w, h};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    api.UpdateLayeredWindow(window_.get(), screen.get(), &dst, &size, mem.get(), &src, 0, &blend,
                            ULW_ALPHA);
  }
  ::ShowWindow(window_.get(), SW_SHOWNOACTIVATE);
  picture_ = std::move(g.Picture);
  return true;
}

int ShowGlow(RECT controlRect, RECT visibleRect, const std::string& sectionName,
             TsSkinManager* manager, HWND host, int opacity, int margin,
             const std::string& imageName) {
  (void)opacity;  // the blend's constant alpha is always 255 (per-pixel alpha carries the glow)
  if (!LayeredApi().UpdateLayeredWindow) return -1;
  if (!manager) manager = TsSkinManager::Default();
  if (!manager) return -1;
  try {
    const int mask = sapala::skin::FindGlowImage(manager->Core().Tables, sectionName, imageName);
    if (mask < 0) return -1;
    auto effect = std::make_unique<TlcGlowEffect>(*manager, mask, margin);
    auto& table = Table();
    table.push_back(std::move(effect));
    const int handle = static_cast<int>(table.size()) - 1;
    if (!table.back()->Show(controlRect, visibleRect, host)) {
      table.back().reset();
      return -1;
    }
    return handle;
  } catch (...) {
    return -1;
  }
}

void HideGlow(int handle) noexcept {
  auto& table = Table();
  if (handle < 0 || static_cast<std::size_t>(handle) >= table.size()) return;
  table[static_cast<std::size_t>(handle)].reset();
}

void ClearGlows(bool /*restoreWindows*/) noexcept {
  // Taken out first: freeing a window may send messages that reach this table.
  auto glows = std::move(Table());
  Table().clear();
  glows.clear();
}

const TlcGlowEffect* GlowOf(int handle) noexcept {
  const auto& table = Table();
  if (handle < 0 || static_cast<std::size_t>(handle) >= table.size()) return nullptr;
  return table[static_cast<std::size_t>(handle)].get();
}

int GlowSlots() noexcept { return static_cast<int>(Table().size()); }

}  // namespace sapala::win::skin
