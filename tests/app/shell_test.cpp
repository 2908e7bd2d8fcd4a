// The window shell on the headless platform: start-up and its failures, the
// caption press and click, when label changes are shown, the event
// processing and the state dump. Every platform gets these from the shell.
#include "app/shell.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "app/key_table.h"
#include "tests/app/shell_rig.h"

namespace orvo::app {
namespace {

namespace fs = std::filesystem;
using game::Control;
using Kind = InputEvent::Kind;
using orvo_test::RecordingPlatform;

class ShellTest : public ::testing::Test {
 protected:
  // The shell started up from the build tree, its window shown.
  void StartUp() { shell_.StartUp(); }
  App& Game() { return shell_.Application(); }
  const game::LabelState& Label(Control c) { return Game().View().Labels[c]; }
  // The middle of a caption's text.
  std::pair<int, int> CentreOf(Control c) {
    const TextBox box = shell_.BoxOf(c);
    return {box.x + box.w / 2, box.y + box.h / 2};
  }
  void Press(Kind kind, Control c) {
    const auto [x, y] = CentreOf(c);
    shell_.Deliver(InputEvent::Pointer(kind, x, y));
  }
  // The program's end, as the status it ended with.
  template <typename F>
  std::optional<int> EndOf(F&& f) {
    try {
      f();
    } catch (const headless::ProgramEnd& end) {
      return end.status;
    }
    return std::nullopt;
  }

  RecordingPlatform host_{ORVO_BINARY_DIR};
  Shell shell_{host_, 0};
};

TEST_F(ShellTest, StartUpShowsTheWholeWindowOnce) {
  EXPECT_EQ(host_.FramesPresented(), 0u);
  StartUp();
  ASSERT_EQ(host_.FramesPresented(), 1u);
  ASSERT_TRUE(host_.lastFrame);
  EXPECT_EQ(host_.lastFrame->Width(), kClientWidth);
  EXPECT_EQ(host_.lastFrame->Height(), kClientHeight);
  // The background, and the captions in their colours.
  EXPECT_EQ(host_.lastFrame->Row(0)[0], gfx::Rgb(1, 2, 3));
  const TextBox start = shell_.BoxOf(Control::lblAction0);
  EXPECT_EQ(host_.lastFrame->Row(start.y)[start.x], kCaptionColor);
}

TEST_F(ShellTest, StartUpFailuresShowTheMessageAndEndWithStatusOne) {
  const fs::path root = fs::temp_directory_path() / ("orvo-shell-" + std::to_string(::getpid()));
  fs::remove_all(root);
  fs::create_directories(root / "empty");
  fs::create_directories(root / "nographics");
  std::ofstream(root / "nographics" / "orvo") << "x";
  fs::create_directories(root / "broken" / "Graphics");
  std::ofstream(root / "broken" / "orvo") << "x";
  for (const char* name : {"GameBack.jpg", "Blocks.gif", "Grid.gif"}) {
    std::ofstream(root / "broken" / "Graphics" / name) << "not a picture";
  }
  struct Case {
    std::string folder;
    bool openFails;
    std::string message;  // its beginning
  };
  const std::string r = root.string();
  const Case cases[] = {
      {r + "/empty", false, "Path not found: " + r + "/empty/"},
      {r + "/nographics/", false, "Path not found: " + r + "/nographics/Graphics/"},
      {r + "/broken", false, r + "/broken/Graphics/GameBack.jpg: "},
      {ORVO_BINARY_DIR, true, "Cannot open the window: no display"},
  };
  for (const Case& c : cases) {
    RecordingPlatform host(c.folder);
    host.openFails = c.openFails;
    Shell shell(host, 0);
    EXPECT_EQ(EndOf([&] { shell.StartUp(); }), 1) << c.folder;
    EXPECT_EQ(host.fatalTitle, "Error loading game");
    EXPECT_EQ(host.fatalMessage.substr(0, c.message.size()), c.message) << host.fatalMessage;
    EXPECT_EQ(host.FramesPresented(), 0u) << "no window before the pictures are good";
  }
  fs::remove_all(root);
}

TEST_F(ShellTest, APressAndReleaseOnTheSameCaptionClicks) {
  StartUp();
  // Exit: the press colours it, the release restores it, the click ends.
  Press(Kind::PointerDown, Control::lblAction1);
  EXPECT_EQ(Label(Control::lblAction1).TextColor, kPressedColor);
  EXPECT_EQ(EndOf([&] { Press(Kind::PointerUp, Control::lblAction1); }), 0);
  EXPECT_EQ(Label(Control::lblAction1).TextColor, kCaptionColor);
}

TEST_F(ShellTest, ReleasesElsewhereAndPressesBesideTheTextDoNotClick) {
  StartUp();
  const TextBox exit = shell_.BoxOf(Control::lblAction1);
  const TextBox start = shell_.BoxOf(Control::lblAction0);
  struct Case {
    const char* what;
    std::pair<int, int> down;
    std::pair<int, int> up;
    gfx::Color whileHeld;
  };
  const Case cases[] = {
      {"released beside", CentreOf(Control::lblAction1), {exit.x + exit.w, exit.y}, kPressedColor},
      {"released on the other caption", CentreOf(Control::lblAction1),
       CentreOf(Control::lblAction0), kPressedColor},
      {"pressed just left of the text",
       {exit.x - 1, exit.y},
       CentreOf(Control::lblAction1),
       kCaptionColor},
      {"pressed just below the text",
       {start.x, start.y + start.h},
       CentreOf(Control::lblAction0),
       kCaptionColor},
  };
  for (const Case& c : cases) {
    shell_.Deliver(InputEvent::Pointer(Kind::PointerDown, c.down.first, c.down.second));
    EXPECT_EQ(Label(Control::lblAction1).TextColor, c.whileHeld) << c.what;
    shell_.Deliver(InputEvent::Pointer(Kind::PointerMove, 0, 0));
    shell_.Deliver(InputEvent::Pointer(Kind::PointerUp, c.up.first, c.up.second));
    EXPECT_EQ(Label(Control::lblAction1).TextColor, kCaptionColor) << c.what;
    EXPECT_FALSE(Game().Rules().State().Running) << c.what;
    EXPECT_EQ(Label(Control::lblAction0).Caption, "Start") << c.what;
  }
}

TEST_F(ShellTest, ASecondPressWhileOneIsHeldChangesNothing) {
  StartUp();
  Press(Kind::PointerDown, Control::lblAction0);
  Press(Kind::PointerDown, Control::lblAction1);
  EXPECT_EQ(Label(Control::lblAction1).TextColor, kCaptionColor);
  // The release over Exit belongs to the Start press: no click at all.
  Press(Kind::PointerUp, Control::lblAction1);
  EXPECT_EQ(Label(Control::lblAction0).TextColor, kCaptionColor);
  EXPECT_EQ(Label(Control::lblAction0).Caption, "Start");
}

TEST_F(ShellTest, AClickOnStartRunsAGameThatTheQueuedEventsPlay) {
  StartUp();
  // Escape, queued now, is taken by the game loop's first event processing.
  host_.Queue(InputEvent::KeyEvent(Kind::KeyDown, Key::Escape));
  Press(Kind::PointerDown, Control::lblAction0);
  const std::uint64_t before = host_.FramesPresented();
  Press(Kind::PointerUp, Control::lblAction0);
  EXPECT_TRUE(Game().Keys()[Key::Escape].Pressed);
  EXPECT_FALSE(Game().Rules().State().Running);
  EXPECT_EQ(Label(Control::lblAction0).Caption, "Stop");
  EXPECT_GT(host_.FramesPresented(), before);
  // The release's colour was shown before the game began.
  EXPECT_EQ(Label(Control::lblAction0).TextColor, kCaptionColor);
}

TEST_F(ShellTest, LabelChangesAreShownWhenTheWindowWould) {
  StartUp();
  struct Case {
    const char* what;
    std::function<void()> change;
    std::uint64_t framesAtOnce;
    std::uint64_t framesAfterEvents;
  };
  game::Labels& labels = Game().Labels();
  const Case cases[] = {
      {"caption", [&] { labels.SetCaption(Control::lblPoints, "42"); }, 1, 1},
      {"colour", [&] { labels.SetTextColor(Control::lblAction0, kPressedColor); }, 0, 1},
      {"visibility", [&] { labels.SetVisible(Control::lblScore, true); }, 0, 1},
      {"tag", [&] { labels.SetTag(Control::lblAction0, "start"); }, 0, 0},
  };
  for (const Case& c : cases) {
    const std::uint64_t start = host_.FramesPresented();
    c.change();
    EXPECT_EQ(host_.FramesPresented() - start, c.framesAtOnce) << c.what;
    // The next event processing shows what waits for it, once.
    shell_.ProcessEvents(host_.Clock() + 5);
    shell_.ProcessEvents(host_.Clock() + 5);
    EXPECT_EQ(host_.FramesPresented() - start, c.framesAfterEvents) << c.what;
  }
  // The frame shows the last values: Score's text is drawn over the board.
  const TextBox score = shell_.BoxOf(Control::lblScore);
  EXPECT_EQ(host_.lastFrame->Row(score.y)[score.x], Label(Control::lblScore).TextColor);
}

TEST_F(ShellTest, EventProcessingDeliversTheQueueOrSleepsUntilDue) {
  StartUp();
  host_.Queue(InputEvent::KeyEvent(Kind::KeyDown, Key::Up));
  host_.Queue(InputEvent::KeyEvent(Kind::KeyDown, Key::Down));
  const std::int64_t now = host_.Clock();
  shell_.ProcessEvents(now + 500);
  EXPECT_TRUE(Game().Keys()[Key::Up].Pressed);
  EXPECT_TRUE(Game().Keys()[Key::Down].Pressed);
  EXPECT_EQ(host_.Clock(), now) << "events were there: no sleep";
  shell_.ProcessEvents(now + 500);
  EXPECT_EQ(host_.Clock(), now + 500) << "nothing queued: asleep until due";
  host_.Queue(InputEvent::KeyEvent(Kind::KeyUp, Key::Up));
  shell_.ProcessEvents(kNothingDue);
  EXPECT_FALSE(Game().Keys()[Key::Up].Pressed);
}

TEST_F(ShellTest, LosingTheKeyboardReleasesTheHeldKeys) {
  StartUp();
  host_.Queue(InputEvent::KeyEvent(Kind::KeyDown, Key::Left));
  host_.Queue(InputEvent::Pad(0, PadButton::DpadUp, true));
  shell_.ProcessEvents(kNothingDue);
  ASSERT_TRUE(Game().Keys()[Key::Left].Pressed);
  ASSERT_TRUE(Game().Keys()[Key::Up].Pressed);
  // No key-up will ever come: the releases went to another window.
  host_.Queue(InputEvent{Kind::FocusLost});
  shell_.ProcessEvents(kNothingDue);
  EXPECT_FALSE(Game().Keys()[Key::Left].Pressed);
  EXPECT_FALSE(Game().Keys()[Key::Up].Pressed);
}

TEST_F(ShellTest, AQuickTapOfAPadIsSeenBetweenTwoEventProcessings) {
  StartUp();
  host_.Queue(InputEvent::Pad(0, PadButton::DpadLeft, true));
  host_.Queue(InputEvent::Pad(0, PadButton::DpadLeft, false));
  shell_.ProcessEvents(kNothingDue);
  EXPECT_TRUE(Game().Keys()[Key::Left].Pressed) << "the game loop's next turn sees the press";
  shell_.ProcessEvents(kNothingDue);
  EXPECT_FALSE(Game().Keys()[Key::Left].Pressed);
}

TEST(ShellRandom, AFixedSeedRunsOnFromGameToGameAnyOtherIsNewEachGame) {
  RecordingPlatform host(ORVO_BINARY_DIR);
  Shell fixed(host, 7);
  game::RandomGenerator same(7);
  EXPECT_EQ(fixed.NextRandom(), same.Next());
  fixed.ReseedRandom();
  EXPECT_EQ(fixed.NextRandom(), same.Next()) << "a new game does not seed it again";
  // From the system's entropy: two shells, or two games, draw apart.
  Shell a(host);
  Shell b(host);
  std::vector<float> first;
  std::vector<float> second;
  std::vector<float> again;
  for (int i = 0; i < 8; ++i) first.push_back(a.NextRandom());
  for (int i = 0; i < 8; ++i) second.push_back(b.NextRandom());
  a.ReseedRandom();
  for (int i = 0; i < 8; ++i) again.push_back(a.NextRandom());
  EXPECT_NE(first, second);
  EXPECT_NE(first, again);
}

TEST_F(ShellTest, AnExposeRepaintsAndACloseEnds) {
  StartUp();
  const std::uint64_t before = host_.FramesPresented();
  shell_.Deliver(InputEvent{Kind::Expose});
  EXPECT_EQ(host_.FramesPresented(), before + 1);
  EXPECT_EQ(EndOf([&] { shell_.Deliver(InputEvent{Kind::Close}); }), 0);
}

TEST_F(ShellTest, EventsDuringAWaitWaitForTheEventProcessing) {
  StartUp();
  host_.Queue(InputEvent::KeyEvent(Kind::KeyDown, Key::Up));
  const std::int64_t start = host_.Clock();
  shell_.Wait(100);
  EXPECT_EQ(host_.Clock(), start + 100);
  EXPECT_FALSE(Game().Keys()[Key::Up].Pressed) << "no handler runs in a wait";
  shell_.ProcessEvents(kNothingDue);
  EXPECT_TRUE(Game().Keys()[Key::Up].Pressed);
  EXPECT_EQ(host_.Clock(), start + 100) << "the key waited: no sleep";
}

TEST_F(ShellTest, ACloseDuringAWaitEndsTheProgramThere) {
  StartUp();
  host_.Queue(InputEvent::KeyEvent(Kind::KeyDown, Key::Up));
  host_.Queue(InputEvent{Kind::Close});
  EXPECT_EQ(EndOf([&] { shell_.Wait(100); }), 0);
  EXPECT_FALSE(Game().Keys()[Key::Up].Pressed);
}

TEST_F(ShellTest, TheStateDumpIsOneLineOfTheReplaysShape) {
  StartUp();
  const std::string line = shell_.StateDump();
  EXPECT_EQ(line.find('\n'), std::string::npos);
  const auto dump = nlohmann::ordered_json::parse(line);
  std::vector<std::string> keys;
  for (auto it = dump.begin(); it != dump.end(); ++it) keys.push_back(it.key());
  const std::vector<std::string> expected = {
      "tick",   "running",        "pairActive",    "pairX",        "pairY",
      "level",  "points",         "reactions",     "maxReactions", "cleared",
      "bombs",  "nextBombPoints", "lastSlideTime", "randomUsed",   "board",
      "labels", "tags",           "visible",       "colors"};
  EXPECT_EQ(keys, expected);
  EXPECT_EQ(dump["tick"], host_.Clock());
  EXPECT_EQ(dump["board"].size(), 7u);
  EXPECT_EQ(dump["labels"]["lblAction0"], "Start");
  // Every number the rules take counts.
  const std::uint64_t used = shell_.RandomUsed();
  shell_.NextRandom();
  EXPECT_EQ(nlohmann::json::parse(shell_.StateDump())["randomUsed"], used + 1);
}

}  // namespace
}  // namespace orvo::app

namespace orvo::app {
namespace {

TEST(StartupPaths, WithSeparatorAddsOnlyAMissingOne) {
  EXPECT_EQ(WithSeparator("/opt/orvo"), "/opt/orvo/");
  EXPECT_EQ(WithSeparator("/opt/orvo/"), "/opt/orvo/");
  EXPECT_EQ(WithSeparator("/"), "/");
  EXPECT_EQ(WithSeparator(""), "/");
  // A drive's root already ends in its separator; a "/" is no "\\".
  EXPECT_EQ(WithSeparator("C:\\", '\\'), "C:\\");
  EXPECT_EQ(WithSeparator("C:\\Games\\Orvo", '\\'), "C:\\Games\\Orvo\\");
}

}  // namespace
}  // namespace orvo::app

namespace orvo::app {
namespace {

TEST_F(ShellTest, ACaptionClickWithoutThePointerRunsTheProtocol) {
  StartUp();
  host_.Queue(InputEvent::KeyEvent(Kind::KeyDown, Key::Escape));
  shell_.Deliver(InputEvent::Click(0));
  EXPECT_EQ(Label(Control::lblAction0).Caption, "Stop");
  EXPECT_EQ(Label(Control::lblAction0).TextColor, kCaptionColor);
  EXPECT_EQ(EndOf([&] { shell_.Deliver(InputEvent::Click(1)); }), 0);
}

}  // namespace
}  // namespace orvo::app
