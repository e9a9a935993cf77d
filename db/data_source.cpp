#include "db/data_source.h"

DataSource::DataSource(Query* dataSet, QObject* parent) : QObject(parent), dataSet_(dataSet) {
    watch();
}

void DataSource::setDataSet(Query* dataSet) {
    if (dataSet_ == dataSet) return;
    dataSet_ = dataSet;
    watch();
    emit dataSetChanged();
}

void DataSource::watch() {
    disconnect(gone_);
    if (dataSet_)
        gone_ = connect(dataSet_, &QObject::destroyed, this, [this] {
            dataSet_ = nullptr;
            emit dataSetChanged();
        });
}
