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

long long Overlap(const SInfoRect& a, const SInfoRect& b) {
    const long long w = std::min(a.left + a.width, b.left + b.width) - std::max(a.left, b.left);
    const long long h = std::min(a.top + a.height, b.top + b.height) - std::max(a.top, b.top);
    return w > 0 && h > 0 ? w * h : 0;
}

// Without room beside the sheet: over its corner where that leaves the parts to keep clear free;
// else the free place that covers the least of the sheet, tried at the screen's and the sheet's
// corners and edges.
SInfoRect OverTheSheet(const SInfoSheetPlace& sheet, int width, int height) {
    const SInfoPoint corner = InfoWindowPosition(sheet.client, width, height);
    const SInfoRect place{corner.x, corner.y, width, height};
    const auto covered = [&](const SInfoRect& r) {
        long long area = 0;
        for (const SInfoRect& part : sheet.keepClear) {
            area += Overlap(r, part);
        }
        return area;
    };
    if (covered(place) == 0) {
        return place;
    }
    const SInfoRect& screen = sheet.screen;
    const SInfoRect& client = sheet.client;
    const int right = screen.left + screen.width - width;
    const int bottom = screen.top + screen.height - height;
    const int xs[] = {screen.left, right, client.left + client.width - width, corner.x};
    const int ys[] = {screen.top, bottom, client.top, corner.y};
    SInfoRect best = place;
    long long bestCovered = covered(place);
    long long bestOverSheet = Overlap(place, sheet.frame);
    for (int x : xs) {
        for (int y : ys) {
            const SInfoRect r{std::max(screen.left, std::min(x, right)),
                              std::max(screen.top, std::min(y, bottom)), width, height};
            const long long c = covered(r);
            const long long over = Overlap(r, sheet.frame);
            if (c < bestCovered || (c == bestCovered && over < bestOverSheet)) {
                best = r;
                bestCovered = c;
                bestOverSheet = over;
            }
        }
    }
    return best;
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
        return OverTheSheet(sheet, width, height);
    }
    const int x =
        right ? frame.left + frame.width + kBesideGap : frame.left - kBesideGap - frameWidth - fitted;
    const int lowest = screen.top + screen.height - (height + frameHeight);
    return {x, std::max(screen.top, std::min(frame.top, lowest)), fitted, height};
}
