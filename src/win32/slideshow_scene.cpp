#include "win32/slideshow_scene.h"

#include "common/text.h"
#include "slideshow/design.h"
#include "slideshow/layout.h"
#include "win32/display.h"
#include "win32/wide.h"

namespace orv::win32 {
using platform::Label;
using platform::Surface;

RECT ToRect(const PixelRect& r) {
    return RECT{r.x, r.y, r.x + r.width, r.y + r.height};
}

SlideshowScene::SlideshowScene() {
    const int dpi = GetScreenDpi().y;
    labels_[Label::NoPictures].font = MakeUiFont(slideshow::kLabelFontPoints, false, dpi);
    labels_[Label::Clock].font = MakeUiFont(slideshow::kClockFontPoints, false, dpi);
}

void SlideshowScene::SetLabelFont(Label label, float points, bool bold, int dpi) {
    labels_.at(label).font = MakeUiFont(points, bold, dpi);
}

PixelSize SlideshowScene::TextExtent(Label label, const std::wstring& text) const {
    const WindowDc screen(nullptr);
    const unique_hdc dc(CreateCompatibleDC(screen.get()));
    if (!dc) return {};
    const SelectGuard font(dc.get(), labels_.at(label).font.get());
    SIZE size{};
    GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
    return {size.cx, size.cy};
}

Surface SlideshowScene::HitTest(POINT client) const {
    const auto shown = [this](Label label) {
        const LabelState& state = labels_.at(label);
        return state.visible ? std::optional(state.rect) : std::nullopt;
    };
    std::vector<PixelRect> boxes;
    for (const MonitorPicture& picture : pictures)
        boxes.push_back(picture.box);
    return slideshow::SurfaceAt({client.x, client.y}, shown(Label::NoPictures), shown(Label::Clock),
                                boxes);
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
        if (!picture.bitmap || !*picture.bitmap) continue;
        const ScaledBitmap& shown = *picture.bitmap;
        const RECT r = ToRect(picture.box);
        const unique_hdc source(CreateCompatibleDC(dc));
        if (!source) continue;
        const SelectGuard selected(source.get(), shown.bitmap.get());
        const int w = r.right - r.left, h = r.bottom - r.top;
        if (w == shown.width && h == shown.height) {
            BitBlt(dc, r.left, r.top, w, h, source.get(), 0, 0, SRCCOPY);
        } else {
            SetStretchBltMode(dc, HALFTONE);
            StretchBlt(dc, r.left, r.top, w, h, source.get(), 0, 0, shown.width, shown.height,
                       SRCCOPY);
        }
    }
    const LabelState& clock = labels_.at(Label::Clock);
    if (clock.visible) {
        const COLORREF back = GetSysColor(COLOR_WINDOW);
        DrawLabel(dc, clock, GetSysColor(COLOR_BTNTEXT), &back);
    }
    const LabelState& noPictures = labels_.at(Label::NoPictures);
    if (noPictures.visible) DrawLabel(dc, noPictures, RGB(255, 255, 255), nullptr);
}

void SlideshowScene::DrawLabel(HDC dc, const LabelState& label, COLORREF text,
                               const COLORREF* back) const {
    RECT r = ToRect(label.rect);
    if (back) {
        const unique_hbrush brush(CreateSolidBrush(*back));
        FillRect(dc, &r, brush.get());
    }
    const SelectGuard font(dc, label.font.get());
    SetTextColor(dc, text);
    SetBkMode(dc, TRANSPARENT);
    const std::wstring lines = Wide(WithLineFeeds(Utf8(label.text)));
    DrawTextW(dc, lines.c_str(), static_cast<int>(lines.size()), &r,
              DT_LEFT | DT_TOP | DT_WORDBREAK | DT_NOPREFIX);
}

} // namespace orv::win32
