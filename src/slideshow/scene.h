// What the slideshow window shows, as the form has set it: one picture box
// per monitor with the bitmap drawn for it, and the two labels, all in the
// window's client pixels; and what a point of it is over. The Windows scene
// (win32/slideshow_scene) paints it with its fonts.
#pragma once
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "common/twips.h"
#include "platform/show_jobs.h"
#include "platform/slideshow_view.h"

namespace orv::slideshow {

struct LabelState {
    std::string text;
    PixelRect rect;
    bool visible = true;
};

struct MonitorPicture {
    PixelRect box;
    std::shared_ptr<const platform::Bitmap> bitmap; // what the box shows; none when empty
};

class Scene {
  public:
    std::vector<MonitorPicture> pictures;

    LabelState& LabelOf(platform::Label label) { return labels_.at(label); }
    const LabelState& LabelOf(platform::Label label) const { return labels_.at(label); }

    // What the point of the client area is over, topmost first.
    platform::Surface HitTest(platform::ScreenPoint client) const;

  private:
    std::map<platform::Label, LabelState> labels_{{platform::Label::NoPictures, {}},
                                                  {platform::Label::Clock, {}}};
};

} // namespace orv::slideshow
