// The read-only grid DBGrid1 of the screens: all rows of a data source's query, whole-row
// selection that follows the query's current row and moves it, clickable column titles.
#pragma once

#include "screens/common/query_model.h"

#include <QTableView>

class DBGrid : public QTableView {
    Q_OBJECT
public:
    explicit DBGrid(QWidget* parent = nullptr);

    void setDataSource(DataSource* source);
    DataSource* dataSource() const { return model_->dataSource(); }
    void setColumns(const QList<GridColumn>& columns);
    QueryModel* queryModel() const { return model_; }
    // Lets the cells of the current row be typed into while the query is in edit or insert
    // state (begun by the navigator, never by typing). What is typed reaches the field when
    // the cell is left and before the row is saved; a refused text shows the error box.
    // Off by default: the grid is read-only.
    void setEditable(bool on);

signals:
    // A click on the title of the column showing `field`.
    void titleClicked(const QString& field);
    // The Enter key pressed in the grid.
    void enterPressed();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    void followQuery();
    void applyWidths();
    void commitOpenEditor();
    void closeOpenEditor();

    QueryModel* model_;
    bool following_ = false;
};
