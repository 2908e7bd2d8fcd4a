#include "platform/win32/wic_picture_decoder.h"

#include <wincodec.h>
#include <windows.h>

#include <cstdio>
#include <vector>

#include "gfx/picture_header.h"

namespace orvo::win32 {

namespace {

// Releases a COM object when it goes out of scope.
template <typename T>
class Com {
 public:
  Com() = default;
  ~Com() {
    if (p_) p_->Release();
  }
  Com(const Com&) = delete;
  Com& operator=(const Com&) = delete;
  T** Out() { return &p_; }
  T* operator->() const { return p_; }
  T* Get() const { return p_; }

 private:
  T* p_ = nullptr;
};

std::string Failed(const char* what, HRESULT hr) {
  char code[16];
  std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(hr));
  return std::string("WIC cannot ") + what + " (" + code + ")";
}

// An unsigned integer of the frame's metadata at `name`, or `fallback`.
UINT MetadataNumber(IWICBitmapFrameDecode* frame, const wchar_t* name, UINT fallback) {
  Com<IWICMetadataQueryReader> reader;
  if (FAILED(frame->GetMetadataQueryReader(reader.Out()))) return fallback;
  PROPVARIANT value;
  PropVariantInit(&value);
  UINT result = fallback;
  if (SUCCEEDED(reader->GetMetadataByName(name, &value)) && value.vt == VT_UI2) {
    result = value.uiVal;
  }
  PropVariantClear(&value);
  return result;
}

// GIF's logical screen: its size and the colour of its background, read
// from the bytes after the header's checks passed them.
struct GifScreen {
  int width = 0;
  int height = 0;
  gfx::Color background = gfx::kBlack;
};

GifScreen ScreenOf(std::span<const std::uint8_t> bytes) {
  GifScreen screen;
  if (bytes.size() < 13) return screen;
  screen.width = bytes[6] | (bytes[7] << 8);
  screen.height = bytes[8] | (bytes[9] << 8);
  const std::uint8_t flags = bytes[10];
  const std::size_t index = bytes[11];
  if ((flags & 0x80) != 0) {
    const std::size_t entries = std::size_t{2} << (flags & 7);
    const std::size_t at = 13 + 3 * index;
    if (index < entries && at + 3 <= bytes.size()) {
      screen.background = gfx::Rgb(bytes[at], bytes[at + 1], bytes[at + 2]);
    }
  }
  return screen;
}

}  // namespace

WicPictureDecoder::WicPictureDecoder() {
  com_started_ =
      SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
  CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                   reinterpret_cast<void**>(&factory_));
}

WicPictureDecoder::~WicPictureDecoder() {
  if (factory_) factory_->Release();
  if (com_started_) CoUninitialize();
}

std::optional<gfx::Surface> WicPictureDecoder::Decode(std::span<const std::uint8_t> bytes,
                                                      std::string& reason) const {
  const std::optional<gfx::PictureHeader> header = gfx::CheckPictureHeader(bytes, reason);
  if (!header) return std::nullopt;
  if (factory_ == nullptr) {
    reason = "Windows Imaging Component is not available";
    return std::nullopt;
  }
  Com<IWICStream> stream;
  HRESULT hr = factory_->CreateStream(stream.Out());
  if (SUCCEEDED(hr)) {
    hr = stream->InitializeFromMemory(const_cast<BYTE*>(bytes.data()),
                                      static_cast<DWORD>(bytes.size()));
  }
  if (FAILED(hr)) {
    reason = Failed("read the bytes", hr);
    return std::nullopt;
  }
  Com<IWICBitmapDecoder> decoder;
  hr = factory_->CreateDecoderFromStream(stream.Get(), nullptr, WICDecodeMetadataCacheOnDemand,
                                         decoder.Out());
  if (FAILED(hr)) {
    reason = Failed("read the picture", hr);
    return std::nullopt;
  }
  Com<IWICBitmapFrameDecode> frame;
  hr = decoder->GetFrame(0, frame.Out());
  if (FAILED(hr)) {
    reason = Failed("read the first image", hr);
    return std::nullopt;
  }
  UINT width = 0;
  UINT height = 0;
  hr = frame->GetSize(&width, &height);
  if (FAILED(hr)) {
    reason = Failed("read the size", hr);
    return std::nullopt;
  }
  // WIC's size is the first image's; a GIF's picture is its screen, grown
  // where the image reaches past it.
  int left = 0;
  int top = 0;
  std::int64_t outWidth = width;
  std::int64_t outHeight = height;
  gfx::Color fill = gfx::kBlack;
  if (header->format == gfx::PictureFormat::kGif) {
    const GifScreen screen = ScreenOf(bytes);
    left = static_cast<int>(MetadataNumber(frame.Get(), L"/imgdesc/Left", 0));
    top = static_cast<int>(MetadataNumber(frame.Get(), L"/imgdesc/Top", 0));
    outWidth = std::max<std::int64_t>(screen.width, std::int64_t{left} + width);
    outHeight = std::max<std::int64_t>(screen.height, std::int64_t{top} + height);
    fill = screen.background;
  }
  if (!gfx::PictureSizeAllowed(outWidth, outHeight, reason) ||
      !gfx::PictureSizeAllowed(width, height, reason)) {
    return std::nullopt;
  }
  Com<IWICBitmapSource> converted;
  hr = WICConvertBitmapSource(GUID_WICPixelFormat32bppBGR, frame.Get(), converted.Out());
  std::vector<std::uint32_t> bgr(static_cast<std::size_t>(width) * height);
  if (SUCCEEDED(hr)) {
    hr = converted->CopyPixels(nullptr, width * 4, static_cast<UINT>(bgr.size() * 4),
                               reinterpret_cast<BYTE*>(bgr.data()));
  }
  if (FAILED(hr)) {
    reason = Failed("decode the pixels", hr);
    return std::nullopt;
  }
  gfx::Surface picture(static_cast<int>(outWidth), static_cast<int>(outHeight), fill);
  for (UINT y = 0; y < height; ++y) {
    gfx::Color* row = picture.Row(top + static_cast<int>(y)) + left;
    const std::uint32_t* from = bgr.data() + static_cast<std::size_t>(y) * width;
    for (UINT x = 0; x < width; ++x) {
      const std::uint32_t p = from[x];
      row[x] = gfx::Rgb((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
  }
  return picture;
}

}  // namespace orvo::win32
