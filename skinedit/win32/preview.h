// Bitmap previews: picture controls (SS_BITMAP) that own what they show.
// Each keeps, as its user data, the complete bytes of the .bmp file it was
// given and the displayable bitmap made from them; replacing, clearing or
// destroying the preview frees both.
#pragma once

#include <windows.h>

#include "skin/skinfile.h"

// Set preview: the preview keeps `image` and shows it when it begins with
// "BM" and decodes; an empty image leaves the preview blank. What the
// preview held before is freed.
void SetPreview(HWND preview, SlotImage image);

// The bytes a preview holds; none when it is blank.
const SlotImage* PreviewImage(HWND preview);
