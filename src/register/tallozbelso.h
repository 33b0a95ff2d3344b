#pragma once

#include "register/talloz.h"

#include <QDialog>
#include <memory>

struct RegisterState;
class Cursor;

// The browse window's internal data of the current property: principal, minimum price, owners
// and publishing flags, all read-only.
class TfTallozbelso : public QDialog
{
    Q_OBJECT
public:
    explicit TfTallozbelso(RegisterState &cursors, QWidget *parent = nullptr);
    ~TfTallozbelso() override;

private:
    QWidget *buildOwners();
    QWidget *buildPrincipal();
    QWidget *buildFlags();

    Cursor &m_tEgyszeru;
    // Its own view of the owners: filtering the main window's owner cursor would leave the
    // filter behind when this window is closed by its frame.
    std::unique_ptr<Cursor> m_owners;
    BoundFields m_bound;
};
