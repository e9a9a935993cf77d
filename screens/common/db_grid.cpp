#include "screens/common/db_grid.h"

#include "db/data_source.h"
#include "db/query.h"
#include "screens/common/error_box.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMetaProperty>

DBGrid::DBGrid(QWidget* parent) : QTableView(parent), model_(new QueryModel(this)) {
    setModel(model_);
    setEditTriggers(NoEditTriggers);
    setSelectionBehavior(SelectRows);
    setSelectionMode(SingleSelection);
    setAlternatingRowColors(false);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->setFixedWidth(12);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setHighlightSections(false);
    // The selected row stays marked while another control has the focus.
    QPalette p = palette();
    p.setColor(QPalette::Inactive, QPalette::Highlight,
               p.color(QPalette::Active, QPalette::Highlight));
    p.setColor(QPalette::Inactive, QPalette::HighlightedText,
               p.color(QPalette::Active, QPalette::HighlightedText));
    setPalette(p);
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int section) { emit titleClicked(model_->fieldName(section)); });
    connect(model_, &QAbstractItemModel::modelReset, this, [this] {
        applyWidths();
        followQuery();
    });
    // Shown once the cell has closed, not from inside its focus change; not when a box is up
    // already (a refused save: the cell closes when that box takes the focus).
    connect(
        model_, &QueryModel::refused, this,
        [this](const QString& message) {
            const QWidget* modal = QApplication::activeModalWidget();
            if (modal && modal != window()) return;
            showErrorBox(window(), message);
        },
        Qt::QueuedConnection);
    connect(model_, &QAbstractItemModel::rowsInserted, this, &DBGrid::followQuery);
    connect(model_, &QAbstractItemModel::rowsRemoved, this, &DBGrid::followQuery);
}

void DBGrid::setDataSource(DataSource* source) {
    if (Query* old = model_->query()) disconnect(old, nullptr, this, nullptr);
    model_->setDataSource(source);
    auto attachQuery = [this] {
        if (Query* q = model_->query()) {
            connect(q, &Query::currentChanged, this, &DBGrid::followQuery, Qt::UniqueConnection);
            connect(q, &Query::aboutToPost, this, &DBGrid::commitOpenEditor, Qt::UniqueConnection);
            connect(q, &Query::stateChanged, this, &DBGrid::closeOpenEditor, Qt::UniqueConnection);
        }
        followQuery();
    };
    if (source) connect(source, &DataSource::dataSetChanged, this, attachQuery);
    attachQuery();
}

void DBGrid::setColumns(const QList<GridColumn>& columns) {
    model_->setColumns(columns);
}

void DBGrid::setEditable(bool on) {
    model_->setEditable(on);
    setEditTriggers(on ? DoubleClicked | SelectedClicked | EditKeyPressed | AnyKeyPressed
                       : NoEditTriggers);
}

void DBGrid::commitOpenEditor() {
    if (state() != EditingState) return;
    const QModelIndex cell = currentIndex();
    QWidget* editor = indexWidget(cell);
    if (!editor) return;
    // Written here rather than through the delegate, so that a text the field refuses stops
    // the save (DbError) and the cell stays open with it.
    const QMetaProperty typed = editor->metaObject()->userProperty();
    model_->setCellText(cell, typed.read(editor).toString());
}

void DBGrid::closeOpenEditor() {
    // Saved or dropped: a cell still open would otherwise show the old text over the row.
    Query* q = model_->query();
    const bool editing = q && (q->state() == QueryState::Edit || q->state() == QueryState::Insert);
    if (editing || state() != EditingState) return;
    if (QWidget* editor = indexWidget(currentIndex()))
        closeEditor(editor, QAbstractItemDelegate::NoHint);
}

void DBGrid::applyWidths() {
    for (int c = 0; c < model_->columnCount(); ++c)
        if (const int w = model_->columnWidth(c)) setColumnWidth(c, w);
}

void DBGrid::followQuery() {
    Query* q = model_->query();
    const int row = q && q->active() ? q->recNo() : -1;
    following_ = true;
    if (row >= 0 && row < model_->rowCount()) {
        const QModelIndex at = model_->index(row, std::max(0, currentIndex().column()));
        setCurrentIndex(at);
        selectionModel()->select(at,
                                 QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        scrollTo(at);
    } else {
        clearSelection();
    }
    following_ = false;
}

void DBGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    if (following_ || !current.isValid()) return;
    Query* q = model_->query();
    if (!q || current.row() == q->recNo()) return;
    // Moving posts a pending change; when that fails the grid goes back to the query's row.
    if (!guarded(window(), [&] { q->moveTo(current.row()); })) followQuery();
}

void DBGrid::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        emit enterPressed();
        return;
    }
    QTableView::keyPressEvent(event);
}
