#include "invoice/br090_build.h"

#include "app/data_module.h"
#include "app/progress.h"
#include "db/copy_loader.h"
#include "db/input_refused.h"
#include "invoice/invoice_blocks.h"
#include "invoice/roc_month.h"
#include "reports/common/date_basis.h"
#include "reports/common/work_table.h"

Br090Titles buildBr090(DataModule& dm, Query& work, const Br090Params& params, Progress& progress) {
    const QDate from = checkedDay(params.start, QStringLiteral("e01"));
    const QDate to = checkedDay(params.end, QStringLiteral("e02"));
    const QString startCode = rocMonthCode(from.year(), from.month());
    const QString endCode = rocMonthCode(to.year(), to.month());
    progress.resetCounter();

    // The issued numbers and the ranges as they stood at one moment.
    Transaction transaction(dm.cn, Connection::Isolation::RepeatableRead);
    recreateWorkTable(work, QStringLiteral("tBR091"),
                      QStringLiteral("create TEMPORARY table tBR091 (tno varchar(10),PRIMARY KEY "
                                     "(tno) )"));
    work.setSql(QStringLiteral(
        "insert into tBR091 (tno) select DISTINCT invoice  from tran where date(tran_time) >= "
        ":Mdate1 and date(tran_time) <= :Mdate2 and prt_invoice = '-1'"));
    work.param(QStringLiteral("Mdate1")).setText(params.start.trimmed());
    work.param(QStringLiteral("Mdate2")).setText(params.end.trimmed());
    work.execute();
    progress.step();
    recreateWorkTable(
        work, QStringLiteral("tBR090"),
        QStringLiteral("create TEMPORARY table tBR090 (tinv1 varchar(8),tinv2 varchar(10),  tinv3 "
                       "varchar(03),tinv4 varchar(03),tinv5 varchar(07),tinv6 varchar(03),cnt "
                       "decimal(3,0) DEFAULT '0')"));
    work.close();
    work.setSql(QStringLiteral("select * From inv_range Where inv_date>=:MShift1   and "
                               "inv_date<=:MShift2   and void = '0' order by inv_start"));
    work.param(QStringLiteral("MShift1")).setText(startCode);
    work.param(QStringLiteral("MShift2")).setText(endCode);
    work.open();
    QList<InvoiceBlock> blocks = blocksOfRanges(readRanges(work));
    work.close();
    findHighestIssued(dm.cn, QStringLiteral("tBR091"), QStringLiteral("tno"), blocks);
    CopyLoader loader(dm.cn);
    const int table = loader.declare(QStringLiteral("tBR090"),
                                     {"tinv1", "tinv2", "tinv3", "tinv4", "tinv5", "tinv6", "cnt"});
    for (const InvoiceBlock& b : blocks) {
        const QString highest = b.highest.isEmpty() ? QString() : b.highestDigits();
        const QString firstBlank = b.firstBlankDigits();
        loader.row(table,
                   {b.key(), b.firstNumber(), highest, b.lastDigits(), b.prefix(),
                    firstBlank.isEmpty() ? QString() : firstBlank, QString::number(b.blanks())});
        progress.step();
    }
    loader.finish();
    transaction.commit();

    dm.qy.close();
    dm.qy.setSql(QStringLiteral("select * from tBR090 where cnt > '0' order by tinv1"));
    dm.qy.open();
    progress.step();
    return {dm.settings.st_name, params};
}
