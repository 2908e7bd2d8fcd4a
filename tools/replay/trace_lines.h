// The JSON lines that `trace on` and `trace frames` print, one per traced
// operation.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "gfx/surface.h"

namespace orvo::replay {

std::string TraceWait(std::int64_t tick, std::int32_t ms);
std::string TraceRefresh(std::int64_t tick);
// The refresh line of `trace frames`, with the board surface's digest.
std::string TraceRefresh(std::int64_t tick, const std::string& board);
std::string TraceText(std::int64_t tick, std::string_view name, const std::string& text);
std::string TraceTag(std::int64_t tick, std::string_view name, const std::string& tag);
std::string TraceShow(std::int64_t tick, std::string_view name, bool visible);
std::string TraceColor(std::int64_t tick, std::string_view name, gfx::Color rgb);

}  // namespace orvo::replay
