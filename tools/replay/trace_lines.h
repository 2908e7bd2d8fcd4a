// The JSON lines that `trace on` prints, one per traced operation.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "gfx/surface.h"

namespace orvo::replay {

std::string TraceWait(std::int64_t tick, std::int32_t ms);
std::string TraceRefresh(std::int64_t tick);
std::string TraceText(std::int64_t tick, std::string_view name, const std::string& text);
std::string TraceTag(std::int64_t tick, std::string_view name, const std::string& tag);
std::string TraceShow(std::int64_t tick, std::string_view name, bool visible);
std::string TraceColor(std::int64_t tick, std::string_view name, gfx::Color rgb);

}  // namespace orvo::replay
