#pragma once
// Readable text colours: the contrast ratio of two colours as the accessibility guidelines
// define it (1 to 21), and a colour of the wanted hue made dark or light enough to reach a
// ratio against its background.
#include <QColor>

namespace tarvex {

// Relative luminance ratio, lighter over darker, each plus 0.05.
double ContrastRatio(const QColor& a, const QColor& b);

// `want` with its lightness moved away from the background's (darker on a light background,
// lighter on a dark one) just far enough that the ratio reaches `least`; hue and saturation
// stay. `want` itself when it already does.
QColor ReadableOn(const QColor& want, const QColor& background, double least = 4.5);

}  // namespace tarvex
