#pragma once

#include <QString>
#include <QStringList>

class Database;

// A synthetic register for the benchmarks: realistic Hungarian settlements, types, prices and
// descriptions, the same for the same seed.
namespace generator {

struct Settlement
{
    QString name;
    QString postcode;
    QString county;
};

const QList<Settlement> &settlements();
const QStringList &propertyTypes();

// Appends n properties to `egyszeru` through the table layer, in one transaction.
void generateRegister(Database &db, int n, quint32 seed = 20011002);

} // namespace generator
