// Writes JPEG fixtures with libjpeg itself: baseline or progressive, in
// colour, greyscale or (Adobe-inverted) CMYK.
#pragma once

#include <cstdio>
// jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>

#include <cstdlib>
#include <vector>

#include "gfx/surface.h"

namespace orvo::gfx::testing {

enum class JpegKind { kColour, kGrey, kCmyk };

// A progressive scan script with one scan for every coefficient band of
// every component after the DC scan: 64 scans for greyscale, 190 for colour.
inline std::vector<jpeg_scan_info> ScanPerBand(int components) {
  std::vector<jpeg_scan_info> scans;
  jpeg_scan_info dc{};
  dc.comps_in_scan = components;
  for (int c = 0; c < components; ++c) dc.component_index[c] = c;
  scans.push_back(dc);
  for (int c = 0; c < components; ++c) {
    for (int band = 1; band < 64; ++band) {
      jpeg_scan_info ac{};
      ac.comps_in_scan = 1;
      ac.component_index[0] = c;
      ac.Ss = ac.Se = band;
      scans.push_back(ac);
    }
  }
  return scans;
}

// `scanPerBand` writes the progressive script above instead of libjpeg's.
inline std::vector<std::uint8_t> EncodeJpeg(const Surface& s, JpegKind kind = JpegKind::kColour,
                                            bool progressive = false, int quality = 95,
                                            bool scanPerBand = false) {
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = static_cast<JDIMENSION>(s.Width());
  info.image_height = static_cast<JDIMENSION>(s.Height());
  info.input_components = kind == JpegKind::kColour ? 3 : kind == JpegKind::kGrey ? 1 : 4;
  info.in_color_space = kind == JpegKind::kColour ? JCS_RGB
                        : kind == JpegKind::kGrey ? JCS_GRAYSCALE
                                                  : JCS_CMYK;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  if (progressive) jpeg_simple_progression(&info);
  const std::vector<jpeg_scan_info> script = ScanPerBand(info.input_components);
  if (scanPerBand) {
    info.scan_info = script.data();
    info.num_scans = static_cast<int>(script.size());
  }
  jpeg_start_compress(&info, TRUE);
  std::vector<JSAMPLE> row(static_cast<std::size_t>(s.Width()) * 4);
  for (int y = 0; y < s.Height(); ++y) {
    for (int x = 0; x < s.Width(); ++x) {
      const Color c = GetPixel(s, x, y);
      const JSAMPLE r = c & 0xFF, g = (c >> 8) & 0xFF, b = (c >> 16) & 0xFF;
      JSAMPLE* p = &row[static_cast<std::size_t>(x) * info.input_components];
      if (kind == JpegKind::kColour) {
        p[0] = r, p[1] = g, p[2] = b;
      } else if (kind == JpegKind::kGrey) {
        p[0] = g;
      } else {  // stored inverted, as Adobe's files do: full values are no ink
        p[0] = r, p[1] = g, p[2] = b, p[3] = 255;
      }
    }
    JSAMPROW rows[] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::vector<std::uint8_t> out(buffer, buffer + size);
  std::free(buffer);
  return out;
}

}  // namespace orvo::gfx::testing
