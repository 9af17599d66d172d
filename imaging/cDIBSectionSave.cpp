#include "imaging/cDIBSectionSave.h"

#include "imaging/cColourReduceDIB.h"
#include "imaging/cDIBSection.h"
#include "imaging/cPalette.h"
#include "platform/picture/Bmp.h"
#include "platform/system/SafeFile.h"
#include "platform/system/VBError.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <unistd.h>

bool cDIBSectionSave::Save(const QString& sfileName, cDIBSection& cDIB, std::shared_ptr<cPalette>& cPal,
                           int eOutputColourDepth, int eColourReductionMethod) {
    if (eOutputColourDepth == eOCD24Bit) return cDIB.SavePicture(sfileName);
    PalettedDIB dib;
    if (!reduceAndMap(cDIB, cPal, eOutputColourDepth, eColourReductionMethod, dib)) return false;
    switch (dib.bitsPerPixel) {
    case 1: return SaveBitmap1(dib, sfileName);
    case 4: return SaveBitmap4(dib, sfileName);
    default: return SaveBitmap8(dib, sfileName);
    }
}

bool cDIBSectionSave::SaveToClipboard(const QString& /*sfileName*/, cDIBSection& cDIB, std::shared_ptr<cPalette>& cPal,
                                      int eOutputColourDepth, int eColourReductionMethod) {
    if (eOutputColourDepth == eOCD24Bit) return false;
    PalettedDIB dib;
    if (!reduceAndMap(cDIB, cPal, eOutputColourDepth, eColourReductionMethod, dib)) return false;
    return cDIB.CopyToClipboard(false);
}

bool cDIBSectionSave::SaveToBuffer(cDIBSection& cDIB, std::shared_ptr<cPalette>& cPal, int eOutputColourDepth,
                                   int eColourReductionMethod) {
    if (eOutputColourDepth == eOCD24Bit) return false;
    PalettedDIB dib;
    return reduceAndMap(cDIB, cPal, eOutputColourDepth, eColourReductionMethod, dib);
}

bool cDIBSectionSave::reduceAndMap(cDIBSection& cDIB, std::shared_ptr<cPalette>& cPal, int depth, int method,
                                   PalettedDIB& dib) {
    bool copyBack = false;
    std::unique_ptr<cColourReduceDIB> reducer;
    auto reduce = [&reducer]() -> cColourReduceDIB& {
        if (!reducer) reducer = std::make_unique<cColourReduceDIB>();
        return *reducer;
    };
    auto workBuffer = [&cDIB]() {
        auto work = std::make_unique<cDIBSection>();
        work->Create(cDIB.Width(), cDIB.Height());
        return work;
    };
    switch (method) {
    case eCRMNone:
        copyBack = true;
        break;
    case eCRMPalette: {
        if (!cPal) throw vb::VBError(91, vb::AppExeName(), QStringLiteral("Object variable or With block variable not set"));
        auto work = workBuffer();
        reduce().ApplyPalette(cDIB, *work, *cPal, true);
        break;
    }
    case eCRMAutomatic:
        if (depth == eOCD1Bit) {
            auto work = workBuffer();
            reduce().BlackAndWhite(cDIB, *work);
        } else if (depth == eOCD4Bit) {
            cPal = std::make_shared<cPalette>();
            cPal->Create16Colour();
            auto work = workBuffer();
            reduce().ApplyPalette(cDIB, *work, *cPal, true);
        } else if (depth == eOCD8Bit) {
            cPal = std::make_shared<cPalette>();
            cPal->CreateOptimal(cDIB, 236, 6);
            auto work = workBuffer();
            reduce().ApplyPalette(cDIB, *work, *cPal, false);
        }
        break;
    default:
        break;
    }

    bool created = false;
    switch (depth) {
    case eOCD1Bit: created = CreateDIB1Bit(dib, cDIB.Width(), cDIB.Height()); break;
    case eOCD4Bit: created = CreateDIB4Bit(dib, cDIB.Width(), cDIB.Height()); break;
    case eOCD8Bit:
        if (!cPal) {
            cPal = std::make_shared<cPalette>();
            cPal->CreateHalfTone();
        }
        created = CreateDIB8Bit(dib, cDIB.Width(), cDIB.Height(), *cPal);
        break;
    default: break;
    }
    if (!created) return false;
    paintInto(dib, cDIB, copyBack);
    return true;
}

bool cDIBSectionSave::CreateDIB1Bit(PalettedDIB& dib, int lWidth, int lHeight) {
    cPalette table;
    table.CreateMono();
    return createPaletted(dib, 1, lWidth, lHeight, table);
}

bool cDIBSectionSave::CreateDIB4Bit(PalettedDIB& dib, int lWidth, int lHeight) {
    cPalette table;
    table.Create16Colour();
    return createPaletted(dib, 4, lWidth, lHeight, table);
}

bool cDIBSectionSave::CreateDIB8Bit(PalettedDIB& dib, int lWidth, int lHeight, const cPalette& cPal) {
    return createPaletted(dib, 8, lWidth, lHeight, cPal);
}

bool cDIBSectionSave::createPaletted(PalettedDIB& dib, int bitsPerPixel, int lWidth, int lHeight, const cPalette& table) {
    if (lWidth <= 0 || lHeight <= 0) return false;
    const int64_t stride = vb::Bmp::Stride(lWidth, bitsPerPixel);
    const int64_t imageSize = stride * lHeight;
    if (imageSize > INT32_MAX) return false;
    const int colours = 1 << bitsPerPixel;
    dib.info.assign(size_t(40 + 4 * colours), 0);
    uint8_t* h = dib.info.data();
    vb::Bmp::InfoHeader info;
    info.width = lWidth;
    info.height = lHeight;
    info.bitCount = uint16_t(bitsPerPixel);
    info.imageSize = uint32_t(imageSize);
    info.Write(h);
    const int n = std::min(table.Count(), colours);
    for (int i = 0; i < n; ++i) {
        uint8_t* e = h + 40 + 4 * i;
        e[0] = table.Blue(i + 1);
        e[1] = table.Green(i + 1);
        e[2] = table.Red(i + 1);
    }
    try {
        dib.bits.assign(size_t(imageSize), 0);
    } catch (const std::bad_alloc&) {
        return false;
    }
    dib.bitsPerPixel = bitsPerPixel;
    dib.width = lWidth;
    dib.height = lHeight;
    dib.stride = stride;
    return true;
}

// Nearest colour-table entry of a pixel: the smallest |dr| + |dg| + |db|, the lowest entry on ties.
void cDIBSectionSave::paintInto(PalettedDIB& dib, cDIBSection& cDIB, bool bCopyBack) {
    const int colours = 1 << dib.bitsPerPixel;
    cPalette table;
    for (int i = 0; i < colours; ++i) {
        const uint8_t* e = dib.info.data() + 40 + 4 * i;
        table.Add(e[2], e[1], e[0]);
    }
    const int width = std::min(dib.width, cDIB.Width()), height = std::min(dib.height, cDIB.Height());
    uint8_t* src = cDIB.DIBSectionBitsPtr();
    if (!src || width <= 0 || height <= 0) return;
    const int line = cDIB.BytesPerScanLine();
    const uint8_t* ctab = dib.info.data() + 40;

    if (dib.bitsPerPixel == 1) {
        // Against black and white the rule reduces to the sum of the channels: white from 383 on.
        for (int y = 0; y < height; ++y) {
            uint8_t* p = src + int64_t(y) * line;
            uint8_t* out = dib.bits.data() + y * dib.stride;
            for (int x0 = 0; x0 < width; x0 += 8) {
                const int x1 = std::min(width, x0 + 8);
                uint8_t byte = 0;
                for (int x = x0; x < x1; ++x, p += 3) {
                    const bool white = p[0] + p[1] + p[2] >= 383;
                    byte |= uint8_t(white << (7 - (x - x0)));
                    if (bCopyBack) p[0] = p[1] = p[2] = white ? 255 : 0;
                }
                out[x0 >> 3] = byte;
            }
        }
        return;
    }

    const bool big = int64_t(width) * height >= 8192;
    const std::unique_ptr<cPalette::ClosestIndexTable> grid = big ? std::make_unique<cPalette::ClosestIndexTable>(table) : nullptr;
    uint32_t lastKey = 0xFFFFFFFFu;
    int lastIndex = 0;
    for (int y = 0; y < height; ++y) {
        uint8_t* p = src + int64_t(y) * line;
        uint8_t* out = dib.bits.data() + y * dib.stride;
        for (int x = 0; x < width; ++x, p += 3) {
            const uint32_t key = uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16);
            if (key != lastKey) {
                lastKey = key;
                const int i = grid ? grid->Find(p[2], p[1], p[0]) : table.ClosestIndex(p[2], p[1], p[0]);
                // No entry nearer than the far corner of the cube: all are equally far, take the first.
                lastIndex = std::max(i, 1) - 1;
            }
            if (dib.bitsPerPixel == 4) out[x >> 1] |= uint8_t(lastIndex << ((x & 1) ? 0 : 4));
            else out[x] = uint8_t(lastIndex);
            if (bCopyBack) {
                const uint8_t* c = ctab + 4 * lastIndex;
                p[0] = c[0];
                p[1] = c[1];
                p[2] = c[2];
            }
        }
    }
}

bool cDIBSectionSave::SaveBitmap8(const PalettedDIB& dib, const QString& sFileName) { return writeBitmap(dib, sFileName); }
bool cDIBSectionSave::SaveBitmap4(const PalettedDIB& dib, const QString& sFileName) { return writeBitmap(dib, sFileName); }
bool cDIBSectionSave::SaveBitmap1(const PalettedDIB& dib, const QString& sFileName) { return writeBitmap(dib, sFileName); }

bool cDIBSectionSave::writeBitmap(const PalettedDIB& dib, const QString& sFileName) {
    return cDIBSection::WriteBitmapFile(sFileName, dib.info, dib.bits);
}

QString cDIBSectionSave::FormatApiError(long lErr) { return cDIBSection::ApiError(lErr); }

bool cDIBSectionSave::IsWriteError(long lR, int64_t lToWrite, int64_t lWritten) { return lR == 0 || lToWrite != lWritten; }
