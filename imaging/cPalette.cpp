#include "imaging/cPalette.h"

#include "imaging/cDIBSection.h"
#include "platform/window/App.h"
#include "platform/system/MsgBox.h"
#include "platform/system/VBError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cmath>
#include <fcntl.h>
#include <unistd.h>

namespace {

int64_t nowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// Quotient rounded to the nearest integer, halves to even.
int64_t divRoundEven(int64_t sum, int64_t count) {
    int64_t q = sum / count;
    const int64_t twice = 2 * (sum % count);
    if (twice > count || (twice == count && (q & 1))) ++q;
    return q;
}

// The child number bits of one channel value for tree levels 1 to 8, three bits apart: at each
// level the box is halved at round(low / 2 + high / 2) and the value goes to the upper half when
// above the middle.
struct PathTable {
    uint32_t spread[256];
    PathTable() {
        for (int v = 0; v < 256; ++v) {
            int lo = 0, hi = 255;
            uint32_t code = 0;
            for (int level = 0; level < 8; ++level) {
                const int m = int(std::nearbyint(lo / 2.0 + hi / 2.0));
                if (v <= m) {
                    hi = m;
                } else {
                    code |= 1u << (3 * level);
                    lo = m;
                }
            }
            spread[v] = code;
        }
    }
};
const PathTable& pathTable() {
    static const PathTable table;
    return table;
}

bool readFull(int fd, void* buf, size_t n) {
    auto* p = static_cast<uint8_t*>(buf);
    size_t got = 0;
    while (got < n) {
        const ssize_t r = ::read(fd, p + got, n - got);
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) break;
        got += size_t(r);
    }
    return got == n;
}

bool writeFull(int fd, const void* buf, size_t n) {
    const ssize_t r = ::write(fd, buf, n);
    return r >= 0 && size_t(r) == n;
}

// The runtime's file errors, as the number and text a file statement raises.
[[noreturn]] void raiseFileError(int err, const QString& path, bool reading) {
    long number = 75;
    QString text = QStringLiteral("Path/File access error");
    switch (err) {
    case ENOENT:
    case ENOTDIR:
        if (reading && QFileInfo(path).absoluteDir().exists()) {
            number = 53;
            text = QStringLiteral("File not found");
        } else {
            number = 76;
            text = QStringLiteral("Path not found");
        }
        break;
    case ENOSPC:
    case EDQUOT:
        number = 61;
        text = QStringLiteral("Disk full");
        break;
    case EMFILE:
    case ENFILE:
        number = 67;
        text = QStringLiteral("Too many files");
        break;
    default:
        break;
    }
    throw vb::VBError(number, vb::AppExeName(), text);
}

// A text converted to a byte the way the runtime converts it: a number, rounded halves to even,
// then range-checked.
uint8_t toByte(const QString& s) {
    static const QRegularExpression number(QStringLiteral("^\\s*[+-]?(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d+)?\\s*$"));
    if (!number.match(s).hasMatch()) throw vb::VBError(13, vb::AppExeName(), QStringLiteral("Type mismatch"));
    const double v = std::nearbyint(s.trimmed().toDouble());
    if (!(v >= 0 && v <= 255)) throw vb::VBError(6, vb::AppExeName(), QStringLiteral("Overflow"));
    return uint8_t(v);
}

class Fd {
public:
    explicit Fd(int fd) : m_fd(fd) {}
    ~Fd() { close(); }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return m_fd; }
    void close() {
        if (m_fd >= 0) ::close(m_fd);
        m_fd = -1;
    }

private:
    int m_fd;
};

int openFile(const QString& path, int flags) { return ::open(QFile::encodeName(path).constData(), flags | O_CLOEXEC, 0666); }

} // namespace

const cPalette::Entry& cPalette::entry(int i) const {
    if (!valid(i)) throw vb::VBError(9, vb::AppExeName(), vb::ErrorText(9));
    return m_entries[size_t(i - 1)];
}

void cPalette::Add(uint8_t Red, uint8_t Green, uint8_t Blue) { m_entries.push_back(Entry{Red, Green, Blue, 0}); }

int cPalette::ClosestIndex(int Red, int Green, int Blue) const {
    int best = 765, result = 0;
    for (size_t i = 0; i < m_entries.size(); ++i) {
        const Entry& e = m_entries[i];
        if (e.r == Red && e.g == Green && e.b == Blue) return int(i + 1);
        const int d = std::abs(Red - e.r) + std::abs(Green - e.g) + std::abs(Blue - e.b);
        if (d < best) {
            best = d;
            result = int(i + 1);
        }
    }
    return result;
}

void cPalette::setCount(int n) { m_entries.assign(size_t(std::max(n, 0)), Entry{}); }

void cPalette::Clear() { m_entries.clear(); }

void cPalette::AddFirstStaticColours(int lStart) {
    static const uint8_t c[8][3] = {{0, 0, 0},   {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
                                    {0, 0, 128}, {128, 0, 128}, {0, 128, 128}, {192, 192, 192}};
    for (int i = 0; i < 8; ++i) set(lStart + i, c[i][0], c[i][1], c[i][2]);
}

void cPalette::AddLastStaticColours(int lStart) {
    static const uint8_t c[8][3] = {{128, 128, 128}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
                                    {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};
    for (int i = 0; i < 8; ++i) set(lStart + i, c[i][0], c[i][1], c[i][2]);
}

void cPalette::Create16Colour() {
    setCount(16);
    AddFirstStaticColours(1);
    AddLastStaticColours(9);
}

void cPalette::CreateMono() {
    setCount(2);
    set(1, 0, 0, 0);
    set(2, 255, 255, 255);
}

void cPalette::CreateHalfTone() {
    static const uint8_t level[5] = {0, 64, 128, 192, 255};
    setCount(256);
    int i = 1;
    for (uint8_t b : level)
        for (uint8_t g : level)
            for (uint8_t r : level) set(i++, r, g, b);
}

void cPalette::CreateWebSafe() {
    static const uint8_t level[6] = {0, 51, 102, 153, 204, 255};
    setCount(256);
    AddFirstStaticColours(1);
    AddLastStaticColours(248);
    int i = 9;
    for (uint8_t b : level)
        for (uint8_t g : level)
            for (uint8_t r : level) {
                // The corners of the cube are the static colours already present.
                const bool corner = (r == 0 || r == 255) && (g == 0 || g == 255) && (b == 0 || b == 255);
                if (!corner) set(i++, r, g, b);
            }
    for (int k = 1; k <= 31; ++k) set(216 + k, uint8_t(8 * k), uint8_t(8 * k), uint8_t(8 * k));
}

// ---- optimal palette ----

void cPalette::EraseNodes() {
    m_tNode.clear();
    m_tNode.shrink_to_fit();
    m_lNodes = 0;
    m_lFreeHead = 0;
    m_lLeafCount = 0;
    std::fill(std::begin(m_lReducible), std::end(m_lReducible), 0);
}

int cPalette::CreateNode() {
    ++m_lNodes;
    int n;
    if (m_lFreeHead != 0) {
        n = m_lFreeHead;
        m_lFreeHead = m_tNode[size_t(n)].lNext;
        std::fill(std::begin(m_tNode[size_t(n)].lChild), std::end(m_tNode[size_t(n)].lChild), 0);
    } else {
        n = m_lNodes;
        if (size_t(n) >= m_tNode.size()) {
            // The records are numbered from 1; grow in 10 % steps.
            const auto length = size_t(std::nearbyint(n * 1.1));
            m_tNode.resize(std::max(length, size_t(n)) + 1);
        }
    }
    return n;
}

void cPalette::FreeNode(int lNode) {
    Node& n = m_tNode[size_t(lNode)];
    n.lNext = m_lFreeHead;
    m_lFreeHead = lNode;
    n.bLeaf = false;
    n.bListed = false;
    --m_lNodes;
}

int cPalette::AddColourToTree(uint32_t lPath, uint8_t r, uint8_t g, uint8_t b) {
    int node = 1;
    for (int level = 1; level <= m_nLevels; ++level) {
        const int ci = int((lPath >> (3 * (level - 1))) & 7u);
        int child = m_tNode[size_t(node)].lChild[ci];
        if (child == 0) {
            child = CreateNode(); // may move the records
            Node& c = m_tNode[size_t(child)];
            c = Node{};
            c.bLeaf = level == m_nLevels;
            m_tNode[size_t(node)].lChild[ci] = child;
            ++m_tNode[size_t(node)].lCount;
        }
        Node& c = m_tNode[size_t(child)];
        if (c.bLeaf) {
            if (c.lCount == 0) ++m_lLeafCount;
            ++c.lCount;
            c.lR += r;
            c.lG += g;
            c.lB += b;
            return child;
        }
        if (!c.bListed) {
            c.lNext = m_lReducible[level];
            m_lReducible[level] = child;
            c.bListed = true;
        }
        node = child;
    }
    return 0; // not reached: nodes at the depth limit are leaves
}

bool cPalette::ReduceTree() {
    int level = m_nLevels;
    while (level >= 1 && m_lReducible[level] == 0) --level;
    if (level < 1) return false;
    const int n = m_lReducible[level];
    m_lReducible[level] = m_tNode[size_t(n)].lNext;
    int64_t r = 0, g = 0, b = 0;
    int32_t count = 0;
    for (int i = 0; i < 8; ++i) {
        const int c = m_tNode[size_t(n)].lChild[i];
        if (c == 0) continue;
        const Node& child = m_tNode[size_t(c)];
        r += child.lR;
        g += child.lG;
        b += child.lB;
        count += child.lCount;
        FreeNode(c);
        --m_lLeafCount;
        m_tNode[size_t(n)].lChild[i] = 0;
    }
    Node& node = m_tNode[size_t(n)];
    node.lR = r;
    node.lG = g;
    node.lB = b;
    node.lCount = count;
    node.bLeaf = true;
    ++m_lLeafCount;
    return true;
}

void cPalette::CreateOptimal(const cDIBSection& cDIB, int PalSize, uint8_t nLevels) {
    if (nLevels < 1 || nLevels > 8) throw vb::VBError(9, vb::AppExeName(), QStringLiteral("Subscript out of range"));
    const int64_t start = nowMs();
    m_nLevels = nLevels;
    m_tNode.assign(51, Node{});
    m_lNodes = 1;
    m_lFreeHead = 0;
    m_lLeafCount = 0;
    std::fill(std::begin(m_lReducible), std::end(m_lReducible), 0);
    const int width = cDIB.Width(), height = cDIB.Height();
    if (InitProgress) InitProgress(int(std::clamp<int64_t>(int64_t(height) - 1 + PalSize, INT_MIN, INT_MAX)));

    const PathTable& path = pathTable();
    const uint8_t* bits = cDIB.DIBSectionBitsPtr();
    const int line = cDIB.BytesPerScanLine();
    // A pixel of the same colour as the one before follows the same path to the same leaf as long
    // as no reduction has changed the tree in between.
    uint32_t lastKey = 0xFFFFFFFFu;
    int lastLeaf = 0;
    for (int y = 0; bits && y < height; ++y) {
        const uint8_t* p = bits + int64_t(y) * line;
        for (int x = 0; x < width; ++x, p += 3) {
            const uint8_t b = p[0], g = p[1], r = p[2];
            const uint32_t key = uint32_t(b) | (uint32_t(g) << 8) | (uint32_t(r) << 16);
            if (key == lastKey) {
                Node& leaf = m_tNode[size_t(lastLeaf)];
                ++leaf.lCount;
                leaf.lR += r;
                leaf.lG += g;
                leaf.lB += b;
            } else {
                lastLeaf = AddColourToTree(path.spread[r] | (path.spread[g] << 1) | (path.spread[b] << 2), r, g, b);
                lastKey = key;
            }
            while (m_lLeafCount > PalSize) {
                if (!ReduceTree()) {
                    if (vb::MsgBox(QStringLiteral("Error in reducing nodes"), vb::vbYesNo) == vb::vbNo) vb::App::End(0);
                    break;
                }
                lastKey = 0xFFFFFFFFu;
            }
        }
        if (Progress) Progress(y);
    }

    Clear();
    for (size_t n = 1; n < m_tNode.size(); ++n) {
        const Node& node = m_tNode[n];
        if (!node.bLeaf) continue;
        const int64_t c = node.lCount > 0 ? node.lCount : 1;
        Add(uint8_t(divRoundEven(node.lR, c)), uint8_t(divRoundEven(node.lG, c)), uint8_t(divRoundEven(node.lB, c)));
        if (Progress) Progress(int(n));
    }
    if (Complete) Complete(int(nowMs() - start));
}

// ---- closest-entry grid ----

namespace {

struct Box {
    int lo[3];
    int size;
};
inline int farthest(const uint8_t* p, const Box& c) {
    int d = 0;
    for (int k = 0; k < 3; ++k) d += std::max(std::abs(p[k] - c.lo[k]), std::abs(p[k] - (c.lo[k] + c.size - 1)));
    return d;
}
inline int nearest(const uint8_t* p, const Box& c) {
    int d = 0;
    for (int k = 0; k < 3; ++k) {
        const int hi = c.lo[k] + c.size - 1;
        d += p[k] < c.lo[k] ? c.lo[k] - p[k] : (p[k] > hi ? p[k] - hi : 0);
    }
    return d;
}
// No colour of the box is farther than the smallest "farthest" distance from its closest entry,
// so only entries that come at least that near to the box can be closest (or tie) for any of its
// colours. The entries kept for a box include those of every smaller box inside it.
void candidatesOf(const Box& box, const std::vector<int>& from, const std::vector<std::array<uint8_t, 3>>& colours,
                  std::vector<int>& out, int& bound) {
    bound = INT_MAX;
    for (int i : from) bound = std::min(bound, farthest(colours[size_t(i)].data(), box));
    out.clear();
    for (int i : from)
        if (nearest(colours[size_t(i)].data(), box) <= bound) out.push_back(i);
}

} // namespace

cPalette::ClosestIndexTable::ClosestIndexTable(const cPalette& pal) {
    constexpr int kCells = 32 * 32 * 32;
    // An entry of the same colour as an earlier one can never be the answer.
    std::vector<std::array<uint8_t, 3>> colours;
    std::vector<int> all;
    {
        std::vector<bool> seen(1u << 24, false);
        for (size_t i = 0; i < pal.m_entries.size(); ++i) {
            const Entry& e = pal.m_entries[i];
            colours.push_back({e.r, e.g, e.b});
            const uint32_t key = (uint32_t(e.r) << 16) | (uint32_t(e.g) << 8) | e.b;
            if (!seen[key]) all.push_back(int(i));
            seen[key] = true;
        }
    }
#if defined(__SSE2__)
    if (all.size() <= 16) {
        m_small = true;
        alignas(16) int16_t r[16], g[16], b[16];
        for (size_t k = 0; k < 16; ++k) {
            // Unused lanes lie farther than 765 from every colour.
            r[k] = k < all.size() ? colours[size_t(all[k])][0] : 4000;
            g[k] = k < all.size() ? colours[size_t(all[k])][1] : 0;
            b[k] = k < all.size() ? colours[size_t(all[k])][2] : 0;
            m_index[k] = k < all.size() ? all[k] + 1 : 0;
        }
        for (int h = 0; h < 2; ++h) {
            m_r[h] = _mm_load_si128(reinterpret_cast<const __m128i*>(r + 8 * h));
            m_g[h] = _mm_load_si128(reinterpret_cast<const __m128i*>(g + 8 * h));
            m_b[h] = _mm_load_si128(reinterpret_cast<const __m128i*>(b + 8 * h));
        }
        return;
    }
#endif
    m_start.assign(kCells + 1, 0);
    m_direct.assign(kCells, -1);
    // Coarse boxes of 16 levels a channel first, then their eight boxes of 8 from the coarse lists.
    std::vector<std::vector<int>> coarse(4096);
    std::vector<int> fine;
    int bound = 0;
    for (uint32_t c = 0; c < 4096; ++c)
        candidatesOf(Box{{int(c >> 8) * 16, int((c >> 4) & 15) * 16, int(c & 15) * 16}, 16}, all, colours, coarse[c], bound);
    for (uint32_t cell = 0; cell < uint32_t(kCells); ++cell) {
        const int r = int(cell >> 10), g = int((cell >> 5) & 31), b = int(cell & 31);
        const std::vector<int>& parent = coarse[size_t(((r >> 1) << 8) | ((g >> 1) << 4) | (b >> 1))];
        candidatesOf(Box{{r * 8, g * 8, b * 8}, 8}, parent, colours, fine, bound);
        m_start[cell] = uint32_t(m_cands.size());
        // One candidate that is nearer than 765 to every colour of the box answers for all of them.
        if (fine.size() == 1 && bound < 765) m_direct[cell] = fine[0] + 1;
        for (int i : fine) {
            const auto& p = colours[size_t(i)];
            m_cands.push_back(Candidate{p[0], p[1], p[2], 0, int32_t(i + 1)});
        }
    }
    m_start[kCells] = uint32_t(m_cands.size());
}

// ---- palette files ----

bool cPalette::Save(const QString& sFile, int lOffset) const {
    Fd fd(openFile(sFile, O_WRONLY | O_CREAT | O_TRUNC));
    if (fd.get() < 0) return false;
    if (lOffset >= 1 && ::lseek(fd.get(), lOffset, SEEK_SET) < 0) return false;
    const auto n = uint32_t(m_entries.size());
    const uint8_t count[4] = {uint8_t(n), uint8_t(n >> 8), uint8_t(n >> 16), uint8_t(n >> 24)};
    if (!writeFull(fd.get(), count, 4)) return false;
    static_assert(sizeof(Entry) == 4);
    return writeFull(fd.get(), m_entries.data(), m_entries.size() * 4);
}

bool cPalette::Load(const QString& sFile) {
    int offset = 0;
    return Load(sFile, offset);
}

bool cPalette::Load(const QString& sFile, int& lOffset) {
    Fd fd(openFile(sFile, O_RDONLY));
    if (fd.get() < 0) return false;
    if (lOffset >= 1) {
        if (::lseek(fd.get(), lOffset, SEEK_SET) < 0) return false;
    } else {
        lOffset = 0;
    }
    uint8_t raw[4];
    if (!readFull(fd.get(), raw, 4)) return false;
    const auto count = int32_t(uint32_t(raw[0]) | (uint32_t(raw[1]) << 8) | (uint32_t(raw[2]) << 16) | (uint32_t(raw[3]) << 24));
    if (count < 1 || count > 4097) return false;
    setCount(count);
    if (!readFull(fd.get(), m_entries.data(), size_t(count) * 4)) return false;
    lOffset = int(int64_t(lOffset) + 4 + int64_t(count) * 4);
    return true;
}

void cPalette::SplitString(const QString& sText, const QString& sDelim, QStringList& sParts, int& iCount) {
    sParts = sText.split(sDelim, Qt::KeepEmptyParts);
    iCount = int(sParts.size());
}

bool cPalette::SaveToJASCFile(const QString& sFile) const {
    try {
        const QFileInfo fi(sFile);
        if (fi.isFile() || fi.isSymLink()) QFile::remove(sFile); // a failure shows when the file is opened
        QByteArray text = "JASC\r\n0100\r\n" + QByteArray::number(Count());
        for (const Entry& e : m_entries) {
            text += "\r\n";
            text += QByteArray::number(e.r) + ' ' + QByteArray::number(e.g) + ' ' + QByteArray::number(e.b);
        }
        Fd fd(openFile(sFile, O_WRONLY | O_CREAT | O_TRUNC));
        if (fd.get() < 0) raiseFileError(errno, sFile, false);
        if (!writeFull(fd.get(), text.constData(), size_t(text.size()))) raiseFileError(errno, sFile, false);
        return true;
    } catch (const vb::VBError& e) {
        throw vb::VBError(e.Number(), vb::AppExeName() + QStringLiteral(".cPalette"), e.Description());
    }
}

bool cPalette::LoadFromJASCFile(const QString& sFile) {
    Clear();
    try {
        Fd fd(openFile(sFile, O_RDONLY));
        if (fd.get() < 0) raiseFileError(errno, sFile, true);
        QByteArray raw;
        char buf[65536];
        for (;;) {
            const ssize_t n = ::read(fd.get(), buf, sizeof buf);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) raiseFileError(errno, sFile, true);
            if (n == 0) break;
            raw.append(buf, n);
        }
        fd.close();
        QStringList lines, parts;
        int nLines = 0, nParts = 0;
        SplitString(QString::fromLatin1(raw), QStringLiteral("\r\n"), lines, nLines);
        for (int i = 0; i < nLines; ++i) {
            SplitString(lines[i], QStringLiteral(" "), parts, nParts);
            if (nParts == 3) {
                const uint8_t r = toByte(parts[0]), g = toByte(parts[1]), b = toByte(parts[2]);
                Add(r, g, b);
            }
        }
        return true;
    } catch (const vb::VBError& e) {
        Clear();
        throw vb::VBError(e.Number(), vb::AppExeName() + QStringLiteral(".cPalette"), e.Description());
    }
}
