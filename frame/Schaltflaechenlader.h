#pragma once
// The picture store: a window that is loaded but never shown. It holds the highlight picture of
// every picture button, mostly under the button's own name, and the common-dialog control.
#include "platform/system/CommonDialog.h"
#include "platform/window/Form.h"

#include <deque>
#include <set>

class SchaltflaechenladerForm : public vb::Form {
public:
    SchaltflaechenladerForm();
    vb::CommonDialog CMDialog1;
    void Form_Load() override;

    // The store control that lights the button of this row, under the row's store name or else
    // the button's own. A plain button ("btn:X[:caption]") lights with its own face lit
    // ("hot:X[:caption]") at its size, derived the first time a button asks for that name; the
    // table lists only the other pictures. A highlighted button that finds no picture, a button
    // with a face of its own whose picture shows another face or size (another caption), and
    // two buttons that would light differently under one name are faults of the program,
    // reported when their window loads.
    vb::Control& Hervorhebung(const vb::LayoutItem& row);

private:
    std::set<QString> m_abgeleitet;
    std::deque<QByteArray> m_texte; // names and faces of the derived rows
};

extern vb::Instance<SchaltflaechenladerForm> Schaltflaechenlader;
