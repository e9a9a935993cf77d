#include "fuel/br050_screen.h"

#include "app/data_module.h"
#include "fuel/br050_build.h"
#include "fuel/br050_layout.h"

#include <QLabel>
#include <QLineEdit>

namespace {

// The catalogue's entry with the shifts taken as the fields hold them: an emptied field is
// refused, not replaced by the default as on the command line.
const ReportDef& screenReport() {
    static const ReportDef def = [] {
        ReportDef r = *findReport(QStringLiteral("BR050"));
        r.print = [](DataModule& dm, Query&, const ReportOptions& o, Progress& progress) {
            const Br050Params p{o.from, o.to, o.fromShift, o.toShift};
            return PrintJob{br050Layout(buildBr050(dm, p, progress)), &dm.qy};
        };
        return r;
    }();
    return def;
}

QLineEdit* shiftField(QWidget* parent, const char* name) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(QString::fromLatin1(name));
    field->setMaxLength(1);
    field->setFixedWidth(32);
    field->setAlignment(Qt::AlignCenter);
    return field;
}

} // namespace

TFrmBR050::TFrmBR050(QWidget* parent) : TReportForm(screenReport(), parent) {
    e03 = shiftField(this, "e03");
    e04 = shiftField(this, "e04");
    addBeside(e01, e03);
    addBeside(e01, new QLabel(QStringLiteral("班"), this));
    addBeside(e02, e04);
    addBeside(e02, new QLabel(QStringLiteral("班"), this));
}

void TFrmBR050::FormCreate() {
    TReportForm::FormCreate();
    e03->setText(defaultOptions(screenReport(), QDate::currentDate()).fromShift);
    e04->setText(br050LastShift(*DM));
}

ReportOptions TFrmBR050::options() const {
    ReportOptions o = TReportForm::options();
    o.fromShift = e03->text();
    o.toShift = e04->text();
    return o;
}
