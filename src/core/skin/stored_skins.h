// Skins stored inside a form description (`TsStoredSkins`, items `TsStoredSkin`).
// The loader uses only `Name` and `Data` (the raw bytes of a packed skin); the other fields are
// kept for whoever edits the collection and are copied by Assign.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/graphics/bitmap.h"
#include "core/skin/skin_colors.h"

namespace sapala::skin {

struct TsStoredSkin {
  std::string Name;
  // Optional picture; shared so that copies of a stored skin are cheap. Never written through.
  std::shared_ptr<const graphics::Bitmap> MasterBitmap;
  TColor Shadow1Color = 0;
  std::int32_t Shadow1Offset = 0;
  std::int32_t Shadow1Blur = -1;
  std::int32_t Shadow1Transparency = 0;
  TColor BorderColor = kFuchsia;
  double Version = 0;
  std::string Author;
  std::string Description;
  std::vector<std::uint8_t> Data;  // the "Data" extra property: a packed skin, or empty

  void Assign(const TsStoredSkin& other) { *this = other; }
};

class TsStoredSkins {
 public:
  TsStoredSkin& Add() { return items_.emplace_back(); }
  int Count() const { return static_cast<int>(items_.size()); }
  const TsStoredSkin& operator[](int i) const { return items_.at(static_cast<std::size_t>(i)); }
  TsStoredSkin& operator[](int i) { return items_.at(static_cast<std::size_t>(i)); }
  void Clear() { items_.clear(); }
  // The first stored skin whose Name equals `name` (exact, with case); nullptr when none.
  const TsStoredSkin* Find(const std::string& name) const;
  void Assign(const TsStoredSkins& other) { items_ = other.items_; }

 private:
  std::vector<TsStoredSkin> items_;
};

}  // namespace sapala::skin
