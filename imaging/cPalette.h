#pragma once
// A list of colours: the fixed palettes of the BMP writer, an optimal palette of a picture (octree),
// the closest-colour search of every palette mapping, and binary and JASC palette files.
// Entries are numbered from 1 to Count().
#include <QString>
#include <QStringList>
#include <cstdint>
#include <cstdlib>
#include <functional>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#include <vector>

class cDIBSection;

class cPalette {
public:
    // Progress events of CreateOptimal; nothing needs to listen.
    std::function<void(int lMax)> InitProgress;
    std::function<void(int lPosition)> Progress;
    std::function<void(int lTimeMs)> Complete;

    void Add(uint8_t Red, uint8_t Green, uint8_t Blue);
    // Entry with the smallest |dr| + |dg| + |db|, the lowest number among equals; 0 when no entry is
    // closer than 765.
    int ClosestIndex(int Red, int Green, int Blue) const;
    int Count() const { return int(m_entries.size()); }
    // Bytes of entry iIndex; an entry number outside 1..Count() raises error 9.
    uint8_t Red(int iIndex) const { return entry(iIndex).r; }
    uint8_t Green(int iIndex) const { return entry(iIndex).g; }
    uint8_t Blue(int iIndex) const { return entry(iIndex).b; }
    uint8_t Reserved(int iIndex) const { return entry(iIndex).x; }

    void CreateWebSafe();
    void CreateHalfTone();
    void CreateMono();
    void Create16Colour();
    // At most about PalSize colours that represent the picture; nLevels is the depth of the tree (1 to 8).
    void CreateOptimal(const cDIBSection& cDIB, int PalSize, uint8_t nLevels);
    void EraseNodes();
    void Clear();

    // Binary palette file: a 32-bit count and that many 4-byte entries, from a byte offset on.
    bool Load(const QString& sFile);
    bool Load(const QString& sFile, int& lOffset); // the offset moves past the palette read
    bool Save(const QString& sFile, int lOffset = 0) const;
    // JASC text palette; failures raise the error with source <program>.cPalette.
    bool SaveToJASCFile(const QString& sFile) const;
    bool LoadFromJASCFile(const QString& sFile);

    // ClosestIndex for whole pictures: a grid of candidate lists over the colour cube gives the same
    // answer as ClosestIndex without visiting every entry. Build it after the palette is complete.
    class ClosestIndexTable {
    public:
        explicit ClosestIndexTable(const cPalette& pal);
        [[gnu::always_inline]] int Find(int r, int g, int b) const {
#if defined(__SSE2__)
            if (m_small) return findSmall(r, g, b);
#endif
            const uint32_t cell = (uint32_t(r >> 3) << 10) | (uint32_t(g >> 3) << 5) | uint32_t(b >> 3);
            const int direct = m_direct[cell];
            if (direct >= 0) return direct;
            const Candidate* c = m_cands.data() + m_start[cell];
            const Candidate* e = m_cands.data() + m_start[cell + 1];
            // Strictly smaller only: the first of equal distances stays, an exact match included.
            int best = 765, result = 0;
            for (; c != e; ++c) {
                const int d = std::abs(r - c->r) + std::abs(g - c->g) + std::abs(b - c->b);
                const bool closer = d < best;
                best = closer ? d : best;
                result = closer ? c->index : result;
            }
            return result;
        }

    private:
        struct Candidate {
            uint8_t r, g, b, pad;
            int32_t index;
        };
        std::vector<uint32_t> m_start;  // per 8 x 8 x 8 cell: its candidates, in entry order
        std::vector<int32_t> m_direct;  // per cell: the answer when it is the same for every colour, else -1
        std::vector<Candidate> m_cands;
#if defined(__SSE2__)
        // Up to 16 distinct colours: all distances at once, in entry order, without branches.
        [[gnu::always_inline]] int findSmall(int r, int g, int b) const {
            auto absDiff = [](__m128i a, __m128i c) { return _mm_max_epi16(_mm_sub_epi16(a, c), _mm_sub_epi16(c, a)); };
            const __m128i vr = _mm_set1_epi16(int16_t(r)), vg = _mm_set1_epi16(int16_t(g)), vb = _mm_set1_epi16(int16_t(b));
            const __m128i d0 = _mm_add_epi16(_mm_add_epi16(absDiff(vr, m_r[0]), absDiff(vg, m_g[0])), absDiff(vb, m_b[0]));
            const __m128i d1 = _mm_add_epi16(_mm_add_epi16(absDiff(vr, m_r[1]), absDiff(vg, m_g[1])), absDiff(vb, m_b[1]));
            __m128i m = _mm_min_epi16(d0, d1);
            m = _mm_min_epi16(m, _mm_shuffle_epi32(m, _MM_SHUFFLE(1, 0, 3, 2)));
            m = _mm_min_epi16(m, _mm_shuffle_epi32(m, _MM_SHUFFLE(2, 3, 0, 1)));
            m = _mm_min_epi16(m, _mm_shufflelo_epi16(m, _MM_SHUFFLE(2, 3, 0, 1)));
            m = _mm_shuffle_epi32(m, 0);
            const int lanes = _mm_movemask_epi8(_mm_packs_epi16(_mm_cmpeq_epi16(d0, m), _mm_cmpeq_epi16(d1, m)));
            const int best = _mm_cvtsi128_si32(m) & 0xFFFF;
            return best < 765 ? m_index[__builtin_ctz(unsigned(lanes))] : 0;
        }
        bool m_small = false;
        __m128i m_r[2], m_g[2], m_b[2];
        int32_t m_index[16] = {};
#endif
    };

private:
    struct Entry {
        uint8_t r = 0, g = 0, b = 0, x = 0;
    };
    struct Node {
        bool bLeaf = false;
        bool bListed = false;
        int64_t lR = 0, lG = 0, lB = 0; // 64-bit: a whole photo can fall into one leaf
        int32_t lCount = 0;             // pixels of a leaf, children of an inner node
        int32_t lChild[8] = {};
        int32_t lNext = 0;
    };

    bool valid(int i) const { return i >= 1 && i <= Count(); }
    const Entry& entry(int i) const; // error 9 outside 1..Count()
    void setCount(int n);
    void set(int i, uint8_t r, uint8_t g, uint8_t b) { m_entries[size_t(i - 1)] = Entry{r, g, b, 0}; }
    void AddFirstStaticColours(int lStart);
    void AddLastStaticColours(int lStart);
    int AddColourToTree(uint32_t lPath, uint8_t r, uint8_t g, uint8_t b);
    bool ReduceTree();
    void FreeNode(int lNode);
    int CreateNode();
    static void SplitString(const QString& sText, const QString& sDelim, QStringList& sParts, int& iCount);

    std::vector<Entry> m_entries;
    std::vector<Node> m_tNode; // record 0 unused: node numbers start at 1
    int m_lNodes = 0;
    int m_lFreeHead = 0;
    int m_lLeafCount = 0;
    int m_lReducible[9] = {}; // heads of the lists of levels 1 to 8
    uint8_t m_nLevels = 0;
};
