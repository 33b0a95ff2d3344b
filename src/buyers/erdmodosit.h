#pragma once

#include "requestform.h"

// The modify window: every showing loads the selected request, "Rögzít" overwrites it (on an
// empty request list it adds one).
class TfModositErdeklodes : public RequestForm
{
    Q_OBJECT
public:
    TfModositErdeklodes(MainCursors &cursors, Cursor &tErdeklodes, QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;
    void startRecord() override;
};
