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

Rect MultiplyRect(const Rect& rect, int factor) {
  return {rect.left * factor, rect.top * factor, rect.right * factor, rect.bottom * factor};
}
