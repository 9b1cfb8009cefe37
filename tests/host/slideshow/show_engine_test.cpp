#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <future>
#include <map>
#include <mutex>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <utility>

#include "fakes/fake_platform.h"
#include "fakes/fake_settings.h"
#include "slideshow/layout.h"
#include "slideshow/show_driver.h"
#include "slideshow/show_engine.h"
#include "slideshow/show_jobs.h"
#include "slideshow/show_workers.h"

namespace orv::slideshow {
namespace {

// A picture of the fake source, and the path it was drawn from.
struct FakeBitmap : platform::Bitmap {
    std::string path;
    static inline std::atomic<int> live = 0; // bitmaps held anywhere
    explicit FakeBitmap(std::string p) : path(std::move(p)) { ++live; }
    ~FakeBitmap() override { --live; }
};

// The readable pictures, by path, with their natural sizes. Preparations
// open them on several threads: the opens are counted under a lock, with
// the most open at once.
class FakePictures : public platform::PictureSource {
  public:
    std::map<std::string, platform::PictureSize> files;
    std::map<std::string, int> opens; // by path, readable or not
    int heldOpen = 0, mostOpen = 0;
    std::mutex mutex;
    std::unique_ptr<platform::DrawablePicture> Open(const std::string& path,
                                                    const std::atomic<bool>&) override {
        const std::lock_guard lock(mutex);
        ++opens[path];
        const auto it = files.find(path);
        if (it == files.end()) return nullptr;
        mostOpen = std::max(mostOpen, ++heldOpen);
        struct Open : platform::DrawablePicture {
            FakePictures* source;
            std::string path;
            platform::PictureSize size;
            ~Open() override {
                const std::lock_guard lock(source->mutex);
                --source->heldOpen;
            }
            platform::PictureSize NaturalSize() const override { return size; }
            std::shared_ptr<const platform::Bitmap> Render(int, int) override {
                return std::make_shared<FakeBitmap>(path);
            }
        };
        auto open = std::make_unique<Open>();
        open->source = this;
        open->path = path;
        open->size = it->second;
        return open;
    }
};

// A show's engine, or the driver over one, with what its window and
// services would hold after carrying out its actions. Jobs run at once
// unless `manual` is set; then Finish() runs one of those under way. A
// password check is answered with `password` when it is set.
class ShowEngineTest : public ::testing::Test {
  protected:
    ShowSettings settings{
        "C:\\Pics", 5,     true,          100,
        "",         false, "C:\\windows", "C:\\Users\\me\\AppData\\Local\\Orvandel"};
    fakes::FakePlatform fake;
    fakes::FakeRandom& random = fake.random;
    std::optional<ShowEngine> engine;
    // The driver's part: the stored settings and the music it controls.
    saver::Settings stored{"C:\\Pics", 5, 1, 100, "C:\\Music\\list.m3u"};
    fakes::FakeMusic player;
    // The driver's jobs, carried out as the workers would.
    struct RoutedJobs final : ShowJobs {
        ShowEngineTest& test;
        explicit RoutedJobs(ShowEngineTest& t) : test(t) {}
        void Start(const PreparationJob& job) override { test.Apply(StartPreparation{job}); }
        void Start(const WallpaperJob& job) override { test.Apply(StartWallpaper{job}); }
        void Cancel(JobId job) override { test.Apply(CancelJob{job}); }
        std::vector<ShowEvent> TakeFinished() override { return std::exchange(finished, {}); }
        std::vector<ShowEvent> finished;
    } jobs{*this};
    std::optional<ShowDriver> driver;
    // One 1024 x 768 monitor at 96 dots per inch (15360 x 11520 twips).
    Display display{{{{0, 0, 1024, 768}, 96, true}}, {{0, 0, 1024, 768}, 96, true}};
    PixelSize clockText{54, 13}, pausedText{40, 13}; // the texts in the labels' font
    FakePictures pictureFiles;
    std::vector<std::string> pictures;
    std::optional<ScreenPoint> cursor{ScreenPoint{500, 400}};
    bool manual = false, holdWallpaper = false;
    std::optional<bool> password = true;
    std::set<std::string> writableFolders{"C:\\windows\\"};

    PixelRect windowArea;
    std::map<Timer, std::uint32_t> timers; // 0: stopped
    std::map<Label, LabelState> labels;
    std::map<std::size_t, std::string> shown; // per monitor, "" for an empty box
    std::vector<PreparedPicture> lastShown;
    std::vector<PreparationJob> pending;
    std::set<JobId> cancelled;
    std::vector<WallpaperJob> wallpapers;       // started
    std::map<std::string, std::string> written; // bitmap file -> picture
    std::vector<std::string> music, wallpaperSet;
    std::optional<bool> desktopTaken;
    int preparations = 0, shows = 0, passwordChecks = 0, hides = 0, ends = 0;
    ShowActions actions; // of the last event sent
    std::deque<ShowEvent> queue;
    ScreenPoint mouse{0, 10};

    void AddPicture(const std::string& name, double w, double h) {
        pictures.push_back("C:\\Pics\\" + name);
        pictureFiles.files["C:\\Pics\\" + name] = {w, h};
    }
    void Load() {
        engine.emplace(settings, random);
        Send(Start{display, pictures, cursor, {2026, 12, 8, 17, 5, 9}});
    }
    // The driver reads the folder and the time itself.
    void OpenDriver(bool preview = false) {
        driver.emplace(MakeShowSettings(stored, preview, fake.environment, fake.wallpaper),
                       fake.platform, player, jobs);
        driver->SetOwner(4242);
        Send(Start{display, {}, std::nullopt, {}});
    }
    void Tick(Timer timer = Timer::ShowPicture) {
        Send(slideshow::Tick{timer, {2026, 1, 2, 3, 4, 5}});
    }
    void Key(int code, int shift = 0) { Send(KeyDown{code, shift}); }
    // One real move of the mouse to a point of the window.
    void MoveTo(int x, int y) { Send(MouseMoved{{x, y}, {x, y}}); }
    void Move(ScreenPoint over) {
        ++mouse.x;
        Send(MouseMoved{over, mouse});
    }

    // Handles the event and those its actions bring, in order.
    void Send(ShowEvent event) {
        queue.push_back(std::move(event));
        if (queue.size() > 1) return; // handled by the loop below
        actions.clear();
        const auto apply = [this](const ShowAction& a) {
            actions.push_back(a);
            std::visit([this](const auto& action) { Apply(action); }, a);
        };
        for (; !queue.empty(); queue.pop_front())
            if (driver)
                driver->Handle(queue.front(), apply); // in order with the services
            else
                for (const ShowAction& a : engine->Handle(queue.front()))
                    apply(a);
    }
    void Finish(std::size_t which = 0) {
        const PreparationJob job = pending.at(which);
        pending.erase(pending.begin() + static_cast<std::ptrdiff_t>(which));
        const std::atomic<bool> stop{cancelled.count(job.id) > 0};
        Send(PreparationDone{RunPreparation(job, pictureFiles, stop)});
    }
    template <class A> std::size_t IndexOf() const {
        const auto it = std::find_if(actions.begin(), actions.end(), [](const ShowAction& a) {
            return std::holds_alternative<A>(a);
        });
        return static_cast<std::size_t>(it - actions.begin());
    }

    void Apply(const PlaceWindow& a) { windowArea = a.area; }
    void Apply(const MeasureText& a) {
        EXPECT_EQ(a.text, a.label == Label::Clock ? "88:88:88 " : " Paused ");
        Send(TextMeasured{a.label, a.label == Label::Clock ? clockText : pausedText});
    }
    void Apply(const SetTimer& a) { timers[a.timer] = a.milliseconds; }
    void Apply(const StartPreparation& a) {
        ++preparations;
        pending.push_back(a.job);
        if (!manual) Finish(pending.size() - 1);
    }
    void Apply(const CancelJob& a) { cancelled.insert(a.job); }
    void Apply(const ShowPictures& a) {
        ++shows;
        shown.clear();
        for (const auto& p : a.pictures)
            shown[p.monitor] =
                p.bitmap ? static_cast<const FakeBitmap&>(*p.bitmap).path : std::string();
        if (!a.pictures.empty()) lastShown = a.pictures;
    }
    void Apply(const SetLabel& a) { labels[a.label] = a.state; }
    void Apply(const StartWallpaper& a) {
        wallpapers.push_back(a.job);
        if (!holdWallpaper) Send(WallpaperDone{WriteWallpaper(a.job)});
    }
    WallpaperResult WriteWallpaper(const WallpaperJob& job) {
        for (const auto& t : job.targets)
            if (writableFolders.count(t.substr(0, t.rfind('\\') + 1))) {
                written[t] = job.picture;
                return {job.id, t};
            }
        return {job.id, std::nullopt};
    }
    void Apply(const SetWallpaper& a) { wallpaperSet.push_back(a.file); }
    void Apply(const PlayMusic& a) { music.push_back((a.playlist ? "list " : "play ") + a.file); }
    void Apply(const StopMusic&) { music.push_back("stop"); }
    void Apply(const NextTrack&) { music.push_back("next"); }
    void Apply(const TakeOverDesktop& a) { desktopTaken = a.takeOver; }
    void Apply(const CheckPassword&) {
        ++passwordChecks;
        if (password) Send(PasswordChecked{*password});
    }
    void Apply(const Hide&) {
        ++hides;
        fake.session.calls.push_back("hidden");
    }
    void Apply(const End&) { ++ends; }
};

TEST_F(ShowEngineTest, TheStartSetsTimersLabelsAndTheDesktop) {
    AddPicture("a.jpg", 200, 100);
    Load();
    EXPECT_EQ(timers,
              (std::map<Timer, std::uint32_t>{{Timer::ShowPicture, 100}, {Timer::Clock, 1000}}));
    EXPECT_EQ(random.seeds, 1);
    EXPECT_EQ(desktopTaken, true);
    const LabelState &message = labels[Label::NoPictures], &clock = labels[Label::Clock];
    EXPECT_FALSE(message.visible);
    EXPECT_EQ(message.rect, (PixelRect{0, 0, 1024, 768}));
    EXPECT_EQ(message.font, (LabelFont{24, true, 96}));
    EXPECT_EQ(clock.text, "17:05:09 ");
    EXPECT_EQ(clock.font, (LabelFont{9.75f, false, 96}));
    // 850 and 250 twips from the right and bottom, 855 x 255: 57 x 17 pixels.
    EXPECT_EQ(clock.rect, (PixelRect{967, 751, 57, 17}));
    // The music starts once the first picture is on the screen, and once.
    EXPECT_TRUE(music.empty());
    Tick();
    EXPECT_LT(IndexOf<ShowPictures>(), IndexOf<PlayMusic>());
    Tick();
    EXPECT_EQ(music, std::vector<std::string>{"play "});
    EXPECT_EQ(labels[Label::Clock].text, "17:05:09 ");
    Tick(Timer::Clock);
    EXPECT_EQ(labels[Label::Clock].text, "03:04:05 ");
}

TEST_F(ShowEngineTest, AnEmptyFolderShowsTheTwoLineMessageAndNoClockWhenOff) {
    settings.showClock = false;
    settings.musicFile = "C:\\Music\\list.m3u";
    Load();
    EXPECT_EQ(labels[Label::NoPictures].text, "No Pictures in : \rC:\\Pics");
    EXPECT_TRUE(labels[Label::NoPictures].visible);
    EXPECT_FALSE(labels[Label::Clock].visible);
    EXPECT_EQ(timers[Timer::Clock], 0u) << "the clock's timer stands still";
    // Ticks change nothing while the timer keeps running; the music starts.
    Tick();
    Tick(Timer::Clock);
    EXPECT_EQ(preparations, 0);
    EXPECT_EQ(timers[Timer::ShowPicture], 5000u);
    EXPECT_EQ(music, std::vector<std::string>{"list C:\\Music\\list.m3u"});
    EXPECT_EQ(labels[Label::Clock].text, "");
}

TEST_F(ShowEngineTest, APreviewLaysOutSmallLeavesTheDesktopAndNeverClosesOnInput) {
    AddPicture("wide.jpg", 2000, 1000);
    settings.preview = true;
    settings.musicFile = "C:\\Music\\tune.mp3";
    Load();
    EXPECT_EQ(labels[Label::NoPictures].font, (LabelFont{8, true, 96}));
    EXPECT_EQ(labels[Label::NoPictures].rect.width, 160); // 2400 twips
    Tick();
    EXPECT_FLOAT_EQ(lastShown.at(0).box.twips.width, 2270);
    EXPECT_FLOAT_EQ(lastShown.at(0).box.twips.top, 283.75f);
    EXPECT_EQ(lastShown.at(0).box.pixels, (PixelRect{0, 19, 151, 76}));
    for (int i = 0; i < 30; ++i) {
        Move({1, 1});
        Move({10, 30});
        Send(Typed{'A'});
        Key(kKeyProcessedByInputMethod);
        Send(Deactivated{false});
    }
    EXPECT_EQ(passwordChecks + hides + ends, 0);
    Send(CloseAsked{});
    EXPECT_EQ(passwordChecks, 0) << "the preview closes without the password";
    EXPECT_EQ(ends, 1);
    EXPECT_FALSE(desktopTaken.has_value());
    EXPECT_TRUE(music.empty());
}

TEST_F(ShowEngineTest, APreviewEndsWhenItsHostOrItsOwnWindowIsGone) {
    settings.preview = true;
    Load();
    Send(HostChecked{true, true});
    EXPECT_EQ(hides + ends, 0);
    Send(HostChecked{false, true});
    EXPECT_EQ(hides, 1);
    EXPECT_EQ(ends, 1);
    Send(HostChecked{false, false});
    EXPECT_EQ(ends, 1) << "once";
    Load();
    Send(HostChecked{true, false});
    EXPECT_EQ(ends, 2);
}

TEST_F(ShowEngineTest, TheTimerShowsARandomPictureAndReloadsTheDisplayTime) {
    AddPicture("a.jpg", 300, 400);
    AddPicture("b.jpg", 2000, 1000);
    AddPicture("c.jpg", 100, 100);
    random.draws = {0.0, 0.99, 0.5};
    Load();
    Tick();
    EXPECT_EQ(shown[0], "C:\\Pics\\a.jpg");
    EXPECT_EQ(timers[Timer::ShowPicture], 5000u);
    EXPECT_FLOAT_EQ(lastShown.at(0).box.twips.left, 3360);
    EXPECT_EQ(lastShown.at(0).box.pixels, (PixelRect{224, 0, 576, 768}));
    Tick();
    // The picture prepared ahead goes on the screen at once; the next is
    // prepared while it shows.
    EXPECT_EQ(shown[0], "C:\\Pics\\c.jpg");
    EXPECT_EQ(preparations, 3);
    Tick();
    EXPECT_EQ(shown[0], "C:\\Pics\\b.jpg");
    for (const auto& [seconds, ms] : std::vector<std::pair<int, std::uint32_t>>{
             {70, 70000u}, {32767, 32767000u}, {0, 0u}, {-3, 0u}, {1, 1000u}}) {
        settings.displayTime = seconds;
        Load();
        Tick();
        EXPECT_EQ(timers[Timer::ShowPicture], ms) << seconds;
    }
}

TEST_F(ShowEngineTest, APictureThatFailedLeavesAnEmptyBoxAndIsNotReadAgain) {
    pictures = {"C:\\Pics\\broken.jpg"}; // listed, but it cannot be read
    AddPicture("a.jpg", 400, 300);
    random.draws = {0.0, 0.0, 0.9, 0.0, 0.0};
    Load();
    Tick();
    EXPECT_EQ(shown[0], "");
    EXPECT_EQ(lastShown.at(0).bitmap, nullptr);
    // The box keeps the size it had: the whole screen.
    EXPECT_EQ(lastShown.at(0).box.pixels, (PixelRect{0, 0, 1024, 768}));
    Key(kKeyW, kCtrlMask | kShiftMask);
    EXPECT_TRUE(wallpapers.empty()) << "nothing on show makes no wallpaper";
    for (int i = 0; i < 3; ++i)
        Tick();
    EXPECT_EQ(pictureFiles.opens["C:\\Pics\\broken.jpg"], 1);
    EXPECT_EQ(shown[0], "") << "its turn shows an empty box, as a failed picture's does";
    EXPECT_EQ(lastShown.at(0).box.pixels, (PixelRect{0, 0, 1024, 768}));
    EXPECT_EQ(passwordChecks, 0);
}

// The picture of a 3:4 photo covers x 224 to 799; the clock sits at 967, 751.
TEST_F(ShowEngineTest, TheMouseRuleCountsEachSurfaceApartAndTheClockNotAtAll) {
    AddPicture("a.jpg", 300, 400);
    password = false;
    Load();
    Tick();
    const ScreenPoint picture{300, 300}, background{100, 300}, clock{1000, 760};
    for (int i = 0; i < 10; ++i) {
        Move(picture);
        Move(background);
    }
    for (int i = 0; i < 30; ++i)
        Move(clock);
    EXPECT_EQ(passwordChecks, 0);
    Move(picture);
    EXPECT_EQ(passwordChecks, 1);
    // The surface that asked starts again from 0; the others keep theirs.
    for (int i = 0; i < 10; ++i)
        Move(picture);
    EXPECT_EQ(passwordChecks, 1);
    Move(background);
    EXPECT_EQ(passwordChecks, 2);
    // Reports where the mouse already rests count nothing.
    for (int i = 0; i < 20; ++i)
        Send(MouseMoved{picture, mouse});
    EXPECT_EQ(passwordChecks, 2);
    // Without pictures the message covers the screen: a surface of its own.
    pictures.clear();
    Load();
    for (int i = 0; i < 11; ++i)
        Move(picture);
    EXPECT_EQ(passwordChecks, 3);
}

TEST_F(ShowEngineTest, ARefusedPasswordKeepsTheShowAndAnAcceptedOneClosesIt) {
    AddPicture("a.jpg", 300, 400);
    password.reset(); // the prompt stays up
    Load();
    Tick();
    Send(Typed{'a'});
    for (int i = 0; i < 11; ++i)
        Move({300, 300});
    Send(Typed{'b'});
    Send(Deactivated{false});
    EXPECT_EQ(passwordChecks, 1) << "one prompt at a time";
    Tick();
    EXPECT_EQ(shows, 2) << "the show goes on behind the prompt";
    Send(PasswordChecked{false});
    EXPECT_EQ(hides + ends, 0);
    Send(Typed{'c'});
    EXPECT_EQ(passwordChecks, 2);
    Send(PasswordChecked{true});
    EXPECT_EQ(hides, 1);
    EXPECT_EQ(ends, 1);
    Send(PasswordChecked{true});
    EXPECT_EQ(ends, 1) << "an answer nobody waits for changes nothing";
}

TEST_F(ShowEngineTest, WhichKeysCloseAFullScreenShowAndAltNAloneAsksForTheNextTrack) {
    password = false;
    Load();
    int checks = 0;
    for (int code : {65, 49, 32, 13, 27, 119, 87}) {
        Send(Typed{code});
        EXPECT_EQ(passwordChecks, ++checks) << code;
    }
    // A key an input method takes for its composition counts as typed.
    Key(kKeyProcessedByInputMethod);
    EXPECT_EQ(passwordChecks, ++checks);
    Send(Typed{23}); // Ctrl+W
    // Other keys close nothing; N with Alt alone asks for the next track.
    const std::pair<int, int> others[] = {
        {34, 0},   {37, 0}, {38, 0}, {112, 0},          {16, 1},
        {17, 2},   {87, 2}, {18, 4}, {kKeyN, kAltMask}, {kKeyN, kAltMask | kShiftMask},
        {kKeyN, 0}};
    for (auto [key, shift] : others)
        Key(key, shift);
    EXPECT_EQ(passwordChecks, checks);
    EXPECT_EQ(music, std::vector<std::string>{"next"});
    // Losing the foreground to another program closes the show; to a
    // window of ours (or another show of ours) it does not.
    Send(Deactivated{true});
    EXPECT_EQ(passwordChecks, checks);
    Send(Deactivated{false});
    EXPECT_EQ(passwordChecks, ++checks);
}

TEST_F(ShowEngineTest, PageDownShowsTheNextPictureAndRestartsTheTimer) {
    AddPicture("a.jpg", 300, 400);
    AddPicture("b.jpg", 2000, 1000);
    random.draws = {0.0, 0.7, 0.2, 0.9};
    Load();
    Tick();
    for (int shift : {0, 1, 2}) {
        const int before = shows;
        timers[Timer::ShowPicture] = 0;
        Key(kKeyPageDown, shift);
        EXPECT_EQ(shows, before + 1) << shift;
        EXPECT_LT(IndexOf<ShowPictures>(), IndexOf<SetTimer>()) << "the countdown starts after";
        EXPECT_EQ(timers[Timer::ShowPicture], 5000u) << shift;
    }
    settings.displayTime = 0;
    Load();
    Tick();
    Key(kKeyPageDown);
    EXPECT_EQ(timers[Timer::ShowPicture], 0u) << "a still show stays still";
    EXPECT_EQ(passwordChecks, 0);
}

TEST_F(ShowEngineTest, CtrlShiftWMakesTheWallpaperOfThePrimaryMonitorsPicture) {
    AddPicture("a.jpg", 300, 400);
    Load();
    Key(kKeyW, kCtrlMask | kShiftMask); // before the first picture
    EXPECT_TRUE(wallpapers.empty());
    Tick();
    for (const std::string folder : {"C:\\windows", "C:\\windows\\"}) {
        settings.windowsFolder = folder;
        Load();
        Tick();
        wallpaperSet.clear();
        Key(kKeyW, kCtrlMask | kShiftMask);
        EXPECT_EQ(written["C:\\windows\\Orvandel.bmp"], "C:\\Pics\\a.jpg") << folder;
        EXPECT_EQ(wallpaperSet, std::vector<std::string>{"C:\\windows\\Orvandel.bmp"}) << folder;
    }
    // Other shift states leave the wallpaper alone.
    for (int shift : {1, 2, 7, 0})
        Key(kKeyW, shift);
    EXPECT_EQ(wallpaperSet.size(), 1u);
    // The Windows folder closed: the user's own folder; neither: no setting.
    writableFolders = {"C:\\Users\\me\\AppData\\Local\\Orvandel\\"};
    Key(kKeyW, kCtrlMask | kShiftMask);
    EXPECT_EQ(wallpaperSet.back(), "C:\\Users\\me\\AppData\\Local\\Orvandel\\Orvandel.bmp");
    writableFolders.clear();
    wallpaperSet.clear();
    Key(kKeyW, kCtrlMask | kShiftMask);
    EXPECT_TRUE(wallpaperSet.empty());
    EXPECT_EQ(passwordChecks, 0);
}

TEST_F(ShowEngineTest, AWallpaperResultCountsOnlyForTheJobUnderWay) {
    AddPicture("a.jpg", 300, 400);
    holdWallpaper = true;
    Load();
    Tick();
    Key(kKeyW, 3);
    Key(kKeyW, 3); // while the first is written
    ASSERT_EQ(wallpapers.size(), 1u);
    const WallpaperResult result = WriteWallpaper(wallpapers[0]);
    Send(WallpaperDone{{result.id + 1, "C:\\other.bmp"}});
    EXPECT_TRUE(wallpaperSet.empty());
    Send(WallpaperDone{result});
    Send(WallpaperDone{result}); // delivered twice
    EXPECT_EQ(wallpaperSet, std::vector<std::string>{"C:\\windows\\Orvandel.bmp"});
}

TEST_F(ShowEngineTest, TheCloseGivesTheScreenBackAtOnceAndEndsOnceTheWallpaperIsSet) {
    AddPicture("a.jpg", 300, 400);
    settings.musicFile = "C:\\Music\\list.m3u";
    holdWallpaper = true;
    Load();
    Tick();
    Key(kKeyW, 3);
    Send(Typed{'x'});
    // The music told to stop, then hidden, then the timers, the pictures and
    // the desktop.
    EXPECT_EQ(IndexOf<StopMusic>() + 1, IndexOf<Hide>());
    EXPECT_LT(IndexOf<Hide>(), IndexOf<SetTimer>());
    EXPECT_LT(IndexOf<Hide>(), IndexOf<TakeOverDesktop>());
    EXPECT_EQ(timers[Timer::ShowPicture] + timers[Timer::Clock], 0u);
    EXPECT_TRUE(shown.empty()) << "the pictures are released";
    EXPECT_EQ(music.back(), "stop");
    EXPECT_EQ(desktopTaken, false);
    EXPECT_EQ(ends, 0) << "the wallpaper under way is waited for";
    EXPECT_EQ(timers[Timer::WallpaperWait], kWallpaperWaitMs);
    // Nothing but the wallpaper counts any more.
    Tick();
    Key(kKeyPageDown);
    Send(CloseAsked{});
    EXPECT_EQ(shows, 2);
    EXPECT_EQ(passwordChecks, 1);
    Send(WallpaperDone{WriteWallpaper(wallpapers[0])});
    EXPECT_EQ(wallpaperSet, std::vector<std::string>{"C:\\windows\\Orvandel.bmp"});
    EXPECT_EQ(ends, 1);
    EXPECT_GT(IndexOf<End>(), IndexOf<SetWallpaper>());

    // A wallpaper that takes too long is given up, and so is one under way
    // when the session ends.
    for (const ShowEvent& cut : {ShowEvent{Typed{'x'}}, ShowEvent{SessionEnding{}}}) {
        const int before = ends;
        Load();
        Tick();
        cancelled.clear();
        Key(kKeyW, 3);
        Send(cut);
        if (std::holds_alternative<Typed>(cut)) {
            EXPECT_EQ(ends, before);
            Tick(Timer::WallpaperWait);
        }
        EXPECT_EQ(cancelled, std::set<JobId>{wallpapers.back().id});
        EXPECT_EQ(ends, before + 1);
    }
}

TEST_F(ShowEngineTest, TheSessionsEndOrTheWindowsDestructionEndWithoutThePassword) {
    password = false;
    for (const ShowEvent& end : {ShowEvent{SessionEnding{}}, ShowEvent{Destroyed{}}}) {
        Load();
        desktopTaken.reset();
        Send(end);
        EXPECT_EQ(passwordChecks, 0);
        EXPECT_EQ(desktopTaken, false);
        EXPECT_EQ(music.back(), "stop");
    }
    EXPECT_EQ(ends, 2);
    Send(Destroyed{});
    EXPECT_EQ(ends, 2) << "an ended show stays ended";
}

TEST_F(ShowEngineTest, RequestsDuringAPreparationMakeOneMoreChangeNeverAQueue) {
    AddPicture("a.jpg", 300, 400);
    AddPicture("b.jpg", 400, 300);
    manual = true;
    Load();
    Tick();
    for (int i = 0; i < 500; ++i)
        Key(kKeyPageDown);
    Tick();
    EXPECT_EQ(preparations, 1);
    Finish();
    EXPECT_EQ(preparations, 2) << "the next change, prepared ahead";
    Finish();
    EXPECT_EQ(preparations, 2) << "nothing more while one is ready";
    EXPECT_EQ(shows, 1);
    // A storm of Page Downs: the ready change at once, then one more as soon
    // as it is prepared.
    for (int i = 0; i < 500; ++i)
        Key(kKeyPageDown);
    EXPECT_EQ(shows, 2);
    Finish();
    EXPECT_EQ(shows, 3);
    Finish();
    EXPECT_EQ(shows, 3);
    EXPECT_EQ(preparations, 4);
    // A display change abandons the preparation under way: it is cancelled
    // and its result never shows; the change for the new layout follows.
    Key(kKeyPageDown);
    const JobId abandoned = pending.at(0).id;
    const int before = shows;
    Send(DisplayChanged{display});
    EXPECT_EQ(cancelled, std::set<JobId>{abandoned});
    Finish();
    EXPECT_EQ(shows, before) << "the abandoned result";
    EXPECT_EQ(preparations, 6);
    Finish();
    EXPECT_EQ(shows, before + 1);
    // Closing while a picture is prepared abandons it too.
    Finish();
    Key(kKeyPageDown);
    Send(CloseAsked{});
    EXPECT_TRUE(cancelled.count(pending.at(0).id));
    const int closed = shows;
    Finish();
    EXPECT_EQ(shows, closed);
}

// Display changes, ticks, Page Down and finished jobs in any order and
// number: one preparation at a time, no result of an abandoned job on the
// screen, and once the jobs are done every monitor shows a picture fitted
// to the monitors as they are.
TEST_F(ShowEngineTest, BurstsOfDisplayChangesAlwaysEndWithEveryMonitorShowingAPicture) {
    AddPicture("a.jpg", 300, 400);
    AddPicture("b.jpg", 400, 300);
    manual = true;
    const std::vector<Display> desks{
        {{{{0, 0, 1024, 768}, 96, true}}, {}},
        {{{{0, 0, 800, 600}, 144, true}, {{800, 0, 1280, 1024}, 96, false}}, {}}};
    Load();
    for (unsigned seed = 1; seed <= 20; ++seed) {
        SCOPED_TRACE(seed);
        std::mt19937 draw(seed);
        for (int step = 0; step < 300; ++step) {
            switch (draw() % 4) {
            case 0:
                display = desks[draw() % desks.size()];
                Send(DisplayChanged{display});
                break;
            case 1:
                Key(kKeyPageDown);
                break;
            case 2: // a result of an earlier job, delivered again
                if (!pending.empty()) Send(PreparationDone{{pending[0].id - 1, {}}});
                break;
            default:
                if (!pending.empty()) {
                    const JobId id = pending[0].id;
                    const bool abandoned = cancelled.count(id) > 0;
                    const int before = shows;
                    Finish(draw() % pending.size());
                    if (abandoned) {
                        ASSERT_EQ(shows, before) << "an abandoned job's pictures";
                    }
                }
            }
            ASSERT_LE(pending.size(), 1u);
            ASSERT_LE(FakeBitmap::live, 4) << "one on show and one ready for each of two monitors";
        }
        while (!pending.empty())
            Finish();
        ASSERT_EQ(lastShown.size(), display.monitors.size());
        for (std::size_t m = 0; m < display.monitors.size(); ++m) {
            EXPECT_FALSE(shown[m].empty()) << m;
            const PixelRect &box = lastShown[m].box.pixels, &area = display.monitors[m].bounds;
            EXPECT_TRUE(box.x >= area.x && box.x + box.width <= area.x + area.width &&
                        (box.width == area.width || box.height == area.height))
                << m;
        }
    }
}

TEST(RunPreparation, OnePictureOpenAThreadAndOneDrawingForEachSize) {
    FakePictures source;
    source.files = {{"a", {400, 300}}, {"b", {300, 400}}};
    const platform::MonitorArea small{{0, 0, 800, 600}, 96, true}, big{{800, 0, 1600, 1200}};
    const PreparationJob job{
        7,
        100,
        false,
        {{0, "a", small, {}}, {1, "b", small, {}}, {2, "a", big, {}}, {3, "a", small, {}}}};
    for (unsigned threads : {1u, 2u}) {
        source.opens.clear();
        source.mostOpen = 0;
        const auto result = RunPreparation(job, source, std::atomic<bool>{}, threads);
        EXPECT_EQ(result.id, 7u);
        ASSERT_EQ(result.pictures.size(), 4u);
        for (std::size_t m = 0; m < 4; ++m)
            EXPECT_EQ(result.pictures[m].monitor, m) << "in the monitors' order";
        EXPECT_EQ(source.opens, (std::map<std::string, int>{{"a", 1}, {"b", 1}}));
        EXPECT_LE(source.mostOpen, static_cast<int>(threads));
        EXPECT_EQ(result.pictures[0].bitmap, result.pictures[3].bitmap) << "drawn once a size";
        EXPECT_NE(result.pictures[0].bitmap, result.pictures[2].bitmap);
    }
    EXPECT_TRUE(RunPreparation(job, source, std::atomic<bool>{true}).pictures.empty());
}

// Each job on a thread of its own, entered as the system asks, its result
// back as the engine's event; a wallpaper's files stop at its deadline or
// when it is cancelled.
TEST(ShowWorkers, RunEachJobOnItsThreadAndGiveTheResultsBackAsEvents) {
    struct System final : JobSystem {
        FakePictures pictures;
        std::atomic<int> entered{0};
        std::promise<StopSignal> stop;
        std::shared_ptr<void> EnterJobThread() override { return std::make_shared<int>(++entered); }
        platform::PictureSource& Pictures() override { return pictures; }
        std::unique_ptr<WallpaperFiles> WallpaperFilesFor(StopSignal s) override {
            stop.set_value(s);
            return nullptr;
        }
    } system;
    system.pictures.files = {{"a", {400, 300}}};
    std::future<StopSignal> wallpaperStop = system.stop.get_future();
    ShowWorkers workers(system);
    std::atomic<int> notified{0};
    workers.SetNotifier([&] { ++notified; });
    const auto begun = std::chrono::steady_clock::now();
    workers.Start(PreparationJob{3, 100, false, {{0, "a", {{0, 0, 800, 600}, 96, true}, {}}}});
    workers.Start(WallpaperJob{4, "a", {"C:\\w.bmp"}});
    workers.Cancel(4);
    const StopSignal stop = wallpaperStop.get();
    EXPECT_TRUE(stop.Stopped()) << "cancelled";
    EXPECT_GE(stop.deadline - begun, kWallpaperDeadline);
    for (int i = 0; i < 1000 && notified < 2; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    const std::vector<ShowEvent> done = workers.TakeFinished();
    EXPECT_TRUE(workers.Stop(std::chrono::steady_clock::now()));
    ASSERT_EQ(done.size(), 2u);
    const auto& prepared = std::get<PreparationDone>(done[0]).result;
    EXPECT_EQ(prepared.id, 3u);
    ASSERT_EQ(prepared.pictures.size(), 1u);
    EXPECT_EQ(static_cast<const FakeBitmap&>(*prepared.pictures[0].bitmap).path, "a");
    EXPECT_EQ(std::get<WallpaperDone>(done[1]).result.id, 4u);
    EXPECT_EQ(system.entered, 2);
    EXPECT_EQ(notified, 2);
}

// Monitors as the system reports them, in screen pixels that start at 0, 0
// (so they are the window's client pixels too), the primary first.
TEST_F(ShowEngineTest, EachMonitorShowsAPictureFittedToItselfAndThePrimaryHasTheLabels) {
    AddPicture("wide.jpg", 2000, 1000);
    AddPicture("tall.jpg", 1000, 2000);
    random.draws = {0.0, 0.9, 0.0, 0.9};
    const std::vector<platform::MonitorArea> desks[] = {
        {{{0, 0, 1024, 768}, 96, true}},
        {{{0, 0, 1920, 1080}, 96, true}, {{1920, 0, 1920, 1080}, 96, false}},
        // A smaller monitor left of the primary: at negative screen
        // coordinates, so the primary starts further right in the window.
        {{{1280, 0, 1920, 1080}, 96, true}, {{0, 56, 1280, 1024}, 96, false}},
        // Three of mixed sizes and scales.
        {{{1600, 0, 2560, 1440}, 144, true},
         {{0, 300, 1600, 900}, 96, false},
         {{4160, 0, 1080, 1920}, 192, false}}};
    for (const auto& monitors : desks) {
        SCOPED_TRACE(::testing::Message() << monitors.size() << " at " << monitors[0].bounds.x);
        display.monitors = monitors;
        random.next = 0;
        lastShown.clear();
        written.clear();
        Load();
        const PixelRect& primary = monitors[0].bounds;
        EXPECT_EQ(labels[Label::NoPictures].rect, primary);
        const PixelRect clock = labels[Label::Clock].rect;
        EXPECT_EQ(clock.x + clock.width, primary.x + primary.width)
            << "at the primary's right edge";
        EXPECT_LE(clock.y + clock.height, primary.y + primary.height);
        EXPECT_GE(clock.y + clock.height, primary.y + primary.height - 1);

        Tick();
        ASSERT_EQ(lastShown.size(), monitors.size());
        EXPECT_EQ(random.next, 2 * monitors.size())
            << "one draw a monitor, for the change on show and the one prepared ahead";
        for (std::size_t m = 0; m < monitors.size(); ++m) {
            SCOPED_TRACE(m);
            const PixelRect& area = monitors[m].bounds;
            const PixelRect& box = lastShown[m].box.pixels;
            EXPECT_EQ(lastShown[m].monitor, m);
            EXPECT_EQ(shown[m], m % 2 == 0 ? "C:\\Pics\\wide.jpg" : "C:\\Pics\\tall.jpg");
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
        Key(kKeyW, kCtrlMask | kShiftMask);
        EXPECT_EQ(written["C:\\windows\\Orvandel.bmp"], "C:\\Pics\\wide.jpg");
    }
}

TEST_F(ShowEngineTest, AFullScreenShowCoversEveryMonitorAgainAfterEachChange) {
    display.monitors = {{{0, 0, 1920, 1080}, 96, true}};
    Load();
    EXPECT_EQ(windowArea, (PixelRect{0, 0, 1920, 1080}));
    // A monitor left of the primary, at negative screen coordinates: the
    // window grows to it and the primary's labels move right within it.
    display.monitors.push_back({{-1280, 56, 1280, 1024}, 96, false});
    Send(DisplayChanged{display});
    EXPECT_EQ(windowArea, (PixelRect{-1280, 0, 3200, 1080}));
    EXPECT_EQ(labels[Label::NoPictures].rect, (PixelRect{1280, 0, 1920, 1080}));
    // A system that reports no monitor: the primary screen as its metrics say.
    display.monitors.clear();
    Send(DisplayChanged{display});
    EXPECT_EQ(windowArea, display.primaryScreen.bounds);
    settings.preview = true;
    windowArea = {};
    Load();
    EXPECT_EQ(windowArea, PixelRect{}) << "the preview's place is its host's";
}

TEST_F(ShowEngineTest, PageUpBringsBackTheChangesAsTheyWereUpToTwentyBack) {
    for (int i = 0; i < 30; ++i)
        AddPicture("p" + std::to_string(i) + ".jpg", 400, 300);
    for (int i = 0; i < 30; ++i)
        random.draws.push_back(i / 30.0 + 0.001); // p0, p1, p2, ... in turn
    Load();
    Tick(); // p0 on show, p1 ready
    Key(kKeyPageUp);
    EXPECT_EQ(shown[0], "C:\\Pics\\p0.jpg") << "nothing before the first change";
    for (int i = 0; i < 24; ++i)
        Key(kKeyPageDown); // p24 on show, p25 ready
    std::vector<std::string> back;
    for (int i = 0; i < 22; ++i) {
        timers[Timer::ShowPicture] = 0;
        Key(kKeyPageUp);
        back.push_back(shown[0]);
        EXPECT_EQ(timers[Timer::ShowPicture], 5000u) << "the countdown starts afresh";
    }
    EXPECT_EQ(back.front(), "C:\\Pics\\p23.jpg");
    EXPECT_EQ(back[19], "C:\\Pics\\p4.jpg") << "twenty back";
    EXPECT_EQ(back.back(), "C:\\Pics\\p4.jpg") << "and no further";
    // Page Down keeps its meaning: the new change prepared ahead, at once.
    Key(kKeyPageDown);
    EXPECT_EQ(shown[0], "C:\\Pics\\p25.jpg");
    Key(kKeyPageUp);
    EXPECT_EQ(shown[0], "C:\\Pics\\p24.jpg");

    // A burst of Page Ups while pictures are prepared: only the last one
    // asked for is shown, once what runs has stopped.
    manual = true;
    Load();
    Tick();
    Finish(); // p... on show
    Finish(); // the next ready
    for (int i = 0; i < 3; ++i)
        Key(kKeyPageDown), Finish();
    const int before = shows;
    Key(kKeyPageUp);
    Key(kKeyPageUp);
    Key(kKeyPageUp);
    EXPECT_EQ(pending.size(), 1u);
    while (!pending.empty())
        Finish();
    EXPECT_EQ(shows, before + 1);
    EXPECT_EQ(lastShown.size(), 1u);
}

TEST_F(ShowEngineTest, PauseHoldsTheTimerWithASignUntilPressedAgain) {
    AddPicture("a.jpg", 400, 300);
    AddPicture("b.jpg", 300, 400);
    password = false;
    Load();
    Tick();
    Key(kKeyPause);
    EXPECT_EQ(timers[Timer::ShowPicture], 0u);
    EXPECT_TRUE(labels[Label::Paused].visible);
    EXPECT_EQ(labels[Label::Paused].rect, (PixelRect{0, 751, 41, 17})) << "lower left, primary";
    const int before = shows;
    Tick(); // a tick already on its way
    EXPECT_EQ(shows, before);
    Key(kKeyPageDown);
    Key(kKeyPageUp);
    EXPECT_EQ(shows, before + 2);
    EXPECT_EQ(timers[Timer::ShowPicture], 0u) << "still paused";
    Send(Typed{'q'});
    EXPECT_EQ(passwordChecks, 1) << "a typed key still ends a paused show";
    Key(kKeyPause);
    EXPECT_EQ(timers[Timer::ShowPicture], 5000u);
    EXPECT_FALSE(labels[Label::Paused].visible);
    EXPECT_TRUE(music.size() == 1 && music[0] == "play ") << "the music plays on";
}

TEST_F(ShowEngineTest, EveryMonitorShowsAPictureOfItsOwnWhenTheFolderHasEnough) {
    display.monitors = {{{0, 0, 800, 600}, 96, true}, {{800, 0, 800, 600}, 96, false}};
    AddPicture("a.jpg", 400, 300);
    AddPicture("b.jpg", 300, 400);
    random.draws = {0.1}; // a generator stuck on one value
    Load();
    for (int i = 0; i < 10; ++i) {
        Tick();
        EXPECT_NE(shown[0], shown[1]) << i;
    }
    // With fewer pictures than monitors, repeats are allowed.
    pictures.pop_back();
    Load();
    Tick();
    EXPECT_EQ(shown[0], shown[1]);
}

TEST_F(ShowEngineTest, NothingIsPreparedWhileTheDisplaysAreOff) {
    AddPicture("a.jpg", 400, 300);
    AddPicture("b.jpg", 300, 400);
    manual = true;
    Load();
    Tick();
    Finish();
    Key(kKeyPageDown); // the next under way
    const JobId running = pending.at(0).id;
    Send(DisplayPower{false});
    EXPECT_EQ(cancelled, std::set<JobId>{running});
    EXPECT_EQ(timers[Timer::ShowPicture], 0u);
    Finish();
    const int jobs = preparations, before = shows;
    Tick();
    Key(kKeyPageDown);
    EXPECT_EQ(preparations, jobs);
    EXPECT_EQ(shows, before);
    Send(DisplayPower{true});
    EXPECT_EQ(timers[Timer::ShowPicture], 5000u);
    ASSERT_EQ(pending.size(), 1u) << "a new change at once";
    Finish();
    EXPECT_EQ(shows, before + 1);
}

TEST_F(ShowEngineTest, AMonitorAddedWhileTheShowRunsGetsItsPicture) {
    AddPicture("only.jpg", 640, 480);
    Load();
    Tick();
    display.monitors.push_back({{1024, 0, 1280, 1024}, 96, false});
    Send(DisplayChanged{display});
    EXPECT_LT(IndexOf<SetLabel>(), actions.size()) << "laid out anew";
    EXPECT_EQ(shown[0], "C:\\Pics\\only.jpg");
    EXPECT_EQ(shown[1], "C:\\Pics\\only.jpg");
    EXPECT_EQ(pending.size() + preparations, 4u) << "the change for both, and the next";
    EXPECT_EQ(passwordChecks, 0);
}

TEST_F(ShowEngineTest, TheClockBoxGrowsWithItsTextAndStaysOnTheMonitor) {
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
        display = {{{{0, 0, 1024, 768}, c.dpi, true}}, {}};
        clockText = c.text;
        Load();
        EXPECT_EQ(labels[Label::Clock].rect, c.box);
    }
}

TEST(SlideshowHelpers, ClockWallpaperAndInterval) {
    EXPECT_EQ(ClockText({2026, 1, 2, 0, 0, 0}), "00:00:00 ");
    EXPECT_EQ(ClockText({2026, 1, 2, 23, 59, 7}), "23:59:07 ");
    EXPECT_EQ(WallpaperFileIn("C:\\WINDOWS"), "C:\\WINDOWS\\Orvandel.bmp");
    EXPECT_EQ(WallpaperFileIn("C:\\WINDOWS\\"), "C:\\WINDOWS\\Orvandel.bmp");
    EXPECT_EQ(ShiftState(true, false, true), kShiftMask | kAltMask);
}

// The driver: the services' actions carried out on the fakes, the rest the
// window's.
TEST_F(ShowEngineTest, TheDriverReadsTheFolderAndTheClockAndTakesOverTheDesktop) {
    fake.files.AddFile("C:\\Pics\\a.jpg");
    fake.files.AddFile("C:\\Pics\\notes.txt");
    manual = true;
    OpenDriver();
    EXPECT_EQ(fake.session.calls,
              (std::vector<std::string>{"SetScreenSaverRunning(true)", "ShowCursor(false)"}));
    EXPECT_EQ(labels[Label::Clock].text, "17:05:09 ");
    EXPECT_FALSE(desktopTaken.has_value()) << "the services' actions stay with the driver";
    Tick(); // prepares the one picture of the folder
    EXPECT_EQ(pending.at(0).monitors.at(0).path, "C:\\Pics\\a.jpg");
    EXPECT_EQ(IndexOf<StartPreparation>(), actions.size()) << "the jobs are the driver's";
    // Its result comes back through the driver and is shown.
    pictureFiles.files["C:\\Pics\\a.jpg"] = {800, 600};
    jobs.finished.emplace_back(
        PreparationDone{RunPreparation(pending.at(0), pictureFiles, std::atomic<bool>{})});
    driver->TakeFinishedJobs([this](const ShowAction& a) {
        std::visit([this](const auto& action) { Apply(action); }, a);
    });
    EXPECT_EQ(shown[0], "C:\\Pics\\a.jpg");
}

TEST_F(ShowEngineTest, TheDriverAsksThePasswordOfTheSessionAndItsAnswerDecides) {
    fake.session.SetPasswordSwitch(platform::RegistryType::Text, std::string("1\0", 2));
    fake.session.passwordAnswers = {0, 1};
    OpenDriver();
    fake.session.calls.clear();
    Send(Typed{'a'});
    EXPECT_EQ(hides, 0) << "refused: the show goes on";
    EXPECT_EQ(fake.session.calls,
              (std::vector<std::string>{"ShowCursor(true)", "VerifyPassword(4242)",
                                        "ShowCursor(false)"}));
    Send(Typed{'b'});
    EXPECT_EQ(hides, 1);
    EXPECT_EQ(ends, 1);
    EXPECT_EQ(passwordChecks, 0);
    EXPECT_EQ(
        std::vector(fake.session.calls.end() - 3, fake.session.calls.end()),
        (std::vector<std::string>{"hidden", "SetScreenSaverRunning(false)", "ShowCursor(true)"}))
        << "the show leaves the screen before the desktop is given back";
}

TEST_F(ShowEngineTest, TheDriverHandsTheMusicAndTheWallpaperToTheirServices) {
    player.playlists["C:\\Music\\list.m3u"] = {"C:\\Music\\one.mp3", "C:\\Music\\two.mp3"};
    OpenDriver();
    Tick(); // no picture yet: the music starts at once
    Key(kKeyN, kAltMask);
    Send(WallpaperDone{{1, "C:\\windows\\Orvandel.bmp"}}); // not asked for: dropped
    Send(CloseAsked{});
    EXPECT_EQ(player.calls,
              (std::vector<std::string>{"LoadNotifyWindow", "LoadPlaylist C:\\Music\\list.m3u",
                                        "PlayTrack C:\\Music\\one.mp3", "NextTrack",
                                        "UnloadNotifyWindow", "Stop"}));
    EXPECT_TRUE(fake.wallpaper.calls.empty());
    EXPECT_TRUE(music.empty()) << "none of it reaches the window";
    // A single file repeats; a preview plays nothing and makes no wallpaper.
    player.calls.clear();
    stored.musicFile = "C:\\Music\\tune.mp3";
    OpenDriver();
    Tick();
    EXPECT_EQ(player.calls, std::vector<std::string>{"Play C:\\Music\\tune.mp3 repeated"});
    player.calls.clear();
    OpenDriver(true);
    Tick();
    Send(CloseAsked{});
    EXPECT_TRUE(player.calls.empty());
    EXPECT_TRUE(
        MakeShowSettings(stored, true, fake.environment, fake.wallpaper).windowsFolder.empty());
}

} // namespace
} // namespace orv::slideshow
