/* Windows metafile rendering through libwmf's gd device layer.
   - The records are checked before libwmf sees them: headers, a chain of sizes that ends in an
     EOF record inside the buffer, and embedded bitmaps that fit their records.
   - The picture's frame is the window the file sets up (or its placeable bounds), located in
     libwmf's device space by scanning probe metafiles.
   - gd hands back a PNG through a memory sink, which libpng decodes to RGBA; that keeps to
     libwmf's public interface (its raw gd image has no exported destructor).
   - libwmf runs in a separate player process with a time and memory limit, since it trusts what
     it reads; the caller and the player share the input and the pixels through memory files. */
#ifndef _GNU_SOURCE
#define _GNU_SOURCE /* pipe2, memfd_create */
#endif
#include "platform/picture/WmfRender.h"

#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#ifndef VORAD_HAVE_WMF

int vorad_wmf_render(const unsigned char* data, size_t size, int maxSide, int* width, int* height, unsigned char** rgba) {
    (void)data; (void)size; (void)maxSide; (void)width; (void)height;
    if (rgba) *rgba = NULL;
    return -1;
}

int vorad_wmf_player_main(int argc, char** argv) {
    (void)argc; (void)argv;
    return 1;
}

#else

#include <libwmf/api.h>
#include <libwmf/defs.h>
#include <libwmf/gd.h>
#include <libwmf/ipa.h>
#include <libwmf/macro.h>
#include <errno.h>
#include <fcntl.h>
#include <math.h>
#include <png.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <stdio.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

enum {
    kPlaceableSize = 22,
    kHeaderSize = 18,
    kRecordHead = 6,           /* size in words (4 bytes) + function (2 bytes) */
    kScreenDpi = 96,
    kDevicePerInch = 72        /* libwmf's device units are points */
};
#define WMF_PLACEABLE_KEY 0x9AC6CDD7UL
/* Metafiles are small; a bigger buffer is not a picture worth decoding. */
#define WMF_MAX_INPUT ((size_t)64 << 20)
/* The gd device allocates width * height pixels; the caller's maxSide bounds it further. */
#define WMF_MAX_SIDE 4096u
/* A metafile that takes longer than this to play is treated as unreadable. */
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define WMF_TIMEOUT_MS 30000L /* instrumented builds start and run the player many times slower */
#else
#define WMF_TIMEOUT_MS 5000L
#endif
/* Processor seconds the player may use: real metafiles take a fraction of one, and a page of
   thumbnails must not wait long on bad ones. Counted in processor time, so that a busy machine
   does not fail good files. */
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define WMF_CPU_SECONDS 10 /* instrumented builds copy their shadow memory page by page */
#else
#define WMF_CPU_SECONDS 2
#endif
/* Memory the player may allocate beyond what the process holds when it starts. */
#define WMF_MEMORY_BUDGET (1024ull << 20)

/* Record functions (low byte identifies the call, high byte is the usual parameter count). */
enum {
    R_EOF = 0x0000,
    R_SAVEDC = 0x001E,
    R_REALIZEPALETTE = 0x0035,
    R_CREATEPALETTE = 0x00F7,
    R_SETBKMODE = 0x0102,
    R_SETMAPMODE = 0x0103,
    R_SETROP2 = 0x0104,
    R_SETRELABS = 0x0105,
    R_SETPOLYFILLMODE = 0x0106,
    R_SETSTRETCHBLTMODE = 0x0107,
    R_SETTEXTCHAREXTRA = 0x0108,
    R_SELECTCLIPREGION = 0x012C,
    R_SELECTOBJECT = 0x012D,
    R_SETTEXTALIGN = 0x012E,
    R_DIBCREATEPATTERNBRUSH = 0x0142,
    R_DELETEOBJECT = 0x01F0,
    R_CREATEPATTERNBRUSH = 0x01F9,
    R_SETBKCOLOR = 0x0201,
    R_SETTEXTCOLOR = 0x0209,
    R_SETTEXTJUSTIFICATION = 0x020A,
    R_SETWINDOWORG = 0x020B,
    R_SETWINDOWEXT = 0x020C,
    R_SETVIEWPORTORG = 0x020D,
    R_SETVIEWPORTEXT = 0x020E,
    R_OFFSETWINDOWORG = 0x020F,
    R_OFFSETVIEWPORTORG = 0x0211,
    R_MOVETO = 0x0214,
    R_OFFSETCLIPRGN = 0x0220,
    R_SETMAPPERFLAGS = 0x0231,
    R_SELECTPALETTE = 0x0234,
    R_CREATEPENINDIRECT = 0x02FA,
    R_CREATEFONTINDIRECT = 0x02FB,
    R_CREATEBRUSHINDIRECT = 0x02FC,
    R_SCALEWINDOWEXT = 0x0410,
    R_SCALEVIEWPORTEXT = 0x0412,
    R_EXCLUDECLIPRECT = 0x0415,
    R_INTERSECTCLIPRECT = 0x0416,
    R_SETPIXEL = 0x041F,
    R_DIBBITBLT = 0x0940,
    R_DIBSTRETCHBLT = 0x0B41,
    R_SETDIBTODEV = 0x0D33,
    R_STRETCHDIB = 0x0F43,
    R_ESCAPE = 0x0626,
    R_CREATEREGION = 0x06FF
};

static unsigned rd16(const unsigned char* p) { return (unsigned)p[0] | ((unsigned)p[1] << 8); }
static int rds16(const unsigned char* p) { unsigned v = rd16(p); return v >= 0x8000u ? (int)v - 0x10000 : (int)v; }
static unsigned long rd32(const unsigned char* p) {
    return (unsigned long)p[0] | ((unsigned long)p[1] << 8) | ((unsigned long)p[2] << 16) | ((unsigned long)p[3] << 24);
}
static void wr16(unsigned char* p, unsigned v) { p[0] = (unsigned char)(v & 255u); p[1] = (unsigned char)((v >> 8) & 255u); }
static void wr32(unsigned char* p, unsigned long v) {
    for (int i = 0; i < 4; ++i) p[i] = (unsigned char)((v >> (8 * i)) & 255u);
}

/* What the record walk learns about a metafile before libwmf sees it. */
typedef struct {
    size_t header;        /* offset of the standard header */
    size_t end;           /* one past the EOF record */
    size_t setupEnd;      /* end of the leading records that only set state */
    int placeable;
    int left, top, right, bottom, inch;
    int haveOrg, haveExt;
    int orgX, orgY, extX, extY;
} Layout;

static int is_mapping_record(unsigned fn) {
    switch (fn) {
    case R_SETMAPMODE: case R_SETWINDOWORG: case R_SETWINDOWEXT: case R_SETVIEWPORTORG: case R_SETVIEWPORTEXT:
    case R_OFFSETWINDOWORG: case R_OFFSETVIEWPORTORG: case R_SCALEWINDOWEXT: case R_SCALEVIEWPORTEXT:
        return 1;
    default:
        return 0;
    }
}

/* Records that draw nothing, so the picture's coordinate system is still being set up. */
static int is_setup_record(unsigned fn) {
    if (is_mapping_record(fn)) return 1;
    switch (fn) {
    case R_SAVEDC: case R_REALIZEPALETTE: case R_CREATEPALETTE: case R_SETBKMODE: case R_SETROP2:
    case R_SETRELABS: case R_SETPOLYFILLMODE: case R_SETSTRETCHBLTMODE: case R_SETTEXTCHAREXTRA:
    case R_SELECTCLIPREGION: case R_SELECTOBJECT: case R_SETTEXTALIGN: case R_DIBCREATEPATTERNBRUSH:
    case R_DELETEOBJECT: case R_CREATEPATTERNBRUSH: case R_SETBKCOLOR: case R_SETTEXTCOLOR:
    case R_SETTEXTJUSTIFICATION: case R_MOVETO: case R_OFFSETCLIPRGN: case R_SETMAPPERFLAGS:
    case R_SELECTPALETTE: case R_CREATEPENINDIRECT: case R_CREATEFONTINDIRECT: case R_CREATEBRUSHINDIRECT:
    case R_EXCLUDECLIPRECT: case R_INTERSECTCLIPRECT: case R_ESCAPE: case R_CREATEREGION:
        return 1;
    default:
        return 0;
    }
}

/* A device-independent bitmap inside a record: its pixels must fit the record and stay a sane
   size, since libwmf reads whatever the header claims. */
#define WMF_MAX_BITMAP_PIXELS ((unsigned long long)4096 * 4096)
static int dib_ok(const unsigned char* p, size_t n, int paletteIndices) {
    if (n < 12) return 0;
    const unsigned long headerSize = rd32(p);
    unsigned long long w, h;
    unsigned bpp, compression = 0;
    unsigned long colours = 0;
    size_t entry;
    if (headerSize == 12) {
        w = rd16(p + 4);
        h = rd16(p + 6);
        bpp = rd16(p + 10);
        entry = 3;
    } else if (headerSize >= 40 && headerSize <= n) {
        const long sw = (long)(int32_t)rd32(p + 4), sh = (long)(int32_t)rd32(p + 8);
        w = sw < 0 ? 0 : (unsigned long long)sw;
        h = sh < 0 ? (unsigned long long)(-(long long)sh) : (unsigned long long)sh;
        bpp = rd16(p + 14);
        compression = (unsigned)rd32(p + 16);
        colours = rd32(p + 32);
        entry = 4;
    } else {
        return 0;
    }
    if (paletteIndices) entry = 2;
    if (w == 0 || h == 0 || w * h > WMF_MAX_BITMAP_PIXELS) return 0;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) return 0;
    if (bpp <= 8 && (colours == 0 || colours > (1ul << bpp))) colours = 1ul << bpp;
    if (colours > 256) return 0;
    unsigned long long need = headerSize + (unsigned long long)colours * entry;
    if (compression == 3 && headerSize == 40) need += 12;
    if (compression == 0 || compression == 3) {
        need += ((w * bpp + 31) / 32) * 4 * h;
    } else if (!((compression == 1 && bpp == 8) || (compression == 2 && bpp == 4))) {
        return 0;
    }
    return need <= n;
}

/* Where a record's bitmap starts (bytes after the record head), or 0 for records without one. */
static size_t dib_offset(unsigned fn, unsigned long words) {
    switch (fn) {
    case R_STRETCHDIB: return 22;
    case R_SETDIBTODEV: return 18;
    case R_DIBCREATEPATTERNBRUSH: return 4;
    /* The blits carry a bitmap unless the record is just its fixed parameters. */
    case R_DIBSTRETCHBLT: return words > 14 ? 20 : 0;
    case R_DIBBITBLT: return words > 12 ? 16 : 0;
    default: return 0;
    }
}

/* Checks the headers and that the record chain stays inside the buffer up to an EOF record,
   so that libwmf never reads past the data it is given. */
static int walk(const unsigned char* d, size_t size, Layout* L) {
    memset(L, 0, sizeof *L);
    size_t pos = 0;
    if (size >= 4 && rd32(d) == WMF_PLACEABLE_KEY) {
        if (size < (size_t)kPlaceableSize) return -1;
        L->placeable = 1;
        L->left = rds16(d + 6);
        L->top = rds16(d + 8);
        L->right = rds16(d + 10);
        L->bottom = rds16(d + 12);
        L->inch = (int)rd16(d + 14);
        if (L->inch == 0 || L->left == L->right || L->top == L->bottom) return -1;
        pos = kPlaceableSize;
    }
    if (size - pos < (size_t)kHeaderSize) return -1;
    const unsigned type = rd16(d + pos), headerWords = rd16(d + pos + 2);
    if ((type != 1 && type != 2) || headerWords != 9) return -1;
    L->header = pos;
    pos += kHeaderSize;
    int setup = 1;
    for (;;) {
        if (size - pos < (size_t)kRecordHead) return -1;
        const unsigned long words = rd32(d + pos);
        const unsigned fn = rd16(d + pos + 4);
        if (words < 3 || words > (size - pos) / 2) return -1;
        const size_t bytes = (size_t)words * 2;
        if (fn == R_EOF) {
            L->end = pos + bytes;
            if (setup) L->setupEnd = pos;
            return 0;
        }
        const size_t at = dib_offset(fn, words);
        if (at) {
            const size_t body = bytes - kRecordHead;
            /* StretchDIBits and SetDIBitsToDevice say whether the colour table holds palette indices. */
            const unsigned usage = fn == R_STRETCHDIB ? rd16(d + pos + 6 + 4) : fn == R_SETDIBTODEV ? rd16(d + pos + 6)
                                 : fn == R_DIBCREATEPATTERNBRUSH ? rd16(d + pos + 8) : 0;
            if (body < at || !dib_ok(d + pos + kRecordHead + at, body - at, usage == 1)) return -1;
        }
        if (setup && !is_setup_record(fn)) {
            setup = 0;
            L->setupEnd = pos;
        }
        if (setup && (fn == R_SETWINDOWORG || fn == R_SETWINDOWEXT) && words >= 5) {
            const int y = rds16(d + pos + 6), x = rds16(d + pos + 8);
            if (fn == R_SETWINDOWORG) { L->haveOrg = 1; L->orgX = x; L->orgY = y; }
            else { L->haveExt = 1; L->extX = x; L->extY = y; }
        }
        pos += bytes;
    }
}

/* ---- device layer ----
   libwmf's gd device, with every shape checked on the way in: corners put in top-left order,
   coordinates, pen sizes and fonts held to sizes that stay in proportion to the picture. gd
   fills bottom-up rectangles as nothing, and loops for minutes over pens, fonts or polygons
   thousands of pictures wide. */

static const wmfFunctionReference* gd_calls(wmfAPI* API) { return (const wmfFunctionReference*)API->user_data; }

/* Limits in pictures: coordinates stay within WMF_REACH pictures of the frame on each axis; a pen
   at most WMF_MAX_PEN of the picture's longer side (gd draws a wide pen by stamping it at every
   point); a font at most WMF_MAX_FONT pictures high, its glyphs no more stretched than
   WMF_MAX_STRETCH (FreeType fails on extreme ones and gd then dereferences nothing). */
#define WMF_REACH 8.0
#define WMF_MAX_PEN (1.0 / 16)
#define WMF_MAX_FONT 2.0
#define WMF_MAX_STRETCH 32.0

typedef struct {
    double x0, y0, x1, y1;  /* reach, device units */
    double sx, sy;          /* pixels per device unit */
    double side;            /* longer side of the picture, pixels */
} Bounds;

static Bounds bounds_of(wmfAPI* API) {
    const wmf_gd_t* gd = WMF_GD_GetData(API);
    const double w = (double)gd->bbox.BR.x - gd->bbox.TL.x, h = (double)gd->bbox.BR.y - gd->bbox.TL.y;
    Bounds b;
    b.x0 = gd->bbox.TL.x - WMF_REACH * w;
    b.y0 = gd->bbox.TL.y - WMF_REACH * h;
    b.x1 = gd->bbox.BR.x + WMF_REACH * w;
    b.y1 = gd->bbox.BR.y + WMF_REACH * h;
    b.sx = gd->width / w;
    b.sy = gd->height / h;
    b.side = gd->width > gd->height ? gd->width : gd->height;
    return b;
}

static float clampf(float v, double lo, double hi) {
    if (!(v >= lo)) return (float)lo; /* NaN too */
    if (v > hi) return (float)hi;
    return v;
}
static void hold(const Bounds* b, wmfD_Coord* c) {
    c->x = clampf(c->x, b->x0, b->x1);
    c->y = clampf(c->y, b->y0, b->y1);
}
static void hold_pen(const Bounds* b, wmfDC* dc) {
    if (!dc || !dc->pen) return;
    const double most = WMF_MAX_PEN * b->side;
    if (!(dc->pen->width * b->sx <= most)) dc->pen->width = most / b->sx;
    if (!(dc->pen->height * b->sy <= most)) dc->pen->height = most / b->sy;
    if (dc->pen->width < 0) dc->pen->width = 0;
    if (dc->pen->height < 0) dc->pen->height = 0;
}
static void order_corners(wmfD_Coord* tl, wmfD_Coord* br) {
    if (tl->x > br->x) { float t = tl->x; tl->x = br->x; br->x = t; }
    if (tl->y > br->y) { float t = tl->y; tl->y = br->y; br->y = t; }
}
static void hold_box(const Bounds* b, wmfD_Coord* tl, wmfD_Coord* br) {
    hold(b, tl);
    hold(b, br);
    order_corners(tl, br);
}

static void draw_rectangle(wmfAPI* API, wmfDrawRectangle_t* r) {
    const Bounds b = bounds_of(API);
    hold_pen(&b, r->dc);
    hold_box(&b, &r->TL, &r->BR);
    r->width = clampf(r->width, 0, (double)r->BR.x - r->TL.x);
    r->height = clampf(r->height, 0, (double)r->BR.y - r->TL.y);
    gd_calls(API)->draw_rectangle(API, r);
}
static void hold_arc(wmfAPI* API, wmfDrawArc_t* a) {
    const Bounds b = bounds_of(API);
    hold_pen(&b, a->dc);
    hold_box(&b, &a->TL, &a->BR);
    hold(&b, &a->start);
    hold(&b, &a->end);
}
/* gd draws a wide pen by stamping a pen-sized square at every point of the outline, which for an
   ellipse costs its perimeter times the pen's area: fifty ellipses with a pen of 60 pixels take
   seconds. An ellipse with a pen over a few pixels is drawn as its filling and then as outlines
   of one pixel, half a pixel apart, across the pen's width: the same ring for a fraction of the
   work. */
#define WMF_THIN_PEN 3.0
static void draw_ellipse(wmfAPI* API, wmfDrawArc_t* a) {
    hold_arc(API, a);
    wmfDC* dc = a->dc;
    wmfPen* pen = dc ? dc->pen : NULL;
    const Bounds b = bounds_of(API);
    const double pw = pen ? pen->width * b.sx : 0, ph = pen ? pen->height * b.sy : 0;
    if (!pen || WMF_PEN_STYLE(pen) == PS_NULL || !(pw > WMF_THIN_PEN || ph > WMF_THIN_PEN)) {
        gd_calls(API)->draw_ellipse(API, a);
        return;
    }
    const wmfPen keepPen = *pen;
    wmfBrush* brush = dc->brush;
    if (brush && WMF_BRUSH_STYLE(brush) != BS_NULL) {
        WMF_PEN_SET_STYLE(pen, PS_NULL);
        gd_calls(API)->draw_ellipse(API, a);
        *pen = keepPen;
    }
    const U16 keepBrush = brush ? brush->lbStyle : 0;
    if (brush) WMF_BRUSH_SET_STYLE(brush, BS_NULL);
    WMF_PEN_SET_STYLE(pen, PS_SOLID);
    pen->width = 1 / b.sx;
    pen->height = 1 / b.sy;
    /* A centred pen reaches half its width to either side of the outline, an inside-frame pen its
       whole width inwards. */
    const double hw = keepPen.width / 2, hh = keepPen.height / 2;
    const double shift = WMF_PEN_STYLE(&keepPen) == PS_INSIDEFRAME ? -1 : 0;
    const int steps = (int)ceil(2 * (pw > ph ? pw : ph));
    for (int i = 0; i <= steps; ++i) {
        const double f = shift + (2.0 * i / steps - 1);
        wmfDrawArc_t ring = *a;
        ring.TL.x = (float)(a->TL.x - f * hw);
        ring.TL.y = (float)(a->TL.y - f * hh);
        ring.BR.x = (float)(a->BR.x + f * hw);
        ring.BR.y = (float)(a->BR.y + f * hh);
        if (!(ring.BR.x > ring.TL.x && ring.BR.y > ring.TL.y)) continue;
        gd_calls(API)->draw_ellipse(API, &ring);
    }
    *pen = keepPen;
    if (brush) brush->lbStyle = keepBrush;
}
static void draw_arc(wmfAPI* API, wmfDrawArc_t* a) { hold_arc(API, a); gd_calls(API)->draw_arc(API, a); }
static void draw_pie(wmfAPI* API, wmfDrawArc_t* a) { hold_arc(API, a); gd_calls(API)->draw_pie(API, a); }
static void draw_chord(wmfAPI* API, wmfDrawArc_t* a) { hold_arc(API, a); gd_calls(API)->draw_chord(API, a); }

static void draw_line(wmfAPI* API, wmfDrawLine_t* l) {
    const Bounds b = bounds_of(API);
    hold_pen(&b, l->dc);
    hold(&b, &l->from);
    hold(&b, &l->to);
    gd_calls(API)->draw_line(API, l);
}
static void hold_poly(wmfAPI* API, wmfPolyLine_t* p) {
    const Bounds b = bounds_of(API);
    hold_pen(&b, p->dc);
    if (p->pt)
        for (unsigned i = 0; i < p->count; ++i) hold(&b, &p->pt[i]);
}
static void poly_line(wmfAPI* API, wmfPolyLine_t* p) { hold_poly(API, p); gd_calls(API)->poly_line(API, p); }
static void draw_polygon(wmfAPI* API, wmfPolyLine_t* p) { hold_poly(API, p); gd_calls(API)->draw_polygon(API, p); }
static void draw_polypolygon(wmfAPI* API, wmfPolyPoly_t* p) {
    const Bounds b = bounds_of(API);
    hold_pen(&b, p->dc);
    if (p->pt && p->count)
        for (unsigned i = 0; i < p->npoly; ++i)
            if (p->pt[i])
                for (unsigned j = 0; j < p->count[i]; ++j) hold(&b, &p->pt[i][j]);
    gd_calls(API)->draw_polypolygon(API, p);
}
static void hold_rects(wmfAPI* API, wmfPolyRectangle_t* r) {
    const Bounds b = bounds_of(API);
    if (r->TL && r->BR)
        for (unsigned i = 0; i < r->count; ++i) hold_box(&b, &r->TL[i], &r->BR[i]);
    r->width = clampf(r->width, 0, WMF_MAX_PEN * b.side / b.sx);
    r->height = clampf(r->height, 0, WMF_MAX_PEN * b.side / b.sy);
}
static void region_frame(wmfAPI* API, wmfPolyRectangle_t* r) { hold_rects(API, r); gd_calls(API)->region_frame(API, r); }
static void region_paint(wmfAPI* API, wmfPolyRectangle_t* r) { hold_rects(API, r); gd_calls(API)->region_paint(API, r); }
static void rop_draw(wmfAPI* API, wmfROP_Draw_t* r) {
    const Bounds b = bounds_of(API);
    hold_box(&b, &r->TL, &r->BR);
    gd_calls(API)->rop_draw(API, r);
}

/* Text without a usable size is left out (a zero font height would make gd spin), and so is text
   anchored far outside the picture. Its clip and background boxes are held like shapes. */
static void draw_text(wmfAPI* API, wmfDrawText_t* t) {
    const Bounds b = bounds_of(API);
    const double high = t->font_height * b.sy, wide = t->font_height * t->font_ratio * b.sx;
    if (!(high > 0 && wide > 0 && high <= WMF_MAX_FONT * b.side && wide <= WMF_MAX_FONT * b.side)) return;
    if (!(wide / high <= WMF_MAX_STRETCH && high / wide <= WMF_MAX_STRETCH)) return;
    if (!(t->pt.x >= b.x0 && t->pt.x <= b.x1 && t->pt.y >= b.y0 && t->pt.y <= b.y1)) return;
    hold_box(&b, &t->TL, &t->BR);
    hold(&b, &t->bbox.TL);
    hold(&b, &t->bbox.TR);
    hold(&b, &t->bbox.BL);
    hold(&b, &t->bbox.BR);
    gd_calls(API)->draw_text(API, t);
}

/* A bitmap is drawn pixel by pixel over its whole destination, inside the picture or not: one
   stretched over many pictures, or placed far outside, is left out. */
static void bmp_draw(wmfAPI* API, wmfBMP_Draw_t* d) {
    const Bounds b = bounds_of(API);
    const wmf_gd_t* gd = WMF_GD_GetData(API);
    const double most = (1 + 2 * WMF_REACH) * (gd->width > gd->height ? gd->width : gd->height);
    const double wide = d->crop.w * d->pixel_width * b.sx, high = d->crop.h * d->pixel_height * b.sy;
    if (!(wide >= 0 && high >= 0 && wide <= most && high <= most)) return;
    if (!(d->pt.x >= b.x0 && d->pt.x <= b.x1 && d->pt.y >= b.y0 && d->pt.y <= b.y1)) return;
    gd_calls(API)->bmp_draw(API, d);
}

static void device_function(wmfAPI* API) {
    wmf_gd_function(API);
    if (API->err != wmf_E_None || !API->function_reference) return;
    wmfFunctionReference* f = (wmfFunctionReference*)API->function_reference;
    wmfFunctionReference* gd = (wmfFunctionReference*)wmf_malloc(API, sizeof *gd);
    if (!gd) {
        API->err = wmf_E_InsMem;
        return;
    }
    *gd = *f;
    API->user_data = gd;
    /* Only what gd draws is wrapped; a call it leaves out stays out. */
#define WRAP(call) if (f->call) f->call = call
    WRAP(draw_rectangle);
    WRAP(draw_ellipse);
    WRAP(draw_arc);
    WRAP(draw_pie);
    WRAP(draw_chord);
    WRAP(draw_line);
    WRAP(poly_line);
    WRAP(draw_polygon);
    WRAP(draw_polypolygon);
    WRAP(region_frame);
    WRAP(region_paint);
    WRAP(rop_draw);
    WRAP(draw_text);
    WRAP(bmp_draw);
#undef WRAP
}

static wmfAPI* open_api(unsigned char* data, size_t size, void (*function)(wmfAPI*)) {
    wmfAPI_Options options;
    memset(&options, 0, sizeof options);
    options.function = function;
    const unsigned long flags = WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
    wmfAPI* API = NULL;
    if (wmf_api_create(&API, flags, &options) != wmf_E_None) {
        if (API) wmf_api_destroy(API);
        return NULL;
    }
    if (wmf_mem_open(API, data, (long)size) != wmf_E_None) {
        wmf_api_destroy(API);
        return NULL;
    }
    return API;
}

static int rect_ok(const wmfD_Rect* r) {
    return isfinite(r->TL.x) && isfinite(r->TL.y) && isfinite(r->BR.x) && isfinite(r->BR.y)
        && r->BR.x > r->TL.x && r->BR.y > r->TL.y;
}

/* Where libwmf puts logical point (x, y) under the file's opening mapping: a one-pixel metafile
   made of those mapping records is scanned, and the centre of its bounds is the point. */
static int locate(const unsigned char* d, const Layout* L, int x, int y, double* dx, double* dy) {
    const size_t first = L->header + kHeaderSize;
    size_t mapping = 0, pos;
    for (pos = first; pos < L->setupEnd; pos += (size_t)rd32(d + pos) * 2)
        if (is_mapping_record(rd16(d + pos + 4))) mapping += (size_t)rd32(d + pos) * 2;
    const size_t pixel = 14, eof = 6;
    const size_t total = first + mapping + pixel + eof;
    unsigned char* p = (unsigned char*)malloc(total);
    if (!p) return -1;
    memcpy(p, d, first);
    size_t out = first;
    unsigned long maxRecord = 7;
    for (pos = first; pos < L->setupEnd; pos += (size_t)rd32(d + pos) * 2) {
        const unsigned long words = rd32(d + pos);
        if (!is_mapping_record(rd16(d + pos + 4))) continue;
        memcpy(p + out, d + pos, (size_t)words * 2);
        out += (size_t)words * 2;
        if (words > maxRecord) maxRecord = words;
    }
    wr32(p + out, 7); wr16(p + out + 4, R_SETPIXEL); wr32(p + out + 6, 0);
    wr16(p + out + 10, (unsigned)y & 0xFFFFu); wr16(p + out + 12, (unsigned)x & 0xFFFFu);
    out += pixel;
    wr32(p + out, 3); wr16(p + out + 4, R_EOF);
    out += eof;
    wr32(p + L->header + 6, (unsigned long)((total - L->header) / 2));
    wr32(p + L->header + 12, maxRecord);

    int rc = -1;
    wmfAPI* API = open_api(p, total, wmf_gd_function);
    if (API) {
        wmfD_Rect box;
        memset(&box, 0, sizeof box);
        if (wmf_scan(API, 0, &box) == wmf_E_None && rect_ok(&box)) {
            *dx = 0.5 * ((double)box.TL.x + (double)box.BR.x);
            *dy = 0.5 * ((double)box.TL.y + (double)box.BR.y);
            rc = 0;
        }
        wmf_api_destroy(API);
    }
    free(p);
    return rc;
}

static int clamp16(long v) { return v < -32768 ? -32768 : v > 32767 ? 32767 : (int)v; }

/* The picture's frame in device units: the window the file sets up, or else the placeable bounds.
   Returns -1 when the file sets up neither. */
static int frame_of(const unsigned char* d, const Layout* L, wmfD_Rect* frame) {
    long ox, oy, ex, ey;
    if (L->haveExt) {
        ox = L->haveOrg ? L->orgX : (L->placeable ? L->left : 0);
        oy = L->haveOrg ? L->orgY : (L->placeable ? L->top : 0);
        ex = L->extX;
        ey = L->extY;
    } else if (L->placeable) {
        ox = L->haveOrg ? L->orgX : L->left;
        oy = L->haveOrg ? L->orgY : L->top;
        ex = (long)L->right - L->left;
        ey = (long)L->bottom - L->top;
    } else {
        return -1;
    }
    if (ex == 0 || ey == 0) return -1;
    /* The far corner may lie outside 16-bit coordinates; probe a nearer one and extrapolate. */
    const int fx = clamp16(ox + ex), fy = clamp16(oy + ey);
    if (fx == ox || fy == oy) return -1;
    double x0, y0, x1, y1;
    if (locate(d, L, (int)ox, (int)oy, &x0, &y0) != 0 || locate(d, L, fx, fy, &x1, &y1) != 0) return -1;
    x1 = x0 + (x1 - x0) * ((double)ex / (double)(fx - ox));
    y1 = y0 + (y1 - y0) * ((double)ey / (double)(fy - oy));
    frame->TL.x = (float)fmin(x0, x1);
    frame->TL.y = (float)fmin(y0, y1);
    frame->BR.x = (float)fmax(x0, x1);
    frame->BR.y = (float)fmax(y0, y1);
    return rect_ok(frame) ? 0 : -1;
}

/* ---- PNG sink ---- */

typedef struct {
    unsigned char* data;
    size_t length, capacity, limit;
    int failed;
} Sink;

static int sink_write(void* context, char* buffer, int length) {
    Sink* s = (Sink*)context;
    if (s->failed || length < 0) return 0;
    const size_t n = (size_t)length;
    if (n > s->limit - s->length) { s->failed = 1; return 0; }
    if (s->length + n > s->capacity) {
        size_t cap = s->capacity ? s->capacity : 4096;
        while (cap < s->length + n) cap = cap > s->limit / 2 ? s->limit : cap * 2;
        unsigned char* grown = (unsigned char*)realloc(s->data, cap);
        if (!grown) { s->failed = 1; return 0; }
        s->data = grown;
        s->capacity = cap;
    }
    if (n) memcpy(s->data + s->length, buffer, n);
    s->length += n;
    return length;
}

static int decode_png(const Sink* s, unsigned w, unsigned h, unsigned char* out) {
    png_image image;
    memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, s->data, s->length)) return -1;
    if (image.width != w || image.height != h) { png_image_free(&image); return -1; }
    image.format = PNG_FORMAT_RGBA;
    if (!png_image_finish_read(&image, NULL, out, 0, NULL)) { png_image_free(&image); return -1; }
    return 0;
}

static unsigned to_pixels(double v, unsigned side) {
    if (!(v >= 1.0)) return 1;
    if (v >= (double)side) return side;
    const unsigned n = (unsigned)lround(v);
    return n < 1 ? 1 : n > side ? side : n;
}

/* Plays the checked metafile into out (side * side * 4 bytes). Runs in the player. */
static int render_direct(const unsigned char* data, const Layout* L, unsigned side, unsigned char* out, unsigned* width, unsigned* height) {
    wmfD_Rect frame;
    const int framed = frame_of(data, L, &frame) == 0;

    /* libwmf wants a writable buffer; it gets the metafile up to its EOF record. */
    unsigned char* copy = (unsigned char*)malloc(L->end);
    if (!copy) return -1;
    memcpy(copy, data, L->end);
    wmfAPI* API = open_api(copy, L->end, device_function);
    if (!API) { free(copy); return -1; }

    int rc = -1;
    Sink sink;
    memset(&sink, 0, sizeof sink);
    unsigned w = 0, h = 0;
    wmfD_Rect box;
    memset(&box, 0, sizeof box);
    if (wmf_scan(API, 0, &box) != wmf_E_None) goto done;
    if (!framed) {
        if (!rect_ok(&box)) goto done;
        frame = box;
    }
    {
        /* Placeable files state their size; otherwise the frame's points are shown at screen size. */
        double pw, ph;
        if (L->placeable) {
            pw = fabs((double)L->right - L->left) * kScreenDpi / L->inch;
            ph = fabs((double)L->bottom - L->top) * kScreenDpi / L->inch;
        } else {
            pw = ((double)frame.BR.x - frame.TL.x) * kScreenDpi / kDevicePerInch;
            ph = ((double)frame.BR.y - frame.TL.y) * kScreenDpi / kDevicePerInch;
        }
        const double longer = pw > ph ? pw : ph;
        if (longer > side) {
            pw = pw * side / longer;
            ph = ph * side / longer;
        }
        w = to_pixels(pw, side);
        h = to_pixels(ph, side);
    }
    {
        wmf_gd_t* gd = WMF_GD_GetData(API);
        if (!gd) goto done;
        gd->type = wmf_gd_png;
        gd->bbox = frame;
        gd->width = w;
        gd->height = h;
        gd->flags |= WMF_GD_OUTPUT_MEMORY | WMF_GD_OWN_BUFFER;
        sink.limit = (size_t)w * h * 8 + ((size_t)1 << 20);
        gd->sink.context = &sink;
        gd->sink.function = sink_write;
    }
    {
        wmfD_Rect playBox = frame;
        if (wmf_play(API, 0, &playBox) != wmf_E_None) goto done;
    }
    if (sink.failed || sink.length == 0) goto done;
    if (decode_png(&sink, w, h, out) == 0) {
        *width = w;
        *height = h;
        rc = 0;
    }
done:
    wmf_api_destroy(API);
    free(copy);
    free(sink.data);
    return rc;
}

/* ---- isolation ----
   libwmf trusts the records it plays: malformed fonts, bitmaps or regions can make it crash or
   loop. It therefore runs in the player process, which hands the pixels back through shared
   memory and is killed when it takes too long. */

/* The player sits next to the program that uses it; it finds its input, its output and the pipe
   it closes by ending at these descriptors. */
#define VORAD_WMF_PLAYER "vorad-wmfplayer"
enum { WMF_FD_INPUT = 3, WMF_FD_OUTPUT = 4, WMF_FD_DONE = 5 };

typedef struct {
    volatile int done; /* set last by the player, after the pixels */
    unsigned width, height;
} SharedHead;
#define WMF_SHARED_HEAD 64

static long elapsed_ms(const struct timespec* since) {
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return (long)(now.tv_sec - since->tv_sec) * 1000L + (long)((now.tv_nsec - since->tv_nsec) / 1000000L);
}

/* Waits until the player closes its end of the pipe (it exits) or the time is up. */
static int wait_for_player(int fd) {
    struct timespec start;
    clock_gettime(CLOCK_MONOTONIC, &start);
    for (;;) {
        const long left = WMF_TIMEOUT_MS - elapsed_ms(&start);
        if (left <= 0) return -1;
        struct pollfd p;
        p.fd = fd;
        p.events = POLLIN;
        p.revents = 0;
        const int n = poll(&p, 1, (int)left);
        if (n < 0) {
            if (errno == EINTR) continue;
            return -1;
        }
        if (n == 0) return -1;
        char c;
        const ssize_t r = read(fd, &c, 1);
        if (r == 0) return 0;
        if (r < 0 && errno != EINTR && errno != EAGAIN) return -1;
    }
}

/* Caps the player's further data allocations, so that a bitmap or font claiming a huge size fails
   inside libwmf instead of exhausting memory. The cap is relative to what the process already
   maps, which sanitizer builds make very large. */
static void limit_memory(void) {
    char text[4096];
    const int fd = open("/proc/self/status", O_RDONLY | O_CLOEXEC);
    if (fd < 0) return;
    const ssize_t n = read(fd, text, sizeof text - 1);
    close(fd);
    if (n <= 0) return;
    text[n] = '\0';
    const char* at = strstr(text, "VmData:");
    if (!at) return;
    const unsigned long long kib = strtoull(at + 7, NULL, 10);
    struct rlimit lim;
    if (kib == 0 || getrlimit(RLIMIT_DATA, &lim) != 0) return;
    rlim_t cap = (rlim_t)(kib * 1024ull + WMF_MEMORY_BUDGET);
    if (lim.rlim_max != RLIM_INFINITY && cap > lim.rlim_max) cap = lim.rlim_max;
    if (lim.rlim_cur != RLIM_INFINITY && cap > lim.rlim_cur) return;
    lim.rlim_cur = cap;
    setrlimit(RLIMIT_DATA, &lim);
}

/* The player program: a fresh process started for each metafile, so that no lock another
   thread of the caller held at the moment of a fork can stall it. */
static int player_path(char* out, size_t size) {
    char self[4096];
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0) return -1;
    self[n] = '\0';
    char* slash = strrchr(self, '/');
    if (!slash) return -1;
    *slash = '\0';
    const int w = snprintf(out, size, "%s/%s", self, VORAD_WMF_PLAYER);
    return w > 0 && (size_t)w < size ? 0 : -1;
}

/* A descriptor above the ones the player expects, so that mapping it there never lands on itself. */
static int lifted(int fd) {
    if (fd < 0) return -1;
    const int high = fcntl(fd, F_DUPFD_CLOEXEC, 10);
    close(fd);
    return high;
}

int vorad_wmf_player_main(int argc, char** argv) {
    /* The player ends with the thread that started it, also when that process ends first. */
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (argc != 3 || getppid() != (pid_t)strtol(argv[2], NULL, 10)) return 1;
    const long sideArg = strtol(argv[1], NULL, 10);
    if (sideArg < 1 || sideArg > (long)WMF_MAX_SIDE) return 1;
    const unsigned side = (unsigned)sideArg;
    limit_memory();
    struct rlimit cpu;
    cpu.rlim_cur = WMF_CPU_SECONDS;
    cpu.rlim_max = WMF_CPU_SECONDS + 1;
    setrlimit(RLIMIT_CPU, &cpu);
    struct stat st;
    if (fstat(WMF_FD_INPUT, &st) != 0 || st.st_size <= 0 || (size_t)st.st_size > WMF_MAX_INPUT) _exit(1);
    const size_t size = (size_t)st.st_size;
    const unsigned char* data = (const unsigned char*)mmap(NULL, size, PROT_READ, MAP_PRIVATE, WMF_FD_INPUT, 0);
    if (data == MAP_FAILED) _exit(1);
    const size_t mapped = WMF_SHARED_HEAD + (size_t)side * side * 4;
    unsigned char* shared = (unsigned char*)mmap(NULL, mapped, PROT_READ | PROT_WRITE, MAP_SHARED, WMF_FD_OUTPUT, 0);
    if (shared == MAP_FAILED) _exit(1);
    Layout L;
    if (walk(data, size, &L) != 0) _exit(1);
    SharedHead* head = (SharedHead*)shared;
    unsigned w = 0, h = 0;
    if (render_direct(data, &L, side, shared + WMF_SHARED_HEAD, &w, &h) != 0) _exit(1);
    head->width = w;
    head->height = h;
    __sync_synchronize();
    head->done = 1;
    /* Without the exit handlers: libwmf's leftovers need no clean-up in a process that ends. */
    _exit(0);
}

static int write_all(int fd, const unsigned char* data, size_t size) {
    while (size > 0) {
        const ssize_t n = write(fd, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return -1;
        data += n;
        size -= (size_t)n;
    }
    return 0;
}

int vorad_wmf_render(const unsigned char* data, size_t size, int maxSide, int* width, int* height, unsigned char** rgba) {
    if (!rgba) return -1;
    *rgba = NULL;
    if (!data || !width || !height || maxSide < 1 || size > WMF_MAX_INPUT) return -1;
    Layout L;
    if (walk(data, size, &L) != 0) return -1;
    char player[4096];
    if (player_path(player, sizeof player) != 0) return -1;
    const unsigned side = (unsigned)maxSide < WMF_MAX_SIDE ? (unsigned)maxSide : WMF_MAX_SIDE;
    const size_t mapped = WMF_SHARED_HEAD + (size_t)side * side * 4;

    int rc = -1;
    int fds[2] = {-1, -1};
    unsigned char* shared = MAP_FAILED;
    const int input = lifted(memfd_create("vorad-wmf-input", MFD_CLOEXEC));
    const int output = lifted(memfd_create("vorad-wmf-output", MFD_CLOEXEC));
    if (input < 0 || output < 0 || write_all(input, data, L.end) != 0 || ftruncate(output, (off_t)mapped) != 0) goto done;
    shared = (unsigned char*)mmap(NULL, mapped, PROT_READ | PROT_WRITE, MAP_SHARED, output, 0);
    if (shared == MAP_FAILED || pipe2(fds, O_CLOEXEC) != 0) goto done;
    fds[0] = lifted(fds[0]);
    fds[1] = lifted(fds[1]);
    if (fds[0] < 0 || fds[1] < 0) goto done;
    {
        char sideText[16], parentText[24];
        snprintf(sideText, sizeof sideText, "%u", side);
        snprintf(parentText, sizeof parentText, "%ld", (long)getpid());
        char* args[] = {player, sideText, parentText, NULL};
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, input, WMF_FD_INPUT);
        posix_spawn_file_actions_adddup2(&actions, output, WMF_FD_OUTPUT);
        posix_spawn_file_actions_adddup2(&actions, fds[1], WMF_FD_DONE);
        posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        pid_t pid = -1;
        const int spawned = posix_spawn(&pid, player, &actions, NULL, args, environ);
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        fds[1] = -1;
        if (spawned != 0) goto done;
        const int finished = wait_for_player(fds[0]) == 0;
        if (!finished) kill(pid, SIGKILL);
        int status = 0;
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {}
        const SharedHead* head = (const SharedHead*)shared;
        __sync_synchronize();
        if (finished && WIFEXITED(status) && WEXITSTATUS(status) == 0 && head->done && head->width >= 1 && head->height >= 1 &&
            head->width <= side && head->height <= side) {
            const size_t bytes = (size_t)head->width * head->height * 4;
            unsigned char* out = (unsigned char*)malloc(bytes);
            if (out) {
                memcpy(out, shared + WMF_SHARED_HEAD, bytes);
                *width = (int)head->width;
                *height = (int)head->height;
                *rgba = out;
                rc = 0;
            }
        }
    }
done:
    if (shared != MAP_FAILED) munmap(shared, mapped);
    for (int i = 0; i < 2; ++i)
        if (fds[i] >= 0) close(fds[i]);
    if (input >= 0) close(input);
    if (output >= 0) close(output);
    return rc;
}

#endif

void vorad_wmf_free(unsigned char* rgba) { free(rgba); }
