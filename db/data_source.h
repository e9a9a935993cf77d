// The link between a query and the grids and edit fields that show it.
#pragma once

#include <QObject>

class Query;

class DataSource : public QObject {
    Q_OBJECT
public:
    explicit DataSource(Query* dataSet = nullptr, QObject* parent = nullptr)
        : QObject(parent), dataSet_(dataSet) {}

    Query* dataSet() const { return dataSet_; }
    void setDataSet(Query* dataSet);
    // Typing into a bound edit field starts editing of the current row by itself.
    bool autoEdit() const { return autoEdit_; }
    void setAutoEdit(bool on) { autoEdit_ = on; }

signals:
    void dataSetChanged();

private:
    Query* dataSet_;
    bool autoEdit_ = true;
};
