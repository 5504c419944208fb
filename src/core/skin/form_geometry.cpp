#include "core/skin/form_geometry.h"

#include <algorithm>

#include "core/skin/skin_tables.h"

namespace sapala::skin {

using graphics::Rect;

FrameSkinValues ReadFrameSkinValues(const SkinTables& tables, bool extendedBorders) {
  const TsSkinData& d = tables.SkinData;
  FrameSkinValues s;
  s.ExtendedBorders = extendedBorders;
  if (extendedBorders) {
    s.ExtLeft = tables.ExtBorders.Left;
    s.ExtTop = tables.ExtBorders.Top;
    s.ExtRight = tables.ExtBorders.Right;
    s.ExtBottom = tables.ExtBorders.Bottom;
  }
  s.BorderWidth = d.ExtBorderWidth;
  s.TitleHeight = d.ExtTitleHeight;
  s.MaxHeight = d.ExtMaxHeight;
  s.CenterOffset = d.ExtCenterOffset;
  s.Spacing = d.IconSpacing;
  s.VAlign = d.IconVAlign;
  s.Right = d.IconRight;
  s.Left = d.IconLeft;
  s.Top = d.IconTop;
  return s;
}

int FormFrameWidth(const FrameFormInput& f, const FrameMetrics& m, const FrameSkinValues& s) {
  if (s.ExtendedBorders) return s.BorderWidth;
  if (f.ThickFrame) return m.SizingFrame;
  if (f.Border) return m.DialogFrame;
  return 0;
}

int SystemCaptionHeight(const FrameFormInput& f, const FrameMetrics& m) {
  return IsToolWindow(f.Rules.BorderStyle) && !f.Minimized() ? m.SmallCaption : m.Caption;
}

bool TitleBelowSystem(const FrameFormInput& f, const FrameMetrics& m, const FrameSkinValues& s) {
  return s.ExtendedBorders && f.Zoomed() && s.EffectiveMaxHeight() < SystemCaptionHeight(f, m) + 4;
}

int CaptionHeight(const FrameFormInput& f, const FrameMetrics& m, const FrameSkinValues& s) {
  const bool hasBorder =
      f.Rules.BorderStyle != TFormBorderStyle::bsNone || f.ChildWindow || f.Rules.MdiChild;
  if (!((hasBorder && f.FullCaption) || f.Minimized())) return 0;
  const int system = SystemCaptionHeight(f, m);
  const int base = s.ExtendedBorders ? s.TitleHeight : 0;
  if (TitleBelowSystem(f, m, s)) return std::max(base, system + 4);
  return base != 0 ? base : system;
}

int AutoIconSize(int captionHeight) {
  if (captionHeight <= 8) return 1;
  if (captionHeight <= 16) return 8;
  return 16;
}

bool IconShown(const FrameFormInput& f) {
  return HasLargeCaption(f.Rules.BorderStyle) && f.ShowAppIcon && f.Rules.HasSystemMenu;
}

Rect IconRect(const FrameFormInput& f, const FrameMetrics& m, const FrameSkinValues& s) {
  if (!IconShown(f)) return {};
  const int frame = FormFrameWidth(f, m, s);
  const int caption = CaptionHeight(f, m, s);
  if (caption == 0) return {};
  const int w = f.TitleIconWidth != 0 ? f.TitleIconWidth : AutoIconSize(caption);
  const int h = f.TitleIconHeight != 0 ? f.TitleIconHeight : AutoIconSize(caption);
  // Centred in the band from half the frame down to the caption's bottom.
  const int bandTop = frame / 2;
  const int bandBottom = frame + caption;
  int top = bandTop + (bandBottom - bandTop - h) / 2;
  int left = frame + s.Left;
  if (s.ExtendedBorders) {
    left += s.ExtLeft;
    top += s.ExtTop + s.CenterOffset;
    if (f.Zoomed() && s.EffectiveMaxHeight() != s.TitleHeight) {
      top += (s.TitleHeight - s.EffectiveMaxHeight()) / 2 - 2;
    }
  }
  return graphics::RectOfSize(left, top, w, h);
}

CaptionButtonImages ChooseButtonImages(const SkinTables& tables, const FormRulesInput& f,
                                       bool mdiChildMinimized) {
  const int global = tables.FindSection("GLOBALINFO");
  auto find = [&](const char* key) { return tables.FindImage(global, "GLOBALINFO", key); };
  const bool maximized = f.WindowState == TWindowState::wsMaximized;
  CaptionButtonImages r;

  auto chooseLarge = [&] {
    const int alone = find("BICLOSEALONE");
    r.Close = (!VisibleMax(f) && !VisibleMin(f) && alone >= 0) ? alone : find("BICONCLOSE");
    r.Max = find(maximized ? "BICONNORM" : "BICONMAX");
    r.Min = find(mdiChildMinimized ? "BICONNORM" : "BICONMIN");
    r.Help = find("BICONHELP");
    r.Aligned = true;
  };

  if (HasLargeCaption(f.BorderStyle)) {
    chooseLarge();
  } else {
    r.Close = find("SICONCLOSE");
    r.Max = find(maximized ? "SICONNORM" : "SICONMAX");
    r.Min = find(mdiChildMinimized ? "SICONNORM" : "SICONMIN");
    r.Help = find("SICONHELP");
    if (r.Help < 0) r.Help = find("BICONHELP");
    r.Aligned = false;
  }
  if (r.Close < 0) {
    chooseLarge();
    r.HelpAligned = true;
  }
  r.Title = find("TITLEBUTTON");

  auto mdi = [&](const char* small, const char* large, int own) {
    int i = find(small);
    if (i < 0) i = find(large);
    return i >= 0 ? i : own;
  };
  r.MdiMin = mdi("SICONMIN", "BICONMIN", r.Min);
  r.MdiRestore = mdi("SICONMAX", "BICONMAX", r.Max);
  r.MdiClose = mdi("SICONCLOSE", "BICONCLOSE", r.Close);
  return r;
}

namespace {

int MaskWidthOr21(const SkinTables& tables, int index) {
  const TsMaskData* m = tables.Image(index);
  return m != nullptr ? FrameWidth(*m) : kDefaultButtonSize;
}

int MaskHeightOr21(const SkinTables& tables, int index) {
  const TsMaskData* m = tables.Image(index);
  return m != nullptr ? FrameHeight(*m) : kDefaultButtonSize;
}

int SpacingOf(const FrameFormInput& f, const FrameSkinValues& s) {
  return HasLargeCaption(f.Rules.BorderStyle) ? s.Spacing : 0;
}

}  // namespace

CaptionButtonLayout LayoutCaptionButtons(const SkinTables& tables, const FrameFormInput& f,
                                         const FrameMetrics& m, const FrameSkinValues& s,
                                         const CaptionButtonImages& images) {
  CaptionButtonLayout out;
  const FormRulesInput& rules = f.Rules;
  const int frame = FormFrameWidth(f, m, s);
  const int caption = CaptionHeight(f, m, s);
  const bool large = HasLargeCaption(rules.BorderStyle);
  const bool anyCaption = caption > 0;

  out.System[0] = {kHitClose, images.Close,   anyCaption && VisibleClose(rules),
                   true,      images.Aligned, {}};
  out.System[1] = {
      kHitMaxButton,
      images.Max,
      anyCaption && VisibleMax(rules),
      rules.WindowState == TWindowState::wsMaximized ? EnabledRestore(rules) : EnabledMax(rules),
      images.Aligned,
      {}};
  out.System[2] = {kHitMinButton,     images.Min,     anyCaption && VisibleMin(rules),
                   EnabledMin(rules), images.Aligned, {}};
  out.System[3] = {kHitHelp, images.Help,        anyCaption && VisibleHelp(rules),
                   true,     images.HelpAligned, {}};

  const int height = MaskHeightOr21(tables, images.Close);
  const int titleWidth = MaskWidthOr21(tables, images.Title);
  const int spacing = SpacingOf(f, s);

  auto top = [&](bool aligned) {
    if (aligned && s.VAlign == 1) {
      if (!s.ExtendedBorders) return f.Zoomed() ? 3 : 0;
      // Zoomed with extended borders: the companion window keeps the title's offsets.
      return s.ExtTop + s.Top;
    }
    int t = (frame + caption - height) / 2;
    if (s.ExtendedBorders) {
      t += s.ExtTop + s.CenterOffset;
      if (f.Zoomed()) {
        t -= 2;
        if (s.TitleHeight != s.EffectiveMaxHeight()) {
          t += (s.TitleHeight - s.EffectiveMaxHeight() - s.CenterOffset) / 2 - 2;
        }
        t += m.SizingFrame / 2;
      }
    }
    if (large && height < 16) t += 2;
    return t;
  };

  int x = f.Width - s.Right - frame - (s.ExtendedBorders ? s.ExtRight : 0);
  for (CaptionButtonInfo& b : out.System) {
    if (!b.Visible) continue;
    const int w = MaskWidthOr21(tables, b.ImageIndex);
    const int t = top(b.Aligned);
    b.Rect = {x - w, t, x, t + height};
    x = b.Rect.left - spacing;
  }

  bool firstUser = true;
  for (std::size_t i = 0; i < f.UserButtons.size(); ++i) {
    const TitleButtonShape& u = f.UserButtons[i];
    CaptionButtonInfo b{kHitUserButton + static_cast<int>(i),
                        images.Title,
                        anyCaption && u.Visible,
                        u.Enabled,
                        false,
                        {}};
    if (b.Visible) {
      if (firstUser) {
        x -= 8;
        firstUser = false;
      }
      const int w = std::max(u.GlyphWidth + 2, titleWidth);
      const int t = top(false);
      b.Rect = {x - w, t, x, t + height};
      x = b.Rect.left - spacing;
    }
    out.User.push_back(b);
  }
  out.TotalWidth = TotalButtonsWidth(out, f, s);
  return out;
}

int TotalButtonsWidth(const CaptionButtonLayout& layout, const FrameFormInput& f,
                      const FrameSkinValues& s) {
  const int spacing = SpacingOf(f, s);
  int total = s.Right;
  for (const CaptionButtonInfo& b : layout.System) {
    if (b.Visible) total += b.Rect.width() + spacing;
  }
  bool any = false;
  for (const CaptionButtonInfo& b : layout.User) {
    if (!b.Visible) continue;
    if (!any) total += 8;
    any = true;
    total += b.Rect.width() + spacing;
  }
  return total;
}

int MenuRowHeight(int menuMetric) { return menuMetric - 1; }

int MenuLineRows(const MenuLineInput& in) {
  if (!in.HasMenu || in.Minimized) return 0;
  const int row = MenuRowHeight(in.MenuMetric);
  if (!in.ItemRectKnown || row <= 0 || in.FirstItemBottom >= in.ClientTop) return 1;
  const long long rows = (static_cast<long long>(in.ClientTop) - in.FirstItemBottom) / row + 1;
  return static_cast<int>(std::min<long long>(rows, 1000));
}

Rect CaptionTextBand(const FrameFormInput& f, const FrameMetrics& m, const FrameSkinValues& s,
                     int totalButtonsWidth, bool hasCaptionSection) {
  const int frame = FormFrameWidth(f, m, s);
  const int caption = CaptionHeight(f, m, s);
  int left = frame + s.Left + 4;
  if (IconShown(f)) left += IconRect(f, m, s).width();
  if (hasCaptionSection) left += 2;
  int right = f.Width - totalButtonsWidth - 12;
  int top = frame;
  if (s.ExtendedBorders) {
    left += s.ExtLeft;
    right -= s.ExtRight;
    top += s.ExtTop;
  } else if (f.Zoomed()) {
    top = 3;
  }
  return {left, top, right, std::max(top, frame + caption + (s.ExtendedBorders ? s.ExtTop : 0))};
}

int CaptionTextLeft(const Rect& band, int textWidth, CaptionAlignment alignment, bool rightToLeft) {
  if (rightToLeft) {
    if (alignment == CaptionAlignment::taLeftJustify) {
      alignment = CaptionAlignment::taRightJustify;
    } else if (alignment == CaptionAlignment::taRightJustify) {
      alignment = CaptionAlignment::taLeftJustify;
    }
  }
  switch (alignment) {
    case CaptionAlignment::taRightJustify:
      return textWidth <= band.width() ? band.right - textWidth : band.left;
    case CaptionAlignment::taCenter:
      return std::max(band.left, band.left + (band.width() - textWidth - 4) / 2);
    case CaptionAlignment::taLeftJustify:
      break;
  }
  return band.left;
}

TitleTextArea TitleTextPaintArea(const Rect& icon, const Rect& band, int textLeft, int textTop,
                                 int textHeight, int textEnd, int overhang) {
  overhang = std::max(overhang, 4);
  TitleTextArea out;
  out.Right = std::min(band.right, textEnd + overhang);
  const Rect text{textLeft - 4, std::min(band.top, textTop - 2), std::max(out.Right, textLeft),
                  std::max(band.bottom, textTop + textHeight + 2)};
  out.Area = icon.empty()
                 ? text
                 : Rect{std::min(text.left, icon.left), std::min(text.top, icon.top),
                        std::max(text.right, icon.right), std::max(text.bottom, icon.bottom)};
  return out;
}

std::array<Rect, 4> FrameCopyStrips(const FrameStripInput& in) {
  const Rect window{0, 0, in.Width, in.Height};
  const int side = in.Frame + in.FormBorderWidth;
  if (in.NoBorderStyle && in.ThickFrame && !in.Minimized) {
    const int w = side + 3;
    return graphics::FrameStrips(window, w, w, w, w);
  }
  int top = in.Height - in.ClientHeight - in.FormBorderWidth;
  if (in.HasCaption || in.Border) top -= in.Frame;
  if (in.Minimized) top += in.Frame;
  top -= in.HScrollHeight;
  top = std::clamp(top, 0, std::max(0, in.Height));
  return graphics::FrameStrips(window, side, top, side, side);
}

graphics::Point ClientOffset(int frame, int formBorderWidth, int caption, int menuHeight) {
  return {frame + formBorderWidth, frame + caption + menuHeight};
}

}  // namespace sapala::skin
