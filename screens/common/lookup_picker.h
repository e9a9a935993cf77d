// The lookup picker TFrmgetdata: a modal list of codes and names that the user searches by
// typing the beginning of a code and picks one row from. The caller puts the list into the
// data module's qy1; after the picker closes it reads the chosen row from there.
#pragma once

#include "db/data_source.h"
#include "db/query.h"
#include "db/value.h"

#include <QDialog>
#include <QPointer>

class DBGrid;
class QLabel;
class QLineEdit;
class QPushButton;

class TFrmgetdata : public QDialog {
    Q_OBJECT
public:
    explicit TFrmgetdata(QWidget* parent = nullptr);

    // The list to show (dsqy1) and the query its title clicks sort (qy1).
    void setDataSource(DataSource* source) { source_ = source; }
    void setSortQuery(Query* query) { sortQuery_ = query; }
    // Shows the picker modally; returns the answer: true when a row was chosen.
    bool ShowPicker();
    // Whether the last use of a picker chose a row. Closing a picker by its frame leaves it
    // as the previous use left it.
    static bool answer() { return answer_; }

    QLabel* Label1;
    QLineEdit* EdtFind;
    QPushButton* BitBtnCanser; // "選用": choose
    QPushButton* BitBtnPost;   // "取消": cancel
    DBGrid* DBGrid1;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void EdtFindChange(const QString& text);
    void choose();

    QPointer<DataSource> source_;
    QPointer<Query> sortQuery_;
    static bool answer_;
};

// A list a caller offers: the picker's caption and the statement returning code and name.
struct LookupList {
    const char* caption;
    const char* sql;
};

namespace lookupLists {
extern const LookupList vehicleWithCustomer; // charge sale: vehicle, with its cust_id
extern const LookupList chargeProduct;       // charge sale: fuel or product, with its price
extern const LookupList company;             // charge companies
extern const LookupList vehicle;             // vehicles of charge companies
extern const LookupList gift;                // gift products
extern const LookupList groupCard;           // group U-cards
extern const LookupList groupCardVehicle;    // vehicles of group U-cards
extern const LookupList fuelProduct;         // the fuels
} // namespace lookupLists

// The whole caller protocol over DM.qy1: opens the list, positions it on the first code
// beginning with the trimmed `fieldText`, shows the picker over `parent` and returns its
// answer. Throws DbError when the list cannot be read.
bool pickFromList(const LookupList& list, const QString& fieldText, QWidget* parent = nullptr);
// The column `name` (letter case ignored) of the current row of DM.qy1; null when the list
// has no such column or no row.
Value PickedValue(const QString& name);
