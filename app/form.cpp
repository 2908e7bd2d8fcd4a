// The main window's controls as its definition gives them.
#include "app/form.h"

namespace orvo::app {

namespace {

using game::Control;

ControlData Make(const char* caption, int left, int top, int width, int height, gfx::Color color,
                 Alignment align = Alignment::Left, FontFace font = FontFace::Fixedsys) {
  ControlData d;
  d.Caption = caption;
  d.Left = left;
  d.Top = top;
  d.Width = width;
  d.Height = height;
  d.TextColor = color;
  d.Align = align;
  d.Font = font;
  d.FontPoints = font == FontFace::ArialBold ? 20.25f : 9.0f;
  return d;
}

// The four labels over the board, shown after a game has ended.
ControlData OverBoard(const char* caption, int left, int top, int width, gfx::Color color,
                      Alignment align) {
  ControlData d = Make(caption, left, top, width, 32, color, align, FontFace::ArialBold);
  d.InsideFront = true;
  d.Visible = false;
  return d;
}

}  // namespace

Form::Form() {
  const gfx::Color kHeading = gfx::Rgb(192, 192, 255);
  const gfx::Color kScore = gfx::Rgb(255, 255, 255);
  (*this)[Control::Label0] = Make("Level_", 16, 8, 60, 20, kCaptionColor);
  (*this)[Control::lblLevel] = Make("1", 76, 8, 10, 20, kValueColor);
  (*this)[Control::Label1] = Make("Reactions_", 164, 8, 100, 20, kCaptionColor);
  (*this)[Control::lblReactions] = Make("0/0", 264, 8, 30, 20, kValueColor);
  (*this)[Control::lblPoints] = Make("0", 484, 8, 10, 20, kValueColor, Alignment::Right);
  (*this)[Control::Label2] = Make("_Points", 496, 8, 70, 20, kCaptionColor);
  (*this)[Control::lblNextLevelPoints] =
      Make("0", 484, 28, 8, 15, kValueColor, Alignment::Right, FontFace::WindowDefault);
  (*this)[Control::lblAction1] = Make("Exit", 16, 356, 40, 20, kCaptionColor);
  (*this)[Control::lblAction1].Tag = "end";
  (*this)[Control::lblAction0] = Make("Start", 88, 356, 50, 20, kCaptionColor);
  (*this)[Control::lblAction0].Tag = "start";
  (*this)[Control::Label5] = Make("Bombs_", 396, 356, 60, 20, kCaptionColor);
  (*this)[Control::lblBombs] = Make("", 456, 356, 10, 20, kValueColor);
  (*this)[Control::Label3] = OverBoard("Your Highscore", 144, 60, 206, kHeading, Alignment::Left);
  (*this)[Control::lblScore] = OverBoard("0", 240, 96, 16, kScore, Alignment::Centre);
  (*this)[Control::Label4] = OverBoard("Chain Reactions", 140, 168, 216, kHeading, Alignment::Left);
  (*this)[Control::lblMaxReactions] = OverBoard("0", 240, 204, 16, kScore, Alignment::Centre);
}

}  // namespace orvo::app
