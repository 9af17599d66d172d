#pragma once
// Stores a 24-bit picture as a BMP file at 1, 4, 8 or 24 bits per pixel, or puts the same reduced
// picture on the clipboard. Both leave the reduced picture in the caller's buffer.
#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

class cDIBSection;
class cPalette;

class cDIBSectionSave {
public:
    enum eOutputColourDepth : int { eOCD1Bit = 0, eOCD4Bit = 1, eOCD8Bit = 2, eOCD24Bit = 3 };
    enum eColourReductionMethod : int {
        eCRMNone = 0,         // the nearest colour of the file's colour table
        eCRMPalette = 1,      // the caller's palette with error diffusion
        eCRMAutomatic = 2,    // chosen by the depth
    };

    // Returns True when the file was written completely; raises 17 when it cannot be created.
    // cPal may be replaced by a palette the call creates; pass an empty one unless method 1.
    bool Save(const QString& sfileName, cDIBSection& cDIB, std::shared_ptr<cPalette>& cPal,
              int eOutputColourDepth, int eColourReductionMethod);
    // The same reduction, then the picture onto the clipboard; nothing at 24 bits.
    bool SaveToClipboard(const QString& sfileName, cDIBSection& cDIB, std::shared_ptr<cPalette>& cPal,
                         int eOutputColourDepth, int eColourReductionMethod);
    // The same reduction as SaveToClipboard, leaving the picture only in the buffer: callers
    // inside the program take it from there and the user's clipboard keeps what it holds.
    bool SaveToBuffer(cDIBSection& cDIB, std::shared_ptr<cPalette>& cPal, int eOutputColourDepth, int eColourReductionMethod);

private:
    // A paletted picture: information block (header and colour table) and its rows.
    struct PalettedDIB {
        std::vector<uint8_t> info;
        std::vector<uint8_t> bits;
        int bitsPerPixel = 0;
        int width = 0, height = 0;
        int64_t stride = 0;
    };
    bool reduceAndMap(cDIBSection& cDIB, std::shared_ptr<cPalette>& cPal, int depth, int method, PalettedDIB& dib);
    static bool CreateDIB1Bit(PalettedDIB& dib, int lWidth, int lHeight);
    static bool CreateDIB4Bit(PalettedDIB& dib, int lWidth, int lHeight);
    static bool CreateDIB8Bit(PalettedDIB& dib, int lWidth, int lHeight, const cPalette& cPal);
    static bool createPaletted(PalettedDIB& dib, int bitsPerPixel, int lWidth, int lHeight, const cPalette& table);
    static void paintInto(PalettedDIB& dib, cDIBSection& cDIB, bool bCopyBack);
    static bool SaveBitmap8(const PalettedDIB& dib, const QString& sFileName);
    static bool SaveBitmap4(const PalettedDIB& dib, const QString& sFileName);
    static bool SaveBitmap1(const PalettedDIB& dib, const QString& sFileName);
    static bool writeBitmap(const PalettedDIB& dib, const QString& sFileName);
    static QString FormatApiError(long lErr);
    static bool IsWriteError(long lR, int64_t lToWrite, int64_t lWritten);
};
