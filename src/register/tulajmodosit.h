#pragma once

#include "register/ownerdialog.h"

// Changes the working list's current owner. Every showing reloads the edits from that record.
class TfTulajModosit : public OwnerDialog
{
    Q_OBJECT
public:
    explicit TfTulajModosit(Cursor &tdTulaj, QWidget *parent = nullptr);

protected:
    void fillEdits() override { readCurrent(); }
    void startRecord() override;
};
