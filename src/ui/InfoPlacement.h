#pragma once

#include <vector>

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

// The sheet as the window system has it: its client area and its outer frame (title bar and borders
// included), and the part of the screen windows may take.
struct SInfoSheetPlace {
    SInfoRect client;
    SInfoRect frame;
    SInfoRect screen;
    // The parts of the sheet an explanation must never cover (the tab column, the buttons): the
    // user clicks there while the explanation is open.
    std::vector<SInfoRect> keepClear;
};

// Where an information window whose client area is `width` by `height` opens so that it covers none
// of the sheet: beside the sheet's frame, level with the sheet's top and kept on the screen, when
// the screen has room there. The right side comes first, then the left; without room for the whole
// width on either, the window may be narrowed by up to a third to fit on the roomier side. The
// window's own frame is taken to be as thick as the sheet's. Without room on either side, the place
// over the sheet's corner above, at the full size, unless that covers a part to keep clear: then
// the place on the screen that covers none of those and the least of the sheet. The rectangle holds where the
// window's frame starts and the window's client size.
SInfoRect InfoWindowPlace(const SInfoSheetPlace& sheet, int width, int height);
