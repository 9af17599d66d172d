#include "platform/picture/PictureJpegDc.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

namespace vb {
namespace {

// A DC table as the file codes it: for each length the first and last code and where its
// symbols start.
struct Huffman {
    bool da = false;
    std::array<int, 17> erster{}, letzter{}, ab{};
    std::array<uint8_t, 256> symbole{};

    bool bauen(const uint8_t* anzahl, const uint8_t* sym, qsizetype vorhanden) {
        int k = 0, code = 0;
        for (int l = 1; l <= 16; ++l) {
            const int n = anzahl[l - 1];
            ab[size_t(l)] = k;
            erster[size_t(l)] = code;
            letzter[size_t(l)] = n ? code + n - 1 : -1;
            code = (code + n) << 1;
            k += n;
        }
        if (k > 256 || k > vorhanden) return false;
        std::copy(sym, sym + k, symbole.begin());
        return da = true;
    }
};

// The entropy-coded bits of a scan; past its end, and at a marker, zeros.
class Bits {
public:
    Bits(const uint8_t* p, qsizetype von, qsizetype bis) : m_p(p), m_i(von), m_n(bis) {}
    int bit() {
        if (m_frei == 0) {
            m_byte = 0;
            if (!m_marker && m_i < m_n) {
                if (m_p[m_i] != 0xFF) m_byte = m_p[m_i++];
                else if (m_i + 1 < m_n && m_p[m_i + 1] == 0x00) {
                    m_byte = 0xFF;
                    m_i += 2;
                } else {
                    m_marker = true;
                }
            }
            m_frei = 8;
        }
        --m_frei;
        return (m_byte >> m_frei) & 1;
    }
    int bits(int n) {
        int v = 0;
        while (n-- > 0) v = (v << 1) | bit();
        return v;
    }
    // A restart: the rest of the byte is dropped and the next restart marker passed.
    void neustart() {
        m_frei = 0;
        m_marker = false;
        while (m_i + 1 < m_n && !(m_p[m_i] == 0xFF && m_p[m_i + 1] >= 0xD0 && m_p[m_i + 1] <= 0xD7)) ++m_i;
        if (m_i + 1 < m_n) m_i += 2;
    }
    int dekodieren(const Huffman& h) {
        int code = 0;
        for (int l = 1; l <= 16; ++l) {
            code = (code << 1) | bit();
            if (code <= h.letzter[size_t(l)]) return h.symbole[size_t(h.ab[size_t(l)] + code - h.erster[size_t(l)])];
        }
        return -1;
    }

private:
    const uint8_t* m_p;
    qsizetype m_i, m_n;
    int m_byte = 0, m_frei = 0;
    bool m_marker = false;
};

struct Komponente {
    int id = 0, h = 1, v = 1, tabelle = 0;
    int breite = 0, hoehe = 0; // blocks held: the whole MCUs
    int bloeckeX = 0, bloeckeY = 0; // blocks of the component's own extent
    bool gesehen = false;
    int vorher = 0;
    std::vector<int16_t> dc;
};

uint8_t begrenzt(double v) { return uint8_t(std::clamp(std::lround(v), 0L, 255L)); }

} // namespace

QImage JpegDcPicture(const QByteArray& d) {
    const auto* p = reinterpret_cast<const uint8_t*>(d.constData());
    std::array<int, 4> quant{};
    std::array<Huffman, 4> tabellen;
    std::vector<Komponente> k;
    int X = 0, Y = 0, hmax = 1, vmax = 1, ri = 0, mcuX = 0, mcuY = 0;
    bool ok = true, rahmen = false, ycc = true;
    JpegSegments(d, [&](quint8 m, qsizetype von, qsizetype bis) {
        if (m == 0xD9 || m == 0x01 || (m >= 0xD0 && m <= 0xD7)) return true;
        if (bis - von < 4) return ok = false;
        const qsizetype ende = std::min(bis, von + 2 + ((qsizetype(p[von + 2]) << 8) | p[von + 3]));
        qsizetype i = von + 4;
        if (m == 0xDB) {
            while (i < ende) {
                const int pq = p[i] >> 4, tq = p[i] & 15;
                if (tq > 3 || i + 1 + 64 * (pq ? 2 : 1) > ende) return ok = false;
                quant[size_t(tq)] = pq ? (p[i + 1] << 8) | p[i + 2] : p[i + 1];
                i += 1 + 64 * (pq ? 2 : 1);
            }
        } else if (m == 0xC4) {
            while (i + 17 <= ende) {
                const int tc = p[i] >> 4, th = p[i] & 15;
                int n = 0;
                for (int l = 0; l < 16; ++l) n += p[i + 1 + l];
                if (th > 3 || i + 17 + n > ende) return ok = false;
                if (tc == 0 && !tabellen[size_t(th)].bauen(p + i + 1, p + i + 17, n)) return ok = false;
                i += 17 + n;
            }
        } else if (m == 0xEE) {
            // Adobe's marker: transform 0 means the components are not YCbCr.
            if (ende - i >= 12 && p[i] == 'A' && p[i + 1] == 'd' && p[i + 11] == 0) ycc = false;
        } else if (m == 0xDD) {
            if (ende - i < 2) return ok = false;
            ri = (p[i] << 8) | p[i + 1];
        } else if (IsJpegFrame(m)) {
            if (m != 0xC2 || rahmen || ende - i < 6) return ok = false;
            Y = (p[i + 1] << 8) | p[i + 2];
            X = (p[i + 3] << 8) | p[i + 4];
            const int nf = p[i + 5];
            if (p[i] != 8 || X == 0 || Y == 0 || (nf != 1 && nf != 3) || ende - i < 6 + 3 * nf) return ok = false;
            for (int c = 0; c < nf; ++c) {
                Komponente kc;
                kc.id = p[i + 6 + 3 * c];
                kc.h = p[i + 7 + 3 * c] >> 4;
                kc.v = p[i + 7 + 3 * c] & 15;
                kc.tabelle = p[i + 8 + 3 * c];
                if (kc.h < 1 || kc.h > 2 || kc.v < 1 || kc.v > 2 || kc.tabelle > 3) return ok = false;
                hmax = std::max(hmax, kc.h);
                vmax = std::max(vmax, kc.v);
                k.push_back(std::move(kc));
            }
            mcuX = (X + 8 * hmax - 1) / (8 * hmax);
            mcuY = (Y + 8 * vmax - 1) / (8 * vmax);
            for (Komponente& c : k) {
                c.breite = mcuX * c.h;
                c.hoehe = mcuY * c.v;
                c.bloeckeX = ((X * c.h + hmax - 1) / hmax + 7) / 8;
                c.bloeckeY = ((Y * c.v + vmax - 1) / vmax + 7) / 8;
                c.dc.assign(size_t(c.breite) * size_t(c.hoehe), 0);
            }
            rahmen = true;
        } else if (m == 0xDA) {
            if (!rahmen || ende - i < 1) return ok = false;
            const int ns = p[i];
            if (ns < 1 || ns > int(k.size()) || ende - i < 4 + 2 * ns) return ok = false;
            const int ss = p[i + 1 + 2 * ns], ah = p[i + 3 + 2 * ns] >> 4, al = p[i + 3 + 2 * ns] & 15;
            // Scans of AC coefficients are not needed.
            if (ss != 0) return true;
            if (al > 13) return ok = false;
            std::vector<Komponente*> scan;
            std::vector<const Huffman*> dcTab;
            for (int c = 0; c < ns; ++c) {
                Komponente* kc = nullptr;
                for (Komponente& x : k)
                    if (x.id == p[i + 1 + 2 * c]) kc = &x;
                const int td = p[i + 2 + 2 * c] >> 4;
                if (!kc || td > 3 || (ah == 0 && !tabellen[size_t(td)].da)) return ok = false;
                kc->gesehen = true;
                kc->vorher = 0;
                scan.push_back(kc);
                dcTab.push_back(&tabellen[size_t(td)]);
            }
            Bits b(p, ende, bis);
            auto block = [&](size_t c, int bx, int by) {
                Komponente& kc = *scan[c];
                int16_t& z = kc.dc[size_t(by) * size_t(kc.breite) + size_t(bx)];
                if (ah != 0) {
                    if (b.bit()) z = int16_t(z | (1 << al));
                    return true;
                }
                const int s = b.dekodieren(*dcTab[c]);
                if (s < 0 || s > 11) return false;
                int diff = 0;
                if (s) {
                    const int v = b.bits(s);
                    diff = v < (1 << (s - 1)) ? v - (1 << s) + 1 : v;
                }
                kc.vorher += diff;
                z = int16_t(std::clamp(kc.vorher * (1 << al), -32768, 32767));
                return true;
            };
            const bool einzeln = ns == 1;
            const int einheiten = einzeln ? scan[0]->bloeckeX * scan[0]->bloeckeY : mcuX * mcuY;
            for (int u = 0; u < einheiten; ++u) {
                if (ri && u && u % ri == 0) {
                    b.neustart();
                    for (Komponente* kc : scan) kc->vorher = 0;
                }
                if (einzeln) {
                    if (!block(0, u % scan[0]->bloeckeX, u / scan[0]->bloeckeX)) return ok = false;
                    continue;
                }
                const int mx = u % mcuX, my = u / mcuX;
                for (size_t c = 0; c < scan.size(); ++c)
                    for (int v = 0; v < scan[c]->v; ++v)
                        for (int h = 0; h < scan[c]->h; ++h)
                            if (!block(c, mx * scan[c]->h + h, my * scan[c]->v + v)) return ok = false;
            }
        }
        return true;
    });
    if (!ok || !rahmen || !ycc) return {};
    for (const Komponente& c : k)
        if (!c.gesehen || quant[size_t(c.tabelle)] == 0) return {};
    const int w = (X + 7) / 8, h = (Y + 7) / 8;
    QImage img(w, h, QImage::Format_RGB32);
    if (img.isNull()) return {};
    // A block's DC coefficient is eight times its mean, less 128 (the level shift). A subsampled
    // component is interpolated between the centres of its blocks.
    auto mittel = [&](const Komponente& c, int bx, int by) {
        bx = std::clamp(bx, 0, c.bloeckeX - 1);
        by = std::clamp(by, 0, c.bloeckeY - 1);
        return c.dc[size_t(by) * size_t(c.breite) + size_t(bx)] * quant[size_t(c.tabelle)] / 8.0 + 128;
    };
    auto wert = [&](const Komponente& c, int x, int y) {
        if (c.h == hmax && c.v == vmax) return mittel(c, x, y);
        const double fx = (x + 0.5) * c.h / hmax - 0.5, fy = (y + 0.5) * c.v / vmax - 0.5;
        const int x0 = int(std::floor(fx)), y0 = int(std::floor(fy));
        const double ax = fx - x0, ay = fy - y0;
        return (1 - ay) * ((1 - ax) * mittel(c, x0, y0) + ax * mittel(c, x0 + 1, y0)) +
               ay * ((1 - ax) * mittel(c, x0, y0 + 1) + ax * mittel(c, x0 + 1, y0 + 1));
    };
    for (int y = 0; y < h; ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const double l = wert(k[0], x, y);
            if (k.size() == 1) {
                const uint8_t g = begrenzt(l);
                line[x] = qRgb(g, g, g);
                continue;
            }
            const double cb = wert(k[1], x, y) - 128, cr = wert(k[2], x, y) - 128;
            line[x] = qRgb(begrenzt(l + 1.402 * cr), begrenzt(l - 0.344136 * cb - 0.714136 * cr), begrenzt(l + 1.772 * cb));
        }
    }
    return img;
}

} // namespace vb
