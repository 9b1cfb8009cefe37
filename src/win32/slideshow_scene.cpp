#include "win32/slideshow_scene.h"

#include "win32/display.h"
#include "win32/wide.h"

namespace orv::win32 {
namespace {

using platform::Label;
using platform::Surface;

// Line breaks of a label: a lone carriage return starts a new line as well.
std::wstring LabelLines(const std::wstring& text) {
    std::wstring out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        out += text[i];
        if (text[i] == L'\r' && (i + 1 == text.size() || text[i + 1] != L'\n')) out += L'\n';
    }
    return out;
}

} // namespace

SlideshowScene::SlideshowScene() {
    const ScreenDpi dpi = GetScreenDpi();
    twipsPerPixel_ = 1440.0f / static_cast<float>(dpi.x);
    dpiY_ = dpi.y;
    for (Label label : {Label::NoPictures, Label::Clock, Label::Credits})
        labels_[label];
    labels_[Label::Clock].rect = {0, 0, slideshow::kClockWidth, slideshow::kClockHeight};
    labels_[Label::Clock].points = slideshow::kClockFontPoints;
    labels_[Label::Credits].text = Wide(slideshow::kCreditsText);
    for (auto& [label, state] : labels_)
        state.font = MakeUiFont(state.points, state.bold, dpiY_);
}

void SlideshowScene::SetLabelFont(Label label, float points, bool bold) {
    LabelState& state = labels_.at(label);
    state.points = points;
    state.bold = bold;
    state.font = MakeUiFont(points, bold, dpiY_);
}

RECT SlideshowScene::ToPixels(const TwipRect& r) const {
    const PixelRect px = orv::ToPixels(r, twipsPerPixel_, twipsPerPixel_);
    return RECT{px.x, px.y, px.x + px.width, px.y + px.height};
}

// The "no pictures" message is brought forward: it is hit-tested before (and
// drawn after) the others.
Surface SlideshowScene::HitTest(POINT client) const {
    const auto inside = [&](const TwipRect& r) {
        const RECT px = ToPixels(r);
        return PtInRect(&px, client) != FALSE;
    };
    const LabelState& noPictures = labels_.at(Label::NoPictures);
    const LabelState& clock = labels_.at(Label::Clock);
    if (noPictures.visible && inside(noPictures.rect)) return Surface::NoPictures;
    if (clock.visible && inside(clock.rect)) return Surface::Clock;
    if (pictureVisible && inside(box)) return Surface::Picture;
    return Surface::Background;
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
    {
        const unique_hbrush back(CreateSolidBrush(backColor));
        FillRect(dc, &area, back.get());
    }
    if (pictureVisible && shown) {
        const RECT r = ToPixels(box);
        const unique_hdc source(CreateCompatibleDC(dc));
        if (source) {
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
    RECT r = ToPixels(label.rect);
    if (back) {
        const unique_hbrush brush(CreateSolidBrush(*back));
        FillRect(dc, &r, brush.get());
    }
    const SelectGuard font(dc, label.font.get());
    SetTextColor(dc, text);
    SetBkMode(dc, TRANSPARENT);
    const std::wstring lines = LabelLines(label.text);
    DrawTextW(dc, lines.c_str(), static_cast<int>(lines.size()), &r,
              DT_LEFT | DT_TOP | DT_WORDBREAK | DT_NOPREFIX);
}

} // namespace orv::win32
