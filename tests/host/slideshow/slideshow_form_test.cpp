#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <new>
#include <ostream>
#include <random>
#include <set>
#include <string>

#include "audio/music_player.h"
#include "fakes/fake_media.h"
#include "fakes/fake_platform.h"
#include "platform/media.h"
#include "slideshow/layout.h"
#include "slideshow/show_jobs.h"
#include "slideshow/slideshow_form.h"
#include "startup/startup.h"

namespace orv::slideshow {
namespace {

using platform::Label;
using platform::Surface;
using platform::Timer;

std::string Name(Label l) {
    switch (l) {
    case Label::NoPictures:
        return "lblNoPictures";
    case Label::Clock:
        return "lblClock";
    }
    return "?";
}
std::string Name(Timer t) {
    switch (t) {
    case Timer::ShowPicture:
        return "tmrShowPicture";
    case Timer::Clock:
        return "tmrClock";
    case Timer::HostCheck:
        return "tmrHostCheck";
    }
    return "?";
}

// A picture of the fake source: its natural size, and the path it was
// drawn from.
struct FakeBitmap : platform::Bitmap {
    std::string path;
    static inline int live = 0; // bitmaps held anywhere
    explicit FakeBitmap(std::string p) : path(std::move(p)) { ++live; }
    ~FakeBitmap() override { --live; }
};

// The readable pictures, by path.
class FakePictures : public platform::PictureSource {
  public:
    std::map<std::string, platform::PictureSize> files;
    std::unique_ptr<platform::OpenPicture> Open(const std::string& path,
                                                const std::atomic<bool>&) override {
        const auto it = files.find(path);
        if (it == files.end()) return nullptr;
        struct Open : platform::OpenPicture {
            std::string path;
            platform::PictureSize size;
            platform::PictureSize NaturalSize() const override { return size; }
            std::shared_ptr<const platform::Bitmap> Render(int, int) override {
                return std::make_shared<FakeBitmap>(path);
            }
        };
        auto open = std::make_unique<Open>();
        open->path = path;
        open->size = it->second;
        return open;
    }
};

// Records every call in `log` and keeps the state a window would show. Jobs
// run at once unless `manual` is set; then Complete() finishes the oldest
// job under way, or the jobs are finished in any order through Finish().
class FakeView : public platform::SlideshowView {
  public:
    explicit FakeView(std::vector<std::string>& sharedLog) : log(sharedLog) {}
    std::vector<std::string>& log;
    SlideshowForm* form = nullptr;
    bool manual = false;
    // One 1024 x 768 monitor at 96 dots per inch (15360 x 11520 twips).
    std::vector<platform::MonitorArea> monitors{{{0, 0, 1024, 768}, 96, true}};
    FakePictures pictureFiles;
    std::set<std::string> writableFolders{"C:\\windows\\"};
    std::map<std::string, std::string> written;    // bitmap file -> picture saved there
    std::vector<platform::PreparationJob> pending; // started, not finished
    std::set<platform::JobId> cancelled;
    std::map<std::size_t, std::string> shown; // per monitor, "" for an empty box
    int preparations = 0;
    std::map<Label, std::string> texts;
    std::map<Label, PixelRect> rects;
    std::map<Label, bool> visible{{Label::NoPictures, true}, {Label::Clock, true}};
    std::map<Timer, std::uint32_t> interval; // of the running timers; 0 when stopped
    PixelSize clockText{54, 13};             // what the time takes in the clock's font
    int closeRequests = 0;
    int timerRestarts = 0; // countdowns of the picture timer started afresh
    std::optional<platform::ScreenPoint> cursor{platform::ScreenPoint{500, 400}};
    bool hostExists = true;

    std::vector<platform::MonitorArea> Monitors() const override { return monitors; }
    std::intptr_t WindowHandle() const override { return 4242; }
    std::optional<platform::ScreenPoint> CursorPosition() const override { return cursor; }
    bool PreviewHostExists() const override { return hostExists; }
    void StartPreparation(platform::PreparationJob job) override {
        std::string line = "prepare";
        for (const auto& m : job.monitors)
            line += " " + m.path;
        log.push_back(line);
        ++preparations;
        pending.push_back(std::move(job));
        if (!manual) Complete();
    }
    // Runs the job as a worker thread would and hands its result back.
    platform::PreparationResult Run(const platform::PreparationJob& job) {
        const std::atomic<bool> stop{cancelled.count(job.id) > 0};
        return RunPreparation(job, pictureFiles, stop);
    }
    void Finish(std::size_t which) {
        const platform::PreparationJob job = pending.at(which);
        pending.erase(pending.begin() + static_cast<std::ptrdiff_t>(which));
        finishing = job.id;
        form->OnPreparationFinished(Run(job));
        finishing = 0;
    }
    platform::JobId finishing = 0;
    void Complete() { Finish(0); }
    std::vector<platform::PreparedPicture> lastResults;
    void ShowPictures(const std::vector<platform::PreparedPicture>& pictures) override {
        log.push_back("show");
        EXPECT_EQ(cancelled.count(finishing), 0u) << "an abandoned job's pictures shown";
        shown.clear();
        for (const auto& p : pictures)
            shown[p.monitor] =
                p.bitmap ? static_cast<const FakeBitmap&>(*p.bitmap).path : std::string();
        if (!pictures.empty()) lastResults = pictures;
    }
    void CancelPreparation(platform::JobId job) override {
        log.push_back("cancel");
        cancelled.insert(job);
    }
    void StartWallpaper(platform::WallpaperJob job) override {
        log.push_back("wallpaper " + job.picture);
        platform::WallpaperResult result{job.id, std::nullopt};
        for (const auto& t : job.targets)
            if (writableFolders.count(t.substr(0, t.rfind('\\') + 1))) {
                written[t] = job.picture;
                result.written = t;
                break;
            }
        if (!holdWallpaper) form->OnWallpaperWritten(result);
        heldWallpaper = result;
    }
    std::vector<platform::WallpaperResult>
    WaitForWallpaper(platform::JobId job, std::chrono::milliseconds limit) override {
        waited = limit;
        if (holdWallpaper && heldWallpaper.id == job) return {heldWallpaper};
        return {};
    }
    std::chrono::milliseconds waited{};
    bool holdWallpaper = false;
    platform::WallpaperResult heldWallpaper;
    void SetLabelText(Label l, const std::string& t) override {
        texts[l] = t, log.push_back(Name(l) + " text");
    }
    void SetLabelVisible(Label l, bool v) override {
        visible[l] = v, log.push_back(Name(l) + (v ? " show" : " hide"));
    }
    void SetLabelRect(Label l, const PixelRect& r) override {
        rects[l] = r, log.push_back(Name(l) + " rect");
    }
    void SetLabelFont(Label l, float points, bool bold, int dpi) override {
        log.push_back(Name(l) + " font " + std::to_string(static_cast<int>(points)) +
                      (bold ? " bold" : "") + " at " + std::to_string(dpi));
    }
    PixelSize TextExtent(Label, const std::string&) const override { return clockText; }
    void StartTimer(Timer t, std::uint32_t ms) override {
        EXPECT_GT(ms, 0u);
        interval[t] = ms;
        timerRestarts += t == Timer::ShowPicture;
        log.push_back(Name(t) + " start " + std::to_string(ms));
    }
    void StopTimer(Timer t) override {
        interval[t] = 0;
        log.push_back(Name(t) + " stop");
    }
    void RequestClose() override { ++closeRequests, log.push_back("close request"); }
};

class SlideshowFormTest : public ::testing::Test {
  protected:
    std::vector<std::string> log;
    fakes::FakePlatform fake;
    saver::ProgramState state;
    FakeView view{log};
    fakes::FakeMediaDevice media{log};
    fakes::FakeAudioNotifyWindow notify{log};
    fakes::FakeMediaWorker worker{media, fake.files};
    audio::MusicPlayer player{fake.platform, worker, notify};
    SlideshowForm form{fake.platform, state, player, view};
    int mouseX = 0;

    // One real move of the mouse over a surface.
    void Move(Surface surface) { form.OnMouseMove(surface, {++mouseX, 10}); }

    SlideshowFormTest() {
        view.form = &form;
        state.saver = std::make_unique<saver::ScreenSaver>(fake.platform);
        state.windowsFolder = "C:\\windows";
        pss().SetPath("C:\\Pics");
        pss().SetTime(5.0);
        pss().SetShowClock(1.0);
        pss().SetScalePercentage(100.0);
    }
    saver::ScreenSaver& pss() { return *state.saver; }
    void AddPicture(const std::string& name, double w, double h) {
        fake.files.AddFile("C:\\Pics\\" + name);
        view.pictureFiles.files["C:\\Pics\\" + name] = {w, h};
    }
    void EnterPreview() {
        fake.environment.argumentText = "/p 1234";
        pss().Execute(saver::SaverMode::Preview);
    }
    // The platform calls and the window calls, without the music's commands.
    bool IsMediaCommand(const std::string& line) const {
        const auto sent = media.Commands();
        return std::find(sent.begin(), sent.end(), line) != sent.end();
    }
    std::vector<std::string> Merged() const {
        std::vector<std::string> out;
        for (const auto& line : log)
            if (!IsMediaCommand(line)) out.push_back(line);
        return out;
    }
    std::size_t Count(const std::string& line) const {
        return std::count(log.begin(), log.end(), line);
    }
};

TEST_F(SlideshowFormTest, LoadRunsItsStepsInOrder) {
    AddPicture("a.jpg", 200, 100);
    fake.files.AddFile("C:\\Music\\tune.mp3");
    pss().SetMusicFile("C:\\Music\\tune.mp3");
    form.Load();
    EXPECT_EQ(Merged(), (std::vector<std::string>{
                            "tmrShowPicture start 100", "tmrClock start 1000", "tmrHostCheck stop",
                            "lblNoPictures text", "lblClock text", "lblNoPictures rect",
                            "lblNoPictures font 24 bold at 96", "lblClock font 9 at 96",
                            "lblClock rect", "lblNoPictures hide"}));
    EXPECT_EQ(fake.random.seeds, 1);
    EXPECT_EQ(fake.session.calls,
              (std::vector<std::string>{"SetScreenSaverRunning(true)", "ShowCursor(false)"}));
    EXPECT_EQ(view.rects[Label::NoPictures], (PixelRect{0, 0, 1024, 768}));
    EXPECT_EQ(view.texts[Label::Clock], "17:05:09 ");
    // 850 and 250 twips from the right and bottom, 855 x 255: 57 x 17 pixels.
    EXPECT_EQ(view.rects[Label::Clock], (PixelRect{967, 751, 57, 17}));
    EXPECT_EQ(form.Pictures(), (std::vector<std::string>{"", "C:\\Pics\\a.jpg"}));
    // The music starts once the first picture is on the screen; the single
    // file repeats until the show ends.
    EXPECT_EQ(Count("play mp3 repeat"), 0u);
    form.OnPictureTimer();
    const auto shown = std::find(log.begin(), log.end(), "show");
    const auto played = std::find(log.begin(), log.end(), "play mp3 repeat");
    ASSERT_NE(played, log.end());
    EXPECT_LT(shown, played);
    form.OnPictureTimer();
    EXPECT_EQ(Count("play mp3 repeat"), 1u) << "started once";
}

TEST_F(SlideshowFormTest, AMusicFailureReachesTheWindowsEdgeForTheFatalPath) {
    fake.files.AddFile("C:\\Music\\list.m3u");
    pss().SetMusicFile("C:\\Music\\list.m3u");
    notify.outOfMemory = true;
    form.Load();
    EXPECT_THROW(form.OnPictureTimer(),
                 std::bad_alloc); // no pictures: the music starts at once
    // The fatal path, not the form, puts the desktop back.
    EXPECT_EQ(fake.session.calls,
              (std::vector<std::string>{"SetScreenSaverRunning(true)", "ShowCursor(false)"}));
}

TEST_F(SlideshowFormTest, EmptyFolderShowsTheTwoLineMessageAndNoClockWhenOff) {
    pss().SetShowClock(0.0);
    form.Load();
    EXPECT_EQ(view.texts[Label::NoPictures], "No Pictures in : \rC:\\Pics");
    EXPECT_TRUE(view.visible[Label::NoPictures]);
    EXPECT_FALSE(view.visible[Label::Clock]);
    EXPECT_EQ(view.interval[Timer::Clock], 0u) << "the clock's timer stands still";
    EXPECT_EQ(view.texts.count(Label::Clock), 0u);
    // Ticks change nothing while the timer keeps running.
    form.OnPictureTimer();
    EXPECT_EQ(view.preparations, 0);
    EXPECT_EQ(view.interval[Timer::ShowPicture], 5000u);
}

TEST_F(SlideshowFormTest, PreviewLaysOutSmallAndLeavesDesktopAndMusicAlone) {
    AddPicture("wide.jpg", 2000, 1000);
    pss().SetMusicFile("C:\\Music\\tune.mp3");
    fake.files.AddFile("C:\\Music\\tune.mp3");
    EnterPreview();
    form.Load();
    EXPECT_EQ(Count("lblNoPictures font 8 bold at 96"), 1u);
    EXPECT_EQ(view.rects[Label::NoPictures].width, 160); // 2400 twips
    EXPECT_EQ(view.interval[Timer::HostCheck], 1000u);
    form.OnPictureTimer();
    EXPECT_FLOAT_EQ(view.lastResults.at(0).box.twips.width, 2270);
    EXPECT_FLOAT_EQ(view.lastResults.at(0).box.twips.top, 283.75f);
    EXPECT_EQ(view.lastResults.at(0).box.pixels, (PixelRect{0, 19, 151, 76}));
    for (int i = 0; i < 30; ++i) {
        Move(Surface::Background);
        Move(Surface::Picture);
        form.OnCharacter('A');
    }
    EXPECT_EQ(view.closeRequests, 0);
    bool cancel = !form.MayClose();
    form.OnUnload();
    EXPECT_FALSE(cancel);
    EXPECT_TRUE(fake.session.calls.empty());
    EXPECT_EQ(
        std::count_if(log.begin(), log.end(), [this](const auto& l) { return IsMediaCommand(l); }),
        0);
    EXPECT_EQ(state.saver, nullptr);
}

TEST_F(SlideshowFormTest, TimerShowsARandomPictureAndReloadsTheDisplayTime) {
    AddPicture("a.jpg", 300, 400);
    AddPicture("b.jpg", 2000, 1000);
    AddPicture("c.jpg", 100, 100);
    fake.random.draws = {0.0, 0.99, 0.5};
    form.Load();
    form.OnPictureTimer();
    EXPECT_EQ(view.shown[0], "C:\\Pics\\a.jpg");
    EXPECT_EQ(view.interval[Timer::ShowPicture], 5000u);
    EXPECT_FLOAT_EQ(view.lastResults.at(0).box.twips.left, 3360);
    EXPECT_EQ(view.lastResults.at(0).box.pixels, (PixelRect{224, 0, 576, 768}));
    log.clear();
    form.OnPictureTimer();
    EXPECT_EQ(view.shown[0], "C:\\Pics\\c.jpg");
    // The picture prepared ahead goes on the screen at once; the next is
    // prepared while it shows.
    EXPECT_EQ(log, (std::vector<std::string>{"tmrShowPicture start 5000", "show",
                                             "prepare C:\\Pics\\b.jpg"}));
    form.OnPictureTimer();
    EXPECT_EQ(view.shown[0], "C:\\Pics\\b.jpg");
    EXPECT_EQ(fake.random.seeds, 1);
    EXPECT_EQ(form.Shown(), std::vector<std::string>{"C:\\Pics\\b.jpg"});
}

TEST_F(SlideshowFormTest, DisplayTimesBeyondTheClassicRangeAndBelowZero) {
    AddPicture("a.jpg", 300, 400);
    form.Load();
    for (const auto& [seconds, ms] : std::vector<std::pair<double, std::uint32_t>>{
             {70, 70000u}, {32767, 32767000u}, {0, 0u}, {-3, 0u}, {1, 1000u}}) {
        pss().SetTime(seconds);
        form.OnPictureTimer();
        EXPECT_EQ(view.interval[Timer::ShowPicture], ms) << seconds;
    }
}

TEST_F(SlideshowFormTest, DamagedPictureLeavesAnEmptyBoxAndTheShowGoesOn) {
    fake.files.AddFile("C:\\Pics\\broken.jpg"); // listed, but it cannot be read
    form.Load();
    form.OnPictureTimer();
    EXPECT_EQ(view.shown[0], "");
    EXPECT_EQ(view.lastResults.at(0).bitmap, nullptr);
    // The box keeps the size it had: the whole screen.
    EXPECT_EQ(view.lastResults.at(0).box.pixels, (PixelRect{0, 0, 1024, 768}));
    EXPECT_EQ(form.Shown(), std::vector<std::string>{""});
    EXPECT_EQ(view.closeRequests, 0);
}

TEST_F(SlideshowFormTest, MouseRuleCountsEachSurfaceApart) {
    form.Load();
    for (int i = 0; i < 10; ++i)
        Move(Surface::Picture);
    for (int i = 0; i < 10; ++i)
        Move(Surface::Background);
    for (int i = 0; i < 10; ++i)
        Move(Surface::NoPictures);
    EXPECT_EQ(view.closeRequests, 0);
    Move(Surface::Picture);
    EXPECT_EQ(view.closeRequests, 1);
    form.MayClose(); // the window handles each request before the next
    // The surface that asked starts again from 0; the others keep their counts.
    for (int i = 0; i < 10; ++i)
        Move(Surface::Picture);
    EXPECT_EQ(view.closeRequests, 1);
    Move(Surface::Background);
    EXPECT_EQ(view.closeRequests, 2);
    form.MayClose();
    Move(Surface::NoPictures);
    EXPECT_EQ(view.closeRequests, 3);
    form.MayClose();
    Move(Surface::Picture);
    EXPECT_EQ(view.closeRequests, 4);
}

TEST_F(SlideshowFormTest, OnlyARealChangeOfPlaceCountsAndTheClockCountsNothing) {
    view.cursor = platform::ScreenPoint{300, 200};
    form.Load();
    // Reports where the mouse already rests, then moves over the clock.
    for (int i = 0; i < 20; ++i)
        form.OnMouseMove(Surface::Picture, {300, 200});
    for (int i = 0; i < 20; ++i)
        form.OnMouseMove(Surface::Clock, {400 + i, 200});
    form.OnMouseMove(Surface::Picture, {419, 200}); // where the last clock move left it
    for (int i = 0; i < 10; ++i)
        form.OnMouseMove(Surface::Picture, {i % 2, 0});
    EXPECT_EQ(view.closeRequests, 0);
    form.OnMouseMove(Surface::Picture, {5, 5});
    EXPECT_EQ(view.closeRequests, 1);
}

TEST_F(SlideshowFormTest, ASecondRuleBeforeTheWindowHandledTheFirstAsksOnce) {
    form.Load();
    form.OnCharacter('a');
    for (int i = 0; i < 11; ++i)
        Move(Surface::Background);
    form.OnCharacter('b');
    EXPECT_EQ(view.closeRequests, 1);
    form.MayClose();
    form.OnCharacter('c');
    EXPECT_EQ(view.closeRequests, 2);
}

TEST_F(SlideshowFormTest, APreviewEndsWhenItsHostIsGone) {
    AddPicture("a.jpg", 300, 400);
    EnterPreview();
    form.Load();
    EXPECT_EQ(view.interval[Timer::HostCheck], 1000u);
    form.OnHostCheckTimer();
    EXPECT_EQ(view.closeRequests, 0);
    view.hostExists = false;
    form.OnHostCheckTimer();
    EXPECT_EQ(view.closeRequests, 1);
    EXPECT_TRUE(form.MayClose());
}

TEST_F(SlideshowFormTest, RefusedPasswordKeepsTheShowAndTheCountStartsAgain) {
    fake.session.SetPasswordSwitch(platform::RegistryType::Text, std::string("1\0", 2));
    fake.session.passwordAnswers = {0, 1};
    form.Load();
    for (int i = 0; i < 11; ++i)
        Move(Surface::Picture);
    ASSERT_EQ(view.closeRequests, 1);
    bool cancel = !form.MayClose();
    EXPECT_TRUE(cancel);
    for (int i = 0; i < 10; ++i)
        Move(Surface::Picture);
    EXPECT_EQ(view.closeRequests, 1);
    Move(Surface::Picture);
    EXPECT_EQ(view.closeRequests, 2);
    cancel = !form.MayClose();
    EXPECT_FALSE(cancel);
    EXPECT_EQ(Count("close request"), 2u);
}

TEST_F(SlideshowFormTest, KeyRuleClosesOnCharactersButNotOnCtrlW) {
    form.Load();
    for (int code : {65, 49, 32, 13, 27, 119, 87}) {
        const int before = view.closeRequests;
        form.OnCharacter(code);
        EXPECT_EQ(view.closeRequests, before + 1) << code;
        form.MayClose();
    }
    const int before = view.closeRequests;
    form.OnCharacter(23); // Ctrl+W
    // Keys without a character only reach OnKeyDown.
    for (auto [key, shift] : std::vector<std::pair<int, int>>{{34, 0},
                                                              {37, 0},
                                                              {38, 0},
                                                              {39, 0},
                                                              {40, 0},
                                                              {112, 0},
                                                              {16, 1},
                                                              {17, 2},
                                                              {87, 2},
                                                              {18, 4}})
        form.OnKeyDown(key, shift);
    EXPECT_EQ(view.closeRequests, before);
}

TEST_F(SlideshowFormTest, WindowEventsReachTheFormOnlyBetweenItsLoadAndItsUnload) {
    using enum WindowEvent::Kind;
    using enum WindowReply;
    const WindowEvent typed{.kind = Character, .code = 65};
    EXPECT_EQ(form.OnWindowEvent(typed), Handled);
    EXPECT_EQ(form.OnWindowEvent({.kind = Close}), Destroy); // nothing to check yet
    form.Load();
    form.OnWindowEvent(typed);
    EXPECT_EQ(view.closeRequests, 1);
    const std::pair<WindowEvent, WindowReply> replies[] = {
        {{.kind = SystemKey}, Handled},
        {{.kind = SystemCommand, .flag = true}, Handled},
        {{.kind = SystemCommand}, Default},
        {{.kind = SessionEnd}, Handled},
        {{.kind = SessionEnd, .flag = true}, Destroy},
        {{.kind = Close}, Destroy}};
    for (const auto& [event, reply] : replies)
        EXPECT_EQ(form.OnWindowEvent(event), reply) << static_cast<int>(event.kind);
    form.OnWindowEvent({.kind = Destroying});
    form.OnWindowEvent({.kind = Destroying});
    form.OnWindowEvent(typed);
    EXPECT_EQ(view.closeRequests, 1);
    EXPECT_EQ(std::count(fake.session.calls.begin(), fake.session.calls.end(), "ShowCursor(true)"),
              1);
}

TEST_F(SlideshowFormTest, PageDownShowsTheNextPictureAndRestartsTheTimer) {
    AddPicture("a.jpg", 300, 400);
    AddPicture("b.jpg", 2000, 1000);
    fake.random.draws = {0.0, 0.7, 0.2, 0.9};
    form.Load();
    form.OnPictureTimer();
    for (int shift : {0, 1, 2}) {
        log.clear();
        const int restartsBefore = view.timerRestarts;
        form.OnKeyDown(kKeyPageDown, shift);
        ASSERT_FALSE(log.empty());
        EXPECT_EQ(log.front(), "tmrShowPicture stop") << shift;
        EXPECT_EQ(log.back(), "tmrShowPicture start 5000") << shift;
        EXPECT_EQ(Count("show"), 1u) << shift;
        EXPECT_EQ(view.timerRestarts, restartsBefore + 1);
        EXPECT_EQ(view.interval[Timer::ShowPicture], 5000u) << "running again";
    }
    EXPECT_EQ(view.interval[Timer::ShowPicture], 5000u);
    EXPECT_EQ(view.closeRequests, 0);
}

TEST_F(SlideshowFormTest, CtrlShiftWWritesTheWallpaperBitmapAndSetsIt) {
    AddPicture("a.jpg", 300, 400);
    form.Load();
    form.OnPictureTimer();
    for (const std::string dir : {"C:\\windows", "C:\\windows\\"}) {
        state.windowsFolder = dir;
        fake.wallpaper.calls.clear();
        view.written.clear();
        form.OnKeyDown(kKeyW, kCtrlMask | kShiftMask);
        EXPECT_EQ(view.written["C:\\windows\\Orvandel.bmp"], "C:\\Pics\\a.jpg") << dir;
        EXPECT_EQ(fake.wallpaper.calls,
                  std::vector<std::string>{"SetWallpaper(C:\\windows\\Orvandel.bmp)"})
            << dir;
    }
    // Other shift states leave the wallpaper alone.
    fake.wallpaper.calls.clear();
    for (int shift : {1, 2, 7, 0})
        form.OnKeyDown(kKeyW, shift);
    EXPECT_TRUE(fake.wallpaper.calls.empty());
    EXPECT_EQ(view.closeRequests, 0);
}

TEST_F(SlideshowFormTest, TheUnloadLetsTheWallpaperUnderWayFinishFirst) {
    AddPicture("a.jpg", 300, 400);
    form.Load();
    form.OnTimer(Timer::ShowPicture);
    view.holdWallpaper = true;
    form.OnKeyDown(kKeyW, 3);
    form.OnUnload();
    EXPECT_EQ(fake.wallpaper.calls,
              std::vector<std::string>{"SetWallpaper(C:\\windows\\Orvandel.bmp)"});
    EXPECT_EQ(view.waited, std::chrono::seconds(10));
}

TEST_F(SlideshowFormTest, AWallpaperResultCountsOnlyForTheJobUnderWay) {
    AddPicture("a.jpg", 300, 400);
    form.Load();
    form.OnPictureTimer();
    view.holdWallpaper = true;
    form.OnKeyDown(kKeyW, 3);
    form.OnKeyDown(kKeyW, 3); // while the first is written
    EXPECT_EQ(Count("wallpaper C:\\Pics\\a.jpg"), 1u);
    ASSERT_EQ(form.WallpaperUnderWay(), view.heldWallpaper.id);
    form.OnWallpaperWritten({view.heldWallpaper.id + 1, "C:\\other.bmp"});
    EXPECT_TRUE(fake.wallpaper.calls.empty());
    form.OnWallpaperWritten(view.heldWallpaper);
    form.OnWallpaperWritten(view.heldWallpaper); // delivered twice
    EXPECT_EQ(fake.wallpaper.calls,
              std::vector<std::string>{"SetWallpaper(C:\\windows\\Orvandel.bmp)"});
    EXPECT_EQ(form.WallpaperUnderWay(), 0u);
}

TEST(PreviewWatch, ClosesOnceWhenTheHostGoesAndEndsWhenThePreviewIsGone) {
    bool asked = false;
    EXPECT_EQ(NextPreviewWatchStep(true, false, asked), PreviewWatchStep::KeepWatching);
    EXPECT_EQ(NextPreviewWatchStep(true, true, asked), PreviewWatchStep::Close);
    EXPECT_EQ(NextPreviewWatchStep(true, true, asked), PreviewWatchStep::KeepWatching);
    EXPECT_EQ(NextPreviewWatchStep(false, true, asked), PreviewWatchStep::EndProgram);
}

// The watcher's looks, written down: W waited for the host's process, P only
// paused, C asked the preview to close, E ended the program.
struct ScriptedWatch : platform::PreviewWatch {
    ScriptedWatch(int process, int host, int preview)
        : processEndsAt(process), hostWindowGoesAt(host), previewGoesAt(preview) {}
    int looks = 0, processEndsAt, hostWindowGoesAt, previewGoesAt;
    std::string log;
    bool WaitForHostProcess(std::uint32_t ms) override {
        log += ms == 500 ? "W" : "?";
        return ++looks >= processEndsAt && processEndsAt;
    }
    void Pause(std::uint32_t ms) override { log += ms == 500 && ++looks ? "P" : "?"; }
    bool PreviewExists() override { return looks < previewGoesAt; }
    bool HostExists() override { return !hostWindowGoesAt || looks < hostWindowGoesAt; }
    void ClosePreview() override { log += "C"; }
    void EndProgram() override { log += "E"; }
};

TEST(PreviewWatch, WatchesTheProcessUntilItEndsThenOnlyTheWindows) {
    const struct {
        int processEndsAt, hostWindowGoesAt, previewGoesAt;
        const char* log;
    } cases[] = {
        {2, 0, 5, "WWCPPPE"}, // the host's process ends
        {0, 2, 4, "WWCWWE"},  // its window goes, its process stays
        {0, 0, 2, "WWE"},     // our window was destroyed from outside
    };
    for (const auto& c : cases) {
        ScriptedWatch watch(c.processEndsAt, c.hostWindowGoesAt, c.previewGoesAt);
        WatchPreview(watch);
        EXPECT_EQ(watch.log, c.log);
    }
}

TEST_F(SlideshowFormTest, WallpaperGoesToTheUserFolderWhenTheWindowsFolderIsClosed) {
    AddPicture("a.jpg", 300, 400);
    view.writableFolders = {"C:\\Users\\me\\AppData\\Local\\Orvandel\\"};
    form.Load();
    form.OnPictureTimer();
    fake.wallpaper.calls.clear();
    form.OnKeyDown(kKeyW, 3);
    EXPECT_EQ(view.written.size(), 1u);
    EXPECT_EQ(fake.wallpaper.calls,
              std::vector<std::string>{
                  "SetWallpaper(C:\\Users\\me\\AppData\\Local\\Orvandel\\Orvandel.bmp)"});
    // Neither folder takes the bitmap: the wallpaper setting is left alone.
    view.writableFolders.clear();
    view.written.clear();
    fake.wallpaper.calls.clear();
    form.OnKeyDown(kKeyW, 3);
    EXPECT_TRUE(view.written.empty());
    EXPECT_TRUE(fake.wallpaper.calls.empty());
}

TEST_F(SlideshowFormTest, WithNothingOnShowTheWallpaperIsLeftAlone) {
    fake.files.AddFile("C:\\Pics\\broken.jpg");
    form.Load();
    form.OnKeyDown(kKeyW, 3); // before the first picture
    form.OnPictureTimer();
    form.OnKeyDown(kKeyW, 3); // an empty box
    EXPECT_EQ(Count("wallpaper C:\\Pics\\broken.jpg"), 0u);
    EXPECT_TRUE(view.written.empty());
    EXPECT_TRUE(fake.wallpaper.calls.empty());
}

TEST_F(SlideshowFormTest, AltNAdvancesAPlaylistOnly) {
    fake.files.AddFile("C:\\Music\\one.mp3");
    fake.files.AddFile("C:\\Music\\two.mp3");
    fake.files.AddFile("C:\\Music\\list.m3u", "one.mp3\r\ntwo.mp3\r\n");
    pss().SetMusicFile("C:\\Music\\list.m3u");
    form.Load();
    form.OnPictureTimer();
    EXPECT_TRUE(notify.Loaded());
    EXPECT_EQ(player.Track(), 1);
    form.OnKeyDown(kKeyN, kAltMask);
    EXPECT_EQ(player.Track(), 2);
    form.OnKeyDown(kKeyN, kAltMask | kShiftMask); // not exactly Alt
    form.OnKeyDown(kKeyN, 0);
    EXPECT_EQ(player.Track(), 2);
    form.OnKeyDown(kKeyN, kAltMask);
    EXPECT_EQ(player.Track(), 1);
}

TEST_F(SlideshowFormTest, UnloadStopsTheMusicRestoresTheDesktopAndReleasesAll) {
    fake.files.AddFile("C:\\Music\\one.mp3");
    fake.files.AddFile("C:\\Music\\list.m3u", "one.mp3\r\n");
    pss().SetMusicFile("C:\\Music\\list.m3u");
    AddPicture("a.jpg", 300, 400);
    form.Load();
    form.OnPictureTimer();
    log.clear();
    fake.session.calls.clear();
    form.OnUnload();
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(log.front(), "unload frmAudioNotify");
    EXPECT_NE(std::find(log.begin(), log.end(), "close mp3"), log.end());
    EXPECT_EQ(log.back(), "show");
    EXPECT_TRUE(view.shown.empty()) << "the pictures are released";
    EXPECT_EQ(fake.session.calls,
              (std::vector<std::string>{"SetScreenSaverRunning(false)", "ShowCursor(true)"}));
    EXPECT_EQ(state.saver, nullptr);
}

TEST_F(SlideshowFormTest, RequestsDuringAPreparationMakeOneMoreChangeNeverAQueue) {
    AddPicture("a.jpg", 300, 400);
    AddPicture("b.jpg", 400, 300);
    view.manual = true;
    form.Load();
    form.OnPictureTimer();
    for (int i = 0; i < 500; ++i)
        form.OnKeyDown(kKeyPageDown, 0);
    form.OnPictureTimer();
    EXPECT_EQ(view.preparations, 1);
    view.Complete();
    EXPECT_EQ(view.preparations, 2) << "the next change, prepared ahead";
    view.Complete();
    EXPECT_EQ(view.preparations, 2) << "nothing more while one is ready";
    EXPECT_EQ(Count("show"), 1u);
    // A storm of Page Downs: the ready change at once, then one more as soon
    // as it is prepared.
    for (int i = 0; i < 500; ++i)
        form.OnKeyDown(kKeyPageDown, 0);
    EXPECT_EQ(Count("show"), 2u);
    view.Complete();
    EXPECT_EQ(Count("show"), 3u);
    view.Complete();
    EXPECT_EQ(Count("show"), 3u);
    EXPECT_EQ(view.preparations, 4);
    // Closing while a picture is prepared abandons it: its result is dropped.
    form.OnKeyDown(kKeyPageDown, 0);
    form.OnUnload();
    EXPECT_EQ(Count("cancel"), 1u);
    const std::size_t shows = Count("show");
    view.Complete();
    EXPECT_EQ(Count("show"), shows);
    EXPECT_EQ(view.preparations, 5);
}

// Display changes, ticks, Page Down and finished jobs in any order and
// number: one preparation at a time, no result of an abandoned job on the
// screen, and once the jobs are done every monitor shows a picture fitted
// to the monitors as they are.
TEST_F(SlideshowFormTest, BurstsOfDisplayChangesAlwaysEndWithEveryMonitorShowingAPicture) {
    AddPicture("a.jpg", 300, 400);
    AddPicture("b.jpg", 400, 300);
    view.manual = true;
    const std::vector<std::vector<platform::MonitorArea>> desks{
        {{{0, 0, 1024, 768}, 96, true}},
        {{{0, 0, 800, 600}, 144, true}, {{800, 0, 1280, 1024}, 96, false}}};
    form.Load();
    for (unsigned seed = 1; seed <= 20; ++seed) {
        SCOPED_TRACE(seed);
        std::mt19937 random(seed);
        for (int step = 0; step < 300; ++step) {
            switch (random() % 4) {
            case 0:
                view.monitors = desks[random() % desks.size()];
                form.OnDisplayChange();
                break;
            case 1:
                form.OnKeyDown(kKeyPageDown, 0);
                break;
            case 2: // a result posted before the job was abandoned, delivered again
                if (!view.pending.empty()) form.OnPreparationFinished({view.pending[0].id - 1, {}});
                break;
            default:
                if (!view.pending.empty()) view.Finish(random() % view.pending.size());
            }
            ASSERT_LE(view.pending.size(), 1u);
            ASSERT_LE(FakeBitmap::live, 4) << "one on show and one ready for each of two monitors";
        }
        while (!view.pending.empty())
            view.Complete();
        ASSERT_EQ(view.lastResults.size(), view.monitors.size());
        for (std::size_t m = 0; m < view.monitors.size(); ++m) {
            EXPECT_FALSE(view.shown[m].empty()) << m;
            const PixelRect &box = view.lastResults[m].box.pixels, &area = view.monitors[m].bounds;
            EXPECT_TRUE(box.x >= area.x && box.x + box.width <= area.x + area.width &&
                        (box.width == area.width || box.height == area.height))
                << m;
        }
    }
}

TEST_F(SlideshowFormTest, OnePictureOpenAThreadAndOneDrawingForEachSize) {
    struct CountingSource : FakePictures {
        std::atomic<int> open = 0, most = 0, opens = 0;
        std::unique_ptr<platform::OpenPicture> Open(const std::string& path,
                                                    const std::atomic<bool>& stop) override {
            struct Counted : platform::OpenPicture {
                std::unique_ptr<platform::OpenPicture> inner;
                CountingSource* source;
                ~Counted() override { --source->open; }
                platform::PictureSize NaturalSize() const override { return inner->NaturalSize(); }
                std::shared_ptr<const platform::Bitmap> Render(int w, int h) override {
                    return inner->Render(w, h);
                }
            };
            auto counted = std::make_unique<Counted>();
            counted->inner = FakePictures::Open(path, stop);
            counted->source = this;
            ++opens;
            for (int now = ++open, seen = most;
                 now > seen && !most.compare_exchange_weak(seen, now);)
                ;
            return counted;
        }
    } source;
    source.files = {{"a", {400, 300}}, {"b", {300, 400}}};
    const platform::MonitorArea small{{0, 0, 800, 600}, 96, true}, big{{800, 0, 1600, 1200}};
    const platform::PreparationJob job{
        7,
        100,
        false,
        {{0, "a", small, {}}, {1, "b", small, {}}, {2, "a", big, {}}, {3, "a", small, {}}}};
    for (unsigned threads : {1u, 2u}) {
        source.opens = source.most = 0;
        const auto result = RunPreparation(job, source, std::atomic<bool>{}, threads);
        EXPECT_EQ(result.id, 7u);
        ASSERT_EQ(result.pictures.size(), 4u);
        for (std::size_t m = 0; m < 4; ++m)
            EXPECT_EQ(result.pictures[m].monitor, m) << "in the monitors' order";
        EXPECT_EQ(source.opens, 2);
        EXPECT_LE(source.most, static_cast<int>(threads));
        EXPECT_EQ(result.pictures[0].bitmap, result.pictures[3].bitmap) << "drawn once a size";
        EXPECT_NE(result.pictures[0].bitmap, result.pictures[2].bitmap);
    }
    EXPECT_TRUE(RunPreparation(job, source, std::atomic<bool>{true}).pictures.empty());
}

// A show over several monitors, given in the window's client pixels with
// the primary first.
struct MonitorsCase {
    const char* name;
    std::vector<platform::MonitorArea> monitors;
};

// A case prints as its name in test output.
void PrintTo(const MonitorsCase& c, std::ostream* out) {
    *out << c.name;
}

class SlideshowMonitors : public SlideshowFormTest,
                          public ::testing::WithParamInterface<MonitorsCase> {};

TEST_P(SlideshowMonitors, EachMonitorShowsAPictureFittedToItselfAndThePrimaryHasTheLabels) {
    const auto& monitors = GetParam().monitors;
    view.monitors = monitors;
    AddPicture("wide.jpg", 2000, 1000);
    AddPicture("tall.jpg", 1000, 2000);
    fake.random.draws = {0.0, 0.9, 0.0, 0.9};
    form.Load();
    const PixelRect& primary = monitors[0].bounds;
    EXPECT_EQ(view.rects[Label::NoPictures], primary);
    const PixelRect clock = view.rects[Label::Clock];
    EXPECT_EQ(clock.x + clock.width, primary.x + primary.width) << "at the primary's right edge";
    EXPECT_LE(clock.y + clock.height, primary.y + primary.height);
    EXPECT_GE(clock.y + clock.height, primary.y + primary.height - 1);

    form.OnPictureTimer();
    ASSERT_EQ(view.lastResults.size(), monitors.size());
    EXPECT_EQ(fake.random.next, 2 * monitors.size())
        << "one draw a monitor, for the change on show and the one prepared ahead";
    for (std::size_t m = 0; m < monitors.size(); ++m) {
        SCOPED_TRACE(m);
        const PixelRect& area = monitors[m].bounds;
        const PixelRect& box = view.lastResults[m].box.pixels;
        EXPECT_EQ(view.lastResults[m].monitor, m);
        EXPECT_EQ(view.shown[m], m % 2 == 0 ? "C:\\Pics\\wide.jpg" : "C:\\Pics\\tall.jpg");
        // Fitted: inside its monitor, touching two opposite edges, centred.
        EXPECT_GE(box.x, area.x);
        EXPECT_GE(box.y, area.y);
        EXPECT_LE(box.x + box.width, area.x + area.width);
        EXPECT_LE(box.y + box.height, area.y + area.height);
        EXPECT_TRUE(box.width == area.width || box.height == area.height);
        EXPECT_NEAR(box.x - area.x, area.x + area.width - (box.x + box.width), 1);
        EXPECT_NEAR(box.y - area.y, area.y + area.height - (box.y + box.height), 1);
        const double ratio = static_cast<double>(box.width) / box.height;
        EXPECT_NEAR(ratio, m % 2 == 0 ? 2.0 : 0.5, 0.02);
    }
    // The wallpaper is the primary monitor's picture.
    form.OnKeyDown(kKeyW, kCtrlMask | kShiftMask);
    EXPECT_EQ(view.written["C:\\windows\\Orvandel.bmp"], "C:\\Pics\\wide.jpg");
}

INSTANTIATE_TEST_SUITE_P(
    Desks, SlideshowMonitors,
    ::testing::Values(
        MonitorsCase{"one", {{{0, 0, 1024, 768}, 96, true}}},
        MonitorsCase{"two_side_by_side",
                     {{{0, 0, 1920, 1080}, 96, true}, {{1920, 0, 1920, 1080}, 96, false}}},
        // A smaller monitor left of the primary: at negative screen
        // coordinates, so the primary starts further right in the window.
        MonitorsCase{"smaller_left_of_the_primary",
                     {{{1280, 0, 1920, 1080}, 96, true}, {{0, 56, 1280, 1024}, 96, false}}},
        MonitorsCase{"three_of_mixed_sizes_and_scales",
                     {{{1600, 0, 2560, 1440}, 144, true},
                      {{0, 300, 1600, 900}, 96, false},
                      {{4160, 0, 1080, 1920}, 192, false}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SlideshowFormTest, WithOnePictureEveryMonitorShowsIt) {
    view.monitors = {{{0, 0, 800, 600}, 96, true}, {{800, 0, 1280, 1024}, 96, false}};
    AddPicture("only.jpg", 640, 480);
    form.Load();
    form.OnPictureTimer();
    EXPECT_EQ(view.shown[0], "C:\\Pics\\only.jpg");
    EXPECT_EQ(view.shown[1], "C:\\Pics\\only.jpg");
    EXPECT_EQ(Count("prepare C:\\Pics\\only.jpg C:\\Pics\\only.jpg"), 2u) << "and the next";
}

TEST_F(SlideshowFormTest, AMonitorAddedWhileTheShowRunsGetsItsPictureAndTheShowGoesOn) {
    AddPicture("a.jpg", 300, 400);
    form.Load();
    form.OnPictureTimer();
    view.monitors.push_back({{1024, 0, 1280, 1024}, 96, false});
    log.clear();
    form.OnDisplayChange();
    EXPECT_EQ(Count("lblClock rect"), 1u);
    // What was prepared ahead for one monitor is dropped: the change for
    // both is prepared and shown, and the next prepared ahead.
    EXPECT_EQ(Count("prepare C:\\Pics\\a.jpg C:\\Pics\\a.jpg"), 2u);
    EXPECT_EQ(Count("show"), 1u);
    EXPECT_EQ(view.shown[1], "C:\\Pics\\a.jpg");
    EXPECT_EQ(view.closeRequests, 0);
}

TEST_F(SlideshowFormTest, TheClockBoxGrowsWithItsTextAndStaysOnTheMonitor) {
    // At 150 % the design box is 86 x 26 at 938, 742 on a 1024 x 768 screen;
    // a time that takes more room widens it leftwards.
    const struct {
        int dpi;
        PixelSize text;
        PixelRect box;
    } cases[] = {
        {96, {54, 13}, {967, 751, 57, 17}},    {120, {68, 16}, {953, 747, 71, 21}},
        {144, {80, 20}, {938, 742, 86, 26}},   {168, {110, 31}, {913, 737, 111, 31}},
        {144, {95, 28}, {928, 740, 96, 28}},   {192, {120, 27}, {903, 734, 121, 34}},
        {192, {140, 40}, {883, 728, 141, 40}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.dpi << " " << c.text.width);
        EXPECT_EQ(ClockBox({{0, 0, 1024, 768}, c.dpi, true}, c.text), c.box);
    }
}

TEST(SlideshowHelpers, ClockWallpaperAndInterval) {
    EXPECT_EQ(ClockText({2026, 1, 2, 0, 0, 0}), "00:00:00 ");
    EXPECT_EQ(ClockText({2026, 1, 2, 23, 59, 7}), "23:59:07 ");
    EXPECT_EQ(WallpaperFileIn("C:\\WINDOWS"), "C:\\WINDOWS\\Orvandel.bmp");
    EXPECT_EQ(WallpaperFileIn("C:\\WINDOWS\\"), "C:\\WINDOWS\\Orvandel.bmp");
    EXPECT_EQ(ShiftState(true, false, true), kShiftMask | kAltMask);
}

} // namespace
} // namespace orv::slideshow
