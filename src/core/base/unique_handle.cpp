// Names and snapshots of the live-handle counters.
#include "core/base/unique_handle.h"

namespace sapala {

const char* HandleKindName(HandleKind kind) noexcept {
  switch (kind) {
    case HandleKind::Brush:
      return "brush";
    case HandleKind::Pen:
      return "pen";
    case HandleKind::Font:
      return "font";
    case HandleKind::Bitmap:
      return "bitmap";
    case HandleKind::Region:
      return "region";
    case HandleKind::DC:
      return "device context";
    case HandleKind::Icon:
      return "icon";
    case HandleKind::Cursor:
      return "cursor";
    case HandleKind::Menu:
      return "menu";
    case HandleKind::Hook:
      return "hook";
    case HandleKind::Window:
      return "window";
    case HandleKind::Database:
      return "database";
    case HandleKind::Statement:
      return "statement";
    case HandleKind::Count:
      break;
  }
  return "?";
}

HandleCensus::HandleCensus() noexcept {
  for (std::size_t i = 0; i < counts_.size(); ++i)
    counts_[i] = LiveHandles(static_cast<HandleKind>(i));
}

std::string HandleCensus::Difference() const {
  std::string out;
  for (std::size_t i = 0; i < counts_.size(); ++i) {
    const long delta = LiveHandles(static_cast<HandleKind>(i)) - counts_[i];
    if (delta == 0) continue;
    if (!out.empty()) out += ", ";
    out += std::to_string(delta) + " " + HandleKindName(static_cast<HandleKind>(i));
  }
  return out;
}

}  // namespace sapala
