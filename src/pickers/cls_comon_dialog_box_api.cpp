#include "pickers/cls_comon_dialog_box_api.h"

#include "common/app_title.h"

namespace orv {

std::string CutAtNul(std::string_view text) {
    const auto nul = text.find('\0');
    return std::string(nul == std::string_view::npos ? text : text.substr(0, nul));
}

std::string clsComonDialogBoxAPI::SelectFileName(std::intptr_t hWnd) {
    std::string result;
    try {
        ofn_.owner = hWnd;
        ofn_.filters = {{"Wave (*.wav)", "*.wav"},
                        {"MPEG Layer-III (*.mp3)", "*.mp3"},
                        {"MP3 Playlist (*.m3u)", "*.m3u"},
                        {"All Files (*.*)", "*.*"}};
        ofn_.filterIndex = 2;
        // An empty initial name: a buffer of blanks would show up as 1024
        // blanks in the dialog's file-name box.
        ofn_.fileBuffer = std::string(1026, '\0');
        ofn_.fileBufferChars = ofn_.fileBuffer.size();
        ofn_.fileTitleBuffer = std::string(1, '\0') + std::string(512, ' ') + std::string(2, '\0');
        ofn_.fileTitleChars = ofn_.fileTitleBuffer.size();
        ofn_.initialFolder = environment_.ProgramFolder();
        ofn_.title = std::string(kAppTitle) + " - Select WAV/MP3/M3U File";
        ofn_.flags = kFlags;
        ofn_.defaultExtension = "mp3";
        if (auto chosen = pickers_.OpenFile(ofn_)) result = CutAtNul(*chosen);
    } catch (...) {
        // A failing picker means no choice.
    }
    return result;
}

} // namespace orv
