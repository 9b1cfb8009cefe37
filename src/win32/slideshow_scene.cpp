#include "win32/slideshow_scene.h"

#include "common/text.h"
#include "win32/display.h"
#include "win32/wide.h"

namespace orv::win32 {
using slideshow::Label;

RECT ToRect(const PixelRect& r) {
    return RECT{r.x, r.y, r.x + r.width, r.y + r.height};
}

namespace {

unique_hfont FontFor(const slideshow::LabelFont& font) {
    return MakeUiFont(font.points, font.bold, font.dpi);
}

} // namespace

void SlideshowScene::SetLabel(Label label, const LabelState& state) {
    LabelState& current = LabelOf(label);
    if (!fonts_.count(label) || !(current.font == state.font)) fonts_[label] = FontFor(state.font);
    current = state;
}

PixelSize SlideshowScene::TextExtent(const slideshow::LabelFont& font, const std::wstring& text) {
    const WindowDc screen(nullptr);
    const unique_hdc dc(CreateCompatibleDC(screen.get()));
    const unique_hfont made = FontFor(font);
    if (!dc || !made) return {};
    const SelectGuard selected(dc.get(), made.get());
    SIZE size{};
    GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
    return {size.cx, size.cy};
}

void SlideshowScene::Paint(HDC target, const RECT& area) const {
    const int w = area.right - area.left, h = area.bottom - area.top;
    if (!target || w <= 0 || h <= 0) return;
    const unique_hdc dc(CreateCompatibleDC(target));
    const unique_hbitmap buffer(CreateCompatibleBitmap(target, w, h));
    if (!dc || !buffer) return;
    const SelectGuard selected(dc.get(), buffer.get());
    SetViewportOrgEx(dc.get(), -area.left, -area.top, nullptr);
    Draw(dc.get(), area);
    SetViewportOrgEx(dc.get(), 0, 0, nullptr);
    BitBlt(target, area.left, area.top, w, h, dc.get(), 0, 0, SRCCOPY);
}

void SlideshowScene::Draw(HDC dc, const RECT& area) const {
    FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    for (const MonitorPicture& picture : pictures) {
        const auto* shown = static_cast<const ScaledBitmap*>(picture.bitmap.get());
        if (!shown || !*shown) continue;
        const RECT r = ToRect(picture.box);
        const unique_hdc source(CreateCompatibleDC(dc));
        if (!source) continue;
        const SelectGuard selected(source.get(), shown->bitmap.get());
        const int w = r.right - r.left, h = r.bottom - r.top;
        if (w == shown->width && h == shown->height) {
            BitBlt(dc, r.left, r.top, w, h, source.get(), 0, 0, SRCCOPY);
        } else {
            SetStretchBltMode(dc, HALFTONE);
            StretchBlt(dc, r.left, r.top, w, h, source.get(), 0, 0, shown->width, shown->height,
                       SRCCOPY);
        }
    }
    for (Label label : kLabelsBottomUp)
        if (LabelOf(label).visible) DrawLabel(dc, label);
}

// The clock and the paused sign in the system's text colours on a
// window-coloured box; the message in white over what is behind it.
void SlideshowScene::DrawLabel(HDC dc, Label label) const {
    RECT r = ToRect(LabelOf(label).rect);
    const bool boxed = label != Label::NoPictures;
    if (boxed) {
        const unique_hbrush brush(CreateSolidBrush(GetSysColor(COLOR_WINDOW)));
        FillRect(dc, &r, brush.get());
    }
    const auto font = fonts_.find(label);
    if (font == fonts_.end()) return;
    const SelectGuard selected(dc, font->second.get());
    SetTextColor(dc, boxed ? GetSysColor(COLOR_BTNTEXT) : RGB(255, 255, 255));
    SetBkMode(dc, TRANSPARENT);
    const std::wstring lines = Wide(WithLineFeeds(LabelOf(label).text));
    DrawTextW(dc, lines.c_str(), static_cast<int>(lines.size()), &r,
              DT_LEFT | DT_TOP | DT_WORDBREAK | DT_NOPREFIX);
}

} // namespace orv::win32
