// A Qt table model over a query object, for the grids of the screens: one row per fetched
// row, the columns chosen by field name. It follows the query as it is opened, walked,
// sorted and edited.
#pragma once

#include "db/data_source.h"
#include "db/query.h"

#include <QAbstractTableModel>
#include <QList>
#include <QPointer>

// A column of a grid: the field shown, its title, width in pixels (0: the view's own) and
// alignment (none given: numbers to the right, texts to the left).
struct GridColumn {
    QString field;
    QString title;
    int width = 0;
    Qt::Alignment alignment = {};
};

class QueryModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit QueryModel(QObject* parent = nullptr);

    // The data source whose query is shown; the model follows a change of its query.
    void setDataSource(DataSource* source);
    DataSource* dataSource() const { return source_; }
    Query* query() const;
    // The columns shown; with none given, every field of the result under its own name.
    void setColumns(const QList<GridColumn>& columns);
    // The field name of column `column` of the model, empty when out of range.
    QString fieldName(int column) const;
    int columnWidth(int column) const;
    // Whether the cells of the query's current row take typed values while the query is in
    // edit or insert state (the query never begins either by itself). Off by default.
    void setEditable(bool on) { editable_ = on; }
    bool editable() const { return editable_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Writes the typed text into the field; a text the field refuses (no number for a
    // number field) is announced by refused() and leaves the field as it was.
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    // The same for a caller that handles the refusal: throws DbError. Does nothing for a
    // cell that takes no typing or a text equal to the cell's.
    void setCellText(const QModelIndex& index, const QString& text);

signals:
    void refused(const QString& message);

private:
    void attach();
    void rebuild();
    int queryColumn(int column) const;

    QPointer<DataSource> source_;
    QPointer<Query> query_;
    QList<GridColumn> chosen_;
    QList<GridColumn> shown_;
    QList<int> fieldOf_; // query column of each shown column, -1 when the result lacks it
    QList<QMetaObject::Connection> links_;
    bool editable_ = false;
};
