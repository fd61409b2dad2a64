#include "common/ui/contrast.h"

#include <cmath>

namespace tarvex {

namespace {
double Linear(double c) { return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); }
double Luminance(const QColor& c) {
  const QColor rgb = c.toRgb();
  return 0.2126 * Linear(rgb.redF()) + 0.7152 * Linear(rgb.greenF()) + 0.0722 * Linear(rgb.blueF());
}
}  // namespace

double ContrastRatio(const QColor& a, const QColor& b) {
  const double la = Luminance(a), lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor ReadableOn(const QColor& want, const QColor& background, double least) {
  if (ContrastRatio(want, background) >= least) return want;
  const bool darker = Luminance(background) >= 0.18;  // black text reads better than white here
  const QColor hsl = want.toHsl();
  const float h = hsl.hslHueF(), s = hsl.hslSaturationF(), a = hsl.alphaF();
  float lo = hsl.lightnessF(), hi = darker ? 0.0f : 1.0f;  // lo fails, hi (black or white) is the best there is
  // In 8 bits a channel: the colour must keep its ratio once written as #rrggbb.
  auto at = [&](float l) {
    QColor c = QColor::fromHslF(h < 0 ? 0 : h, s, l);
    c = QColor(c.rgb());
    c.setAlphaF(a);
    return c;
  };
  for (int i = 0; i < 24; ++i) {  // halve the interval: the first lightness that reaches the ratio
    const float mid = (lo + hi) / 2;
    if (ContrastRatio(at(mid), background) >= least) hi = mid;
    else lo = mid;
  }
  return at(hi);
}

}  // namespace tarvex
