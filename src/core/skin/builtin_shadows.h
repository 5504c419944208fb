// The two built-in window-shadow pictures of extended borders, "lcSHDA" (active window) and
// "lcSHDI" (inactive window), as PNG files compiled into the program. They are drawn by
// tools/shadowgen; the build embeds src/core/skin/res/*.png (the Win32 side also lists the same
// files as PNG resources of those names).
#pragma once

#include <cstdint>
#include <span>

namespace sapala::skin {

std::span<const std::uint8_t> BuiltInShadowActivePng();
std::span<const std::uint8_t> BuiltInShadowInactivePng();

}  // namespace sapala::skin
