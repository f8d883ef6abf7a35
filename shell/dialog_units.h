#pragma once

class QFont;

// Dialog units: a quarter of the font's average character width across, an eighth of its
// height down.
namespace torvanik {

struct DialogBaseUnits {
    int cx = 0;  // average character width in pixels
    int cy = 0;  // character height in pixels
};

struct PixelRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    bool operator==(const PixelRect&) const = default;
};

// The average over the 52 letters A-Z and a-z, rounded to whole pixels: the measure the
// templates' coordinates assume.
DialogBaseUnits MeasureBaseUnits(const QFont& font);

// x * cx / 4 and y * cy / 8, each rounded to the nearest pixel.
int DialogXToPixels(int x, const DialogBaseUnits& units);
int DialogYToPixels(int y, const DialogBaseUnits& units);
PixelRect DialogRectToPixels(int x, int y, int width, int height, const DialogBaseUnits& units);

}  // namespace torvanik
