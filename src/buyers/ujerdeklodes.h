#pragma once

#include "buyers/requestform.h"

// The new-request window: every showing starts from empty boxes, "Rögzít" adds a request.
class TfUjErdeklodes : public RequestForm
{
    Q_OBJECT
public:
    TfUjErdeklodes(RegisterState &cursors, Cursor &tErdeklodes, QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;
    void startRecord() override;
};
