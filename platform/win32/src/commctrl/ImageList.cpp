#include "commctrl/ImageList.h"

#include <QPainter>
#include <mutex>
#include <unordered_set>

#include "commctrl/Glue.h"

namespace w32::cc {
namespace {

std::mutex g_mutex;
std::unordered_set<ImageList*>& Live() {
    static auto* live = new std::unordered_set<ImageList*>;  // outlives static destructors
    return *live;
}

QImage Fit(const QImage& src, int cx, int cy) {
    QImage img = src.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (img.width() != cx || img.height() != cy)
        img = img.scaled(cx, cy, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return img;
}

}  // namespace

ImageList* LookupImageList(HIMAGELIST himl) {
    auto* p = reinterpret_cast<ImageList*>(himl);
    std::lock_guard<std::mutex> lock(g_mutex);
    return p && Live().count(p) ? p : nullptr;
}

int CountImageLists() {
    std::lock_guard<std::mutex> lock(g_mutex);
    return static_cast<int>(Live().size());
}

int AddImages(HIMAGELIST himl, const QImage& strip, COLORREF mask) {
    ImageList* il = LookupImageList(himl);
    if (!il || strip.isNull()) return -1;
    QImage src = strip.convertToFormat(QImage::Format_ARGB32);
    if (mask != CLR_NONE) {
        const QRgb key = w32::ToQColor(mask).rgb();
        for (int y = 0; y < src.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(src.scanLine(y));
            for (int x = 0; x < src.width(); ++x)
                if ((line[x] & 0x00FFFFFF) == (key & 0x00FFFFFF)) line[x] = 0;
        }
    }
    const int first = static_cast<int>(il->images.size());
    const int count = src.width() >= 2 * il->cx ? src.width() / il->cx : 1;
    for (int i = 0; i < count; ++i) {
        QImage part = count == 1 ? src : src.copy(i * il->cx, 0, il->cx, src.height());
        il->images.push_back(Fit(part, il->cx, il->cy));
    }
    return first;
}

int ReplaceImage(HIMAGELIST himl, int i, const QImage& image) {
    ImageList* il = LookupImageList(himl);
    if (!il || image.isNull()) return -1;
    QImage img = Fit(image, il->cx, il->cy);
    if (i == -1) {
        il->images.push_back(img);
        return static_cast<int>(il->images.size()) - 1;
    }
    if (i < 0 || i >= static_cast<int>(il->images.size())) return -1;
    il->images[i] = img;
    return i;
}

QImage Image(HIMAGELIST himl, int i) {
    ImageList* il = LookupImageList(himl);
    if (!il || i < 0 || i >= static_cast<int>(il->images.size())) return {};
    return il->images[i];
}

}  // namespace w32::cc

using namespace w32::cc;

HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int cInitial, int cGrow) {
    if (cx <= 0 || cy <= 0) return nullptr;
    auto* il = new ImageList;
    il->cx = cx;
    il->cy = cy;
    il->flags = flags;
    if (cInitial > 0) il->images.reserve(cInitial);
    std::lock_guard<std::mutex> lock(g_mutex);
    Live().insert(il);
    return reinterpret_cast<HIMAGELIST>(il);
}

BOOL ImageList_Destroy(HIMAGELIST himl) {
    auto* p = reinterpret_cast<ImageList*>(himl);
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        if (!p || !Live().erase(p)) return FALSE;
    }
    delete p;
    return TRUE;
}

int ImageList_GetImageCount(HIMAGELIST himl) {
    ImageList* il = LookupImageList(himl);
    return il ? static_cast<int>(il->images.size()) : 0;
}

BOOL ImageList_GetIconSize(HIMAGELIST himl, int* cx, int* cy) {
    ImageList* il = LookupImageList(himl);
    if (!il || !cx || !cy) return FALSE;
    *cx = il->cx;
    *cy = il->cy;
    return TRUE;
}

int ImageList_Add(HIMAGELIST himl, HBITMAP hbmImage, HBITMAP) {
    return AddImages(himl, w32::ImageOfBitmap(hbmImage), CLR_NONE);
}

int ImageList_AddMasked(HIMAGELIST himl, HBITMAP hbmImage, COLORREF crMask) {
    return AddImages(himl, w32::ImageOfBitmap(hbmImage), crMask);
}

int ImageList_ReplaceIcon(HIMAGELIST himl, int i, HICON hicon) {
    return ReplaceImage(himl, i, w32::ImageOfIcon(hicon));
}

BOOL ImageList_Remove(HIMAGELIST himl, int i) {
    ImageList* il = LookupImageList(himl);
    if (!il) return FALSE;
    if (i == -1) {
        il->images.clear();
        return TRUE;
    }
    if (i < 0 || i >= static_cast<int>(il->images.size())) return FALSE;
    il->images.erase(il->images.begin() + i);
    return TRUE;
}

BOOL ImageList_Draw(HIMAGELIST himl, int i, HDC hdcDst, int x, int y, UINT) {
    QImage img = Image(himl, i);
    if (img.isNull()) return FALSE;
    return DrawImageOnDc(hdcDst, x, y, img) ? TRUE : FALSE;
}
