// The main window's definition: each control's place, size, alignment and
// font, and the caption, tag, visibility and colour it starts with. The
// values it has later live in the game's labels; platforms draw both.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "game/control.h"
#include "gfx/surface.h"

namespace orvo::app {

enum class Alignment { Left, Right, Centre };
enum class FontFace { Fixedsys, WindowDefault, ArialBold };

struct ControlData {
  std::string Caption;
  std::string Tag;
  bool Visible = true;
  gfx::Color TextColor = 0;
  // Layout: position of the label's box (relative to Front for the four
  // labels inside it), its initial size, the anchor of its text and its font.
  bool InsideFront = false;
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
  Alignment Align = Alignment::Left;
  FontFace Font = FontFace::Fixedsys;
  float FontPoints = 9.0f;
};

inline constexpr char kWindowCaption[] = "Orvo (O-tended Pell)";
inline constexpr int kClientWidth = 580;
inline constexpr int kClientHeight = 388;
inline constexpr int kFrontLeft = 50;
inline constexpr int kFrontTop = 50;

inline constexpr gfx::Color kCaptionColor = gfx::Rgb(128, 64, 240);
inline constexpr gfx::Color kValueColor = gfx::Rgb(176, 128, 240);
inline constexpr gfx::Color kPressedColor = gfx::Rgb(240, 160, 240);

class Form {
 public:
  Form();  // every control as the window's definition has it
  ControlData& operator[](game::Control c) { return controls_[static_cast<int>(c)]; }
  const ControlData& operator[](game::Control c) const { return controls_[static_cast<int>(c)]; }

 private:
  std::array<ControlData, game::kControlCount> controls_;
};

}  // namespace orvo::app
