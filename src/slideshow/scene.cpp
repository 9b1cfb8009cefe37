#include "slideshow/scene.h"

namespace orv::slideshow {

Surface Scene::HitTest(ScreenPoint client) const {
    const auto inside = [client](const PixelRect& r) {
        return client.x >= r.x && client.x < r.x + r.width && client.y >= r.y &&
               client.y < r.y + r.height;
    };
    for (auto it = kLabelsBottomUp.rbegin(); it != kLabelsBottomUp.rend(); ++it) {
        const LabelState& state = LabelOf(*it);
        if (*it == Label::Paused || !state.visible || !inside(state.rect)) continue;
        return *it == Label::Clock ? Surface::Clock : Surface::NoPictures;
    }
    for (const MonitorPicture& picture : pictures)
        if (inside(picture.box)) return Surface::Picture;
    return Surface::Background;
}

} // namespace orv::slideshow
