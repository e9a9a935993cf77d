#include "screens/common/query_model.h"

#include "db/data_source.h"
#include "db/db_error.h"
#include "db/query.h"

QueryModel::QueryModel(QObject* parent) : QAbstractTableModel(parent) {}

void QueryModel::setDataSource(DataSource* source) {
    if (source_) disconnect(source_, nullptr, this, nullptr);
    source_ = source;
    if (source_) connect(source_, &DataSource::dataSetChanged, this, &QueryModel::attach);
    attach();
}

Query* QueryModel::query() const {
    return query_;
}

void QueryModel::setColumns(const QList<GridColumn>& columns) {
    chosen_ = columns;
    rebuild();
}

void QueryModel::attach() {
    for (const auto& link : links_)
        disconnect(link);
    links_.clear();
    query_ = source_ ? source_->dataSet() : nullptr;
    if (query_) {
        links_ << connect(query_, &Query::reset, this, &QueryModel::rebuild);
        links_ << connect(query_, &Query::rowChanged, this, [this](int row) {
            if (row >= 0) emit dataChanged(index(row, 0), index(row, columnCount() - 1));
        });
        links_ << connect(query_, &Query::rowInserted, this, [this](int row) {
            // The query has the row already: announce and end the insertion at once.
            beginInsertRows({}, row, row);
            endInsertRows();
        });
        links_ << connect(query_, &Query::rowRemoved, this, [this](int row) {
            beginRemoveRows({}, row, row);
            endRemoveRows();
        });
        links_ << connect(query_, &QObject::destroyed, this, &QueryModel::rebuild);
    }
    rebuild();
}

void QueryModel::rebuild() {
    beginResetModel();
    shown_.clear();
    fieldOf_.clear();
    if (!chosen_.isEmpty()) {
        shown_ = chosen_;
    } else if (query_) {
        for (const Column& c : query_->columns())
            shown_.append({c.name, c.name, 0});
    }
    for (const GridColumn& c : shown_)
        fieldOf_.append(query_ ? query_->fieldIndex(c.field) : -1);
    endResetModel();
}

QString QueryModel::fieldName(int column) const {
    return column >= 0 && column < shown_.size() ? shown_[column].field : QString();
}

int QueryModel::columnWidth(int column) const {
    return column >= 0 && column < shown_.size() ? shown_[column].width : 0;
}

int QueryModel::queryColumn(int column) const {
    return column >= 0 && column < fieldOf_.size() ? fieldOf_[column] : -1;
}

int QueryModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() || !query_ || !query_->active()) return 0;
    return query_->recordCount();
}

int QueryModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(shown_.size());
}

QVariant QueryModel::data(const QModelIndex& index, int role) const {
    const int field = queryColumn(index.column());
    if (!query_ || field < 0 || index.row() >= rowCount()) return {};
    if (role == Qt::DisplayRole || (role == Qt::EditRole && editable_))
        return query_->value(index.row(), field).toText();
    if (role == Qt::TextAlignmentRole && shown_[index.column()].alignment)
        return QVariant(shown_[index.column()].alignment | Qt::AlignVCenter);
    if (role == Qt::TextAlignmentRole && isNumericKind(query_->columns()[field].kind))
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

Qt::ItemFlags QueryModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    const bool editing =
        query_ && (query_->state() == QueryState::Edit || query_->state() == QueryState::Insert);
    if (editable_ && editing && index.isValid() && index.row() == query_->recNo() &&
        queryColumn(index.column()) >= 0)
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool QueryModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable)) return false;
    try {
        setCellText(index, value.toString());
    } catch (const DbError& error) {
        emit refused(error.message());
        return false;
    }
    return true;
}

void QueryModel::setCellText(const QModelIndex& index, const QString& text) {
    if (!(flags(index) & Qt::ItemIsEditable)) return;
    const int field = queryColumn(index.column());
    // A cell left as it was is no change: the row is not written for it.
    if (text == query_->value(index.row(), field).toText()) return;
    query_->fieldAt(field).setValue(Value(text));
}

QVariant QueryModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Horizontal)
        return section < shown_.size() ? shown_[section].title : QVariant();
    return {};
}
