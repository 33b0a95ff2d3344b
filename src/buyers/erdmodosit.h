#pragma once

#include "buyers/requestform.h"

// The modify window: every showing loads the selected request, "Rögzít" overwrites it (on an
// empty request list it adds one).
class TfModositErdeklodes : public RequestForm
{
    Q_OBJECT
public:
    TfModositErdeklodes(RegisterState &cursors, Cursor &tErdeklodes, QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;
    void startRecord() override;
};
