#include "slideshow/show_driver.h"

#include <deque>
#include <utility>

#include "saver/running_flag.h"
#include "slideshow/picture_list.h"
#include "startup/password.h"

namespace orv::slideshow {

ShowSettings MakeShowSettings(const saver::Settings& settings, bool preview,
                              platform::Environment& environment, platform::Wallpaper& wallpaper) {
    ShowSettings show;
    show.picturesFolder = settings.path;
    show.displayTime = settings.time;
    show.showClock = settings.showClock != 0;
    show.scalePercentage = settings.scalePercentage;
    show.musicFile = settings.musicFile;
    show.preview = preview;
    if (!preview) {
        show.windowsFolder = environment.WindowsDirectory();
        show.userWallpaperFolder = wallpaper.UserFolder();
    }
    return show;
}

ShowDriver::ShowDriver(ShowSettings settings, platform::Platform& platform,
                       audio::MusicControl& music, ShowJobs& jobs)
    : platform_(platform), music_(music), jobs_(jobs), picturesFolder_(settings.picturesFolder),
      engine_(std::move(settings), platform.random) {}

ShowActions ShowDriver::Handle(ShowEvent event, const WindowSink& window) {
    if (auto* start = std::get_if<Start>(&event)) {
        start->now = platform_.clock.Now();
        std::vector<std::string> list;
        LoadPictureList(platform_.files, picturesFolder_, list);
        start->pictures.assign(list.begin() + 1, list.end());
    } else if (auto* tick = std::get_if<Tick>(&event)) {
        tick->now = platform_.clock.Now();
    }
    ShowActions forWindow;
    std::deque<ShowEvent> events{std::move(event)};
    for (; !events.empty(); events.pop_front())
        for (ShowAction& action : engine_.Handle(events.front())) {
            if (std::holds_alternative<CheckPassword>(action))
                events.push_back(
                    PasswordChecked{startup::PasswordAllowsClose(platform_.session, owner_)});
            else if (CarryOut(action))
                continue;
            else if (window)
                window(action);
            else
                forWindow.push_back(std::move(action));
        }
    return forWindow;
}

void ShowDriver::TakeFinishedJobs(const WindowSink& window) {
    for (ShowEvent& finished : jobs_.TakeFinished())
        Handle(std::move(finished), window);
}

bool ShowDriver::CarryOut(const ShowAction& action) {
    if (const auto* play = std::get_if<PlayMusic>(&action)) {
        if (play->playlist) {
            music_.LoadNotifyWindow();
            if (music_.LoadPlaylist(play->file)) music_.PlayTrack();
        } else {
            music_.Play(play->file, audio::PlayMode::Repeat);
        }
    } else if (std::holds_alternative<StopMusic>(action)) {
        music_.UnloadNotifyWindow();
        music_.Stop();
    } else if (std::holds_alternative<NextTrack>(action)) {
        music_.NextTrack();
    } else if (const auto* desktop = std::get_if<TakeOverDesktop>(&action)) {
        if (desktop->takeOver)
            saver::RaiseRunningFlag(platform_.session);
        else
            saver::LowerRunningFlag(platform_.session);
        platform_.session.ShowCursor(!desktop->takeOver);
    } else if (const auto* prepare = std::get_if<StartPreparation>(&action)) {
        jobs_.Start(prepare->job);
    } else if (const auto* write = std::get_if<StartWallpaper>(&action)) {
        jobs_.Start(write->job);
    } else if (const auto* cancel = std::get_if<CancelJob>(&action)) {
        jobs_.Cancel(cancel->job);
    } else if (const auto* wallpaper = std::get_if<SetWallpaper>(&action)) {
        platform_.wallpaper.Set(wallpaper->file);
    } else {
        return false;
    }
    return true;
}

} // namespace orv::slideshow
