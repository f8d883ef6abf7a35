#include "shell/dialog_units.h"

#include <QFont>
#include <QFontMetrics>
#include <QString>

namespace torvanik {
namespace {

// number * numerator / denominator, rounded half up; all three are non-negative here.
int ScaleRounded(int number, int numerator, int denominator) {
    return (2 * number * numerator + denominator) / (2 * denominator);
}

}  // namespace

DialogBaseUnits MeasureBaseUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return {(letters / 26 + 1) / 2, metrics.height()};
}

int DialogXToPixels(int x, const DialogBaseUnits& units) {
    return ScaleRounded(x, units.cx, 4);
}

int DialogYToPixels(int y, const DialogBaseUnits& units) {
    return ScaleRounded(y, units.cy, 8);
}

PixelRect DialogRectToPixels(int x, int y, int width, int height, const DialogBaseUnits& units) {
    return {DialogXToPixels(x, units), DialogYToPixels(y, units), DialogXToPixels(width, units),
            DialogYToPixels(height, units)};
}

}  // namespace torvanik
