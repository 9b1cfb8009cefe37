#include "pickers/music_file_picker.h"

#include "common/app_title.h"

namespace orv::pickers {

std::string PickMusicFile(platform::Pickers& pickers, const platform::Environment& environment,
                          std::intptr_t owner) {
    const platform::FileTypes types{{{"Wave (*.wav)", "*.wav"},
                                     {"MPEG Layer-III (*.mp3)", "*.mp3"},
                                     {"MP3 Playlist (*.m3u)", "*.m3u"},
                                     {"All Files (*.*)", "*.*"}},
                                    1,
                                    "mp3"};
    return pickers
        .PickFile(owner, std::string(kAppTitle) + " - Select WAV/MP3/M3U File", types,
                  environment.ProgramFolder())
        .value_or("");
}

std::string FilterList(const platform::FileTypes& types) {
    std::string list;
    for (const auto& f : types.filters)
        list += f.description + '\0' + f.pattern + '\0';
    return list + '\0';
}

} // namespace orv::pickers
