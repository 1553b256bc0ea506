// Load bitmap into preview, the part that needs no window: a .bmp file's
// bytes read whole and checked before a preview takes them.
#pragma once

#include "skin/bmp.h"
#include "skin/skinfile.h"

enum class BitmapFileResult { kRead, kTooLarge, kOutOfMemory, kNotWhole };

// Reads the file behind `file` into `image`: refused before anything is
// read when it is longer than 1,048,576 bytes; refused when fewer bytes
// arrive than it is long or when its own size field (offset 2) is not its
// length. The "BM" letters are not looked at: a file without them is kept,
// it only shows no picture. `image` is changed only when the file is taken.
BitmapFileResult ReadBitmapFile(SkinSource& file, SlotImage* image);

// "Error: Image size cannot exceed 1MB.", "Error: Out of memory.", "Error:
// Could not read entire file", or none for kRead.
const char* BitmapFileMessage(BitmapFileResult result);

// What a bitmap preview shows of a picture: the whole of it, shrunk to fit
// a box of `boxWidth` x `boxHeight` pixels keeping its proportions (never
// enlarged, at least one pixel a side), each pixel the average of those it
// covers. With `keyClear`, pixels of the key colour show `background`
// instead, as the trees show a check box's key-colour corners, and the
// picture comes centred on a box-sized `background`.
BmpImage FitPreviewPicture(const BmpImage& picture, int boxWidth, int boxHeight, bool keyClear,
                           Pixel background);

// Whether a preview (by control id) shows a check box, whose key colour is
// transparent.
bool PreviewShowsCheckBox(int previewId);
