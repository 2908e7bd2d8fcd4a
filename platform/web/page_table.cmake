# What the page and the program must agree on, written once. The build
# writes it out as platform/web/page_table.h for the program (in the build
# tree, found through its root) and as page_table.js for the page (an ES
# module in the page's folder), and fills index.html's file list from it.
# The program's own numbers (app::kClientWidth, kFrontLeft...) are checked
# against it when the program is compiled (page_input.cpp).

# The window's size, and where the board lies in it: left, top, width, height.
set(ORVO_PAGE_WINDOW 580 388)
set(ORVO_PAGE_BOARD 50 50 480 288)
# Where the program finds the files that the page fetches for it (by the
# same paths below it): the game's pictures (all of Graphics/, the
# ORVO_PICTURES of the top level), the window's background and the label
# glyphs.
set(ORVO_PAGE_FOLDER /orvo/)
set(ORVO_PAGE_BACKGROUND window_back.jpg)
set(ORVO_PAGE_GLYPHS glyphs.bin)
# The events that the page queues for the program, numbered from 1 in this
# order, each with the fields it carries. Every field is a 32-bit integer:
#   code            a key's virtual-key code
#   x y             the pointer's place, in the window's pixels
#   pad             a gamepad's number
#   button          its button, by its index in the standard layout
#   down            1 when the button went down, 0 when it went up
#   stickX stickY   the left stick, in thousandths from -1000 to 1000, y down
set(ORVO_PAGE_EVENTS
  "KeyDown code"                # a key went down, or repeats while held
  "KeyUp code"                  # ... and went up
  "TapKeyUp code"               # a touch control that stood for a key let go
  "PointerDown x y"             # the primary pointer went down
  "PointerUp x y"               # ... and came up
  "PadButton pad button down"
  "PadStick pad stickX stickY"
  "PadGone pad"                 # the pad was taken away
  "FocusLost")                  # the page lost the keyboard

# The files the program reads, as the page's paths, into `out`.
function(orvo_page_files out)
  set(files "")
  foreach(picture ${ORVO_PICTURES})
    get_filename_component(name ${picture} NAME)
    list(APPEND files Graphics/${name})
  endforeach()
  set(${out} ${files} ${ORVO_PAGE_BACKGROUND} ${ORVO_PAGE_GLYPHS} PARENT_SCOPE)
endfunction()

# The fields of all events, each once, in their order of appearance.
function(orvo_page_fields out)
  set(fields "")
  foreach(event IN LISTS ORVO_PAGE_EVENTS)
    string(REPLACE " " ";" names "${event}")
    list(POP_FRONT names)
    list(APPEND fields ${names})
  endforeach()
  list(REMOVE_DUPLICATES fields)
  set(${out} ${fields} PARENT_SCOPE)
endfunction()

set(ORVO_PAGE_TABLE_NOTE "Written by the build from platform/web/page_table.cmake: edit that.")

# Writes platform/web/page_table.h and puts it where `target` finds it.
function(orvo_page_table_header target)
  string(CONCAT text "// ${ORVO_PAGE_TABLE_NOTE}\n#pragma once\n\n#include <cstdint>\n#include <type_traits>\n\n"
    "namespace orvo::web {\n\n")
  set(names kWindowWidth kWindowHeight kBoardLeft kBoardTop kBoardWidth kBoardHeight)
  set(values ${ORVO_PAGE_WINDOW} ${ORVO_PAGE_BOARD})
  foreach(name value IN ZIP_LISTS names values)
    string(APPEND text "inline constexpr int ${name} = ${value};\n")
  endforeach()
  string(APPEND text "\ninline constexpr char kProgramFolder[] = \"${ORVO_PAGE_FOLDER}\";\n"
    "inline constexpr char kBackgroundFile[] = \"${ORVO_PAGE_BACKGROUND}\";\n"
    "inline constexpr char kGlyphsFile[] = \"${ORVO_PAGE_GLYPHS}\";\n\n"
    "enum class PageEventKind : std::int32_t {\n  None = 0,\n")
  set(i 0)
  foreach(event IN LISTS ORVO_PAGE_EVENTS)
    math(EXPR i "${i} + 1")
    string(REPLACE " " ";" names "${event}")
    list(POP_FRONT names kind)
    list(JOIN names ", " names)
    if(NOT names)
      set(names "none")
    endif()
    string(APPEND text "  ${kind} = ${i},  // fields: ${names}\n")
  endforeach()
  string(APPEND text "};\n\n// As the page writes it: the kind, then every field.\nstruct PageEvent {\n"
    "  PageEventKind kind = PageEventKind::None;\n")
  orvo_page_fields(fields)
  foreach(field IN LISTS fields)
    string(APPEND text "  std::int32_t ${field} = 0;\n")
  endforeach()
  list(LENGTH fields count)
  string(APPEND text "};\ninline constexpr int kPageEventWords = 1 + ${count};\n"
    "static_assert(std::is_standard_layout_v<PageEvent> &&\n"
    "              sizeof(PageEvent) == kPageEventWords * sizeof(std::int32_t));\n\n"
    "}  // namespace orvo::web\n")
  file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/platform/web/page_table.h CONTENT "${text}" @ONLY)
  target_compile_options(${target} PRIVATE "SHELL:-iquote ${CMAKE_BINARY_DIR}")
endfunction()

# Writes the page's ES module `file`.
function(orvo_page_table_script file)
  list(GET ORVO_PAGE_WINDOW 0 width)
  list(GET ORVO_PAGE_WINDOW 1 height)
  string(CONCAT text "// ${ORVO_PAGE_TABLE_NOTE}\n"
    "export const kWindow = { width: ${width}, height: ${height} };\n")
  set(names left top width height)
  foreach(name value IN ZIP_LISTS names ORVO_PAGE_BOARD)
    list(APPEND board "${name}: ${value}")
  endforeach()
  list(JOIN board ", " board)
  orvo_page_files(files)
  list(JOIN files "', '" files)
  string(APPEND text "export const kBoard = { ${board} };\n"
    "export const kProgramFolder = '${ORVO_PAGE_FOLDER}';\n"
    "export const kFiles = ['${files}'];\n"
    "// Each event's kind and fields; the program reads the kind, then all fields in this order.\n")
  orvo_page_fields(fields)
  list(JOIN fields "', '" fields)
  string(APPEND text "export const kFields = ['${fields}'];\nexport const kEvents = {\n")
  set(i 0)
  foreach(event IN LISTS ORVO_PAGE_EVENTS)
    math(EXPR i "${i} + 1")
    string(REPLACE " " ";" names "${event}")
    list(POP_FRONT names kind)
    list(JOIN names "', '" names)
    if(names)
      set(names "'${names}'")
    endif()
    string(APPEND text "  ${kind}: { kind: ${i}, fields: [${names}] },\n")
  endforeach()
  string(APPEND text "};\n")
  file(CONFIGURE OUTPUT ${file} CONTENT "${text}" @ONLY)
endfunction()
