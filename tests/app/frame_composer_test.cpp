// The window's frame as the shell composes it for every platform: the
// background, the board surface exactly at Front, each visible label's text
// where its alignment puts it, in its colour, clipped to the window.
#include "app/frame_composer.h"

#include <gtest/gtest.h>

#include "tests/app/fake_services.h"
#include "tests/app/shell_rig.h"

namespace orvo::app {
namespace {

using game::Control;

// Every pixel differs from its neighbours.
gfx::Surface Pattern(int width, int height, int salt) {
  gfx::Surface s(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) s.Row(y)[x] = gfx::Rgb(x + salt, y, (x >> 8) * 64 + salt);
  }
  return s;
}

class FrameComposerTest : public ::testing::Test {
 protected:
  FrameComposerTest() {
    composer_.SetBackground(background_);
    for (int i = 0; i < game::kControlCount; ++i) {
      const auto c = static_cast<Control>(i);
      labels_.Initialize(c, {form_[c].Caption, form_[c].Tag, form_[c].Visible, form_[c].TextColor});
    }
  }
  FrameView View() const { return FrameView{&board_, form_, labels_}; }
  const gfx::Surface& Compose() { return composer_.Compose(View()); }
  // What lies under the labels at (x, y).
  gfx::Color Under(int x, int y) const {
    const bool onBoard = x >= kFrontLeft && x < kFrontLeft + board_.Width() && y >= kFrontTop &&
                         y < kFrontTop + board_.Height();
    return onBoard ? board_.Row(y - kFrontTop)[x - kFrontLeft] : background_.Row(y)[x];
  }

  orvo_test::SolidCellText text_;
  FrameComposer composer_{text_};
  gfx::Surface background_ = Pattern(kClientWidth, kClientHeight, 7);
  gfx::Surface board_ = Pattern(480, 288, 100);
  Form form_;
  orvo_test::FakeServices services_;
  game::Labels labels_{services_};
};

TEST_F(FrameComposerTest, LabelsCoverOnlyTheirBoxesAndTheRestIsBackgroundAndBoard) {
  for (int i = 0; i < game::kControlCount; ++i) labels_.SetVisible(static_cast<Control>(i), true);
  const gfx::Surface& frame = Compose();
  std::vector<TextBox> boxes;
  std::vector<gfx::Color> colours;
  for (int i = 0; i < game::kControlCount; ++i) {
    const auto c = static_cast<Control>(i);
    boxes.push_back(composer_.BoxOf(View(), c));
    colours.push_back(labels_[c].TextColor);
  }
  for (int y = 0; y < kClientHeight; ++y) {
    for (int x = 0; x < kClientWidth; ++x) {
      gfx::Color expected = Under(x, y);
      // Later labels are drawn over earlier ones.
      for (std::size_t i = 0; i < boxes.size(); ++i) {
        if (boxes[i].Contains(x, y)) expected = colours[i];
      }
      ASSERT_EQ(frame.Row(y)[x], expected) << x << ", " << y;
    }
  }
}

TEST_F(FrameComposerTest, TextIsAnchoredAsTheLabelIsAligned) {
  labels_.SetCaption(Control::lblPoints, "1234");   // right-aligned
  labels_.SetCaption(Control::lblScore, "777");     // centred, over the board
  labels_.SetCaption(Control::lblAction0, "Stop");  // left-aligned
  struct Case {
    Control c;
    TextBox box;
  };
  const ControlData& points = form_[Control::lblPoints];
  const ControlData& score = form_[Control::lblScore];
  const ControlData& action = form_[Control::lblAction0];
  const Case cases[] = {
      {Control::lblPoints, {points.Left + points.Width - 32, points.Top, 32, 16}},
      {Control::lblScore,
       {kFrontLeft + score.Left + score.Width / 2 - 12, kFrontTop + score.Top, 24, 16}},
      {Control::lblAction0, {action.Left, action.Top, 32, 16}},
  };
  for (const Case& c : cases) {
    const TextBox box = composer_.BoxOf(View(), c.c);
    EXPECT_EQ(box.x, c.box.x) << game::ControlName(c.c);
    EXPECT_EQ(box.y, c.box.y) << game::ControlName(c.c);
    EXPECT_EQ(box.w, c.box.w) << game::ControlName(c.c);
    EXPECT_EQ(box.h, c.box.h) << game::ControlName(c.c);
  }
}

TEST_F(FrameComposerTest, HiddenAndEmptyLabelsAreNotDrawnNorHit) {
  labels_.SetCaption(Control::lblBombs, "");
  EXPECT_EQ(composer_.BoxOf(View(), Control::lblBombs).w, 0);
  EXPECT_EQ(composer_.BoxOf(View(), Control::lblBombs).h, 0);
  const TextBox score = composer_.BoxOf(View(), Control::lblScore);
  ASSERT_FALSE(labels_[Control::lblScore].Visible);
  EXPECT_EQ(Compose().Row(score.y)[score.x], Under(score.x, score.y));

  const TextBox exit = composer_.BoxOf(View(), Control::lblAction1);
  EXPECT_EQ(composer_.ActionAt(View(), exit.x, exit.y), 1);
  EXPECT_EQ(composer_.ActionAt(View(), exit.x + exit.w - 1, exit.y + exit.h - 1), 1);
  EXPECT_EQ(composer_.ActionAt(View(), exit.x + exit.w, exit.y), -1);
  labels_.SetVisible(Control::lblAction1, false);
  EXPECT_EQ(composer_.ActionAt(View(), exit.x, exit.y), -1);
  EXPECT_EQ(Compose().Row(exit.y)[exit.x], Under(exit.x, exit.y));
}

TEST_F(FrameComposerTest, ACaptionChangeIsRenderedAnewAndLabelsOffTheWindowAreClipped) {
  const TextBox before = composer_.BoxOf(View(), Control::lblAction0);
  labels_.SetCaption(Control::lblAction0, "Stopping now");
  EXPECT_EQ(composer_.BoxOf(View(), Control::lblAction0).w, 12 * 8);
  EXPECT_NE(composer_.BoxOf(View(), Control::lblAction0).w, before.w);
  // A caption far too long for the window, and a label placed off it.
  labels_.SetCaption(Control::Label2, std::string(500, 'W'));
  form_[Control::Label0].Left = -20;
  form_[Control::Label0].Top = kClientHeight - 4;
  const gfx::Surface& frame = Compose();
  EXPECT_EQ(frame.Row(kClientHeight - 1)[0], labels_[Control::Label0].TextColor);
  EXPECT_EQ(frame.Row(form_[Control::Label2].Top)[kClientWidth - 1],
            labels_[Control::Label2].TextColor);
}

TEST_F(FrameComposerTest, WithoutABoardTheBackgroundShows) {
  const gfx::Surface& frame = composer_.Compose(FrameView{nullptr, form_, labels_});
  EXPECT_EQ(frame.Row(kFrontTop + 100)[kFrontLeft + 100],
            background_.Row(kFrontTop + 100)[kFrontLeft + 100]);
}

}  // namespace
}  // namespace orvo::app
