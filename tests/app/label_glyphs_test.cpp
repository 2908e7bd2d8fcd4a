// The label glyph atlas that the web page and the Windows program carry
// (assets/label_glyphs.atlas, or the file the build's ORVO_GLYPHS names): it
// parses, and it has a glyph for every character of every text a label can
// show, in the face that label is drawn in. The texts come from the game
// itself (the form, and the captions the application and the rules set while
// games are played), so a caption that gains a character the atlas lacks
// fails here until the atlas is rendered again (scripts/make-glyphs.sh).
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <limits>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "app/glyph_atlas.h"
#include "gfx/utf8_text.h"
#include "tests/app/fake_services.h"

namespace orvo_test {
namespace {

using orvo::app::FontFace;
using orvo::app::GlyphAtlas;
using Bytes = std::vector<std::uint8_t>;

constexpr FontFace kFaces[] = {FontFace::Fixedsys, FontFace::WindowDefault, FontFace::ArialBold};
constexpr const char* kFaceNames[] = {"Fixedsys", "WindowDefault", "ArialBold"};

// The build's atlas; ORVO_GLYPH_ATLAS names another file (the CTest
// glyphs.rendered_atlas gives a fresh rendering of orvo-make-glyphs).
std::string AtlasPath() {
  const char* path = std::getenv("ORVO_GLYPH_ATLAS");
  return path != nullptr && *path != '\0' ? path : ORVO_GLYPHS_FILE;
}

Bytes ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return Bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

struct LabelText {
  Control control;
  std::string text;
};

// Services that keep every caption the application and the rules set.
class CaptionRecorder : public FakeServices {
 public:
  std::vector<LabelText> captions;
  void ControlChanged(Control c, ControlChange what, const orvo::game::LabelState& label) override {
    FakeServices::ControlChanged(c, what, label);
    if (what == ControlChange::Caption) captions.push_back({c, label.Caption});
  }
};

// Amounts that bring every digit into each counter, with the counters'
// limits: the points' thousands (" K") above 100000 and the top of the
// 32-bit range, where points and reactions saturate.
constexpr std::int32_t kAmounts[] = {
    0,     1,      23,     456,        7890,
    99999, 100000, 100001, 1234567890, std::numeric_limits<std::int32_t>::max()};

// Every text the labels show: the form's captions, then those set while a
// game is started and stopped, and while one game for each amount scores it
// in points and reactions (the levels, next-level points and bombs follow)
// and ends.
struct PlayedTexts {
  std::vector<LabelText> texts;
  int gamesEnded = 0;
  int unscripted = 0;
};

PlayedTexts PlayGames() {
  CaptionRecorder host;
  orvo::app::App app{host};
  host.app = &app;
  PlayedTexts played;
  for (int i = 0; i < orvo::game::kControlCount; ++i) {
    const auto c = static_cast<Control>(i);
    played.texts.push_back({c, app.View().Labels[c].Caption});
  }
  // Start, and Stop in the game's first batch of events.
  host.batches.push_back([&app] { app.lblAction_Click(0); });
  app.lblAction_Click(0);
  for (std::int32_t amount : kAmounts) {
    host.batches.push_back([&app, &played, amount] {
      orvo::game::Game& rules = app.Rules();
      rules.AddPoints(amount);
      rules.State().Reactions = amount;
      rules.UpdateReactions();
      // The pair is still in the entry row, so the next spawn ends the game.
      rules.SpawnPair();
      if (!rules.State().Running) ++played.gamesEnded;
    });
    app.lblAction_Click(0);
  }
  played.texts.insert(played.texts.end(), host.captions.begin(), host.captions.end());
  played.unscripted = host.unscriptedCalls;
  return played;
}

const std::vector<LabelText>& AllLabelTexts() {
  static const std::vector<LabelText> texts = PlayGames().texts;
  return texts;
}

// The characters of `texts` that the atlas has no glyph for in their label's
// face (the form's), one line each with the first text that needs it;
// malformed UTF-8 counts as missing. Empty when the atlas covers them all.
std::string Uncovered(const GlyphAtlas& atlas, const std::vector<LabelText>& texts) {
  const orvo::app::Form form;
  std::set<std::pair<FontFace, std::uint32_t>> reported;
  std::string report;
  for (const LabelText& t : texts) {
    const FontFace face = form[t.control].Font;
    for (std::size_t at = 0; at < t.text.size();) {
      const std::optional<char32_t> c = orvo::gfx::NextCodePoint(t.text, at);
      const std::uint32_t code = c ? static_cast<std::uint32_t>(*c) : 0xFFFFFFFF;
      if (c && atlas.HasGlyph(face, code)) continue;
      if (!reported.emplace(face, code).second) continue;
      char name[16] = "malformed";
      if (c) std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(code));
      report += std::string(kFaceNames[static_cast<int>(face)]) + " " + name + " in " +
                std::string(orvo::game::ControlName(t.control)) + " \"" + t.text + "\"\n";
    }
  }
  return report;
}

// `atlas` (a well-formed file) without the glyph of `codePoint` in `face`;
// empty when the face has no such glyph.
Bytes WithoutGlyph(const Bytes& atlas, FontFace face, std::uint32_t codePoint) {
  const auto number = [&atlas](std::size_t at, int size) {
    std::uint32_t v = 0;
    for (int i = 0; i < size; ++i) v |= static_cast<std::uint32_t>(atlas[at + i]) << (8 * i);
    return v;
  };
  std::size_t at = 16;  // magic, version, face count
  for (int f = 0; f < 3; ++f) {
    const std::size_t countAt = at + 4;
    const std::uint32_t count = number(countAt, 4);
    at += 8;
    for (std::uint32_t g = 0; g < count; ++g) {
      // The record, then the coverage's runs (GlyphAtlas::PackCoverage).
      std::size_t size = 8;
      for (std::size_t left = std::size_t{number(at + 4, 2)} * number(at + 6, 2); left > 0;) {
        const std::uint8_t c = atlas[at + size++];
        const std::size_t n = c < 128 ? c + 1u : c < 192 ? c - 127u : c - 191u;
        if (c >= 192) size += n;
        left -= n;
      }
      if (f == static_cast<int>(face) && number(at, 4) == codePoint) {
        Bytes out(atlas.begin(), atlas.begin() + static_cast<std::ptrdiff_t>(at));
        out.insert(out.end(), atlas.begin() + static_cast<std::ptrdiff_t>(at + size), atlas.end());
        for (int i = 0; i < 4; ++i) out[countAt + i] = ((count - 1) >> (8 * i)) & 0xFF;
        return out;
      }
      at += size;
    }
  }
  return {};
}

class LabelGlyphs : public ::testing::Test {
 protected:
  void SetUp() override {
    bytes_ = ReadFile(AtlasPath());
    ASSERT_FALSE(bytes_.empty()) << "cannot read " << AtlasPath();
    std::string reason;
    atlas_ = GlyphAtlas::Parse(bytes_, reason);
    ASSERT_TRUE(atlas_) << AtlasPath() << ": " << reason;
  }

  Bytes bytes_;
  std::optional<GlyphAtlas> atlas_;
};

TEST_F(LabelGlyphs, PrintableAsciiAndTheBombLeaveInkInEveryFace) {
  for (FontFace face : kFaces) {
    SCOPED_TRACE(kFaceNames[static_cast<int>(face)]);
    const int lineHeight = atlas_->LineHeight(face);
    EXPECT_GT(lineHeight, 0);
    std::string all;
    for (char c = 32; c <= 126; ++c) {
      EXPECT_GT(atlas_->TextWidth(face, std::string(1, c)), 0) << "'" << c << "'";
      all += c;
    }
    EXPECT_GT(atlas_->TextWidth(face, "\xC2\xA4"), 0);
    // The printable characters leave ink, in the colour asked for.
    orvo::gfx::Surface s(atlas_->TextWidth(face, all), lineHeight, orvo::gfx::kBlack);
    atlas_->DrawText(s, 0, 0, face, all, orvo::gfx::Rgb(0, 255, 0));
    int inked = 0;
    for (orvo::gfx::Color c : s.Pixels()) {
      EXPECT_EQ(c & 0xFF00FF, 0u);
      inked += c != orvo::gfx::kBlack;
    }
    EXPECT_GE(inked, 94);  // at least a pixel from each glyph but the space
  }
}

TEST_F(LabelGlyphs, CoverEveryTextTheLabelsShow) {
  EXPECT_EQ(Uncovered(*atlas_, AllLabelTexts()), "");
}

// The games behind the texts ran as planned, so the texts are not only the
// form's: every game ended and every label showed something.
TEST(LabelGlyphTexts, ComeFromGamesPlayedToTheirEnd) {
  const PlayedTexts played = PlayGames();
  EXPECT_EQ(played.gamesEnded, static_cast<int>(std::size(kAmounts)));
  EXPECT_EQ(played.unscripted, 0);
  std::set<Control> shown;
  for (const LabelText& t : played.texts) {
    if (!t.text.empty()) shown.insert(t.control);
  }
  EXPECT_EQ(shown.size(), static_cast<std::size_t>(orvo::game::kControlCount));
}

// A glyph taken out of the atlas is reported for the label that needs it in
// that face, and only there.
TEST_F(LabelGlyphs, AMissingGlyphIsReportedWithItsLabel) {
  struct Case {
    FontFace face;
    std::uint32_t codePoint;
    const char* report;  // "" when no label needs it
  };
  const Case cases[] = {
      {FontFace::Fixedsys, 0xA4, "Fixedsys U+00A4 in lblBombs"},
      {FontFace::Fixedsys, 'K', "Fixedsys U+004B in lblPoints \"100 K\""},
      {FontFace::Fixedsys, '/', "Fixedsys U+002F in lblReactions \"0/0\""},
      {FontFace::Fixedsys, 'p', "Fixedsys U+0070 in lblAction0 \"Stop\""},
      {FontFace::Fixedsys, 'x', "Fixedsys U+0078 in lblAction1 \"Exit\""},
      {FontFace::WindowDefault, '7', "WindowDefault U+0037 in lblNextLevelPoints"},
      {FontFace::ArialBold, 'H', "ArialBold U+0048 in Label3 \"Your Highscore\""},
      {FontFace::ArialBold, '9', "ArialBold U+0039 in lblScore \"7890\""},
      {FontFace::Fixedsys, '~', ""},
      {FontFace::WindowDefault, 'S', ""},
      {FontFace::ArialBold, 'K', ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(kFaceNames[static_cast<int>(c.face)]) + " " +
                 std::to_string(c.codePoint));
    const Bytes smaller = WithoutGlyph(bytes_, c.face, c.codePoint);
    ASSERT_FALSE(smaller.empty()) << "the atlas has no such glyph to take out";
    std::string reason;
    const std::optional<GlyphAtlas> atlas = GlyphAtlas::Parse(smaller, reason);
    ASSERT_TRUE(atlas) << reason;
    EXPECT_FALSE(atlas->HasGlyph(c.face, c.codePoint));
    const std::string report = Uncovered(*atlas, AllLabelTexts());
    if (*c.report == '\0') {
      EXPECT_EQ(report, "");
    } else {
      EXPECT_EQ(report.rfind(c.report, 0), 0u) << report;
      EXPECT_EQ(std::count(report.begin(), report.end(), '\n'), 1) << report;
    }
  }
}

}  // namespace
}  // namespace orvo_test
