// A query object on the connection: SQL text set at run time with named parameters, all
// result rows fetched at once, walked, sorted, searched and edited row by row; edited rows
// are written back to their table.
#pragma once

#include "db/column.h"
#include "db/sql_params.h"
#include "db/value.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <functional>
#include <vector>

class Connection;
class Query;

enum class QueryState { Closed, Browse, Edit, Insert };

struct LocateOptions {
    bool caseInsensitive = false; // text compared without regard to letter case
    bool partialKey = false;      // the column's text begins with the value
};

// A remembered row; stays valid across sorting, inserts and removals of other rows.
struct Bookmark {
    qint64 row = -1;
    bool valid() const { return row >= 0; }
};

// A named parameter and its value (null until assigned).
class Param {
public:
    explicit Param(QString name = {}) : name_(std::move(name)) {}
    const QString& name() const { return name_; }
    const Value& value() const { return value_; }
    void setValue(const Value& value) { value_ = value; }
    void setText(const QString& text) { value_ = Value(text); }
    void setInteger(qint64 number) { value_ = Value(number); }
    void setFloat(double number) { value_ = Value(number); }
    void setDate(const QDate& date) { value_ = Value(date); }
    void setNull() { value_ = Value(); }
    Param& operator=(const Value& value) {
        value_ = value;
        return *this;
    }

private:
    QString name_;
    Value value_;
};

// One column of the current row of a query. Reading a closed query or one without rows
// gives null; writing needs the query in edit or insert state.
class Field {
public:
    Field(Query* query, int index) : query_(query), index_(index) {}
    const QString& name() const;
    FieldKind kind() const;
    const Column& column() const;
    int index() const { return index_; }

    Value value() const;
    bool isNull() const { return value().isNull(); }
    QString asText() const { return value().toText(); }
    qint64 asInteger() const { return value().toInt(); }
    double asFloat() const { return value().toDouble(); }
    bool asBool() const { return value().toBool(); }
    QDate asDate() const { return value().toDate(); }
    QDateTime asDateTime() const { return value().toDateTime(); }

    // Throws DbError unless the query is in edit or insert state.
    void setValue(const Value& value);
    void setText(const QString& text) { setValue(Value(text)); }
    void setInteger(qint64 number) { setValue(Value(number)); }
    void setFloat(double number) { setValue(Value(number)); }
    void setNull() { setValue(Value()); }

private:
    Query* query_;
    int index_;
};

class Query : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<void(Query&)>;

    explicit Query(Connection& cn, QObject* parent = nullptr);
    ~Query() override;

    Connection* connection() const { return cn_; }

    // --- statement
    // Closes the query, dropping a pending change and the rows.
    void close();
    void clearSql();
    void setSql(const QString& text);
    void addSql(const QString& line);
    // The statement: its lines joined by line feeds.
    QString sqlText() const { return sql_.join(QLatin1Char('\n')); }
    // Whether the statement is searched for ":name" parameters (the default). Off, the text
    // is sent exactly as it stands, colons included, and the statement has no parameters.
    void setParamCheck(bool on);
    bool paramCheck() const { return paramCheck_; }
    // The parameter `name` of the statement, matched without regard to letter case. Throws
    // DbError when the statement has none of that name. Values survive a change of the
    // statement for parameters of the same name.
    Param& param(const QString& name);
    bool hasParam(const QString& name);
    const QList<Param>& params();
    // The statement as sent: parameter references replaced by their values' literals, in the
    // connection's encoding (connecting first). Throws DbError when a value cannot be encoded.
    QByteArray statementBytes();

    // Runs a statement that returns rows, connecting first when closed; the current row is
    // the first. Throws DbError; the query is then closed.
    void open();
    // Runs a statement without rows; returns the number of rows it affected. The rows of an
    // open query are not touched.
    qint64 execute();
    // Runs the statement again; keeps the sort column and, as far as there are rows, the
    // position. Posts a pending change first.
    void refresh();

    // The most rows open() and refresh() keep; 0 (the default) keeps all. The rest of a
    // larger result is still read to its end, so the statement completes, but only counted.
    void setRowLimit(int rows) { rowLimit_ = std::max(rows, 0); }
    int rowLimit() const { return rowLimit_; }
    // The rows the server returned to the last open() or refresh(), those beyond the row
    // limit included.
    qint64 rowsReturned() const { return rowsReturned_; }
    // The server's command tag of the last statement run ("UPDATE 3", "SELECT 10",
    // "CREATE TABLE").
    const QString& commandStatus() const { return commandStatus_; }
    // When set, open(), refresh() and execute() wait for the server without blocking: it is
    // called about every 50 ms with the rows received so far, so that the caller can keep its
    // window alive and show how far the statement got; returning false asks the server to
    // cancel the statement (DbError with SQLSTATE 57014). With it set or with a row limit,
    // rows are read one at a time, and open() refuses a statement that returns no rows
    // before running it.
    std::function<bool(qint64 rowsReceived)> whileRunning;

    // --- rows
    bool active() const { return state_ != QueryState::Closed; }
    QueryState state() const { return state_; }
    int recordCount() const { return int(rows_.size()); }
    bool isEmpty() const { return rows_.empty(); }
    // Index of the current row, -1 when there is none.
    int recNo() const { return current_; }
    bool eof() const { return eof_; }
    bool bof() const { return bof_; }
    // Moving posts a pending change first, as data-aware controls expect.
    void first();
    void next();
    void prior();
    void last();
    void moveTo(int row);

    int fieldCount() const { return int(columns_.size()); }
    // -1 when the result has no column of that name (letter case ignored).
    int fieldIndex(const QString& name) const;
    // Throws DbError when the result has no column of that name.
    Field field(const QString& name);
    Field fieldAt(int index) { return Field(this, index); }
    const QList<Column>& columns() const { return columns_; }
    // Value of column `column` of row `row`.
    const Value& value(int row, int column) const { return rows_[std::size_t(row)].values[column]; }

    // Moves to the first row whose `column` matches `value`; returns false and stays put
    // when none does. Blank-padded char(n) values match without their padding.
    bool locate(const QString& column, const Value& value, LocateOptions options = {});
    // Sorts the fetched rows ascending by `column` (texts by the bytes the database orders
    // by), keeping the current row. Throws DbError when the result has no such column.
    void setSortedFields(const QString& column);
    const QString& sortedFields() const { return sortField_; }

    // --- editing
    // Begins changing the current row (on an empty result: inserts one).
    void edit();
    // Begins a new row before the current one; append() at the end.
    void insert();
    void append();
    // Runs beforePost, writes the row to its table and runs afterPost. A handler or a write
    // that throws leaves the row in editing, with the user's values.
    void post();
    // Drops the pending change and runs afterCancel.
    void cancel();
    // Deletes the current row from its table and from the result.
    void remove();
    bool modified() const;

    Handler beforePost, afterPost, afterEdit, afterInsert, afterCancel, afterScroll;

    // --- display
    // Suspends notifications to the views; enableControls() resumes them with a reset.
    void disableControls() { ++disabled_; }
    void enableControls();
    bool controlsDisabled() const { return disabled_ > 0; }
    Bookmark bookmark() const;
    // Returns to the remembered row; false when it is gone.
    bool gotoBookmark(const Bookmark& mark);

    // Called by the connection when it is destroyed first.
    void connectionGone();

signals:
    // A row is about to be saved: bound edit fields write what the user typed.
    void aboutToPost();
    void reset();                 // opened, closed, refreshed or sorted: every row may differ
    void currentChanged(int row); // the current row moved
    void stateChanged();
    void rowChanged(int row); // values of a row changed
    void rowInserted(int row);
    void rowRemoved(int row);

private:
    friend class Field;
    struct Row {
        qint64 id;
        QList<Value> values;
    };

    void setField(int column, const Value& value);
    void beginInsert(int at);
    const QList<Param>& syncParams();
    void fetch(struct pg_result* result);
    bool streamed() const { return rowLimit_ > 0 || bool(whileRunning); }
    void fetchStreamed();
    void setColumns(const struct pg_result* result, QList<Column>& columns,
                    QHash<QString, int>& index) const;
    void appendRows(const struct pg_result* result, const struct pg_result* above,
                    const QList<Column>& columns, std::vector<Row>& rows);
    std::function<bool()> waiting(const qint64& rows) const;
    void setState(QueryState state);
    void checkBrowse();
    void scrolled();
    void reachedEdge(bool& edge);
    void notifyReset();
    void sortRows();
    void writeRow();
    void deleteRow();
    PgOid writableTable() const;
    void appendWhere(QByteArray& out, PgOid table, const QList<Value>& values);
    QByteArray returningList(PgOid table) const;
    void takeReturned(struct pg_result* result, PgOid table);

    Connection* cn_;
    QStringList sql_;
    QList<ParamRef> refs_;
    QList<Param> params_;
    QString paramsFor_; // statement text params_ was made for
    bool paramCheck_ = true;
    int rowLimit_ = 0;
    qint64 rowsReturned_ = 0;
    QString commandStatus_;
    QList<Column> columns_;
    QHash<QString, int> index_;
    std::vector<Row> rows_;
    qint64 nextId_ = 0;
    int current_ = -1;
    bool eof_ = true;
    bool bof_ = true;
    QueryState state_ = QueryState::Closed;
    QList<Value> oldValues_;
    QList<bool> changed_;
    int insertedFrom_ = -1; // current row before insert()
    QString sortField_;
    int disabled_ = 0;
};
