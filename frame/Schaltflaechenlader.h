#pragma once
// The picture store: a window that is loaded but never shown. It holds the highlight picture of
// every picture button, mostly under the button's own name, and the common-dialog control.
#include "platform/system/CommonDialog.h"
#include "platform/window/Form.h"

#include <deque>
#include <map>

class SchaltflaechenladerForm : public vb::Form {
public:
    SchaltflaechenladerForm();
    vb::CommonDialog CMDialog1;

    // The store control that lights the button of this row. A button lit by its own face
    // ("btn:X[:caption]", no store name of its own) gets the lit face ("hot:X[:caption]") at its
    // size the first time it asks; the table lists only the pictures that differ from that. A
    // highlighted button that finds no picture, or two buttons of one name that would derive
    // different ones, are faults of the program, reported when their window loads.
    vb::Control& Hervorhebung(const vb::LayoutItem& row);

private:
    struct Abgeleitet {
        QByteArray face;
        double width, height;
    };
    std::map<QString, Abgeleitet> m_abgeleitet;
    std::deque<QByteArray> m_texte; // names and faces of the derived rows
};

extern vb::Instance<SchaltflaechenladerForm> Schaltflaechenlader;
