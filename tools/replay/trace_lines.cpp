#include "tools/replay/trace_lines.h"

#include <nlohmann/json.hpp>

namespace orvo::replay {
namespace {

using Json = nlohmann::ordered_json;

Json Line(std::int64_t tick, const char* op) {
  Json j;
  j["tick"] = tick;
  j["op"] = op;
  return j;
}

Json Named(std::int64_t tick, const char* op, std::string_view name) {
  Json j = Line(tick, op);
  j["name"] = std::string(name);
  return j;
}

}  // namespace

std::string TraceWait(std::int64_t tick, std::int32_t ms) {
  Json j = Line(tick, "wait");
  j["ms"] = ms;
  return j.dump();
}

std::string TraceRefresh(std::int64_t tick) {
  return Line(tick, "refresh").dump();
}

std::string TraceRefresh(std::int64_t tick, const std::string& board) {
  Json j = Line(tick, "refresh");
  j["board"] = board;
  return j.dump();
}

std::string TraceText(std::int64_t tick, std::string_view name, const std::string& text) {
  Json j = Named(tick, "text", name);
  j["text"] = text;
  return j.dump();
}

std::string TraceTag(std::int64_t tick, std::string_view name, const std::string& tag) {
  Json j = Named(tick, "tag", name);
  j["tag"] = tag;
  return j.dump();
}

std::string TraceShow(std::int64_t tick, std::string_view name, bool visible) {
  Json j = Named(tick, "show", name);
  j["visible"] = visible;
  return j.dump();
}

std::string TraceColor(std::int64_t tick, std::string_view name, gfx::Color rgb) {
  Json j = Named(tick, "color", name);
  j["rgb"] = {rgb & 0xFFu, (rgb >> 8) & 0xFFu, (rgb >> 16) & 0xFFu};
  return j.dump();
}

}  // namespace orvo::replay
