// JPEG decoding with libjpeg-turbo, straight into the picture's rows.
//
// libjpeg reports errors by calling back, and the callback must not return:
// it jumps back to the one setjmp in Guarded(). Everything that outlives the
// jump lives in a JpegJob owned by DecodeJpeg; the function that the jump
// abandons (DecodeInto) holds no object with a destructor.
#include <csetjmp>
#include <cstdio>
// jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>

#include <vector>

#include "gfx/library_codecs.h"
#include "gfx/picture_decoder.h"

namespace orvo::gfx {

namespace {

// A progressive file may hold many scans, each a pass over the whole image:
// legitimate files have about ten; many hundreds only burn time.
constexpr int kMaxScans = 100;
// The decoder's own working memory (coefficient buffers of a progressive
// file); past it the picture is refused rather than spilled to disk.
constexpr long kMaxDecoderMemory = 32L << 20;

struct JpegJob {
  jpeg_decompress_struct info{};
  jpeg_error_mgr errors{};
  jpeg_progress_mgr progress{};
  std::jmp_buf jump{};
  char message[JMSG_LENGTH_MAX] = {};
  std::string reason;             // set when the picture is refused without a jump
  Surface out;                    // the picture, written row by row
  std::vector<JSAMPLE> cmyk_row;  // one row of a CMYK file before conversion
};

JpegJob& JobOf(j_common_ptr info) {
  return *static_cast<JpegJob*>(info->client_data);
}

[[noreturn]] void Refuse(j_common_ptr info) {
  JpegJob& job = JobOf(info);
  (*info->err->format_message)(info, job.message);
  std::longjmp(job.jump, 1);
}

// Warnings say that the data is damaged (a bad code, a missing end): the
// picture is refused rather than shown with guessed pixels. Trace messages
// (levels 0 and up) are ignored.
void OnMessage(j_common_ptr info, int level) {
  if (level < 0) Refuse(info);
}

[[noreturn]] void RefuseBecause(JpegJob& job, const char* why) {
  std::snprintf(job.message, sizeof job.message, "%s", why);
  std::longjmp(job.jump, 1);
}

void CountScans(j_common_ptr info) {
  if (!info->is_decompressor) return;
  const int scan = reinterpret_cast<j_decompress_ptr>(info)->input_scan_number;
  if (scan > kMaxScans) RefuseBecause(JobOf(info), "too many scans in a progressive JPEG");
}

// Adobe's CMYK files store the inks inverted: each stored value is 255 minus
// the ink, so the light that remains is the product.
Color FromInvertedCmyk(const JSAMPLE* p) {
  const unsigned k = p[3];
  return Rgb(p[0] * k / 255, p[1] * k / 255, p[2] * k / 255);
}

// The decoding proper. A libjpeg error jumps out of it, so it holds no
// object with a destructor; false when the size is refused.
bool DecodeInto(JpegJob& job, std::span<const std::uint8_t> bytes) {
  jpeg_decompress_struct& info = job.info;
  jpeg_create_decompress(&info);
  info.mem->max_memory_to_use = kMaxDecoderMemory;
  job.progress.progress_monitor = CountScans;
  info.progress = &job.progress;
  jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&info, TRUE);
  if (!PictureSizeAllowed(info.image_width, info.image_height, job.reason)) return false;
  const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
  // RGBX puts red in the lowest byte of each 32-bit pixel, as Surface does.
  info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_RGBX;
  jpeg_start_decompress(&info);
  job.out = Surface(static_cast<int>(info.output_width), static_cast<int>(info.output_height));
  if (cmyk) job.cmyk_row.resize(std::size_t{info.output_width} * 4);
  while (info.output_scanline < info.output_height) {
    Color* row = job.out.Row(static_cast<int>(info.output_scanline));
    JSAMPROW target = cmyk ? job.cmyk_row.data() : reinterpret_cast<JSAMPROW>(row);
    if (jpeg_read_scanlines(&info, &target, 1) != 1) RefuseBecause(job, "a row could not be read");
    if (cmyk) {
      for (JDIMENSION x = 0; x < info.output_width; ++x) {
        row[x] = FromInvertedCmyk(&job.cmyk_row[std::size_t{x} * 4]);
      }
    }
  }
  jpeg_finish_decompress(&info);
  return true;
}

bool Guarded(JpegJob& job, std::span<const std::uint8_t> bytes) {
  // The callbacks find the job through client_data, which creating the
  // decompressor keeps.
  job.info.client_data = &job;
  job.info.err = jpeg_std_error(&job.errors);
  job.errors.error_exit = Refuse;
  job.errors.emit_message = OnMessage;
  if (setjmp(job.jump) != 0) return false;
  return DecodeInto(job, bytes);
}

}  // namespace

std::optional<Surface> DecodeJpeg(std::span<const std::uint8_t> bytes, std::string& reason) {
  JpegJob job;
  const bool decoded = Guarded(job, bytes);
  jpeg_destroy_decompress(&job.info);
  if (!decoded) {
    reason = !job.reason.empty() ? job.reason : std::string(job.message);
    return std::nullopt;
  }
  // The fourth byte of each RGBX pixel is filled with ones; a colour keeps
  // its high byte clear.
  for (Color& c : job.out.Pixels()) c &= kWhite;
  return std::move(job.out);
}

}  // namespace orvo::gfx
