// Window composition with textures: the board surface is streamed into one
// texture, each label's text is rendered once per caption and colour.
#include "platform/sdl/compose.h"

#include <SDL2/SDL_image.h>

namespace orvo::sdl {

namespace {

SDL_Color ToSdl(gfx::Color c) {
  return SDL_Color{static_cast<Uint8>(c & 0xFF), static_cast<Uint8>((c >> 8) & 0xFF),
                   static_cast<Uint8>((c >> 16) & 0xFF), 255};
}

void Release(SDL_Texture*& texture) {
  if (texture) SDL_DestroyTexture(texture);
  texture = nullptr;
}

}  // namespace

Composer::Composer(SDL_Renderer* renderer, const FontSet& fonts)
    : renderer_(renderer), fonts_(fonts) {
  // Board pixels are 0x00BBGGRR words: red in the low byte.
  front_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_XBGR8888, SDL_TEXTUREACCESS_STREAMING,
                             game::kFrontWidth, game::kFrontHeight);
  if (front_) {
    SDL_SetTextureBlendMode(front_, SDL_BLENDMODE_NONE);
    SDL_SetTextureScaleMode(front_, SDL_ScaleModeNearest);
  }
}

Composer::~Composer() {
  for (RenderedLabel& label : labels_) Release(label.texture);
  Release(front_);
  Release(background_);
}

bool Composer::SetBackground(const unsigned char* data, std::size_t size, std::string& error) {
  SDL_RWops* rw = SDL_RWFromConstMem(data, static_cast<int>(size));
  SDL_Surface* picture = rw ? IMG_Load_RW(rw, 1) : nullptr;
  if (!picture) {
    error = std::string("Cannot decode the window's background picture: ") + IMG_GetError();
    return false;
  }
  Release(background_);
  background_ = SDL_CreateTextureFromSurface(renderer_, picture);
  SDL_FreeSurface(picture);
  if (!background_) {
    error = std::string("Cannot make the window's background: ") + SDL_GetError();
    return false;
  }
  SDL_SetTextureBlendMode(background_, SDL_BLENDMODE_NONE);
  SDL_SetTextureScaleMode(background_, SDL_ScaleModeNearest);
  return true;
}

void Composer::UploadFront(const gfx::Surface& front) {
  if (!front_ || front.Width() != game::kFrontWidth || front.Height() != game::kFrontHeight) return;
  SDL_UpdateTexture(front_, nullptr, front.Pixels().data(),
                    front.Width() * static_cast<int>(sizeof(gfx::Color)));
}

Composer::RenderedLabel& Composer::Rendered(const app::FrameView& view, game::Control c) {
  const app::ControlData& layout = view.Layout[c];
  const game::LabelState& data = view.Labels[c];
  RenderedLabel& label = labels_[static_cast<int>(c)];
  if (label.valid && label.caption == data.Caption && label.color == data.TextColor &&
      label.font == layout.Font) {
    return label;
  }
  Release(label.texture);
  label.valid = true;
  label.caption = data.Caption;
  label.color = data.TextColor;
  label.font = layout.Font;
  label.width = 0;
  label.height = 0;
  TTF_Font* font = fonts_.For(layout.Font);
  if (!font) return label;
  label.height = TTF_FontHeight(font);
  if (data.Caption.empty()) return label;
  SDL_Surface* text = TTF_RenderUTF8_Blended(font, data.Caption.c_str(), ToSdl(data.TextColor));
  if (!text) return label;
  label.texture = SDL_CreateTextureFromSurface(renderer_, text);
  label.width = text->w;
  label.height = text->h;
  SDL_FreeSurface(text);
  if (label.texture) {
    SDL_SetTextureBlendMode(label.texture, SDL_BLENDMODE_BLEND);
    SDL_SetTextureScaleMode(label.texture, SDL_ScaleModeNearest);
  }
  return label;
}

SDL_Rect Composer::TextBox(const app::FrameView& view, game::Control c) {
  const app::ControlData& data = view.Layout[c];
  const RenderedLabel& label = Rendered(view, c);
  int x = data.Left;
  if (data.Align == app::Alignment::Right) x = data.Left + data.Width - label.width;
  if (data.Align == app::Alignment::Centre) x = data.Left + data.Width / 2 - label.width / 2;
  int y = data.Top;
  if (data.InsideFront) {
    x += app::kFrontLeft;
    y += app::kFrontTop;
  }
  return SDL_Rect{x, y, label.width, label.texture ? label.height : 0};
}

void Composer::Draw(const app::FrameView& view) {
  SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
  SDL_RenderClear(renderer_);
  if (background_) SDL_RenderCopy(renderer_, background_, nullptr, nullptr);
  if (front_) {
    const SDL_Rect at{app::kFrontLeft, app::kFrontTop, game::kFrontWidth, game::kFrontHeight};
    SDL_RenderCopy(renderer_, front_, nullptr, &at);
  }
  for (int i = 0; i < game::kControlCount; ++i) {
    const auto c = static_cast<game::Control>(i);
    if (!view.Labels[c].Visible) continue;
    const SDL_Rect box = TextBox(view, c);
    const RenderedLabel& label = labels_[i];
    if (label.texture) SDL_RenderCopy(renderer_, label.texture, nullptr, &box);
  }
}

}  // namespace orvo::sdl
