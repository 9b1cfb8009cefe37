#include "win32/slideshow_scene.h"

#include "common/text.h"
#include "slideshow/design.h"
#include "win32/display.h"
#include "win32/wide.h"

namespace orv::win32 {
using platform::Label;

RECT ToRect(const PixelRect& r) {
    return RECT{r.x, r.y, r.x + r.width, r.y + r.height};
}

SlideshowScene::SlideshowScene() {
    const int dpi = GetScreenDpi().y;
    fonts_[Label::NoPictures] = MakeUiFont(slideshow::kLabelFontPoints, false, dpi);
    fonts_[Label::Clock] = MakeUiFont(slideshow::kClockFontPoints, false, dpi);
}

void SlideshowScene::SetLabelFont(Label label, float points, bool bold, int dpi) {
    fonts_.at(label) = MakeUiFont(points, bold, dpi);
}

PixelSize SlideshowScene::TextExtent(Label label, const std::wstring& text) const {
    const WindowDc screen(nullptr);
    const unique_hdc dc(CreateCompatibleDC(screen.get()));
    if (!dc) return {};
    const SelectGuard font(dc.get(), fonts_.at(label).get());
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
    if (LabelOf(Label::Clock).visible) {
        const COLORREF back = GetSysColor(COLOR_WINDOW);
        DrawLabel(dc, Label::Clock, GetSysColor(COLOR_BTNTEXT), &back);
    }
    if (LabelOf(Label::NoPictures).visible)
        DrawLabel(dc, Label::NoPictures, RGB(255, 255, 255), nullptr);
}

void SlideshowScene::DrawLabel(HDC dc, Label label, COLORREF text, const COLORREF* back) const {
    RECT r = ToRect(LabelOf(label).rect);
    if (back) {
        const unique_hbrush brush(CreateSolidBrush(*back));
        FillRect(dc, &r, brush.get());
    }
    const SelectGuard font(dc, fonts_.at(label).get());
    SetTextColor(dc, text);
    SetBkMode(dc, TRANSPARENT);
    const std::wstring lines = Wide(WithLineFeeds(LabelOf(label).text));
    DrawTextW(dc, lines.c_str(), static_cast<int>(lines.size()), &r,
              DT_LEFT | DT_TOP | DT_WORDBREAK | DT_NOPREFIX);
}

} // namespace orv::win32
