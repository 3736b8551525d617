#include "ui/InfoPlacement.h"

#include <algorithm>

namespace {

// Between the sheet and a window beside it.
constexpr int kBesideGap = 8;

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

SInfoRect InfoWindowPlace(const SInfoSheetPlace& sheet, int width, int height) {
    const SInfoRect& frame = sheet.frame;
    const SInfoRect& screen = sheet.screen;
    const int frameWidth = frame.width - sheet.client.width;
    const int frameHeight = frame.height - sheet.client.height;
    // The client width that fits on each side.
    const int roomRight = screen.left + screen.width - (frame.left + frame.width + kBesideGap) - frameWidth;
    const int roomLeft = frame.left - kBesideGap - screen.left - frameWidth;
    const int narrowest = width - width / 3;
    int fitted = width;
    bool right = true;
    if (roomRight >= width) {
        right = true;
    } else if (roomLeft >= width) {
        right = false;
    } else if (std::max(roomRight, roomLeft) >= narrowest) {
        right = roomRight >= roomLeft;
        fitted = right ? roomRight : roomLeft;
    } else {
        const SInfoPoint corner = InfoWindowPosition(sheet.client, width, height);
        return {corner.x, corner.y, width, height};
    }
    const int x =
        right ? frame.left + frame.width + kBesideGap : frame.left - kBesideGap - frameWidth - fitted;
    const int lowest = screen.top + screen.height - (height + frameHeight);
    return {x, std::max(screen.top, std::min(frame.top, lowest)), fitted, height};
}
