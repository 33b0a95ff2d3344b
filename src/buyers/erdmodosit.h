#pragma once

#include "buyers/requestform.h"

// The modify window: every showing loads the selected request, "Rögzít" overwrites it (on an
// empty request list it adds one). On the office server "Újraolvasás" loads what another
// workstation saved meanwhile.
class TfModositErdeklodes : public RequestForm
{
    Q_OBJECT
public:
    TfModositErdeklodes(RegisterState &cursors, Cursor &tErdeklodes, QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;
    void startRecord() override;

private:
    void reloadClick();
    void remember();

    // The request the window was opened on and its save count then: a save over another
    // workstation's later one is refused, however the view moved meanwhile.
    int m_readId = 0;
    qint64 m_readVersion = -1;
};
