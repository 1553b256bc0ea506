#include "base/scale.h"

#include <cstdint>

int ScaleForDpi(int value, int dpi) {
  if (dpi <= 0) dpi = kBaseDpi;
  const int64_t product = static_cast<int64_t>(value) * dpi;
  const int64_t half = kBaseDpi / 2;
  const int64_t scaled = product >= 0 ? (product + half) / kBaseDpi : -((-product + half) / kBaseDpi);
  if (scaled > INT32_MAX) return INT32_MAX;
  if (scaled < INT32_MIN) return INT32_MIN;
  return static_cast<int>(scaled);
}

int SkinMultipleForDpi(int dpi) {
  if (dpi <= 0) return 1;
  const int multiple = (dpi + kBaseDpi / 2) / kBaseDpi;
  if (multiple < 1) return 1;
  return multiple > kMaxSkinMultiple ? kMaxSkinMultiple : multiple;
}

int MultiplySaturated(int value, int factor) {
  const int64_t product = static_cast<int64_t>(value) * factor;
  if (product > INT32_MAX) return INT32_MAX;
  if (product < INT32_MIN) return INT32_MIN;
  return static_cast<int>(product);
}

Rect MultiplyRect(const Rect& rect, int factor) {
  return {MultiplySaturated(rect.left, factor), MultiplySaturated(rect.top, factor),
          MultiplySaturated(rect.right, factor), MultiplySaturated(rect.bottom, factor)};
}
