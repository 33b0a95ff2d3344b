#pragma once

#include <QDialog>

#include "buyers/matching.h"

class CursorModel;
class QTableView;
struct RegisterState;

// The hits window: the properties of the register that fit one request, in the register's
// current order.
class TfErdUtkoztet : public QDialog
{
    Q_OBJECT
public:
    explicit TfErdUtkoztet(RegisterState &cursors, QWidget *parent = nullptr);

    // Filters the register by the request's match expression (the filter stays afterwards),
    // lists what passes and shows the window modally.
    void showHits(const matching::Criteria &request);

protected:
    void done(int result) override;

private:
    RegisterState &m_cursors;
    QTableView *uTalalatok;
    CursorModel *m_hits = nullptr;
};
