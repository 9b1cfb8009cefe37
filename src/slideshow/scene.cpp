#include "slideshow/scene.h"

#include <optional>

#include "slideshow/layout.h"

namespace orv::slideshow {

platform::Surface Scene::HitTest(platform::ScreenPoint client) const {
    const auto shown = [this](platform::Label label) {
        const LabelState& state = LabelOf(label);
        return state.visible ? std::optional(state.rect) : std::nullopt;
    };
    std::vector<PixelRect> boxes;
    for (const MonitorPicture& picture : pictures)
        boxes.push_back(picture.box);
    return SurfaceAt(client, shown(platform::Label::NoPictures), shown(platform::Label::Clock),
                     boxes);
}

} // namespace orv::slideshow
