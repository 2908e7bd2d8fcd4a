// The numbers of the resources built into orvo.exe (orvo.rc).
#pragma once

#define ORVO_ICON 1
#define ORVO_WINDOW_BACK 101
#define ORVO_GLYPHS 102
