// A column of an export grid: the result column written, its title, whether it is shown.
#pragma once

#include <QString>

struct ExportColumn {
    QString field;
    QString title;
    bool visible = true;
};
