#pragma once
// A window's layout table. Each row places one control (or a control array's elements) and binds
// it to the window's member of that name; the control's kind follows from the member's type.
//
//     VB_ROW(Schliessen, 11610, 60, 330, 330, "", "btn:close")              // vb::Image* Schliessen
//     VB_ELEM(Transfer, 1, 9450, 3750, 2100, 450, "Layer_Kalvoren", "...")  // one element of an array
//     VB_GRID(Logo_Vorschaubild, {180, 1980, 3780}, {600, 2100}, 1725, 1275, "Layer_Logoauswahl", "frame")
//     vb::Decor("Telefon_Rahmen", vb::Kind::Shape, 7050, 510, 4830, 660, "", "panel") // painted only
//
// The macros take the window class from the name `Self` in the table's scope. A grid numbers its
// elements row by row: element r * columns + c lies at (lefts[c], tops[r]).
// A grid element that stands apart is placed on its own: `VB_GRID(...).Place(1, 1950, 1080)`.
// Rows may carry the hover behaviour of a picture button: `.Hover(tooltip, pattern[, store])`.
#include "platform/window/Control.h"

#include <array>
#include <cstddef>
#include <initializer_list>
#include <stdexcept>

namespace vb {

class Form;
class Label;
class Image;
class PictureBox;
class TextBox;
class Timer;
class Shape;
class ComboBox;
class ScrollBar;
class FileListBox;
class DirListBox;
class DriveListBox;

// One control as the window builds it.
struct LayoutItem {
    const char* name;
    Kind kind;
    int index; // -1 outside control arrays
    double left, top, width, height;
    const char* container = ""; // "" the window; else the name of a picture box listed earlier
    const char* face = "";      // skin face, see Skin.h
    // Hover behaviour of a picture button: tooltip string (0 none), pattern ('S' tooltip and
    // highlight, 'H' highlight only, 'T' tooltip only, 'G' a member of the window's button group,
    // 0 none) and store control ("" its own name).
    int tooltip = 0;
    char pattern = 0;
    const char* store = "";
};

template <class T> struct KindOf;
template <> struct KindOf<Label> { static constexpr Kind value = Kind::Label; };
template <> struct KindOf<Image> { static constexpr Kind value = Kind::Image; };
template <> struct KindOf<PictureBox> { static constexpr Kind value = Kind::PictureBox; };
template <> struct KindOf<TextBox> { static constexpr Kind value = Kind::TextBox; };
template <> struct KindOf<Timer> { static constexpr Kind value = Kind::Timer; };
template <> struct KindOf<Shape> { static constexpr Kind value = Kind::Shape; };
template <> struct KindOf<ComboBox> { static constexpr Kind value = Kind::ComboBox; };
template <> struct KindOf<ScrollBar> { static constexpr Kind value = Kind::ScrollBar; };
template <> struct KindOf<FileListBox> { static constexpr Kind value = Kind::FileListBox; };
template <> struct KindOf<DirListBox> { static constexpr Kind value = Kind::DirListBox; };
template <> struct KindOf<DriveListBox> { static constexpr Kind value = Kind::DriveListBox; };

template <class M> struct MemberOf;
template <class F, class T> struct MemberOf<T* F::*> {
    using Window = F;
    using Control = T;
    static constexpr int count = -1;
};
template <class F, class T, std::size_t N> struct MemberOf<std::array<T*, N> F::*> {
    using Window = F;
    using Control = T;
    static constexpr int count = int(N);
};

// Stores the control in its member; returns the member's address, or nullptr when the index
// does not fit the member (an element of a plain member, or beyond the array's end).
using Binder = const void* (*)(Form&, Control*, int index);

template <auto M>
const void* BindMember(Form& f, Control* c, int index) {
    using Mo = MemberOf<decltype(M)>;
    auto& w = static_cast<typename Mo::Window&>(f);
    auto* ctl = static_cast<typename Mo::Control*>(c);
    if constexpr (Mo::count < 0) {
        if (index != -1) return nullptr;
        w.*M = ctl;
        return &(w.*M);
    } else {
        if (index < 0 || index >= Mo::count) return nullptr;
        (w.*M)[std::size_t(index)] = ctl;
        return &(w.*M)[std::size_t(index)];
    }
}

// The column or row places of a grid.
struct Steps {
    static constexpr int kMax = 12;
    double v[kMax]{};
    int n = 0;
    constexpr Steps() = default;
    constexpr Steps(std::initializer_list<double> l) {
        if (l.size() > std::size_t(kMax)) throw std::length_error("too many grid steps");
        for (double d : l) v[n++] = d;
    }
};

// A grid element that stands off its column and row.
struct GridPlace {
    int index = -1;
    double left = 0, top = 0;
};

struct LayoutRow {
    static constexpr int kMaxPlaces = 6;
    LayoutItem item;
    Binder bind = nullptr; // nullptr: a painted or looked-up-only control without a member
    Steps lefts, tops;     // a grid when lefts.n > 0
    GridPlace places[kMaxPlaces]{};
    constexpr LayoutRow Place(int index, double left, double top) const {
        LayoutRow r = *this;
        for (GridPlace& p : r.places)
            if (p.index < 0) {
                p = {index, left, top};
                return r;
            }
        throw std::length_error("too many grid places");
    }
    constexpr LayoutRow Hover(int tooltip, char pattern, const char* store = "") const {
        LayoutRow r = *this;
        r.item.tooltip = tooltip;
        r.item.pattern = pattern;
        r.item.store = store;
        return r;
    }
};

template <auto M>
constexpr LayoutRow MemberRow(const char* name, int index, double l, double t, double w, double h, const char* container = "",
                              const char* face = "") {
    using Mo = MemberOf<decltype(M)>;
    return LayoutRow{{name, KindOf<typename Mo::Control>::value, index, l, t, w, h, container, face}, &BindMember<M>, {}, {}};
}

template <auto M>
constexpr LayoutRow GridRow(const char* name, Steps lefts, Steps tops, double w, double h, const char* container = "",
                            const char* face = "") {
    using Mo = MemberOf<decltype(M)>;
    static_assert(Mo::count > 0, "a grid needs an array member");
    if (lefts.n * tops.n != Mo::count) throw std::length_error("grid does not fill its array");
    return LayoutRow{{name, KindOf<typename Mo::Control>::value, 0, 0, 0, w, h, container, face}, &BindMember<M>, lefts, tops};
}

// A control the window only paints or looks up by name; it has no member.
constexpr LayoutRow Decor(const char* name, Kind kind, double l, double t, double w, double h, const char* container = "",
                          const char* face = "", int index = -1) {
    return LayoutRow{{name, kind, index, l, t, w, h, container, face}, nullptr, {}, {}};
}

} // namespace vb

#define VB_ROW(member, ...) ::vb::MemberRow<&Self::member>(#member, -1, __VA_ARGS__)
#define VB_ELEM(member, index, ...) ::vb::MemberRow<&Self::member>(#member, index, __VA_ARGS__)
#define VB_GRID(member, ...) ::vb::GridRow<&Self::member>(#member, __VA_ARGS__)

// Control members, declared so that the window can tell at load which have no row:
//     VB_CONTROLS(vb::Image, Schliessen, Beenden2);       vb::Image* Schliessen, *Beenden2
//     VB_ARRAYS(vb::Label, 20, Logo_Vorschaubild_Bildname); std::array<vb::Label*, 20>
//     VB_ARRAY_FROM(vb::ComboBox, 4, 2, ComboKategorien);   elements 2 and 3 only
#define VB_PARENS ()
#define VB_EXPAND(...) VB_EXPAND3(VB_EXPAND3(VB_EXPAND3(VB_EXPAND3(__VA_ARGS__))))
#define VB_EXPAND3(...) VB_EXPAND2(VB_EXPAND2(VB_EXPAND2(VB_EXPAND2(__VA_ARGS__))))
#define VB_EXPAND2(...) VB_EXPAND1(VB_EXPAND1(VB_EXPAND1(VB_EXPAND1(__VA_ARGS__))))
#define VB_EXPAND1(...) __VA_ARGS__
#define VB_FOR_EACH(macro, a, b, ...) __VA_OPT__(VB_EXPAND(VB_FOR_EACH_HELPER(macro, a, b, __VA_ARGS__)))
#define VB_FOR_EACH_HELPER(macro, a, b, x, ...) macro(a, b, x) __VA_OPT__(VB_FOR_EACH_AGAIN VB_PARENS(macro, a, b, __VA_ARGS__))
#define VB_FOR_EACH_AGAIN() VB_FOR_EACH_HELPER
#define VB_CONTROL_ONE(T, unused, name) T* name = DeclareControl(&name, #name);
#define VB_ARRAY_ONE(T, N, name) std::array<T*, N> name = DeclareControls(&name, #name);
#define VB_CONTROLS(T, ...) VB_FOR_EACH(VB_CONTROL_ONE, T, 0, __VA_ARGS__) static_assert(true)
#define VB_ARRAYS(T, N, ...) VB_FOR_EACH(VB_ARRAY_ONE, T, N, __VA_ARGS__) static_assert(true)
#define VB_ARRAY_FROM(T, N, first, name) std::array<T*, N> name = DeclareControls(&name, #name, first)
