#pragma once

#include "register/ownerdialog.h"

// Adds an owner to the working list. Every showing starts from empty edits.
class TfTulajHozzaad : public OwnerDialog
{
    Q_OBJECT
public:
    explicit TfTulajHozzaad(Cursor &tdTulaj, QWidget *parent = nullptr);

protected:
    void fillEdits() override { clearEdits(); }
    void startRecord() override;
};
