// Image lists: fixed-size images kept as ARGB QImages behind an HIMAGELIST.
#pragma once

#include <QImage>
#include <vector>

#include "win32.h"

namespace w32::cc {

struct ImageList {
    int cx = 16;
    int cy = 16;
    UINT flags = 0;
    std::vector<QImage> images;  // each cx x cy, Format_ARGB32_Premultiplied
};

// The list behind a handle, or nullptr for a handle that is not a live list.
ImageList* LookupImageList(HIMAGELIST himl);

// Splits `strip` into cx-wide images (one when narrower), scales each to
// cx x cy when needed, and appends them. Pixels equal to `mask` (0x00BBGGRR)
// become transparent unless mask is CLR_NONE. Returns the first index or -1.
int AddImages(HIMAGELIST himl, const QImage& strip, COLORREF mask);

// i == -1 appends; otherwise replaces image i. Returns the index or -1.
int ReplaceImage(HIMAGELIST himl, int i, const QImage& image);

// The image lists made and not yet destroyed.
int CountImageLists();

// Image i of the list, or a null image.
QImage Image(HIMAGELIST himl, int i);

}  // namespace w32::cc
