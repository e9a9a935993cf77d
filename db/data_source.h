// The link between a query and the grids and edit fields that show it.
#pragma once

#include "db/query.h"

#include <QObject>
#include <QPointer>

class DataSource : public QObject {
    Q_OBJECT
public:
    explicit DataSource(Query* dataSet = nullptr, QObject* parent = nullptr);

    // The query shown; null once that query is destroyed (dataSetChanged then follows).
    Query* dataSet() const { return dataSet_; }
    void setDataSet(Query* dataSet);
    // Typing into a bound edit field starts editing of the current row by itself.
    bool autoEdit() const { return autoEdit_; }
    void setAutoEdit(bool on) { autoEdit_ = on; }

signals:
    void dataSetChanged();

private:
    void watch();

    QPointer<Query> dataSet_;
    QMetaObject::Connection gone_;
    bool autoEdit_ = true;
};
