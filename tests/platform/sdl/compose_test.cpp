// The composed window, drawn by SDL's software renderer into a surface and
// read back: the board surface at Front, each label where the window's
// definition puts it, in its colour, without a background of its own.
#include <SDL2/SDL.h>
#include <SDL2/SDL_image.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/app.h"
#include "app/form.h"
#include "platform/sdl/compose.h"
#include "platform/sdl/embedded.h"
#include "platform/sdl/fonts.h"

namespace orvo::app {
namespace {

using game::Control;
using sdl::Composer;
using sdl::FontSet;
namespace embedded = sdl::embedded;

constexpr int kFrontWidth = 480;
constexpr int kFrontHeight = 288;

gfx::Color PixelOf(const SDL_Surface* s, int x, int y) {
  const auto* row = static_cast<const Uint8*>(s->pixels) + y * s->pitch;
  const Uint32 p = reinterpret_cast<const Uint32*>(row)[x];
  Uint8 r = 0, g = 0, b = 0;
  SDL_GetRGB(p, s->format, &r, &g, &b);
  return gfx::Rgb(r, g, b);
}

bool Inside(const SDL_Rect& r, int x, int y) {
  return x >= r.x && x < r.x + r.w && y >= r.y && y < r.y + r.h;
}

// A board image in which every pixel differs from its neighbours.
gfx::Surface Pattern() {
  gfx::Surface s(kFrontWidth, kFrontHeight);
  for (int y = 0; y < kFrontHeight; ++y) {
    for (int x = 0; x < kFrontWidth; ++x)
      s.Row(y)[x] = gfx::Rgb(x & 0xFF, y & 0xFF, (x >> 8) * 64 + 5);
  }
  return s;
}

class Composition : public ::testing::Test {
 protected:
  void SetUp() override {
    target_ = SDL_CreateRGBSurfaceWithFormat(0, kClientWidth, kClientHeight, 32,
                                             SDL_PIXELFORMAT_ARGB8888);
    ASSERT_NE(target_, nullptr);
    renderer_ = SDL_CreateSoftwareRenderer(target_);
    ASSERT_NE(renderer_, nullptr);
    fonts_ = std::make_unique<FontSet>();
    composer_ = std::make_unique<Composer>(renderer_, *fonts_);
    std::string error;
    ASSERT_TRUE(composer_->SetBackground(embedded::kWindowBack, embedded::kWindowBackSize, error))
        << error;
    composer_->UploadFront(board_);

    SDL_Surface* decoded = IMG_Load_RW(
        SDL_RWFromConstMem(embedded::kWindowBack, static_cast<int>(embedded::kWindowBackSize)), 1);
    ASSERT_NE(decoded, nullptr);
    background_ = SDL_ConvertSurfaceFormat(decoded, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(decoded);
    ASSERT_EQ(background_->w, kClientWidth);
    ASSERT_EQ(background_->h, kClientHeight);
  }
  void TearDown() override {
    composer_.reset();
    fonts_.reset();
    if (renderer_) SDL_DestroyRenderer(renderer_);
    if (target_) SDL_FreeSurface(target_);
    if (background_) SDL_FreeSurface(background_);
  }

  void Draw() {
    composer_->Draw(View());
    SDL_RenderPresent(renderer_);
  }
  gfx::Color At(int x, int y) const { return PixelOf(target_, x, y); }
  gfx::Color Background(int x, int y) const { return PixelOf(background_, x, y); }
  bool InsideFront(int x, int y) const {
    return Inside(SDL_Rect{kFrontLeft, kFrontTop, kFrontWidth, kFrontHeight}, x, y);
  }
  // The picture under the labels: the background, and the board at Front.
  gfx::Color Under(int x, int y) const {
    return InsideFront(x, y) ? board_.Row(y - kFrontTop)[x - kFrontLeft] : Background(x, y);
  }
  // Pixels of exactly `color` inside `box`.
  int CountColor(const SDL_Rect& box, gfx::Color color) const {
    int n = 0;
    for (int y = box.y; y < box.y + box.h; ++y) {
      for (int x = box.x; x < box.x + box.w; ++x) n += At(x, y) == color;
    }
    return n;
  }
  void ShowAllLabels() {
    for (int i = 0; i < game::kControlCount; ++i) labels_.SetVisible(static_cast<Control>(i), true);
  }

  SDL_Surface* target_ = nullptr;
  SDL_Surface* background_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  std::unique_ptr<FontSet> fonts_;
  std::unique_ptr<Composer> composer_;
  // The labels as the application keeps them, starting as the form has them.
  struct NoServices : game::GameServices {
    std::int64_t TickCount() override { return 0; }
    void Wait(std::int32_t) override {}
    float NextRandom() override { return 0.0f; }
    void ReseedRandom() override {}
    void RefreshFront() override {}
    void ControlChanged(Control, game::ControlChange, const game::LabelState&) override {}
  };
  FrameView View() const { return FrameView{&board_, form_, labels_}; }
  const Form form_;
  NoServices services_;
  game::Labels labels_ = Initial(form_, services_);
  gfx::Surface board_ = Pattern();

  static game::Labels Initial(const Form& form, game::GameServices& services) {
    game::Labels labels(services);
    for (int i = 0; i < game::kControlCount; ++i) {
      const auto c = static_cast<Control>(i);
      labels.Initialize(c, {form[c].Caption, form[c].Tag, form[c].Visible, form[c].TextColor});
    }
    return labels;
  }
};

TEST_F(Composition, TheBoardSurfaceLiesExactlyAtFront) {
  for (int i = 0; i < game::kControlCount; ++i) labels_.SetVisible(static_cast<Control>(i), false);
  Draw();
  for (int y = 0; y < kClientHeight; ++y) {
    for (int x = 0; x < kClientWidth; ++x) {
      ASSERT_EQ(At(x, y), Under(x, y)) << x << "," << y;
    }
  }
}

TEST_F(Composition, LabelsDrawOnlyTheirTextInsideTheirBoxes) {
  ShowAllLabels();
  labels_.SetCaption(Control::lblBombs, "\xC2\xA4\xC2\xA4");  // two bomb glyphs
  Draw();
  for (int y = 0; y < kClientHeight; ++y) {
    for (int x = 0; x < kClientWidth; ++x) {
      if (At(x, y) == Under(x, y)) continue;
      bool inBox = false;
      for (int i = 0; i < game::kControlCount && !inBox; ++i) {
        inBox = Inside(composer_->TextBox(View(), static_cast<Control>(i)), x, y);
      }
      ASSERT_TRUE(inBox) << "stray pixel at " << x << "," << y;
    }
  }
  for (int i = 0; i < game::kControlCount; ++i) {
    const auto c = static_cast<Control>(i);
    const SDL_Rect box = composer_->TextBox(View(), c);
    EXPECT_GT(box.w, 0) << game::ControlName(c);
    // Glyph strokes are drawn in the label's exact colour.
    EXPECT_GT(CountColor(box, labels_[c].TextColor), 3) << game::ControlName(c);
  }
}

TEST_F(Composition, HiddenLabelsAreNotDrawn) {
  Draw();
  const SDL_Rect score = composer_->TextBox(View(), Control::lblScore);
  const SDL_Rect heading = composer_->TextBox(View(), Control::Label3);
  EXPECT_EQ(CountColor(score, gfx::Rgb(255, 255, 255)), 0);
  EXPECT_EQ(CountColor(heading, gfx::Rgb(192, 192, 255)), 0);
  labels_.SetVisible(Control::lblScore, true);
  Draw();
  EXPECT_GT(CountColor(score, gfx::Rgb(255, 255, 255)), 3);
}

TEST_F(Composition, TextIsAnchoredAsTheLabelIsAligned) {
  ShowAllLabels();
  labels_.SetCaption(Control::lblPoints, "123456");
  labels_.SetCaption(Control::lblNextLevelPoints, "98765");
  labels_.SetCaption(Control::lblScore, "4711");
  labels_.SetCaption(Control::lblLevel, "12");
  const SDL_Rect points = composer_->TextBox(View(), Control::lblPoints);
  EXPECT_EQ(points.x + points.w, 494);
  const SDL_Rect next = composer_->TextBox(View(), Control::lblNextLevelPoints);
  EXPECT_EQ(next.x + next.w, 492);
  const SDL_Rect score = composer_->TextBox(View(), Control::lblScore);
  EXPECT_LE(std::abs(score.x + score.w / 2 - (kFrontLeft + 248)), 1);
  EXPECT_EQ(score.y, kFrontTop + 96);
  const SDL_Rect level = composer_->TextBox(View(), Control::lblLevel);
  EXPECT_EQ(level.x, 76);
  EXPECT_EQ(level.y, 8);
  const SDL_Rect heading = composer_->TextBox(View(), Control::Label4);
  EXPECT_EQ(heading.x, kFrontLeft + 140);
  EXPECT_EQ(heading.y, kFrontTop + 168);
}

TEST_F(Composition, TheRasterFaceFillsTheLaidOutBoxes) {
  if (fonts_->FileOf(FontFace::Fixedsys).find("terminus") == std::string::npos) {
    GTEST_SKIP() << "Terminus is not installed; the monospace fallback has other cells";
  }
  // Each caption box of the window's definition is 10 x 20 pixels a character.
  for (Control c : {Control::Label0, Control::Label1, Control::Label2, Control::Label5,
                    Control::lblAction0, Control::lblAction1}) {
    const SDL_Rect box = composer_->TextBox(View(), c);
    EXPECT_EQ(box.x, form_[c].Left) << game::ControlName(c);
    EXPECT_EQ(box.y, form_[c].Top) << game::ControlName(c);
    EXPECT_EQ(box.w, form_[c].Width) << game::ControlName(c);
    EXPECT_EQ(box.h, form_[c].Height) << game::ControlName(c);
  }
}

TEST_F(Composition, ACaptionOrColourChangeIsDrawnAnew) {
  Draw();
  const SDL_Rect start = composer_->TextBox(View(), Control::lblAction0);
  EXPECT_GT(CountColor(start, kCaptionColor), 3);
  EXPECT_EQ(CountColor(start, kPressedColor), 0);
  labels_.SetTextColor(Control::lblAction0, kPressedColor);
  Draw();
  EXPECT_EQ(CountColor(start, kCaptionColor), 0);
  EXPECT_GT(CountColor(start, kPressedColor), 3);

  labels_.SetCaption(Control::lblAction0, "Stop");
  Draw();
  const SDL_Rect stop = composer_->TextBox(View(), Control::lblAction0);
  EXPECT_LT(stop.w, start.w);
  // The fifth character's place now shows the background again.
  for (int y = start.y; y < start.y + start.h; ++y) {
    for (int x = stop.x + stop.w; x < start.x + start.w; ++x) EXPECT_EQ(At(x, y), Under(x, y));
  }
}

TEST_F(Composition, TheBoardShowsWhatWasLastUploaded) {
  Draw();
  board_.Fill(gfx::Rgb(1, 2, 3));
  Draw();
  EXPECT_NE(At(kFrontLeft + 5, kFrontTop + 5), gfx::Rgb(1, 2, 3));
  composer_->UploadFront(board_);
  Draw();
  EXPECT_EQ(At(kFrontLeft + 5, kFrontTop + 5), gfx::Rgb(1, 2, 3));
  EXPECT_EQ(At(kFrontLeft + kFrontWidth - 1, kFrontTop + kFrontHeight - 1), gfx::Rgb(1, 2, 3));
}

TEST_F(Composition, AnEmptyCaptionHasNoBox) {
  labels_.SetCaption(Control::lblBombs, "");
  const SDL_Rect box = composer_->TextBox(View(), Control::lblBombs);
  EXPECT_EQ(box.w, 0);
  EXPECT_EQ(box.h, 0);
}

TEST(Fonts, EveryFaceOpensAndHasTheBombGlyph) {
  FontSet fonts;
  for (FontFace face : {FontFace::Fixedsys, FontFace::WindowDefault, FontFace::ArialBold}) {
    ASSERT_NE(fonts.For(face), nullptr) << static_cast<int>(face);
    EXPECT_NE(TTF_GlyphIsProvided32(fonts.For(face), 0xA4), 0) << fonts.FileOf(face);
  }
}

}  // namespace
}  // namespace orvo::app
