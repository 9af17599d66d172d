#pragma once
// The picture store: a window that is loaded but never shown. It holds the highlight picture of
// every picture button, mostly under the button's own name, and the common-dialog control.
#include "platform/CommonDialog.h"
#include "platform/Form.h"

class SchaltflaechenladerForm : public vb::Form {
public:
    SchaltflaechenladerForm();
    vb::CommonDialog CMDialog1;
};

extern vb::Instance<SchaltflaechenladerForm> Schaltflaechenlader;
