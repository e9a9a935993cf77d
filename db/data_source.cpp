#include "db/data_source.h"

void DataSource::setDataSet(Query* dataSet) {
    if (dataSet_ == dataSet) return;
    dataSet_ = dataSet;
    emit dataSetChanged();
}
