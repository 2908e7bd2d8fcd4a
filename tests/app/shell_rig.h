// The window shell on a headless platform that records what the shell asked
// of it: the frames it presented, the fatal message, and a label text whose
// every character is a fully covered 8 x 16 cell, so that frames show where
// each label's text lies.
#pragma once

#include <optional>
#include <string>

#include "app/shell.h"
#include "platform/headless/headless_platform.h"
#include "tests/gfx/disk_files.h"

namespace orvo_test {

class SolidCellText : public orvo::app::LabelText {
 public:
  orvo::gfx::AlphaMask Render(orvo::app::FontFace, const std::string& utf8) const override {
    orvo::gfx::AlphaMask mask = orvo::headless::FixedCellText().Render({}, utf8);
    mask.Alpha.assign(mask.Alpha.size(), 255);
    return mask;
  }
};

class RecordingPlatform : public orvo::headless::HeadlessPlatform {
  static inline const DiskFiles kFiles;

 public:
  explicit RecordingPlatform(std::string folder) : HeadlessPlatform(kFiles, std::move(folder)) {}

  bool openFails = false;
  std::optional<orvo::gfx::Surface> lastFrame;
  std::string fatalTitle;
  std::string fatalMessage;

  bool OpenWindow(orvo::gfx::Surface& background, std::string& error) override {
    if (openFails) {
      error = "Cannot open the window: no display";
      return false;
    }
    background = orvo::gfx::Surface(orvo::app::kClientWidth, orvo::app::kClientHeight,
                                    orvo::gfx::Rgb(1, 2, 3));
    return true;
  }
  void PresentFrame(const orvo::gfx::Surface& frame) override {
    HeadlessPlatform::PresentFrame(frame);
    lastFrame = frame;
  }
  void ShowFatalMessage(const std::string& title, const std::string& message) override {
    fatalTitle = title;
    fatalMessage = message;
  }
  const orvo::app::LabelText& Text() override { return text_; }

 private:
  SolidCellText text_;
};

}  // namespace orvo_test
