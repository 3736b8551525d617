#include "ui/InfoPlacement.h"

#include <algorithm>

namespace {

// One axis: the sheet starts at `start` and is `extent` long; the window is `size` long.
int PlaceOnAxis(int start, int extent, int size) {
    const int shift = std::min(extent / 4, start);
    const int reach = extent * 3 / 10;
    return size - shift < reach ? start + reach - size : start - shift;
}

} // namespace

SInfoPoint InfoWindowPosition(const SInfoRect& sheet, int width, int height) {
    return {PlaceOnAxis(sheet.left, sheet.width, width), PlaceOnAxis(sheet.top, sheet.height, height)};
}
