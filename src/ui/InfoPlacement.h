#pragma once

// A window rectangle in screen coordinates, in pixels.
struct SInfoRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

struct SInfoPoint {
    int x = 0;
    int y = 0;
};

// Where an information window of `width` by `height` opens next to the sheet whose client area is
// `sheet`: over the sheet's top-left corner, moved up and left by a quarter of the sheet's size
// where the screen leaves room, and always reaching at least three tenths into the sheet.
SInfoPoint InfoWindowPosition(const SInfoRect& sheet, int width, int height);
