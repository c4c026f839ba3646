// GDI over QImage: objects (fonts, brushes, pens, bitmaps, regions), device
// contexts of windows and memory, drawing and text output; the decoding of
// bitmap and icon resources, the program's own icon among them.
#include <QtCore/QBuffer>
#include <QtCore/QCoreApplication>
#include <QtCore/QtEndian>
#include <QtCore/QFileInfo>
#include <QtGui/QFontDatabase>
#include <QtGui/QFontMetrics>
#include <QtGui/QGlyphRun>
#include <QtGui/QGuiApplication>
#include <QtGui/QImageReader>
#include <QtGui/QPainter>
#include <QtGui/QPixmap>
#include <QtGui/QRawFont>
#include <QtGui/QScreen>
#include <QtGui/QTextLayout>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <unordered_set>

#if defined(__x86_64__) || defined(__i386__)
#include <tmmintrin.h>
#endif

#include "core.h"
#include "platform/gbk/gbk.h"
#include "res/resdata.h"
#include "win32_virtualstore.h"

namespace w32 {

namespace {

uint32_t Le32(const unsigned char* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// `n` pixels of blue, green and red bytes as opaque pixels. Each is read as
// one little-endian word with the next pixel's blue on top, which the opaque
// alpha replaces; the last is read byte by byte, as nothing may follow it.
void BgrToRgb32(const unsigned char* src, QRgb* dst, int n) {
    int x = 0;
    for (; x < n - 1; ++x, src += 3) {
        uint32_t bgr;
        std::memcpy(&bgr, src, 4);
        dst[x] = 0xFF000000u | (qFromLittleEndian(bgr) & 0xFFFFFFu);
    }
    if (x < n) dst[x] = qRgb(src[2], src[1], src[0]);
}

#if defined(__x86_64__) || defined(__i386__)
// The same four pixels at a time with one byte shuffle, on processors that
// have it (the start page's picture is a large part of start-up's decoding).
// A step reads 16 bytes for its 12, so steps stop 6 pixels before the end.
__attribute__((target("ssse3"))) void BgrToRgb32Shuffled(const unsigned char* src, QRgb* dst, int n) {
    const __m128i order = _mm_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
    const __m128i opaque = _mm_set1_epi32(int(0xFF000000u));
    int x = 0;
    for (; x + 6 <= n; x += 4, src += 12) {
        const __m128i bgr = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + x), _mm_or_si128(_mm_shuffle_epi8(bgr, order), opaque));
    }
    BgrToRgb32(src, dst + x, n - x);
}
#endif

// An uncompressed 24-bit device-independent bitmap (with or without its file
// header), as every bitmap the program ships is, read straight into an
// image; a null image for anything else, which Qt's reader then reads.
QImage DecodeTrueColourBitmap(const unsigned char* p, size_t size) {
    size_t info = 0;
    if (size >= 14 && p[0] == 'B' && p[1] == 'M') info = 14;
    if (size < info + 40) return {};
    const uint32_t headerSize = Le32(p + info);
    const int32_t w = int32_t(Le32(p + info + 4)), h = int32_t(Le32(p + info + 8));
    const unsigned bitCount = unsigned(p[info + 14]) | unsigned(p[info + 15]) << 8;
    const uint32_t compression = Le32(p + info + 16), coloursUsed = Le32(p + info + 32);
    if (headerSize < 40 || headerSize > size || bitCount != 24 || compression != 0 || w <= 0 || w > 0x8000 || h == 0 ||
        h < -0x8000 || h > 0x8000 || coloursUsed > 0x10000)
        return {};
    const size_t bits = info ? Le32(p + 10) : headerSize + size_t(coloursUsed) * 4;
    const size_t stride = (size_t(w) * 3 + 3) & ~size_t(3);
    const int rows = h < 0 ? -h : h;
    if (bits > size || stride * size_t(rows) > size - bits) return {};
    QImage img(w, rows, QImage::Format_RGB32);
    if (img.isNull()) return {};
    void (*convert)(const unsigned char*, QRgb*, int) = BgrToRgb32;
#if defined(__x86_64__) || defined(__i386__)
    if (__builtin_cpu_supports("ssse3")) convert = BgrToRgb32Shuffled;
#endif
    for (int y = 0; y < rows; ++y)  // bottom-up unless h < 0
        convert(p + bits + stride * size_t(h > 0 ? rows - 1 - y : y), reinterpret_cast<QRgb*>(img.scanLine(y)), w);
    return img;
}

// One image of an icon file: a device-independent bitmap of twice the
// icon's height (the colours, then a 1-bit mask), uncompressed, of 1, 4, 8,
// 24 or 32 bits a pixel. Pixels show through their alpha when the image
// has one, else where the mask is clear. A null image for anything else.
QImage DecodeIconImage(const unsigned char* p, size_t size) {
    if (size < 40) return {};
    const uint32_t headerSize = Le32(p);
    const int32_t w = int32_t(Le32(p + 4)), h2 = int32_t(Le32(p + 8));
    const unsigned bitCount = unsigned(p[14]) | unsigned(p[15]) << 8;
    const uint32_t compression = Le32(p + 16), coloursUsed = Le32(p + 32);
    if (headerSize < 40 || headerSize > size || compression != 0 || w <= 0 || w > 256 || h2 <= 0 || h2 % 2 != 0 ||
        h2 > 512 || coloursUsed > 256)
        return {};
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 24 && bitCount != 32) return {};
    const int h = h2 / 2;
    const size_t colours = bitCount <= 8 ? (coloursUsed ? coloursUsed : 1u << bitCount) : coloursUsed;
    const size_t bits = headerSize + colours * 4;
    const size_t stride = (size_t(w) * bitCount + 31) / 32 * 4, maskStride = (size_t(w) + 31) / 32 * 4;
    if (bits > size || stride * size_t(h) > size - bits) return {};
    const size_t mask = bits + stride * size_t(h);
    const bool hasMask = mask <= size && maskStride * size_t(h) <= size - mask;
    QImage img(w, h, QImage::Format_ARGB32);
    if (img.isNull()) return {};
    bool alpha = false;
    for (int y = 0; y < h; ++y) {
        const unsigned char* row = p + bits + stride * size_t(h - 1 - y);  // bottom-up
        QRgb* dst = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < w; ++x) {
            if (bitCount == 32) {
                const unsigned char* q = row + 4 * x;
                dst[x] = qRgba(q[2], q[1], q[0], q[3]);
                alpha = alpha || q[3] != 0;
            } else if (bitCount == 24) {
                const unsigned char* q = row + 3 * x;
                dst[x] = qRgb(q[2], q[1], q[0]);
            } else {
                const unsigned index = bitCount == 8   ? row[x]
                                       : bitCount == 4 ? (row[x / 2] >> (x % 2 ? 0 : 4)) & 0x0F
                                                       : (row[x / 8] >> (7 - x % 8)) & 1;
                const unsigned char* q = p + headerSize + 4 * size_t(index);
                dst[x] = index < colours ? qRgb(q[2], q[1], q[0]) : qRgb(0, 0, 0);
            }
        }
    }
    if (!alpha) {
        for (int y = 0; y < h; ++y) {
            const unsigned char* m = hasMask ? p + mask + maskStride * size_t(h - 1 - y) : nullptr;
            QRgb* dst = reinterpret_cast<QRgb*>(img.scanLine(y));
            for (int x = 0; x < w; ++x) dst[x] = m && (m[x / 8] >> (7 - x % 8)) & 1 ? 0u : (dst[x] | 0xFF000000u);
        }
    }
    return img;
}

// An icon file's image nearest `pixels` square (LoadIcon's standard size is
// 32), the most colours among equals; a null image when that one is not a
// bitmap this reads (a PNG image, say).
QImage DecodeIconFile(const unsigned char* p, size_t size, int pixels) {
    if (size < 6 || p[0] != 0 || p[1] != 0 || p[2] != 1 || p[3] != 0) return {};
    const size_t count = size_t(p[4]) | size_t(p[5]) << 8;
    if (count == 0 || size < 6 + 16 * count) return {};
    const unsigned char* best = nullptr;
    int bestDistance = 0;
    unsigned bestBits = 0;
    for (size_t i = 0; i < count; ++i) {
        const unsigned char* e = p + 6 + 16 * i;
        const int w = e[0] ? e[0] : 256, h = e[1] ? e[1] : 256;
        const unsigned bitCount = unsigned(e[6]) | unsigned(e[7]) << 8;
        const int distance = std::abs(w - pixels) + std::abs(h - pixels);
        if (!best || distance < bestDistance || (distance == bestDistance && bitCount > bestBits)) {
            best = e;
            bestDistance = distance;
            bestBits = bitCount;
        }
    }
    const size_t length = Le32(best + 8), offset = Le32(best + 12);
    if (offset > size || length > size - offset) return {};
    return DecodeIconImage(p + offset, length);
}

}  // namespace

QImage DecodeIconAt(const void* data, size_t size, int pixels) {
    return DecodeIconFile(static_cast<const unsigned char*>(data), size, pixels);
}

namespace {

// The executable's first icon in resource order, Windows' for the program.
const w32res::BinaryData* ProgramIconData() {
    // Resource names compare as Windows sorts them: upper-cased.
    auto upper = [](const char* name) {
        std::string u = name;
        for (char& c : u) c = char(toupper((unsigned char)c));
        return u;
    };
    auto before = [&](const w32res::Resource& a, const w32res::Resource& b) {
        if (a.name && b.name) return upper(a.name) < upper(b.name);
        if (a.name || b.name) return a.name != nullptr;  // named ones first
        return a.number < b.number;
    };
    const w32res::Table& table = w32res::ProgramTable();
    const w32res::Resource* first = nullptr;
    for (size_t i = 0; i < table.count; ++i)
        if (table.resources[i].type == w32res::kTypeIcon && (!first || before(table.resources[i], *first)))
            first = &table.resources[i];
    const auto* data = first ? static_cast<const w32res::BinaryData*>(first->data) : nullptr;
    return data && data->data ? data : nullptr;
}

}  // namespace

QImage ProgramIconImage() {
    const w32res::BinaryData* data = ProgramIconData();
    return data ? DecodeIconAt(data->data, data->size, 256) : QImage();
}

QIcon ProgramIcon() {
    QIcon icon;
    const w32res::BinaryData* data = ProgramIconData();
    const auto* p = data ? static_cast<const unsigned char*>(data->data) : nullptr;
    const size_t count = p && data->size >= 6 ? size_t(p[4]) | size_t(p[5]) << 8 : 0;
    std::unordered_set<int> sizes;
    for (size_t i = 0; i < count && 6 + 16 * (i + 1) <= data->size; ++i) {
        const int pixels = p[6 + 16 * i] ? p[6 + 16 * i] : 256;
        const QImage image = sizes.insert(pixels).second ? DecodeIconAt(p, data->size, pixels) : QImage();
        if (!image.isNull()) icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

QImage DecodeImage(const void* data, size_t size, const char* format) {
    if (std::strcmp(format, "BMP") == 0) {
        QImage img = DecodeTrueColourBitmap(static_cast<const unsigned char*>(data), size);
        if (!img.isNull()) return img;
    }
    if (std::strcmp(format, "ICO") == 0) {
        QImage img = DecodeIconFile(static_cast<const unsigned char*>(data), size, 32);
        if (!img.isNull()) return img;
    }
    const QByteArray bytes = QByteArray::fromRawData(static_cast<const char*>(data), qsizetype(size));
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    // Without format detection the reader takes the built-in or plugin
    // handler of that format at once instead of loading every image plugin
    // to ask whether it reads the data.
    QImageReader reader(&buffer, format);
    reader.setAutoDetectImageFormat(false);
    QImage img = reader.read();
    if (img.isNull()) img = QImage::fromData(bytes);  // data of another format than its resource type says
    return img;
}

namespace {

enum ObjType { kFont = 1, kBrush, kPen, kBitmap, kRegion, kDC };

struct GdiObj {
    explicit GdiObj(int t) : type(t) {}
    int type;
    bool stock = false;
};

struct FontObj : GdiObj {
    FontObj() : GdiObj(kFont) {}
    LOGFONTA lf{};
    QFont font;
};

struct BrushObj : GdiObj {
    BrushObj() : GdiObj(kBrush) {}
    bool null = false;
    COLORREF color = 0;
};

struct PenObj : GdiObj {
    PenObj() : GdiObj(kPen) {}
    int style = PS_SOLID;
    int width = 1;
    COLORREF color = 0;
};

struct BitmapObj : GdiObj {
    BitmapObj() : GdiObj(kBitmap) {}
    QImage image;
    int selected = 0;
};

struct RegionObj : GdiObj {
    RegionObj() : GdiObj(kRegion) {}
    QRegion region;
};

struct DCObj : GdiObj {
    DCObj() : GdiObj(kDC) {}
    QImage* target = nullptr;  // window backing or selected bitmap
    Window* window = nullptr;
    HWND hwnd = nullptr;
    QRegion clip;  // device coordinates; empty = whole target
    bool hasClip = false;
    QPoint origin;  // viewport origin
    HPEN pen = nullptr;
    HBRUSH brush = nullptr;
    HFONT font = nullptr;
    HBITMAP bitmap = nullptr;  // memory DCs
    COLORREF text = 0;
    COLORREF bk = 0xFFFFFF;
    int bkMode = OPAQUE;
    UINT align = TA_TOP | TA_LEFT;
    int rop2 = R2_COPYPEN;
    POINT cur{0, 0};
    COLORREF dcBrush = 0xFFFFFF, dcPen = 0;
    bool memory = false;
    std::vector<DCObj> saved;
};

std::mutex g_gdiMutex;
std::unordered_set<GdiObj*>& Objects() {
    static auto* s = new std::unordered_set<GdiObj*>;
    return *s;
}

template <class T>
T* Get(HGDIOBJ h, int type) {
    if (!h) return nullptr;
    std::lock_guard<std::mutex> lock(g_gdiMutex);
    auto* o = static_cast<GdiObj*>(h);
    if (!Objects().count(o) || o->type != type) return nullptr;
    return static_cast<T*>(o);
}

int TypeOf(HGDIOBJ h) {
    if (!h) return 0;
    std::lock_guard<std::mutex> lock(g_gdiMutex);
    auto* o = static_cast<GdiObj*>(h);
    return Objects().count(o) ? o->type : 0;
}

template <class T>
T* Add(T* o) {
    std::lock_guard<std::mutex> lock(g_gdiMutex);
    Objects().insert(o);
    return o;
}

HGDIOBJ g_stock[20] = {};
QImage g_oneByOne;

void MakeStock() {
    if (g_stock[WHITE_BRUSH]) return;
    auto brush = [](COLORREF c, bool null = false) {
        auto* b = Add(new BrushObj);
        b->stock = true;
        b->color = c;
        b->null = null;
        return static_cast<HGDIOBJ>(b);
    };
    auto pen = [](COLORREF c, int style) {
        auto* p = Add(new PenObj);
        p->stock = true;
        p->color = c;
        p->style = style;
        return static_cast<HGDIOBJ>(p);
    };
    g_stock[WHITE_BRUSH] = brush(0xFFFFFF);
    g_stock[LTGRAY_BRUSH] = brush(0xC0C0C0);
    g_stock[GRAY_BRUSH] = brush(0x808080);
    g_stock[DKGRAY_BRUSH] = brush(0x404040);
    g_stock[BLACK_BRUSH] = brush(0);
    g_stock[NULL_BRUSH] = brush(0, true);
    g_stock[DC_BRUSH] = brush(0xFFFFFF);
    g_stock[WHITE_PEN] = pen(0xFFFFFF, PS_SOLID);
    g_stock[BLACK_PEN] = pen(0, PS_SOLID);
    g_stock[NULL_PEN] = pen(0, PS_NULL);
    g_stock[DC_PEN] = pen(0, PS_SOLID);
    LOGFONTA lf{};
    lf.lfHeight = -16;
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = GB2312_CHARSET;
    strcpy(lf.lfFaceName, "\xCB\xCE\xCC\xE5");  // the Song face
    for (int i : {OEM_FIXED_FONT, ANSI_FIXED_FONT, ANSI_VAR_FONT, SYSTEM_FONT, DEVICE_DEFAULT_FONT, SYSTEM_FIXED_FONT,
                  DEFAULT_GUI_FONT}) {
        LOGFONTA l = lf;
        if (i == DEFAULT_GUI_FONT || i == ANSI_VAR_FONT) l.lfHeight = -15;
        auto* f = Add(new FontObj);
        f->stock = true;
        f->lf = l;
        f->font = QFontFromLogFont(l);
        g_stock[i] = f;
    }
    auto* bmp = Add(new BitmapObj);
    bmp->stock = true;
    bmp->image = QImage(1, 1, QImage::Format_RGB32);
    bmp->image.fill(Qt::black);
    g_stock[DEFAULT_PALETTE] = bmp;  // the default bitmap of memory DCs
}

HGDIOBJ Stock(int i) {
    MakeStock();
    return g_stock[i];
}

QColor Color(COLORREF c) { return QColor(GetRValue(c), GetGValue(c), GetBValue(c)); }

QImage* TargetOf(DCObj* dc) {
    if (!dc) return nullptr;
    if (dc->memory) {
        auto* b = Get<BitmapObj>(dc->bitmap, kBitmap);
        return b ? &b->image : nullptr;
    }
    if (dc->hwnd) {
        Window* w = FromHwnd(dc->hwnd);
        if (w && w->backingPending) EnsureBacking(w);
        if (!w || w->backing.isNull()) return nullptr;
        return &w->backing;
    }
    return dc->target;
}

// What a DC draws on: the canvas widget itself while its window paints on
// screen (inside the widget's paint event), else its image.
QPaintDevice* DeviceOf(DCObj* dc) {
    if (dc && !dc->memory && dc->hwnd) {
        Window* w = FromHwnd(dc->hwnd);
        if (w && w->paintingOnScreen && w->client) return w->client;
    }
    return TargetOf(dc);
}

// A window's DC while the window paints where Qt cannot show it: nothing it
// draws is seen, so text is neither shaped nor drawn.
bool DrawsNowhere(DCObj* dc) {
    if (!dc || dc->memory || !dc->hwnd) return false;
    const Window* w = FromHwnd(dc->hwnd);
    return w && w->paintingNowhere;
}

// A painter set up with the DC's origin and clip.
struct Painter {
    QPaintDevice* device;
    QPainter p;
    explicit Painter(DCObj* dc) : device(DeviceOf(dc)) {
        if (!device) return;
        p.begin(device);
        if (dc->hasClip) p.setClipRegion(dc->clip);
        p.translate(dc->origin);
    }
    bool ok() const { return device != nullptr; }
};

bool PenOf(DCObj* dc, QPen* out) {
    auto* pen = Get<PenObj>(dc->pen, kPen);
    if (!pen || pen->style == PS_NULL) return false;
    COLORREF c = dc->pen == Stock(DC_PEN) ? dc->dcPen : pen->color;
    QPen qp(Color(c));
    qp.setWidth(std::max(1, pen->width));
    qp.setCapStyle(Qt::FlatCap);
    qp.setJoinStyle(Qt::MiterJoin);
    switch (pen->style) {
    case PS_DASH: qp.setStyle(Qt::DashLine); break;
    case PS_DOT: qp.setStyle(Qt::DotLine); break;
    case PS_DASHDOT: qp.setStyle(Qt::DashDotLine); break;
    case PS_DASHDOTDOT: qp.setStyle(Qt::DashDotDotLine); break;
    default: qp.setStyle(Qt::SolidLine);
    }
    *out = qp;
    return true;
}

bool BrushOf(DCObj* dc, HBRUSH h, QColor* out) {
    auto* b = Get<BrushObj>(h, kBrush);
    if (!b || b->null) return false;
    *out = Color(h == Stock(DC_BRUSH) ? dc->dcBrush : b->color);
    return true;
}

QFont FontOfDC(DCObj* dc) {
    if (auto* f = Get<FontObj>(dc->font, kFont)) return f->font;
    return static_cast<FontObj*>(Stock(SYSTEM_FONT))->font;
}

DCObj* DCOf(HDC h) { return Get<DCObj>(h, kDC); }

DCObj* NewDC() {
    auto* dc = Add(new DCObj);
    dc->pen = static_cast<HPEN>(Stock(BLACK_PEN));
    dc->brush = static_cast<HBRUSH>(Stock(WHITE_BRUSH));
    dc->font = static_cast<HFONT>(Stock(SYSTEM_FONT));
    return dc;
}

void DeleteObj(GdiObj* o) {
    {
        std::lock_guard<std::mutex> lock(g_gdiMutex);
        Objects().erase(o);
    }
    // After the application object is gone, Qt values are left alone.
    if (!QCoreApplication::instance()) return;
    switch (o->type) {
    case kFont: delete static_cast<FontObj*>(o); break;
    case kBrush: delete static_cast<BrushObj*>(o); break;
    case kPen: delete static_cast<PenObj*>(o); break;
    case kBitmap: delete static_cast<BitmapObj*>(o); break;
    case kRegion: delete static_cast<RegionObj*>(o); break;
    case kDC: delete static_cast<DCObj*>(o); break;
    }
}

const QString kSongFace = QStringLiteral("AR PL UMing CN");
const QString kSansFace = QStringLiteral("Liberation Sans");

// Face names of the program's fonts -> installed faces.
QString MapFace(const QString& face) {
    QString f = face.trimmed();
    if (f.isEmpty() || f == u"宋体" || f == u"新宋体" || f.compare(u"SimSun", Qt::CaseInsensitive) == 0 ||
        f.compare(u"NSimSun", Qt::CaseInsensitive) == 0 || f.compare(u"System", Qt::CaseInsensitive) == 0 ||
        f.compare(u"MS Shell Dlg", Qt::CaseInsensitive) == 0 ||
        f.compare(u"MS Shell Dlg 2", Qt::CaseInsensitive) == 0 || f == u"黑体" || f == u"楷体_GB2312" ||
        f == u"仿宋_GB2312")
        return kSongFace;
    if (f.compare(u"Arial", Qt::CaseInsensitive) == 0 || f.compare(u"Tahoma", Qt::CaseInsensitive) == 0 ||
        f.compare(u"Verdana", Qt::CaseInsensitive) == 0 || f.compare(u"MS Sans Serif", Qt::CaseInsensitive) == 0 ||
        f.compare(u"Microsoft Sans Serif", Qt::CaseInsensitive) == 0)
        return kSansFace;
    if (f.compare(u"Times New Roman", Qt::CaseInsensitive) == 0) return QStringLiteral("Liberation Serif");
    if (f.compare(u"Courier New", Qt::CaseInsensitive) == 0) return QStringLiteral("Liberation Mono");
    return f;
}

// The Song face's families, in the order a character is looked up: song.ttf
// of the executable's folder first, when there is one (the face's glyphs for
// the program's own texts, a small file: the kernel maps a font file 64 KB
// around every glyph read, and the full face spreads those few hundred
// characters over 17 MB; an installed program's is in its data folder, see
// win32_virtualstore.h), then the full face for every other character.
const QStringList& SongFamilies() {
    static const QStringList families = [] {
        QStringList list;
        if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
            const QString path = QString::fromStdString(w32kernel::VirtualStorePath(
                (QCoreApplication::applicationDirPath() + QStringLiteral("/song.ttf")).toStdString(), false));
            const int id = QFileInfo::exists(path) ? QFontDatabase::addApplicationFont(path) : -1;
            if (id >= 0) list << QFontDatabase::applicationFontFamilies(id);
        }
        list << kSongFace;
        return list;
    }();
    return families;
}

void InstallSubstitutions() {
    static bool done = false;
    if (done) return;
    done = true;
    // Chinese text in a Latin face falls back to the Song face.
    for (const char* f : {"Liberation Sans", "Liberation Serif", "Liberation Mono"})
        QFont::insertSubstitutions(QString::fromLatin1(f), SongFamilies());
}

}  // namespace

QFont QFontFromLogFont(const LOGFONTA& lf) {
    InstallSubstitutions();
    QString face = MapFace(ToQt(std::string_view(lf.lfFaceName, strnlen(lf.lfFaceName, LF_FACESIZE))));
    QFont f(face);
    // The Song face's own Latin letters are hard to read ("l" looks like
    // "1"): Latin text takes the sans face, about as wide as the half-width
    // letters the program's layouts assume; Chinese text keeps the Song face.
    if (face == kSongFace) f.setFamilies(QStringList{kSansFace} + SongFamilies());
    int h = lf.lfHeight;
    if (h == 0) h = -15;
    f.setPixelSize(std::max(1, h < 0 ? -h : h * 7 / 8));
    f.setBold(lf.lfWeight >= FW_SEMIBOLD);
    f.setItalic(lf.lfItalic != 0);
    f.setUnderline(lf.lfUnderline != 0);
    f.setStrikeOut(lf.lfStrikeOut != 0);
    // The Song face carries drawn 1-bit glyphs for 11 to 16 pixels, as SimSun
    // does: at those sizes it is drawn from them, unsmoothed, which also
    // spares hinting every glyph's outline at run time. Chinese text in the
    // sans face falls back to the Song face and takes the same drawn glyphs
    // (bold ones thickened from them), so the sans face is unsmoothed at
    // those sizes too: smoothing applies to a whole font, fallback included.
    const bool bDrawnSizes =
        (face == kSongFace || face == kSansFace) && f.pixelSize() >= 11 && f.pixelSize() <= 16 && !f.italic();
    f.setStyleStrategy(bDrawnSizes ? QFont::StyleStrategy(QFont::PreferMatch | QFont::NoAntialias)
                                   : QFont::StyleStrategy(QFont::PreferMatch));
    f.setHintingPreference(QFont::PreferFullHinting);
    return f;
}

GdiCounts CountGdiObjects() {
    GdiCounts c;
    std::lock_guard<std::mutex> lock(g_gdiMutex);
    for (const GdiObj* o : Objects()) {
        if (o->stock) continue;
        switch (o->type) {
        case kFont: ++c.fonts; break;
        case kBrush: ++c.brushes; break;
        case kPen: ++c.pens; break;
        case kBitmap: ++c.bitmaps; break;
        case kRegion: ++c.regions; break;
        case kDC: ++c.dcs; break;
        }
    }
    return c;
}

QFont FontOf(HFONT h) {
    if (auto* f = Get<FontObj>(h, kFont)) return f->font;
    return DefaultControlFont();
}

QFont DefaultControlFont() { return static_cast<FontObj*>(Stock(DEFAULT_GUI_FONT))->font; }

QColor ToQColor(COLORREF c) { return Color(c); }
COLORREF FromQColor(const QColor& c) { return RGB(c.red(), c.green(), c.blue()); }

QImage ImageOfBitmap(HBITMAP h) {
    auto* b = Get<BitmapObj>(h, kBitmap);
    return b ? b->image : QImage();
}

QPaintDevice* DCDevice(HDC hdc, QPoint* origin) {
    DCObj* dc = DCOf(hdc);
    if (!dc) return nullptr;
    if (origin) *origin = dc->origin;
    return DeviceOf(dc);
}

HDC CreateWindowDC(Window* w, bool paint, const QRegion& clip) {
    DCObj* dc = NewDC();
    dc->window = w;
    dc->hwnd = w->hwnd;
    dc->hasClip = paint;
    dc->clip = clip;
    if (!paint) {
        dc->hasClip = true;
        dc->clip = ClientRect(w);
    }
    return reinterpret_cast<HDC>(static_cast<GdiObj*>(dc));
}

void DestroyWindowDC(HDC h) {
    if (DCObj* dc = DCOf(h)) DeleteObj(dc);
}

COLORREF SysColor(int index) {
    switch (index) {
    case COLOR_WINDOW: return 0xFFFFFF;
    case COLOR_WINDOWTEXT:
    case COLOR_BTNTEXT:
    case COLOR_WINDOWFRAME: return 0;
    case COLOR_BTNFACE:
    case COLOR_MENU: return RGB(240, 240, 240);
    case COLOR_BTNSHADOW: return RGB(160, 160, 160);
    case COLOR_GRAYTEXT: return RGB(109, 109, 109);
    case COLOR_HIGHLIGHT: return RGB(0, 120, 215);
    case COLOR_HIGHLIGHTTEXT: return 0xFFFFFF;
    case COLOR_SCROLLBAR: return RGB(200, 200, 200);
    case COLOR_BACKGROUND:
    case COLOR_ACTIVECAPTION: return RGB(0, 84, 166);
    }
    return RGB(240, 240, 240);
}

HBRUSH SysBrush(int index) {
    static HBRUSH brushes[32] = {};
    if (index < 0 || index >= 32) return nullptr;
    if (!brushes[index]) {
        auto* b = Add(new BrushObj);
        b->stock = true;
        b->color = SysColor(index);
        brushes[index] = reinterpret_cast<HBRUSH>(static_cast<GdiObj*>(b));
    }
    return brushes[index];
}

}  // namespace w32

using namespace w32;

// ---------------------------------------------------------------------------
// Objects
// ---------------------------------------------------------------------------
HGDIOBJ GetStockObject(int i) {
    if (i < 0 || i >= 20) return nullptr;
    return Stock(i);
}

DWORD GetSysColor(int nIndex) { return SysColor(nIndex); }
HBRUSH GetSysColorBrush(int nIndex) { return SysBrush(nIndex); }

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ h) {
    DCObj* dc = DCOf(hdc);
    if (!dc || !h) return nullptr;
    HGDIOBJ old = nullptr;
    switch (TypeOf(h)) {
    case kFont:
        old = dc->font;
        dc->font = static_cast<HFONT>(h);
        break;
    case kBrush:
        old = dc->brush;
        dc->brush = static_cast<HBRUSH>(h);
        break;
    case kPen:
        old = dc->pen;
        dc->pen = static_cast<HPEN>(h);
        break;
    case kBitmap:
        if (!dc->memory) return nullptr;
        old = dc->bitmap;
        dc->bitmap = static_cast<HBITMAP>(h);
        break;
    case kRegion: {
        auto* r = Get<RegionObj>(h, kRegion);
        dc->hasClip = true;
        dc->clip = r->region.translated(dc->origin);
        return reinterpret_cast<HGDIOBJ>(SIMPLEREGION);
    }
    default: return nullptr;
    }
    return old;
}

BOOL DeleteObject(HGDIOBJ ho) {
    if (!ho) return FALSE;
    GdiObj* o = nullptr;
    {
        std::lock_guard<std::mutex> lock(g_gdiMutex);
        auto* p = static_cast<GdiObj*>(ho);
        if (!Objects().count(p) || p->type == kDC) return FALSE;
        o = p;
    }
    if (o->stock) return TRUE;  // stock objects are never deleted
    DeleteObj(o);
    return TRUE;
}

int GetObjectA(HANDLE h, int c, LPVOID pv) {
    switch (TypeOf(h)) {
    case kBitmap: {
        auto* b = Get<BitmapObj>(h, kBitmap);
        if (!pv) return sizeof(BITMAP);
        if (c < int(sizeof(BITMAP))) return 0;
        BITMAP bm{};
        bm.bmWidth = b->image.width();
        bm.bmHeight = b->image.height();
        bm.bmWidthBytes = b->image.width() * 4;
        bm.bmPlanes = 1;
        bm.bmBitsPixel = 32;
        memcpy(pv, &bm, sizeof(bm));
        return sizeof(BITMAP);
    }
    case kFont: {
        auto* f = Get<FontObj>(h, kFont);
        if (!pv) return sizeof(LOGFONTA);
        int n = std::min<int>(c, sizeof(LOGFONTA));
        memcpy(pv, &f->lf, size_t(n));
        return n;
    }
    case kBrush: {
        auto* b = Get<BrushObj>(h, kBrush);
        if (!pv) return sizeof(LOGBRUSH);
        LOGBRUSH lb{UINT(b->null ? BS_NULL : BS_SOLID), b->color, 0};
        int n = std::min<int>(c, sizeof(LOGBRUSH));
        memcpy(pv, &lb, size_t(n));
        return n;
    }
    }
    return 0;
}

HFONT CreateFontIndirectA(const LOGFONTA* lplf) {
    if (!lplf) return nullptr;
    auto* f = Add(new FontObj);
    f->lf = *lplf;
    f->lf.lfFaceName[LF_FACESIZE - 1] = '\0';
    f->font = QFontFromLogFont(f->lf);
    return reinterpret_cast<HFONT>(static_cast<GdiObj*>(f));
}

HFONT CreateFontA(int cHeight, int cWidth, int cEscapement, int cOrientation, int cWeight, DWORD bItalic,
                  DWORD bUnderline, DWORD bStrikeOut, DWORD iCharSet, DWORD iOutPrecision, DWORD iClipPrecision,
                  DWORD iQuality, DWORD iPitchAndFamily, LPCSTR pszFaceName) {
    LOGFONTA lf{};
    lf.lfHeight = cHeight;
    lf.lfWidth = cWidth;
    lf.lfEscapement = cEscapement;
    lf.lfOrientation = cOrientation;
    lf.lfWeight = cWeight;
    lf.lfItalic = BYTE(bItalic);
    lf.lfUnderline = BYTE(bUnderline);
    lf.lfStrikeOut = BYTE(bStrikeOut);
    lf.lfCharSet = BYTE(iCharSet);
    lf.lfOutPrecision = BYTE(iOutPrecision);
    lf.lfClipPrecision = BYTE(iClipPrecision);
    lf.lfQuality = BYTE(iQuality);
    lf.lfPitchAndFamily = BYTE(iPitchAndFamily);
    if (pszFaceName) gbk::CopyCut(lf.lfFaceName, LF_FACESIZE, pszFaceName);
    return CreateFontIndirectA(&lf);
}

HBRUSH CreateSolidBrush(COLORREF color) {
    auto* b = Add(new BrushObj);
    b->color = color & 0xFFFFFF;
    return reinterpret_cast<HBRUSH>(static_cast<GdiObj*>(b));
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* lb) {
    if (!lb) return nullptr;
    HBRUSH h = CreateSolidBrush(lb->lbColor);
    if (lb->lbStyle == BS_NULL) Get<BrushObj>(h, kBrush)->null = true;
    return h;
}

HPEN CreatePen(int iStyle, int cWidth, COLORREF color) {
    auto* p = Add(new PenObj);
    p->style = iStyle & 0x0F;
    p->width = std::max(1, cWidth);
    p->color = color & 0xFFFFFF;
    return reinterpret_cast<HPEN>(static_cast<GdiObj*>(p));
}

HRGN CreateRectRgn(int x1, int y1, int x2, int y2) {
    auto* r = Add(new RegionObj);
    r->region =
        QRegion(QRect(QPoint(std::min(x1, x2), std::min(y1, y2)), QPoint(std::max(x1, x2) - 1, std::max(y1, y2) - 1)));
    return reinterpret_cast<HRGN>(static_cast<GdiObj*>(r));
}

HRGN CreateRectRgnIndirect(const RECT* r) { return r ? CreateRectRgn(r->left, r->top, r->right, r->bottom) : nullptr; }

int SelectClipRgn(HDC hdc, HRGN hrgn) {
    DCObj* dc = DCOf(hdc);
    if (!dc) return 0;
    if (!hrgn) {
        dc->hasClip = false;
        if (dc->window) {
            dc->hasClip = true;
            dc->clip = ClientRect(dc->window);
        }
        return SIMPLEREGION;
    }
    auto* r = Get<RegionObj>(hrgn, kRegion);
    if (!r) return 0;
    dc->hasClip = true;
    dc->clip = r->region;
    return SIMPLEREGION;
}

int IntersectClipRect(HDC hdc, int left, int top, int right, int bottom) {
    DCObj* dc = DCOf(hdc);
    if (!dc) return 0;
    QRegion r(QRect(left, top, right - left, bottom - top).translated(dc->origin));
    if (dc->hasClip)
        dc->clip &= r;
    else
        dc->clip = r;
    dc->hasClip = true;
    return dc->clip.isEmpty() ? NULLREGION : SIMPLEREGION;
}

int GetClipBox(HDC hdc, LPRECT lprect) {
    DCObj* dc = DCOf(hdc);
    if (!dc || !lprect) return 0;
    QRect b;
    if (dc->hasClip)
        b = dc->clip.boundingRect();
    else if (QImage* img = TargetOf(dc))
        b = img->rect();
    b.translate(-dc->origin);
    *lprect = ToRECT(b);
    return b.isEmpty() ? NULLREGION : SIMPLEREGION;
}

int GetDeviceCaps(HDC, int index) {
    switch (index) {
    case LOGPIXELSX:
    case LOGPIXELSY: return 96;
    case BITSPIXEL: return 32;
    case HORZRES: return GetSystemMetrics(SM_CXSCREEN);
    case VERTRES: return GetSystemMetrics(SM_CYSCREEN);
    }
    return 0;
}

// ---------------------------------------------------------------------------
// DCs
// ---------------------------------------------------------------------------
HDC CreateCompatibleDC(HDC) {
    DCObj* dc = NewDC();
    dc->memory = true;
    dc->bitmap = static_cast<HBITMAP>(Stock(DEFAULT_PALETTE));
    return reinterpret_cast<HDC>(static_cast<GdiObj*>(dc));
}

BOOL DeleteDC(HDC hdc) {
    DCObj* dc = DCOf(hdc);
    if (!dc) return FALSE;
    DeleteObj(dc);
    return TRUE;
}

HBITMAP CreateCompatibleBitmap(HDC, int cx, int cy) {
    auto* b = Add(new BitmapObj);
    b->image = QImage(std::max(1, cx), std::max(1, cy), QImage::Format_RGB32);
    b->image.fill(Qt::black);
    return reinterpret_cast<HBITMAP>(static_cast<GdiObj*>(b));
}

HBITMAP CreateBitmap(int nWidth, int nHeight, UINT, UINT nBitCount, const void* lpBits) {
    HBITMAP h = CreateCompatibleBitmap(nullptr, nWidth, nHeight);
    auto* b = Get<BitmapObj>(h, kBitmap);
    if (lpBits && nBitCount == 32) {
        for (int y = 0; y < b->image.height(); ++y)
            memcpy(b->image.scanLine(y), static_cast<const char*>(lpBits) + size_t(y) * size_t(nWidth) * 4,
                   size_t(nWidth) * 4);
    } else if (nBitCount == 1) {
        b->image.fill(Qt::white);
    }
    return h;
}

HBITMAP LoadBitmapA(HINSTANCE, LPCSTR lpBitmapName) {
    const w32res::BinaryData* d = w32res::FindBitmap(lpBitmapName);
    if (!d || !d->data) return nullptr;
    QImage img = DecodeImage(d->data, d->size, "BMP");
    if (img.isNull()) return nullptr;
    auto* b = Add(new BitmapObj);
    b->image = img.convertToFormat(QImage::Format_RGB32);
    return reinterpret_cast<HBITMAP>(static_cast<GdiObj*>(b));
}

int SaveDC(HDC hdc) {
    DCObj* dc = DCOf(hdc);
    if (!dc) return 0;
    DCObj copy = *dc;
    copy.saved.clear();
    dc->saved.push_back(copy);
    return int(dc->saved.size());
}

BOOL RestoreDC(HDC hdc, int n) {
    DCObj* dc = DCOf(hdc);
    if (!dc || dc->saved.empty()) return FALSE;
    size_t idx = n < 0 ? dc->saved.size() + size_t(n) : size_t(n - 1);
    if (idx >= dc->saved.size()) return FALSE;
    std::vector<DCObj> rest(dc->saved.begin(), dc->saved.begin() + long(idx));
    DCObj s = dc->saved[idx];
    *dc = s;
    dc->saved = rest;
    return TRUE;
}

BOOL SetViewportOrgEx(HDC hdc, int x, int y, LPPOINT lppt) {
    DCObj* dc = DCOf(hdc);
    if (!dc) return FALSE;
    if (lppt) *lppt = POINT{dc->origin.x(), dc->origin.y()};
    dc->origin = QPoint(x, y);
    return TRUE;
}

BOOL GetViewportOrgEx(HDC hdc, LPPOINT lppt) {
    DCObj* dc = DCOf(hdc);
    if (!dc || !lppt) return FALSE;
    *lppt = POINT{dc->origin.x(), dc->origin.y()};
    return TRUE;
}

// One DC attribute: set it and return the previous value, or `fail` for a
// handle that is not a DC.
template <class T>
static T SwapAttr(HDC hdc, T DCObj::*field, T value, T fail) {
    DCObj* dc = DCOf(hdc);
    if (!dc) return fail;
    T old = dc->*field;
    dc->*field = value;
    return old;
}
template <class T>
static T Attr(HDC hdc, T DCObj::*field, T fail) {
    DCObj* dc = DCOf(hdc);
    return dc ? dc->*field : fail;
}

COLORREF SetTextColor(HDC hdc, COLORREF color) { return SwapAttr(hdc, &DCObj::text, color & 0xFFFFFF, CLR_INVALID); }
COLORREF GetTextColor(HDC hdc) { return Attr(hdc, &DCObj::text, CLR_INVALID); }
COLORREF SetBkColor(HDC hdc, COLORREF color) { return SwapAttr(hdc, &DCObj::bk, color & 0xFFFFFF, CLR_INVALID); }
COLORREF GetBkColor(HDC hdc) { return Attr(hdc, &DCObj::bk, CLR_INVALID); }
int SetBkMode(HDC hdc, int mode) {
    if (mode != TRANSPARENT && mode != OPAQUE) return 0;
    return SwapAttr(hdc, &DCObj::bkMode, mode, 0);
}
int GetBkMode(HDC hdc) { return Attr(hdc, &DCObj::bkMode, 0); }
UINT SetTextAlign(HDC hdc, UINT align) { return SwapAttr(hdc, &DCObj::align, align, 0u); }
UINT GetTextAlign(HDC hdc) { return Attr(hdc, &DCObj::align, 0u); }
int SetROP2(HDC hdc, int rop2) { return SwapAttr(hdc, &DCObj::rop2, rop2, 0); }
COLORREF SetDCBrushColor(HDC hdc, COLORREF color) { return SwapAttr(hdc, &DCObj::dcBrush, color, CLR_INVALID); }
COLORREF SetDCPenColor(HDC hdc, COLORREF color) { return SwapAttr(hdc, &DCObj::dcPen, color, CLR_INVALID); }

// ---------------------------------------------------------------------------
// Drawing
// ---------------------------------------------------------------------------
static void ApplyRop(QPainter& p, int rop2) {
    if (rop2 == R2_XORPEN)
        p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    else if (rop2 == R2_NOT)
        p.setCompositionMode(QPainter::RasterOp_NotDestination);
}

int FillRect(HDC hDC, const RECT* r, HBRUSH hbr) {
    DCObj* dc = DCOf(hDC);
    if (!dc || !r) return 0;
    // A system colour index + 1 may stand for a brush.
    QColor c;
    uintptr_t v = reinterpret_cast<uintptr_t>(hbr);
    if (v > 0 && v <= 32)
        c = Color(SysColor(int(v) - 1));
    else if (!BrushOf(dc, hbr, &c))
        return 0;
    // A background erase over the whole client area of a window that has
    // not drawn yet needs no image.
    if (!dc->memory && dc->hwnd && r->right > r->left && r->bottom > r->top) {
        Window* w = FromHwnd(dc->hwnd);
        if (w && w->backingPending) {
            QRegion area(ToQRect(*r).translated(dc->origin));
            if (dc->hasClip) area &= dc->clip;
            if (FillPendingBacking(w, area, c)) return 1;
        }
    }
    Painter p(dc);
    if (!p.ok()) return 0;
    if (r->right > r->left && r->bottom > r->top) p.p.fillRect(ToQRect(*r), c);
    return 1;
}

int FrameRect(HDC hDC, const RECT* r, HBRUSH hbr) {
    DCObj* dc = DCOf(hDC);
    QColor c;
    if (!dc || !r || !BrushOf(dc, hbr, &c)) return 0;
    Painter p(dc);
    if (!p.ok()) return 0;
    int w = r->right - r->left, h = r->bottom - r->top;
    if (w <= 0 || h <= 0) return 1;
    p.p.fillRect(QRect(r->left, r->top, w, 1), c);
    p.p.fillRect(QRect(r->left, r->bottom - 1, w, 1), c);
    p.p.fillRect(QRect(r->left, r->top, 1, h), c);
    p.p.fillRect(QRect(r->right - 1, r->top, 1, h), c);
    return 1;
}

BOOL InvertRect(HDC hDC, const RECT* r) {
    DCObj* dc = DCOf(hDC);
    if (!dc || !r) return FALSE;
    Painter p(dc);
    if (!p.ok()) return FALSE;
    p.p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    p.p.fillRect(ToQRect(*r), Qt::white);
    return TRUE;
}

BOOL DrawFocusRect(HDC hDC, const RECT* r) {
    DCObj* dc = DCOf(hDC);
    if (!dc || !r) return FALSE;
    Painter p(dc);
    if (!p.ok()) return FALSE;
    p.p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    QPen pen(Qt::white);
    pen.setStyle(Qt::DotLine);
    p.p.setPen(pen);
    p.p.drawRect(QRect(r->left, r->top, r->right - r->left - 1, r->bottom - r->top - 1));
    return TRUE;
}

BOOL Rectangle(HDC hdc, int left, int top, int right, int bottom) {
    DCObj* dc = DCOf(hdc);
    if (!dc) return FALSE;
    if (right < left) std::swap(left, right);
    if (bottom < top) std::swap(top, bottom);
    Painter p(dc);
    if (!p.ok()) return FALSE;
    ApplyRop(p.p, dc->rop2);
    QColor fill;
    if (BrushOf(dc, dc->brush, &fill) && right - left > 2 && bottom - top > 2)
        p.p.fillRect(QRect(left + 1, top + 1, right - left - 2, bottom - top - 2), fill);
    QPen pen;
    if (PenOf(dc, &pen)) {
        QColor c = pen.color();
        int pw = pen.width();
        int w = right - left, h = bottom - top;
        if (w > 0 && h > 0) {
            p.p.fillRect(QRect(left, top, w, std::min(pw, h)), c);
            p.p.fillRect(QRect(left, bottom - std::min(pw, h), w, std::min(pw, h)), c);
            p.p.fillRect(QRect(left, top, std::min(pw, w), h), c);
            p.p.fillRect(QRect(right - std::min(pw, w), top, std::min(pw, w), h), c);
        }
    } else if (BrushOf(dc, dc->brush, &fill) && right > left && bottom > top) {
        p.p.fillRect(QRect(left, top, right - left, bottom - top), fill);
    }
    return TRUE;
}

// Draws a closed shape filled with the DC's brush and outlined with its pen
// (either may be null) inside [left, right) x [top, bottom).
template <class Draw>
static BOOL OutlinedShape(HDC hdc, int left, int top, int right, int bottom, Draw draw) {
    DCObj* dc = DCOf(hdc);
    if (!dc) return FALSE;
    Painter p(dc);
    if (!p.ok()) return FALSE;
    QColor fill;
    p.p.setBrush(BrushOf(dc, dc->brush, &fill) ? QBrush(fill) : QBrush(Qt::NoBrush));
    QPen pen;
    p.p.setPen(PenOf(dc, &pen) ? pen : QPen(Qt::NoPen));
    draw(p.p, QRect(left, top, right - left - 1, bottom - top - 1));
    return TRUE;
}

BOOL Ellipse(HDC hdc, int left, int top, int right, int bottom) {
    return OutlinedShape(hdc, left, top, right, bottom, [](QPainter& p, const QRect& r) { p.drawEllipse(r); });
}

BOOL RoundRect(HDC hdc, int left, int top, int right, int bottom, int width, int height) {
    return OutlinedShape(hdc, left, top, right, bottom,
                         [&](QPainter& p, const QRect& r) { p.drawRoundedRect(r, width / 2.0, height / 2.0); });
}

BOOL MoveToEx(HDC hdc, int x, int y, LPPOINT lppt) {
    DCObj* dc = DCOf(hdc);
    if (!dc) return FALSE;
    if (lppt) *lppt = dc->cur;
    dc->cur = POINT{x, y};
    return TRUE;
}

static void Line(DCObj* dc, QPainter& p, POINT a, POINT b) {
    QPen pen;
    if (!PenOf(dc, &pen)) return;
    ApplyRop(p, dc->rop2);
    if (pen.width() <= 1 && pen.style() == Qt::SolidLine) {
        // Bresenham, end point excluded, as GDI draws.
        int x0 = a.x, y0 = a.y, x1 = b.x, y1 = b.y;
        int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
        int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
        int err = dx + dy;
        QColor c = pen.color();
        while (!(x0 == x1 && y0 == y1)) {
            p.fillRect(QRect(x0, y0, 1, 1), c);
            int e2 = 2 * err;
            if (e2 >= dy) {
                err += dy;
                x0 += sx;
            }
            if (e2 <= dx) {
                err += dx;
                y0 += sy;
            }
        }
        return;
    }
    p.setPen(pen);
    p.drawLine(QPoint(a.x, a.y), QPoint(b.x, b.y));
}

BOOL LineTo(HDC hdc, int x, int y) {
    DCObj* dc = DCOf(hdc);
    if (!dc) return FALSE;
    Painter p(dc);
    if (p.ok()) Line(dc, p.p, dc->cur, POINT{x, y});
    dc->cur = POINT{x, y};
    return TRUE;
}

BOOL Polyline(HDC hdc, const POINT* apt, int cpt) {
    DCObj* dc = DCOf(hdc);
    if (!dc || !apt || cpt < 2) return FALSE;
    Painter p(dc);
    if (!p.ok()) return FALSE;
    for (int i = 1; i < cpt; ++i) Line(dc, p.p, apt[i - 1], apt[i]);
    return TRUE;
}

BOOL Polygon(HDC hdc, const POINT* apt, int cpt) {
    DCObj* dc = DCOf(hdc);
    if (!dc || !apt || cpt < 2) return FALSE;
    Painter p(dc);
    if (!p.ok()) return FALSE;
    QPolygon poly;
    for (int i = 0; i < cpt; ++i) poly << QPoint(apt[i].x, apt[i].y);
    QColor fill;
    p.p.setBrush(BrushOf(dc, dc->brush, &fill) ? QBrush(fill) : QBrush(Qt::NoBrush));
    QPen pen;
    p.p.setPen(PenOf(dc, &pen) ? pen : QPen(Qt::NoPen));
    p.p.drawPolygon(poly);
    return TRUE;
}

COLORREF SetPixel(HDC hdc, int x, int y, COLORREF color) {
    DCObj* dc = DCOf(hdc);
    if (!dc) return CLR_INVALID;
    Painter p(dc);
    if (!p.ok()) return CLR_INVALID;
    p.p.fillRect(QRect(x, y, 1, 1), Color(color));
    return color;
}

COLORREF GetPixel(HDC hdc, int x, int y) {
    DCObj* dc = DCOf(hdc);
    QImage* img = TargetOf(dc);
    if (!img) return CLR_INVALID;
    QPoint pt = QPoint(x, y) + dc->origin;
    if (!img->rect().contains(pt)) return CLR_INVALID;
    return FromQColor(img->pixelColor(pt));
}

static BOOL Blit(HDC hdcDest, int xDest, int yDest, int wDest, int hDest, HDC hdcSrc, int xSrc, int ySrc, int wSrc,
                 int hSrc, DWORD rop) {
    DCObj* dst = DCOf(hdcDest);
    if (!dst) return FALSE;
    Painter p(dst);
    if (!p.ok()) return FALSE;
    QRect target(xDest, yDest, wDest, hDest);
    if (rop == BLACKNESS || rop == WHITENESS) {
        p.p.fillRect(target, rop == BLACKNESS ? Qt::black : Qt::white);
        return TRUE;
    }
    if (rop == PATCOPY) {
        QColor c;
        if (BrushOf(dst, dst->brush, &c)) p.p.fillRect(target, c);
        return TRUE;
    }
    if (rop == DSTINVERT) {
        p.p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        p.p.fillRect(target, Qt::white);
        return TRUE;
    }
    DCObj* src = DCOf(hdcSrc);
    QImage* simg = TargetOf(src);
    if (!simg) return FALSE;
    QImage part = simg->copy(QRect(QPoint(xSrc, ySrc) + src->origin, QSize(wSrc, hSrc)));
    switch (rop) {
    case SRCPAINT: p.p.setCompositionMode(QPainter::RasterOp_SourceOrDestination); break;
    case SRCAND: p.p.setCompositionMode(QPainter::RasterOp_SourceAndDestination); break;
    case SRCINVERT: p.p.setCompositionMode(QPainter::RasterOp_SourceXorDestination); break;
    case NOTSRCCOPY: p.p.setCompositionMode(QPainter::RasterOp_NotSource); break;
    default: break;
    }
    if (wDest != wSrc || hDest != hSrc) {
        p.p.drawImage(target, part);
        return TRUE;
    }
    // Copied through a clip of several rectangles (a window's update area
    // less its children), Qt composes the image line span by line span and,
    // for a tall image, on a pool of threads it starts for it; through one
    // rectangle at a time it copies the rows directly.
    if (dst->hasClip && dst->clip.rectCount() > 1 && p.p.compositionMode() == QPainter::CompositionMode_SourceOver) {
        const QRegion area = dst->clip & target.translated(dst->origin);
        for (const QRect& r : area) {
            p.p.setClipRect(r.translated(-dst->origin), Qt::ReplaceClip);
            p.p.drawImage(QPoint(xDest, yDest), part);
        }
        return TRUE;
    }
    p.p.drawImage(QPoint(xDest, yDest), part);
    return TRUE;
}

BOOL BitBlt(HDC hdc, int x, int y, int cx, int cy, HDC hdcSrc, int x1, int y1, DWORD rop) {
    return Blit(hdc, x, y, cx, cy, hdcSrc, x1, y1, cx, cy, rop);
}

BOOL StretchBlt(HDC hdcDest, int xDest, int yDest, int wDest, int hDest, HDC hdcSrc, int xSrc, int ySrc, int wSrc,
                int hSrc, DWORD rop) {
    return Blit(hdcDest, xDest, yDest, wDest, hDest, hdcSrc, xSrc, ySrc, wSrc, hSrc, rop);
}

BOOL PatBlt(HDC hdc, int x, int y, int w, int h, DWORD rop) { return Blit(hdc, x, y, w, h, nullptr, 0, 0, w, h, rop); }

// ---------------------------------------------------------------------------
// Text
// ---------------------------------------------------------------------------
namespace {
int CellHeight(const QFont& f) { return f.pixelSize() > 0 ? f.pixelSize() : QFontMetrics(f).height(); }

// The rows the ink of `text` in `f` covers (pixels at least half dark), from
// the baseline: top < 0 above it, bottom >= 0 below it; none: bottom < top.
// Widened: drawn again a pixel to the right, as bold Song text is.
struct InkRows {
    int top = 0, bottom = -1;
};
InkRows InkOf(const QFont& f, const QString& text, bool widened = false) {
    const int em = CellHeight(f);
    QImage img(em * int(text.size() + 2), em * 3, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setFont(f);
    p.setPen(Qt::black);
    p.drawText(QPoint(em, 2 * em), text);
    if (widened) p.drawText(QPoint(em + 1, 2 * em), text);
    p.end();
    InkRows ink;
    for (int y = 0; y < img.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        if (!std::any_of(row, row + img.width(), [](QRgb c) { return qGray(c) < 128; })) continue;
        if (ink.bottom < ink.top) ink.top = y - 2 * em;
        ink.bottom = y - 2 * em;
    }
    return ink;
}

// Where a font's text sits in its cell, as rows from the cell's top to a
// baseline. The Song face's Chinese glyphs fill their em, and the Latin
// face's descenders reach lower than theirs: the two cannot share a baseline
// in a cell one em high, as GDI's is.
// - song: the Song face's baseline, at its ascent, or higher as far as its
//   lowest glyphs need to end in the cell, never so far that its highest
//   leave it;
// - other: every other face's (the Latin face's), the Song face's or higher,
//   so that its descenders end in the cell.
struct Baselines {
    int song, other;
};
// The Song face's baseline for text in f (its size, weight and style): the
// same whatever Latin face f names, so measured once for all of them.
int SongBaseline(const QFont& f, int cell) {
    QFont song = f;
    song.setFamilies(SongFamilies());
    song.setBold(false);  // bold Song text is the regular glyphs widened (DrawLineInCell)
    thread_local QHash<QString, int> cache;
    const QString key = song.key() + (f.bold() ? u'b' : u'r') + QString::number(cell);
    if (auto it = cache.constFind(key); it != cache.cend()) return *it;
    // The glyphs of the program's texts that reach highest and lowest at one
    // size or another, in either weight.
    const InkRows chinese = InkOf(song, QStringLiteral(u"栏各邮能概始术求仿序建盘蒙"), f.bold());
    int a = QFontMetrics(song).ascent();
    if (chinese.bottom >= chinese.top) a = std::max(-chinese.top, std::min(a, cell - 1 - chinese.bottom));
    return *cache.insert(key, std::clamp(a, 0, cell));
}

Baselines BaselinesOf(const QFont& f) {
    thread_local QHash<QString, Baselines> cache;
    const QString key = f.families().join(u',') + u'/' + f.key();
    if (auto it = cache.constFind(key); it != cache.cend()) return *it;
    const int cell = CellHeight(f);
    const int a = SongBaseline(f, cell);
    QFont latin = f;
    latin.setFamilies({f.families().value(0, f.family())});
    // The ASCII characters that reach lowest in the Latin faces (Liberation
    // Sans, Serif and Mono reach no lower with the whole of ASCII).
    const InkRows descenders = InkOf(latin, QStringLiteral("gjpqy,;()[]{}|_$@Q"));
    const int other = descenders.bottom >= descenders.top ? std::clamp(cell - 1 - descenders.bottom, 0, a) : a;
    return *cache.insert(key, Baselines{a, other});
}

bool IsSongRun(const QGlyphRun& run) { return SongFamilies().contains(run.rawFont().familyName()); }

// The Song face has no bold glyphs. Qt emboldens its outlines every way, so
// that at the smoothed sizes a bold glyph is a row taller than the em and
// leaves the cell; at the drawn sizes it widens the drawn glyph by a pixel.
// Bold Song text is drawn as the drawn sizes are at every size: the regular
// glyph and again a pixel to the right (the bold advance is a pixel wider).
QRawFont RegularSong(const QRawFont& bold, const QFont& f) {
    QFont regular = f;
    regular.setFamilies({bold.familyName()});
    regular.setBold(false);
    // Asked for no writing system, as the subset covers none: asked for
    // Chinese, Qt would give the full face, whose glyphs are numbered otherwise.
    return QRawFont::fromFont(regular);
}

// Draws a laid-out line in the cell whose top-left is `cell`, each face's
// glyphs on its baseline there.
void DrawLineInCell(QPainter& p, const QFont& f, const QTextLine& line, QPoint cell, Baselines b) {
    for (QGlyphRun run : line.glyphRuns()) {
        // From the run's first glyph, where Qt starts its underline.
        QList<QPointF> at = run.positions();
        if (at.isEmpty()) continue;
        const QPointF first = at.first();
        for (QPointF& q : at) q -= first;
        run.setPositions(at);
        const bool song = IsSongRun(run);
        const QPointF origin(cell.x() + first.x(), cell.y() + (song ? b.song : b.other));
        if (song && f.bold()) {
            run.setRawFont(RegularSong(run.rawFont(), f));
            p.drawGlyphRun(origin + QPointF(1, 0), run);
        }
        p.drawGlyphRun(origin, run);
    }
}
}  // namespace

BOOL ExtTextOutA(HDC hdc, int x, int y, UINT options, const RECT* lprect, LPCSTR lpString, UINT c, const INT*) {
    DCObj* dc = DCOf(hdc);
    if (!dc) return FALSE;
    QString s = lpString ? ToQt(lpString, int(c)) : QString();
    QFont f = FontOfDC(dc);
    // The text's width places centred and right-aligned text, fills an opaque
    // background and moves the current position; measuring shapes the text
    // once more than drawing it does, so it is done only then.
    const UINT h = dc->align & (TA_CENTER);
    const bool nowhere = DrawsNowhere(dc);
    const bool needWidth =
        (dc->align & TA_UPDATECP) ||
        (!nowhere && (h == TA_CENTER || h == TA_RIGHT || (dc->bkMode == OPAQUE && !(options & ETO_OPAQUE))));
    const int width = needWidth ? QFontMetrics(f).horizontalAdvance(s) : 0;
    int height = CellHeight(f);
    if (dc->align & TA_UPDATECP) {
        x = dc->cur.x;
        y = dc->cur.y;
    }
    if (h == TA_CENTER)
        x -= width / 2;
    else if (h == TA_RIGHT)
        x -= width;
    int top = y;
    if ((dc->align & TA_BASELINE) == TA_BASELINE)
        top = y - BaselinesOf(f).song;
    else if (dc->align & TA_BOTTOM)
        top = y - height;
    if (nowhere) {
        if (dc->align & TA_UPDATECP) dc->cur.x = x + width;
        return TRUE;
    }
    Painter p(dc);
    if (!p.ok()) return FALSE;
    if ((options & ETO_OPAQUE) && lprect) p.p.fillRect(ToQRect(*lprect), Color(dc->bk));
    if ((options & ETO_CLIPPED) && lprect) p.p.setClipRect(ToQRect(*lprect), Qt::IntersectClip);
    if (dc->bkMode == OPAQUE && !(options & ETO_OPAQUE)) p.p.fillRect(QRect(x, top, width, height), Color(dc->bk));
    QTextLayout layout(s, f);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    layout.endLayout();
    p.p.setPen(Color(dc->text));
    if (line.isValid()) DrawLineInCell(p.p, f, line, QPoint(x, top), BaselinesOf(f));
    if (dc->align & TA_UPDATECP) dc->cur.x = x + width;
    return TRUE;
}

BOOL TextOutA(HDC hdc, int x, int y, LPCSTR lpString, int c) {
    if (c < 0) return FALSE;
    return ExtTextOutA(hdc, x, y, 0, nullptr, lpString, UINT(c), nullptr);
}

BOOL GetTextExtentPoint32A(HDC hdc, LPCSTR lpString, int c, LPSIZE psizl) {
    DCObj* dc = DCOf(hdc);
    if (!dc || !psizl) return FALSE;
    QFont f = FontOfDC(dc);
    QString s = lpString ? ToQt(lpString, c) : QString();
    psizl->cx = QFontMetrics(f).horizontalAdvance(s);
    psizl->cy = CellHeight(f);
    return TRUE;
}

BOOL GetTextMetricsA(HDC hdc, LPTEXTMETRICA tm) {
    DCObj* dc = DCOf(hdc);
    if (!dc || !tm) return FALSE;
    QFont f = FontOfDC(dc);
    QFontMetrics fm(f);
    *tm = TEXTMETRICA{};
    tm->tmHeight = CellHeight(f);
    tm->tmAscent = BaselinesOf(f).song;
    tm->tmDescent = tm->tmHeight - tm->tmAscent;
    tm->tmAveCharWidth = fm.horizontalAdvance(QLatin1Char('x'));
    tm->tmMaxCharWidth = fm.maxWidth();
    tm->tmWeight = f.bold() ? FW_BOLD : FW_NORMAL;
    tm->tmCharSet = GB2312_CHARSET;
    return TRUE;
}

// Lines one cell high, each drawn as TextOut draws its text.
int DrawTextA(HDC hdc, LPCSTR text, int cch, LPRECT r, UINT format) {
    DCObj* dc = DCOf(hdc);
    if (!dc || !r) return 0;
    QString s = text ? ToQt(text, cch) : QString();
    QFont f = FontOfDC(dc);
    const QRect rect = ToQRect(*r);
    const int cell = CellHeight(f);
    // A line break is one character before the prefix is looked for, so that
    // the underline's place counts CR LF once.
    if (!(format & DT_SINGLELINE)) {
        s.replace(QStringLiteral("\r\n"), QString(QChar::LineSeparator));
        s.replace(u'\r', QChar::LineSeparator).replace(u'\n', QChar::LineSeparator);
    }
    // "&" underlines the character after it, "&&" is an "&".
    QList<QTextLayout::FormatRange> mnemonic;
    if (!(format & DT_NOPREFIX)) {
        QTextCharFormat underline;
        underline.setFontUnderline(true);
        QString plain;
        for (qsizetype i = 0; i < s.size(); ++i) {
            if (s[i] == u'&') {
                if (++i == s.size()) break;  // a last "&" shows nothing
                if (s[i] != u'&' && mnemonic.isEmpty()) mnemonic.append({int(plain.size()), 1, underline});
            }
            plain += s[i];
        }
        s = plain;
    }
    QTextOption option;
    option.setWrapMode((format & DT_WORDBREAK) && !(format & DT_SINGLELINE) ? QTextOption::WordWrap
                                                                            : QTextOption::NoWrap);
    if (format & DT_EXPANDTABS) option.setTabStopDistance(8 * QFontMetrics(f).horizontalAdvance(QLatin1Char('x')));
    QTextLayout layout(s, f);
    layout.setTextOption(option);
    layout.setFormats(mnemonic);
    layout.beginLayout();
    int lines = 0, widest = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(rect.width() > 0 ? rect.width() : 100000);
        line.setPosition(QPointF(0, lines++ * cell));
        widest = std::max(widest, int(std::ceil(line.horizontalAdvance())));
    }
    layout.endLayout();
    const int height = lines * cell;
    if (format & DT_CALCRECT) {
        r->right = r->left + widest;
        r->bottom = r->top + height;
        return height;
    }
    if (DrawsNowhere(dc)) return height;
    int top = rect.top();
    if ((format & DT_SINGLELINE) && (format & DT_VCENTER))
        top += (rect.height() - height) / 2;
    else if ((format & DT_SINGLELINE) && (format & DT_BOTTOM))
        top = rect.bottom() + 1 - height;
    Painter p(dc);
    if (!p.ok()) return 0;
    if (!(format & DT_NOCLIP)) p.p.setClipRect(rect, Qt::IntersectClip);
    p.p.setPen(Color(dc->text));
    const Baselines b = BaselinesOf(f);
    for (int i = 0; i < lines; ++i) {
        const QTextLine line = layout.lineAt(i);
        const int w = int(std::ceil(line.horizontalAdvance()));
        const int x = (format & DT_CENTER)  ? rect.left() + (rect.width() - w) / 2
                      : (format & DT_RIGHT) ? rect.right() + 1 - w
                                            : rect.left();
        const QPoint cellAt(x, top + i * cell);
        if (dc->bkMode == OPAQUE) p.p.fillRect(QRect(cellAt, QSize(w, cell)) & rect, Color(dc->bk));
        DrawLineInCell(p.p, f, line, cellAt, b);
    }
    return height;
}

// ---------------------------------------------------------------------------
// Rectangles
// ---------------------------------------------------------------------------
BOOL SetRect(LPRECT r, int l, int t, int rt, int b) {
    if (!r) return FALSE;
    *r = RECT{l, t, rt, b};
    return TRUE;
}
BOOL SetRectEmpty(LPRECT r) { return SetRect(r, 0, 0, 0, 0); }
BOOL CopyRect(LPRECT d, const RECT* s) {
    if (!d || !s) return FALSE;
    *d = *s;
    return TRUE;
}
BOOL InflateRect(LPRECT r, int dx, int dy) {
    if (!r) return FALSE;
    r->left -= dx;
    r->right += dx;
    r->top -= dy;
    r->bottom += dy;
    return TRUE;
}
BOOL OffsetRect(LPRECT r, int dx, int dy) {
    if (!r) return FALSE;
    r->left += dx;
    r->right += dx;
    r->top += dy;
    r->bottom += dy;
    return TRUE;
}
BOOL IsRectEmpty(const RECT* r) { return !r || r->right <= r->left || r->bottom <= r->top; }
BOOL PtInRect(const RECT* r, POINT pt) {
    return r && pt.x >= r->left && pt.x < r->right && pt.y >= r->top && pt.y < r->bottom;
}
BOOL IntersectRect(LPRECT d, const RECT* a, const RECT* b) {
    if (!d || !a || !b) return FALSE;
    RECT r{std::max(a->left, b->left), std::max(a->top, b->top), std::min(a->right, b->right),
           std::min(a->bottom, b->bottom)};
    if (IsRectEmpty(&r)) {
        SetRectEmpty(d);
        return FALSE;
    }
    *d = r;
    return TRUE;
}
BOOL UnionRect(LPRECT d, const RECT* a, const RECT* b) {
    if (!d || !a || !b) return FALSE;
    if (IsRectEmpty(a)) {
        *d = *b;
    } else if (IsRectEmpty(b)) {
        *d = *a;
    } else {
        *d = RECT{std::min(a->left, b->left), std::min(a->top, b->top), std::max(a->right, b->right),
                  std::max(a->bottom, b->bottom)};
    }
    return !IsRectEmpty(d);
}
BOOL EqualRect(const RECT* a, const RECT* b) {
    return a && b && a->left == b->left && a->top == b->top && a->right == b->right && a->bottom == b->bottom;
}

int GetSystemMetrics(int nIndex) {
    // Only the screen sizes ask Qt; scroll-bar widths are read on every
    // client-size computation.
    auto screen = [] {
        if (QCoreApplication::instance())
            if (QScreen* s = QGuiApplication::primaryScreen()) return s->geometry();
        return QRect(0, 0, 1280, 1024);
    };
    switch (nIndex) {
    case SM_CXSCREEN: return screen().width();
    case SM_CYSCREEN: return screen().height();
    case SM_CXVSCROLL:
    case SM_CYHSCROLL: return 17;
    case SM_CYCAPTION: return 23;
    case SM_CXBORDER:
    case SM_CYBORDER: return 1;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME: return 3;
    case SM_CXFRAME:
    case SM_CYFRAME: return 4;
    case SM_CXFULLSCREEN:
    case SM_CXMAXIMIZED: return screen().width();
    case SM_CYFULLSCREEN:
    case SM_CYMAXIMIZED: return screen().height();
    }
    return 0;
}
