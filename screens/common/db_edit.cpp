#include "screens/common/db_edit.h"

#include "db/data_source.h"
#include "db/db_error.h"
#include "db/query.h"
#include "screens/common/error_box.h"

#include <QFocusEvent>

namespace {

constexpr PgOid BpcharOid = 1042;

} // namespace

TDBEdit::TDBEdit(QWidget* parent) : QLineEdit(parent) {
    connect(this, &QLineEdit::textEdited, this, &TDBEdit::typed);
}

Query* TDBEdit::query() const {
    return query_;
}

void TDBEdit::setDataSource(DataSource* source) {
    if (source_) disconnect(source_, nullptr, this, nullptr);
    source_ = source;
    if (source_) connect(source_, &DataSource::dataSetChanged, this, &TDBEdit::attach);
    attach();
}

void TDBEdit::setDataField(const QString& field) {
    field_ = field;
    showField();
}

void TDBEdit::attach() {
    for (const auto& link : links_)
        disconnect(link);
    links_.clear();
    query_ = source_ ? source_->dataSet() : nullptr;
    if (Query* q = query_) {
        auto refresh = [this] {
            pending_ = false;
            showField();
        };
        links_ << connect(q, &Query::reset, this, refresh);
        links_ << connect(q, &Query::currentChanged, this, refresh);
        links_ << connect(q, &Query::rowChanged, this, [this](int row) {
            // A change written by another control or by a handler; keep what is being typed.
            if (!pending_ && query_ && row == query_->recNo()) showField();
        });
        links_ << connect(q, &Query::stateChanged, this, [this] {
            if (query_ && query_->state() == QueryState::Browse) {
                pending_ = false;
                showField();
            }
        });
        links_ << connect(q, &Query::aboutToPost, this, &TDBEdit::updateRecord);
    }
    pending_ = false;
    showField();
}

void TDBEdit::showField() {
    Query* q = query_;
    QString text;
    if (q && q->active() && q->recNo() >= 0 && !field_.isEmpty()) {
        const int index = q->fieldIndex(field_);
        if (index >= 0) {
            const Column& column = q->columns()[index];
            text = q->value(q->recNo(), index).toText();
            // A blank-padded code is shown, and edited, without its padding.
            if (column.type == BpcharOid) {
                qsizetype end = text.size();
                while (end > 0 && text[end - 1] == QLatin1Char(' '))
                    --end;
                text.truncate(end);
            }
        }
    }
    if (text != this->text()) setText(text);
}

void TDBEdit::typed() {
    Query* q = query_;
    if (!q || !q->active()) return;
    if (q->state() == QueryState::Browse) {
        if (!source_->autoEdit()) {
            showField();
            return;
        }
        const QString typedText = text();
        const int cursor = cursorPosition();
        if (!guarded(window(), [&] { q->edit(); })) {
            showField();
            return;
        }
        // Starting to edit may redisplay the row; keep what was typed.
        if (text() != typedText) {
            setText(typedText);
            setCursorPosition(cursor);
        }
    }
    pending_ = true;
}

void TDBEdit::updateRecord() {
    Query* q = query_;
    if (!pending_ || !q || field_.isEmpty()) return;
    if (q->state() != QueryState::Edit && q->state() != QueryState::Insert) return;
    try {
        q->field(field_).setText(text());
    } catch (const DbError&) {
        if (checkedOnSave_) return; // the screen's checks will say what is wrong
        throw;
    }
    pending_ = false;
}

void TDBEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    // Leaving the field for another one writes it; a message box or another window taking
    // the focus does not. A refused text stays in the box, still pending.
    const Qt::FocusReason reason = event->reason();
    if (pending_ && reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
        guarded(window(), [this] { updateRecord(); });
}
