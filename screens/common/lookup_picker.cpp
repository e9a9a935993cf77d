#include "screens/common/lookup_picker.h"

#include "app/data_module.h"
#include "db/db_error.h"
#include "screens/common/db_grid.h"
#include "screens/common/upper_case.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

bool TFrmgetdata::answer_ = false;

TFrmgetdata::TFrmgetdata(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Frmgetdata"));
    setWindowTitle(QStringLiteral("資料查詢選取"));
    setFixedSize(423, 352);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* top = new QFrame(this);
    top->setObjectName(QStringLiteral("Panel1"));
    top->setFrameStyle(QFrame::Panel | QFrame::Raised);
    auto* bar = new QHBoxLayout(top);
    Label1 = new QLabel(QStringLiteral("輸入查詢資料 :"), top);
    EdtFind = new QLineEdit(top);
    EdtFind->setObjectName(QStringLiteral("EdtFind"));
    EdtFind->setFocusPolicy(Qt::ClickFocus); // the Tab key passes it by
    setUpperCase(EdtFind);
    BitBtnCanser = new QPushButton(QStringLiteral("選用"), top);
    BitBtnCanser->setObjectName(QStringLiteral("BitBtnCanser"));
    BitBtnCanser->setIcon(style()->standardIcon(QStyle::SP_DialogApplyButton));
    BitBtnPost = new QPushButton(QStringLiteral("取消"), top);
    BitBtnPost->setObjectName(QStringLiteral("BitBtnPost"));
    BitBtnPost->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));
    // Enter chooses only in the grid, never through a default button.
    for (QPushButton* b : {BitBtnCanser, BitBtnPost}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }
    bar->addWidget(Label1);
    bar->addWidget(EdtFind, 1);
    bar->addWidget(BitBtnCanser);
    bar->addWidget(BitBtnPost);
    layout->addWidget(top);
    DBGrid1 = new DBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setColumns({{QStringLiteral("CODE"), QStringLiteral("編號"), 103},
                         {QStringLiteral("NAME"), QStringLiteral("名稱"), 242}});
    layout->addWidget(DBGrid1, 1);

    connect(EdtFind, &QLineEdit::textChanged, this, &TFrmgetdata::EdtFindChange);
    connect(BitBtnCanser, &QPushButton::clicked, this, &TFrmgetdata::choose);
    connect(BitBtnPost, &QPushButton::clicked, this, [this] {
        answer_ = false;
        reject();
    });
    connect(DBGrid1, &QAbstractItemView::doubleClicked, this, &TFrmgetdata::choose);
    connect(DBGrid1, &DBGrid::enterPressed, this, &TFrmgetdata::choose);
    connect(DBGrid1, &DBGrid::titleClicked, this, [this](const QString& field) {
        if (!sortQuery_) return;
        try {
            sortQuery_->setSortedFields(field);
        } catch (...) {
            // a column the list cannot be sorted by: the list stays as it was
        }
    });
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
}

bool TFrmgetdata::ShowPicker() {
    exec();
    return answer_;
}

void TFrmgetdata::showEvent(QShowEvent* event) {
    DBGrid1->setDataSource(source_);
    QDialog::showEvent(event);
    EdtFind->setFocus();
}

void TFrmgetdata::EdtFindChange(const QString& text) {
    const QString wanted = text.trimmed();
    Query* list = source_ ? source_->dataSet() : nullptr;
    if (wanted.isEmpty() || !list) return;
    LocateOptions partial;
    partial.partialKey = true;
    bool found = false;
    try {
        found = list->locate(QStringLiteral("code"), Value(wanted), partial);
    } catch (...) {
        found = false; // a list without a code column finds nothing
    }
    if (!found) QMessageBox::warning(this, QStringLiteral("警告"), QStringLiteral("資料不存在"));
}

void TFrmgetdata::choose() {
    answer_ = true;
    accept();
}

namespace lookupLists {
const LookupList vehicleWithCustomer = {
    "客戶資料選取", "SELECT m.car_no as code, d.unit_name as name, m.cust_id FROM car_data m, "
                    "cust_unit d WHERE m.cust_id = d.cust_id ORDER BY m.car_no "};
const LookupList chargeProduct = {"產品資料選取",
                                  "SELECT product_id as code, name, class, price  FROM product "
                                  "WHERE class='101' or class='102' ORDER BY class, product_id "};
const LookupList company = {"會員公司資料選取",
                            "SELECT cust_id as code, unit_name as name FROM cust_unit Order By "
                            "cust_id "};
const LookupList vehicle = {"客戶資料選取",
                            "SELECT m.car_no as code, d.unit_name as name FROM car_data m, "
                            "cust_unit d WHERE m.cust_id = d.cust_id ORDER BY m.car_no "};
const LookupList gift = {"贈品資料選取", "SELECT product_id as code, name as name FROM product "
                                         "WHERE class = '104' ORDER BY product_id "};
const LookupList groupCard = {"團體 U 卡資料選取",
                              "SELECT dcard_no as code, car_no as name FROM dcard_mbr ORDER BY "
                              "dcard_no "};
const LookupList groupCardVehicle = {"客戶車號資料選取",
                                     "SELECT car_no as code, dcard_no as name FROM dcard_mbr "
                                     "ORDER BY car_no "};
const LookupList fuelProduct = {"產品資料選取",
                                "SELECT product_id as code, name, class, price  FROM product "
                                "WHERE class='101' ORDER BY class, product_id "};
} // namespace lookupLists

bool pickFromList(const LookupList& list, const QString& fieldText, QWidget* parent) {
    if (!DM) throw DbError(QStringLiteral("資料庫模組尚未建立"));
    TFrmgetdata picker(parent);
    picker.setWindowTitle(QString::fromUtf8(list.caption));
    Query& qy1 = DM->qy1;
    qy1.close();
    qy1.clearSql();
    qy1.setSql(QString::fromUtf8(list.sql));
    qy1.open();
    picker.setDataSource(&DM->dsqy1);
    LocateOptions partial;
    partial.partialKey = true;
    qy1.locate(QStringLiteral("CODE"), Value(fieldText.trimmed()), partial);
    picker.setSortQuery(&qy1);
    return picker.ShowPicker();
}

Value PickedValue(const QString& name) {
    if (!DM) return {};
    Query& qy1 = DM->qy1;
    const int column = qy1.fieldIndex(name);
    if (column < 0 || !qy1.active() || qy1.recNo() < 0) return {};
    return qy1.value(qy1.recNo(), column);
}
