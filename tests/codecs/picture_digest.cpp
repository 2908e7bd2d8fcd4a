// Decodes pictures with giflib and libjpeg and prints, for each, its size and
// a digest of its pixels, or the library's reason for refusing it; first the
// libraries' versions. The web and Windows builds link libraries built from
// Debian's sources (scripts/codecs.sh), the Linux build Debian's own: the
// test same_pixels.sh runs both and wants the same lines, which is what lets
// every platform draw the game's pictures alike.
// Usage: orvo-picture-digest FILE...
#include <algorithm>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>
// jpeglib.h needs size_t and FILE declared before it.
#include <gif_lib.h>
#include <jpeglib.h>

namespace {

// FNV-1a, 64 bits: enough to tell pixels apart, and the same everywhere.
struct Digest {
  std::uint64_t value = 14695981039346656037ull;
  void Add(const unsigned char* bytes, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) {
      value = (value ^ bytes[i]) * 1099511628211ull;
    }
  }
};

std::string Line(unsigned width, unsigned height, const Digest& digest) {
  char text[64];
  std::snprintf(text, sizeof text, "%ux%u %016llx", width, height,
                static_cast<unsigned long long>(digest.value));
  return text;
}

std::string GifRefusal(int code) {
  const char* text = GifErrorString(code);
  return "refused: " + (text ? std::string(text) : "GIF error " + std::to_string(code));
}

struct Bytes {
  const std::vector<unsigned char>& data;
  std::size_t pos = 0;
};

int ReadGif(GifFileType* gif, GifByteType* into, int wanted) {
  auto* in = static_cast<Bytes*>(gif->UserData);
  const std::size_t n = std::min<std::size_t>(wanted < 0 ? 0 : wanted, in->data.size() - in->pos);
  std::memcpy(into, in->data.data() + in->pos, n);
  in->pos += n;
  return static_cast<int>(n);
}

// The first image's colours, row by row, through its own colour map or the
// screen's.
std::string Gif(const std::vector<unsigned char>& data) {
  Bytes in{data};
  int error = 0;
  GifFileType* gif = DGifOpen(&in, ReadGif, &error);
  if (gif == nullptr) return GifRefusal(error);
  std::string result;
  if (DGifSlurp(gif) != GIF_OK) {
    result = GifRefusal(gif->Error);
  } else if (gif->ImageCount < 1) {
    result = "refused: no image";
  } else {
    const SavedImage& image = gif->SavedImages[0];
    const ColorMapObject* map =
        image.ImageDesc.ColorMap ? image.ImageDesc.ColorMap : gif->SColorMap;
    const long count = long{image.ImageDesc.Width} * image.ImageDesc.Height;
    Digest digest;
    for (long i = 0; i < count; ++i) {
      const int index = image.RasterBits[i];
      unsigned char rgb[3] = {0, 0, 0};
      if (map != nullptr && index < map->ColorCount) {
        rgb[0] = map->Colors[index].Red;
        rgb[1] = map->Colors[index].Green;
        rgb[2] = map->Colors[index].Blue;
      }
      digest.Add(rgb, 3);
    }
    result = Line(image.ImageDesc.Width, image.ImageDesc.Height, digest);
  }
  DGifCloseFile(gif, &error);
  return result;
}

// Everything that outlives libjpeg's jump out of an error.
struct JpegJob {
  jpeg_decompress_struct info{};
  jpeg_error_mgr errors{};
  std::jmp_buf jump{};
  char message[JMSG_LENGTH_MAX] = {};
  std::vector<JSAMPLE> row;
  Digest digest;
};

[[noreturn]] void JpegFail(j_common_ptr info) {
  auto* job = static_cast<JpegJob*>(info->client_data);
  (*info->err->format_message)(info, job->message);
  std::longjmp(job->jump, 1);
}

// A warning (damaged data) refuses the picture, as the game's decoder does.
void JpegMessage(j_common_ptr info, int level) {
  if (level < 0) JpegFail(info);
}

// The pixels as the game asks for them: CMYK as it is, anything else as RGB
// in four bytes a pixel (the fourth is left out of the digest). An error
// jumps out of it, so it holds no object with a destructor.
void JpegInto(JpegJob& job, const std::vector<unsigned char>& data) {
  jpeg_decompress_struct& info = job.info;
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, data.data(), static_cast<unsigned long>(data.size()));
  jpeg_read_header(&info, TRUE);
  const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
  info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_RGBX;
  jpeg_start_decompress(&info);
  job.row.resize(std::size_t{info.output_width} * 4);
  while (info.output_scanline < info.output_height) {
    JSAMPROW rows[] = {job.row.data()};
    jpeg_read_scanlines(&info, rows, 1);
    for (std::size_t x = 0; x < info.output_width; ++x) {
      job.digest.Add(&job.row[x * 4], cmyk ? 4 : 3);
    }
  }
  jpeg_finish_decompress(&info);
}

bool JpegGuarded(JpegJob& job, const std::vector<unsigned char>& data) {
  job.info.client_data = &job;
  job.info.err = jpeg_std_error(&job.errors);
  job.errors.error_exit = JpegFail;
  job.errors.emit_message = JpegMessage;
  if (setjmp(job.jump) != 0) return false;
  JpegInto(job, data);
  return true;
}

std::string Jpeg(const std::vector<unsigned char>& data) {
  JpegJob job;
  const std::string result = JpegGuarded(job, data)
                                 ? Line(job.info.output_width, job.info.output_height, job.digest)
                                 : std::string("refused: ") + job.message;
  jpeg_destroy_decompress(&job.info);
  return result;
}

}  // namespace

int main(int argc, char** argv) {
  std::printf("giflib %d.%d.%d, libjpeg-turbo %d (libjpeg %d)\n", GIFLIB_MAJOR, GIFLIB_MINOR,
              GIFLIB_RELEASE, LIBJPEG_TURBO_VERSION_NUMBER, JPEG_LIB_VERSION);
  int status = argc > 1 ? 0 : 2;
  for (int i = 1; i < argc; ++i) {
    const char* name = std::strrchr(argv[i], '/');
    name = name ? name + 1 : argv[i];
    std::ifstream file(argv[i], std::ios::binary);
    std::vector<unsigned char> data((std::istreambuf_iterator<char>(file)),
                                    std::istreambuf_iterator<char>());
    if (!file.good() && !file.eof()) {
      std::printf("%s: unreadable\n", name);
      status = 1;
      continue;
    }
    const bool gif = data.size() >= 3 && std::memcmp(data.data(), "GIF", 3) == 0;
    std::printf("%s: %s\n", name, (gif ? Gif(data) : Jpeg(data)).c_str());
  }
  return status;
}
