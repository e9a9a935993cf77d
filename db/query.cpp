#include "db/query.h"

#include "db/connection.h"
#include "db/db_error.h"
#include "db/server_values.h"
#include "db/sql_params.h"

#include <algorithm>
#include <cstring>
#include <libpq-fe.h>
#include <numeric>

namespace {

constexpr PgOid BpcharOid = 1042;

QString key(const QString& name) {
    return name.toUpper();
}

// A value assigned to a field, brought to the field's kind so that a text that is no number
// is refused when the field takes it, not when the row is written.
Value toKind(const Value& value, const Column& column) {
    if (value.isNull()) return value;
    switch (column.kind) {
    case FieldKind::SmallInt:
    case FieldKind::Integer:
    case FieldKind::BigInt:
        if (value.isText() && value.toText().trimmed().isEmpty()) return {};
        return Value(value.toInt());
    case FieldKind::Float:
    case FieldKind::Decimal:
        if (value.isText() && value.toText().trimmed().isEmpty()) return {};
        return value.type() == Value::Type::Integer ? value : Value(value.toDouble());
    case FieldKind::Boolean:
        return Value::boolean(value.toBool());
    case FieldKind::Date:
        if (value.isText() && value.toText().trimmed().isEmpty()) return {};
        return Value(value.toDate());
    case FieldKind::DateTime:
        if (value.isText() && value.toText().trimmed().isEmpty()) return {};
        return Value(value.toDateTime());
    case FieldKind::Time:
        if (value.isText() && value.toText().trimmed().isEmpty()) return {};
        return Value(value.toTime());
    case FieldKind::Text:
        return value.isText() ? value : Value(value.toText());
    case FieldKind::Other:
        break;
    }
    return value;
}

void appendWritten(QByteArray& out, const Value& value, const Connection& cn) {
    // Quoted, so the server reads the text as the column's own type.
    if (value.isNull())
        out.append("NULL");
    else
        appendQuotedBytes(out, cn.codec().encode(value.sqlText()), cn.standardStrings());
}

Connection& checked(Connection* cn) {
    if (!cn) throw DbError(QStringLiteral("查詢沒有資料庫連線"));
    return *cn;
}

} // namespace

// --- Field

const Column& Field::column() const {
    return query_->columns_[index_];
}
const QString& Field::name() const {
    return column().name;
}
FieldKind Field::kind() const {
    return column().kind;
}

Value Field::value() const {
    if (!query_->active() || query_->current_ < 0) return {};
    return query_->rows_[std::size_t(query_->current_)].values[index_];
}

void Field::setValue(const Value& value) {
    query_->setField(index_, value);
}

// --- Query

Query::Query(Connection& cn, QObject* parent) : QObject(parent), cn_(&cn) {
    cn.attach(this);
}

Query::~Query() {
    if (cn_) cn_->detach(this);
}

void Query::connectionGone() {
    cn_ = nullptr;
}

void Query::close() {
    if (state_ == QueryState::Closed) return;
    rows_.clear();
    columns_.clear();
    index_.clear();
    oldValues_.clear();
    changed_.clear();
    current_ = -1;
    eof_ = bof_ = true;
    sortField_.clear();
    setState(QueryState::Closed);
    notifyReset();
}

void Query::clearSql() {
    sql_.clear();
}
void Query::setSql(const QString& text) {
    sql_ = QStringList{text};
}
void Query::addSql(const QString& line) {
    sql_.append(line);
}

void Query::setParamCheck(bool on) {
    paramCheck_ = on;
    paramsFor_ = QString(); // found again under the new rule
}

const QList<Param>& Query::syncParams() {
    const QString text = sqlText();
    if (!paramsFor_.isNull() && text == paramsFor_) return params_;
    if (!paramCheck_) {
        refs_.clear();
        params_.clear();
        paramsFor_ = text;
        return params_;
    }
    refs_ = findParams(text);
    QList<Param> fresh;
    for (const ParamRef& ref : refs_) {
        const QString k = key(ref.name);
        if (std::any_of(fresh.begin(), fresh.end(),
                        [&](const Param& p) { return key(p.name()) == k; }))
            continue;
        Param p(ref.name);
        for (const Param& old : params_)
            if (key(old.name()) == k) p.setValue(old.value());
        fresh.append(p);
    }
    params_ = fresh;
    paramsFor_ = text;
    return params_;
}

const QList<Param>& Query::params() {
    return syncParams();
}

bool Query::hasParam(const QString& name) {
    const QString k = key(name);
    for (const Param& p : syncParams())
        if (key(p.name()) == k) return true;
    return false;
}

Param& Query::param(const QString& name) {
    syncParams();
    const QString k = key(name);
    for (Param& p : params_)
        if (key(p.name()) == k) return p;
    throw DbError(QStringLiteral("查詢沒有參數 %1").arg(name));
}

QByteArray Query::statementBytes() {
    Connection& cn = checked(cn_);
    cn.connect(); // the encoding of the text depends on the database
    syncParams();
    const QString text = sqlText();
    const TextCodec& codec = cn.codec();
    const bool standard = cn.standardStrings();
    QByteArray out;
    qsizetype at = 0;
    for (const ParamRef& ref : refs_) {
        out += codec.encode(QStringView(text).mid(at, ref.start - at));
        const QString k = key(ref.name);
        const auto p = std::find_if(params_.begin(), params_.end(),
                                    [&](const Param& x) { return key(x.name()) == k; });
        appendLiteral(out, p->value(), codec, standard);
        at = ref.start + ref.length;
    }
    out += codec.encode(QStringView(text).mid(at));
    return out;
}

void Query::setColumns(const pg_result* result, QList<Column>& columns,
                       QHash<QString, int>& index) const {
    const Connection& cn = *cn_;
    columns.clear();
    index.clear();
    const int fields = PQnfields(result);
    for (int c = 0; c < fields; ++c) {
        Column col;
        col.name = cn.codec().decode(QByteArray(PQfname(result, c)));
        col.type = PQftype(result, c);
        col.kind = fieldKindOf(col.type);
        col.table = PQftable(result, c);
        col.tableColumn = PQftablecol(result, c);
        const int mod = PQfmod(result, c);
        if (col.kind == FieldKind::Text && mod >= 4) col.size = mod - 4;
        if (!index.contains(key(col.name))) index.insert(key(col.name), c);
        columns.append(col);
    }
}

void Query::appendRows(const pg_result* result, const pg_result* above,
                       const QList<Column>& columns, std::vector<Row>& rows) {
    const Connection& cn = *cn_;
    const int fields = PQnfields(result), count = PQntuples(result);
    for (int r = 0; r < count; ++r) {
        // Codes repeat from row to row (shift, product, payment): a text equal to the one
        // above shares its QString instead of being decoded again. The row above is the last
        // one appended: the previous row of this result, or the last of `above`.
        const pg_result* prev = r > 0 ? result : above;
        const int prevRow = r > 0 ? r - 1 : (above ? PQntuples(above) - 1 : -1);
        const bool haveAbove = prevRow >= 0 && !rows.empty();
        Row row{nextId_++, {}};
        row.values.reserve(fields);
        for (int c = 0; c < fields; ++c) {
            if (PQgetisnull(result, r, c)) {
                row.values.append(Value());
                continue;
            }
            const char* text = PQgetvalue(result, r, c);
            const int size = PQgetlength(result, r, c);
            if (haveAbove && columns[c].kind == FieldKind::Text && !PQgetisnull(prev, prevRow, c) &&
                PQgetlength(prev, prevRow, c) == size &&
                std::memcmp(PQgetvalue(prev, prevRow, c), text, std::size_t(size)) == 0) {
                row.values.append(rows.back().values[c]);
                continue;
            }
            row.values.append(valueFromServer(text, size, columns[c], cn.codec()));
        }
        rows.push_back(std::move(row));
    }
}

void Query::fetch(pg_result* result) {
    setColumns(result, columns_, index_);
    rows_.clear();
    rows_.reserve(std::size_t(PQntuples(result)));
    appendRows(result, nullptr, columns_, rows_);
    rowsReturned_ = PQntuples(result);
    commandStatus_ = QString::fromLatin1(PQcmdStatus(result));
}

std::function<bool()> Query::waiting(const qint64& rows) const {
    if (!whileRunning) return {};
    return [this, &rows] { return whileRunning(rows); };
}

void Query::fetchStreamed() {
    Connection& cn = checked(cn_);
    const QByteArray bytes = statementBytes();
    // Gathered aside: a statement failing half-way leaves the rows as they were.
    QList<Column> columns;
    QHash<QString, int> index;
    std::vector<Row> rows;
    qint64 received = 0;
    PgResult above; // the last row kept, compared with the next
    PgResult last = cn.stream(
        bytes, true,
        [&](PgResult row) {
            if (received++ == 0) setColumns(row.get(), columns, index);
            if (rowLimit_ > 0 && qint64(rows.size()) >= rowLimit_) return;
            appendRows(row.get(), above.get(), columns, rows);
            above = std::move(row);
        },
        waiting(received));
    if (received == 0) setColumns(last.get(), columns, index);
    columns_ = std::move(columns);
    index_ = std::move(index);
    rows_ = std::move(rows);
    rowsReturned_ = received;
    commandStatus_ = QString::fromLatin1(PQcmdStatus(last.get()));
}

void Query::open() {
    close();
    Connection& cn = checked(cn_);
    if (streamed()) {
        fetchStreamed();
    } else {
        const QByteArray bytes = statementBytes();
        PgResult result = cn.run(bytes);
        if (PQresultStatus(result.get()) != PGRES_TUPLES_OK)
            throw DbError(QStringLiteral("這個指令不傳回資料列，不能開啟查詢"));
        fetch(result.get());
    }
    current_ = rows_.empty() ? -1 : 0;
    bof_ = true; // on the first row, nothing before it
    eof_ = rows_.empty();
    setState(QueryState::Browse);
    notifyReset();
    scrolled();
}

qint64 Query::execute() {
    Connection& cn = checked(cn_);
    const QByteArray bytes = statementBytes();
    PgResult result;
    if (streamed()) {
        qint64 received = 0; // rows of a statement that returns some are dropped as they come
        result = cn.stream(
            bytes, false, [&](PgResult) { ++received; }, waiting(received));
    } else {
        result = cn.run(bytes);
    }
    commandStatus_ = QString::fromLatin1(PQcmdStatus(result.get()));
    return QByteArray(PQcmdTuples(result.get())).toLongLong();
}

void Query::refresh() {
    if (!active()) throw DbError(QStringLiteral("查詢尚未開啟，不能重新查詢"));
    checkBrowse();
    const int position = current_;
    const QString sort = sortField_;
    Connection& cn = checked(cn_);
    if (streamed()) {
        fetchStreamed();
    } else {
        PgResult result = cn.run(statementBytes());
        fetch(result.get());
    }
    sortField_ = fieldIndex(sort) >= 0 ? sort : QString();
    if (!sortField_.isEmpty()) sortRows();
    current_ = rows_.empty() ? -1 : std::clamp(position, 0, int(rows_.size()) - 1);
    eof_ = bof_ = rows_.empty();
    notifyReset();
    scrolled();
}

// --- walking

void Query::checkBrowse() {
    if (state_ == QueryState::Edit || state_ == QueryState::Insert) post();
}

void Query::scrolled() {
    if (!disabled_) emit currentChanged(current_);
    if (afterScroll) afterScroll(*this);
}

void Query::reachedEdge(bool& edge) {
    // Same row, but the views' First/Prior or Next/Last must now be offered no more.
    if (edge) return;
    edge = true;
    if (!disabled_) emit currentChanged(current_);
}

void Query::notifyReset() {
    if (!disabled_) emit reset();
}

void Query::setState(QueryState state) {
    if (state_ == state) return;
    state_ = state;
    if (!disabled_) emit stateChanged();
}

void Query::first() {
    if (!active()) return;
    checkBrowse();
    bof_ = true;
    eof_ = rows_.empty();
    if (rows_.empty()) return;
    current_ = 0;
    scrolled();
}

void Query::next() {
    if (!active()) return;
    checkBrowse();
    if (rows_.empty() || current_ >= int(rows_.size()) - 1) {
        reachedEdge(eof_);
        return;
    }
    ++current_;
    bof_ = eof_ = false;
    scrolled();
}

void Query::prior() {
    if (!active()) return;
    checkBrowse();
    if (current_ <= 0) {
        reachedEdge(bof_);
        return;
    }
    --current_;
    bof_ = eof_ = false;
    scrolled();
}

void Query::last() {
    if (!active()) return;
    checkBrowse();
    eof_ = true;
    bof_ = rows_.empty();
    if (rows_.empty()) return;
    current_ = int(rows_.size()) - 1;
    scrolled();
}

void Query::moveTo(int row) {
    if (!active() || rows_.empty()) return;
    checkBrowse();
    current_ = std::clamp(row, 0, int(rows_.size()) - 1);
    bof_ = eof_ = false;
    scrolled();
}

int Query::fieldIndex(const QString& name) const {
    return index_.value(key(name), -1);
}

Field Query::field(const QString& name) {
    const int i = fieldIndex(name);
    if (i < 0) throw DbError(QStringLiteral("查詢結果沒有欄位 %1").arg(name));
    return Field(this, i);
}

bool Query::locate(const QString& column, const Value& value, LocateOptions options) {
    const int c = field(column).index();
    const bool padded = columns_[c].type == BpcharOid;
    QString needle = value.toText();
    if (options.caseInsensitive) needle = needle.toUpper();
    if (padded && !options.partialKey)
        while (needle.endsWith(QLatin1Char(' ')))
            needle.chop(1);
    for (std::size_t r = 0; r < rows_.size(); ++r) {
        const Value& v = rows_[r].values[c];
        bool match;
        if (v.isNull()) {
            match = value.isNull() && !options.partialKey;
        } else if (!options.partialKey && v.isNumber() && value.isNumber()) {
            match = v == value;
        } else {
            QString hay = v.toText();
            if (options.caseInsensitive) hay = hay.toUpper();
            if (options.partialKey) {
                match = hay.startsWith(needle);
            } else {
                if (padded)
                    while (hay.endsWith(QLatin1Char(' ')))
                        hay.chop(1);
                match = hay == needle;
            }
        }
        if (match) {
            moveTo(int(r));
            return true;
        }
    }
    return false;
}

void Query::sortRows() {
    const int c = fieldIndex(sortField_);
    const bool text = columns_[c].kind == FieldKind::Text || columns_[c].kind == FieldKind::Other;
    std::vector<QByteArray> keys;
    if (text) {
        keys.reserve(rows_.size());
        for (const Row& row : rows_)
            keys.push_back(cn_ ? cn_->codec().encodeLossy(row.values[c].toText())
                               : row.values[c].toText().toUtf8());
    }
    std::vector<std::size_t> order(rows_.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        const Value& x = rows_[a].values[c];
        const Value& y = rows_[b].values[c];
        if (x.isNull() || y.isNull() || !text) return Value::compare(x, y) < 0;
        return keys[a] < keys[b];
    });
    const qint64 currentId = current_ >= 0 ? rows_[std::size_t(current_)].id : -1;
    std::vector<Row> sorted;
    sorted.reserve(rows_.size());
    for (std::size_t i : order)
        sorted.push_back(std::move(rows_[i]));
    rows_ = std::move(sorted);
    for (std::size_t r = 0; r < rows_.size(); ++r)
        if (rows_[r].id == currentId) current_ = int(r);
}

void Query::setSortedFields(const QString& column) {
    field(column); // throws for an unknown column
    checkBrowse();
    sortField_ = column;
    sortRows();
    notifyReset();
    if (!disabled_) emit currentChanged(current_);
}

// --- editing

void Query::setField(int column, const Value& value) {
    if (state_ != QueryState::Edit && state_ != QueryState::Insert)
        throw DbError(
            QStringLiteral("資料不在編輯狀態，不能修改欄位 %1").arg(columns_[column].name));
    Value v = toKind(value, columns_[column]);
    rows_[std::size_t(current_)].values[column] = v;
    changed_[column] = true;
    if (!disabled_) emit rowChanged(current_);
}

bool Query::modified() const {
    return std::find(changed_.begin(), changed_.end(), true) != changed_.end();
}

void Query::edit() {
    if (state_ == QueryState::Edit || state_ == QueryState::Insert) return;
    if (!active()) throw DbError(QStringLiteral("查詢尚未開啟，不能修改"));
    if (rows_.empty()) {
        insert();
        return;
    }
    oldValues_ = rows_[std::size_t(current_)].values;
    changed_ = QList<bool>(columns_.size(), false);
    setState(QueryState::Edit);
    if (afterEdit) afterEdit(*this);
}

void Query::insert() {
    checkBrowse();
    if (!active()) throw DbError(QStringLiteral("查詢尚未開啟，不能新增"));
    beginInsert(current_ < 0 ? 0 : current_);
}

void Query::append() {
    checkBrowse();
    if (!active()) throw DbError(QStringLiteral("查詢尚未開啟，不能新增"));
    moveTo(int(rows_.size()) - 1);
    beginInsert(int(rows_.size()));
}

void Query::beginInsert(int at) {
    insertedFrom_ = current_;
    rows_.insert(rows_.begin() + at, Row{nextId_++, QList<Value>(columns_.size())});
    current_ = at;
    eof_ = bof_ = false;
    oldValues_.clear();
    changed_ = QList<bool>(columns_.size(), false);
    setState(QueryState::Insert);
    if (!disabled_) {
        emit rowInserted(at);
        emit currentChanged(at);
    }
    if (afterInsert) afterInsert(*this);
}

void Query::post() {
    if (state_ != QueryState::Edit && state_ != QueryState::Insert) return;
    emit aboutToPost();
    if (beforePost) beforePost(*this);
    writeRow();
    oldValues_.clear();
    changed_ = QList<bool>(columns_.size(), false);
    setState(QueryState::Browse);
    if (!disabled_) emit rowChanged(current_);
    if (afterPost) afterPost(*this);
}

void Query::cancel() {
    if (state_ == QueryState::Edit) {
        rows_[std::size_t(current_)].values = oldValues_;
        oldValues_.clear();
        changed_ = QList<bool>(columns_.size(), false);
        setState(QueryState::Browse);
        if (!disabled_) emit rowChanged(current_);
    } else if (state_ == QueryState::Insert) {
        const int at = current_;
        rows_.erase(rows_.begin() + at);
        changed_ = QList<bool>(columns_.size(), false);
        // Back on the row that was current when the insert began.
        current_ = rows_.empty() ? -1 : std::clamp(insertedFrom_, 0, int(rows_.size()) - 1);
        eof_ = bof_ = rows_.empty();
        setState(QueryState::Browse);
        if (!disabled_) {
            emit rowRemoved(at);
            emit currentChanged(current_);
        }
    } else {
        return;
    }
    if (afterCancel) afterCancel(*this);
}

void Query::remove() {
    if (state_ == QueryState::Insert) {
        cancel();
        return;
    }
    if (state_ == QueryState::Edit) cancel();
    if (!active() || rows_.empty()) return;
    deleteRow();
    const int at = current_;
    rows_.erase(rows_.begin() + at);
    current_ = rows_.empty() ? -1 : std::min(at, int(rows_.size()) - 1);
    eof_ = bof_ = rows_.empty();
    if (!disabled_) emit rowRemoved(at);
    scrolled();
}

PgOid Query::writableTable() const {
    PgOid table = 0;
    for (const Column& c : columns_) {
        if (c.table == 0) continue;
        if (table != 0 && c.table != table)
            throw DbError(QStringLiteral("這個查詢的資料來自多個資料表，不能直接修改"));
        table = c.table;
    }
    if (table == 0) throw DbError(QStringLiteral("這個查詢的資料不是來自資料表，不能直接修改"));
    return table;
}

void Query::appendWhere(QByteArray& out, PgOid table, const QList<Value>& values) {
    Connection& cn = *cn_;
    const TableInfo& info = cn.tableInfo(table);
    QList<int> keyColumns; // result columns that identify the row
    bool keyComplete = !info.primaryKey.isEmpty();
    for (int number : info.primaryKey) {
        const auto at = std::find_if(columns_.begin(), columns_.end(), [&](const Column& c) {
            return c.table == table && c.tableColumn == number;
        });
        if (at == columns_.end())
            keyComplete = false;
        else
            keyColumns.append(int(at - columns_.begin()));
    }
    if (!keyComplete) {
        // No primary key in the result: the old values of every column identify the row;
        // of identical rows exactly one is touched.
        keyColumns.clear();
        for (int c = 0; c < columns_.size(); ++c)
            if (columns_[c].table == table && columns_[c].tableColumn > 0) keyColumns.append(c);
    }
    QByteArray conditions;
    for (int c : keyColumns) {
        if (!conditions.isEmpty()) conditions += " AND ";
        conditions +=
            cn.codec().encode(quoteIdentifier(info.columnName.value(columns_[c].tableColumn)));
        if (values[c].isNull()) {
            conditions += " IS NULL";
        } else {
            conditions += " = ";
            appendWritten(conditions, values[c], cn);
        }
    }
    const QByteArray name = cn.codec().encode(info.qualifiedName);
    if (keyComplete)
        out += " WHERE " + conditions;
    else
        out += " WHERE ctid = (SELECT ctid FROM " + name + " WHERE " + conditions + " LIMIT 1)";
}

QByteArray Query::returningList(PgOid table) const {
    const TableInfo& info = cn_->tableInfo(table);
    QByteArray out;
    for (const Column& c : columns_) {
        if (c.table != table || c.tableColumn <= 0) continue;
        if (!out.isEmpty()) out += ", ";
        out += cn_->codec().encode(quoteIdentifier(info.columnName.value(c.tableColumn)));
    }
    return out;
}

void Query::takeReturned(pg_result* result, PgOid table) {
    if (PQntuples(result) != 1)
        throw DbError(QStringLiteral("這筆資料已被其他使用者變更或刪除，無法寫入；請重新查詢"));
    Row& row = rows_[std::size_t(current_)];
    int field = 0;
    for (int c = 0; c < columns_.size(); ++c) {
        if (columns_[c].table != table || columns_[c].tableColumn <= 0) continue;
        row.values[c] =
            PQgetisnull(result, 0, field)
                ? Value()
                : valueFromServer(PQgetvalue(result, 0, field), PQgetlength(result, 0, field),
                                  columns_[c], cn_->codec());
        ++field;
    }
}

void Query::writeRow() {
    if (state_ == QueryState::Edit && !modified()) return;
    Connection& cn = checked(cn_);
    const PgOid table = writableTable();
    const TableInfo& info = cn.tableInfo(table);
    const QByteArray name = cn.codec().encode(info.qualifiedName);
    const QList<Value>& values = rows_[std::size_t(current_)].values;
    QByteArray sql;
    if (state_ == QueryState::Edit) {
        QByteArray set;
        for (int c = 0; c < columns_.size(); ++c) {
            if (!changed_[c] || columns_[c].table != table || columns_[c].tableColumn <= 0)
                continue;
            if (!set.isEmpty()) set += ", ";
            set +=
                cn.codec().encode(quoteIdentifier(info.columnName.value(columns_[c].tableColumn)));
            set += " = ";
            appendWritten(set, values[c], cn);
        }
        if (set.isEmpty()) return; // only computed columns changed
        sql = "UPDATE " + name + " SET " + set;
        appendWhere(sql, table, oldValues_);
    } else {
        QByteArray names, literals;
        for (int c = 0; c < columns_.size(); ++c) {
            if (!changed_[c] || columns_[c].table != table || columns_[c].tableColumn <= 0)
                continue;
            if (!names.isEmpty()) {
                names += ", ";
                literals += ", ";
            }
            names +=
                cn.codec().encode(quoteIdentifier(info.columnName.value(columns_[c].tableColumn)));
            appendWritten(literals, values[c], cn);
        }
        sql = "INSERT INTO " + name +
              (names.isEmpty() ? QByteArray(" DEFAULT VALUES")
                               : " (" + names + ") VALUES (" + literals + ")");
    }
    sql += " RETURNING " + returningList(table);
    PgResult result = cn.run(sql);
    takeReturned(result.get(), table);
}

void Query::deleteRow() {
    Connection& cn = checked(cn_);
    const PgOid table = writableTable();
    QByteArray sql = "DELETE FROM " + cn.codec().encode(cn.tableInfo(table).qualifiedName);
    appendWhere(sql, table, rows_[std::size_t(current_)].values);
    PgResult result = cn.run(sql);
    if (QByteArray(PQcmdTuples(result.get())).toLongLong() == 0)
        throw DbError(QStringLiteral("這筆資料已被其他使用者變更或刪除；請重新查詢"));
}

// --- display

void Query::enableControls() {
    if (disabled_ == 0) return;
    if (--disabled_ == 0) {
        emit reset();
        emit stateChanged();
        emit currentChanged(current_);
    }
}

Bookmark Query::bookmark() const {
    if (!active() || current_ < 0) return {};
    return {rows_[std::size_t(current_)].id};
}

bool Query::gotoBookmark(const Bookmark& mark) {
    if (!mark.valid()) return false;
    for (std::size_t r = 0; r < rows_.size(); ++r)
        if (rows_[r].id == mark.row) {
            moveTo(int(r));
            return true;
        }
    return false;
}
