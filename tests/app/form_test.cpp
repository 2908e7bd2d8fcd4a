// The main window's controls as its definition gives them.
#include <gtest/gtest.h>

#include "app/form.h"

namespace orvo_test {
namespace {

using namespace orvo::app;
using orvo::game::Control;
using orvo::game::ControlName;
using orvo::gfx::Rgb;

struct Row {
  Control control;
  bool insideFront;
  int left, top, width, height;
  const char* caption;
  const char* tag;
  FontFace font;
  orvo::gfx::Color color;
  Alignment align;
  bool visible;
};

constexpr auto kName = Rgb(128, 64, 240);
constexpr auto kValue = Rgb(176, 128, 240);
constexpr auto kHeading = Rgb(192, 192, 255);
constexpr auto kWhite = Rgb(255, 255, 255);
constexpr auto kFixed = FontFace::Fixedsys;
constexpr auto kArial = FontFace::ArialBold;
constexpr auto kLeft = Alignment::Left;

const Row kTable[] = {
    {Control::Label0, false, 16, 8, 60, 20, "Level_", "", kFixed, kName, kLeft, true},
    {Control::lblLevel, false, 76, 8, 10, 20, "1", "", kFixed, kValue, kLeft, true},
    {Control::Label1, false, 164, 8, 100, 20, "Reactions_", "", kFixed, kName, kLeft, true},
    {Control::lblReactions, false, 264, 8, 30, 20, "0/0", "", kFixed, kValue, kLeft, true},
    {Control::lblPoints, false, 484, 8, 10, 20, "0", "", kFixed, kValue, Alignment::Right, true},
    {Control::Label2, false, 496, 8, 70, 20, "_Points", "", kFixed, kName, kLeft, true},
    {Control::lblNextLevelPoints, false, 484, 28, 8, 15, "0", "", FontFace::WindowDefault, kValue,
     Alignment::Right, true},
    {Control::lblAction1, false, 16, 356, 40, 20, "Exit", "end", kFixed, kName, kLeft, true},
    {Control::lblAction0, false, 88, 356, 50, 20, "Start", "start", kFixed, kName, kLeft, true},
    {Control::Label5, false, 396, 356, 60, 20, "Bombs_", "", kFixed, kName, kLeft, true},
    {Control::lblBombs, false, 456, 356, 10, 20, "", "", kFixed, kValue, kLeft, true},
    {Control::Label3, true, 144, 60, 206, 32, "Your Highscore", "", kArial, kHeading, kLeft, false},
    {Control::lblScore, true, 240, 96, 16, 32, "0", "", kArial, kWhite, Alignment::Centre, false},
    {Control::Label4, true, 140, 168, 216, 32, "Chain Reactions", "", kArial, kHeading, kLeft,
     false},
    {Control::lblMaxReactions, true, 240, 204, 16, 32, "0", "", kArial, kWhite, Alignment::Centre,
     false},
};

TEST(FormTest, EveryControlAsDefined) {
  static_assert(std::size(kTable) == orvo::game::kControlCount);
  const Form form;
  for (const Row& r : kTable) {
    SCOPED_TRACE(std::string(ControlName(r.control)));
    const ControlData& d = form[r.control];
    EXPECT_EQ(d.InsideFront, r.insideFront);
    EXPECT_EQ(d.Left, r.left);
    EXPECT_EQ(d.Top, r.top);
    EXPECT_EQ(d.Width, r.width);
    EXPECT_EQ(d.Height, r.height);
    EXPECT_EQ(d.Caption, r.caption);
    EXPECT_EQ(d.Tag, r.tag);
    EXPECT_EQ(d.Font, r.font);
    if (r.font == kArial) {
      EXPECT_EQ(d.FontPoints, 20.25f);
    } else if (r.font == kFixed) {
      EXPECT_EQ(d.FontPoints, 9.0f);
    }
    EXPECT_EQ(d.TextColor, r.color);
    EXPECT_EQ(d.Align, r.align);
    EXPECT_EQ(d.Visible, r.visible);
  }
}

TEST(FormTest, Window) {
  EXPECT_STREQ(kWindowCaption, "Orvo (O-tended Pell)");
  EXPECT_EQ(kClientWidth, 580);
  EXPECT_EQ(kClientHeight, 388);
  EXPECT_EQ(kFrontLeft, 50);
  EXPECT_EQ(kFrontTop, 50);
  EXPECT_EQ(kPressedColor, Rgb(240, 160, 240));
  EXPECT_EQ(kCaptionColor, Rgb(128, 64, 240));
}

}  // namespace
}  // namespace orvo_test
