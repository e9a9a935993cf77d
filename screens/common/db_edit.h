// A data-aware edit field: shows one field of the current row of a data source's query, and
// typing into it starts editing of that row (when the data source edits on demand). What
// was typed is written to the field when the field is left and before the row is saved.
#pragma once

#include "db/data_source.h"
#include "db/query.h"

#include <QLineEdit>
#include <QPointer>

class TDBEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TDBEdit(QWidget* parent = nullptr);

    void setDataSource(DataSource* source);
    DataSource* dataSource() const { return source_; }
    void setDataField(const QString& field);
    const QString& dataField() const { return field_; }

    // Writes the typed text into the field now. Throws DbError when the field refuses it
    // (a text that is no number for a number field), unless the text is checked on saving.
    void updateRecord();

    // For a field whose text the screen's checks judge when the row is saved (a rate, a
    // quantity): a text the field refuses stays in the box, still pending, without an error
    // when the field is left or the row saved, and the checks refuse the save with their own
    // message, in their own order.
    void setCheckedOnSave(bool on) { checkedOnSave_ = on; }
    bool checkedOnSave() const { return checkedOnSave_; }

protected:
    void focusOutEvent(QFocusEvent* event) override;

private:
    void attach();
    void showField();
    void typed();
    Query* query() const;

    QPointer<DataSource> source_;
    QPointer<Query> query_;
    QString field_;
    bool pending_ = false; // typed text not yet written to the field
    bool checkedOnSave_ = false;
    QList<QMetaObject::Connection> links_;
};
