// What the slideshow window shows, as the engine has set it: one picture
// box per monitor with the bitmap drawn for it, and the two labels with
// their fonts, all in the window's client pixels; the order they are
// painted in, and what a point of the window is over. The Windows scene
// (win32/slideshow_scene) paints it.
#pragma once
#include <array>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "common/twips.h"
#include "platform/pictures.h"

namespace orv::slideshow {

// The "no pictures" message, the clock, and the sign that the show is paused.
enum class Label { NoPictures, Clock, Paused };
// What the mouse is over, topmost first: the "no pictures" message, the
// clock, a picture box, or the window itself.
enum class Surface { NoPictures, Clock, Picture, Background };

struct ScreenPoint {
    int x = 0, y = 0;
    bool operator==(const ScreenPoint&) const = default;
};

// A label's font: the program's user-interface face at `points`, for a
// monitor of `dpi` dots per inch.
struct LabelFont {
    float points = 8.25f;
    bool bold = false;
    int dpi = 96;
    bool operator==(const LabelFont&) const = default;
};

struct LabelState {
    std::string text;
    PixelRect rect;
    bool visible = true;
    LabelFont font;
};

struct MonitorPicture {
    PixelRect box;
    std::shared_ptr<const platform::Bitmap> bitmap; // what the box shows; none when empty
};

class Scene {
  public:
    // The labels in the order they are painted, over the pictures: the
    // "no pictures" message is brought in front of the others.
    static constexpr std::array<Label, 3> kLabelsBottomUp{Label::Paused, Label::Clock,
                                                          Label::NoPictures};

    std::vector<MonitorPicture> pictures;

    LabelState& LabelOf(Label label) { return labels_.at(label); }
    const LabelState& LabelOf(Label label) const { return labels_.at(label); }

    // What the point of the client area is over, topmost first; the paused
    // sign is no surface of its own (what lies under it counts).
    Surface HitTest(ScreenPoint client) const;

  private:
    std::map<Label, LabelState> labels_{
        {Label::NoPictures, {}}, {Label::Clock, {}}, {Label::Paused, {"", {}, false, {}}}};
};

} // namespace orv::slideshow
