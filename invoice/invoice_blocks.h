// The 250-number blocks of the station's invoice ranges: which blocks the active ranges
// cover, the highest number issued in each, and the blank numbers after it. The media file
// reports these blank numbers to the tax office; BR090 lists them.
#pragma once

#include <QList>
#include <QString>

class Connection;
class Query;

// An inv_range row: the first and last number of a roll and its invoice form.
struct InvoiceRange {
    QString start, end; // ten characters: the track's two letters and eight digits
    QString form;       // inv_range.code: "2" two-part, "3" three-part
};

// Block k of a track holds the track's numbers 250·k to 250·k + 249.
struct InvoiceBlock {
    QString form;     // the form of the range the block came from
    QString letters;  // the track
    qint64 index = 0; // k
    QString highest;  // the highest number issued in the block, empty when none was

    // The block key: the letters and k as six digits ("XY049382").
    QString key() const;
    // The block's first and last number ("XY12345500", "XY12345749").
    QString firstNumber() const;
    QString lastNumber() const;
    // The first seven characters of the block's numbers: letters and five digits.
    QString prefix() const { return firstNumber().left(7); }
    // The last three digits of the first and of the last number: "000" and "249", "250" and
    // "499", "500" and "749", "750" and "999".
    QString firstDigits() const { return firstNumber().right(3); }
    QString lastDigits() const { return lastNumber().right(3); }
    // The last three digits of the highest issued number, empty when none was issued.
    QString highestDigits() const { return highest.right(3); }
    // The blank numbers after the highest issued one: 250 when none was issued.
    int blanks() const;
    // The last three digits of the first blank number: those of the first number when none
    // was issued, else the highest issued number's plus one. Empty when the block's last
    // number was issued, where the number after it lies outside the block.
    QString firstBlankDigits() const;
    // The first blank number, or the number after the highest issued one where that still
    // has ten characters (a block issued to its end at …249, …499 or …749 names the next
    // block's first number, as the block table always has); empty after …999.
    QString numberAfterHighest() const;
};

// The inv_range rows open on `ranges` (columns inv_start, inv_end and code), in their order.
QList<InvoiceRange> readRanges(Query& ranges);

// The blocks of `ranges`, range after range and in number order within each: from the block
// of the range's first number to the block before the one after its last number (both
// rounded to the nearest block, halves up; ranges of whole blocks divide exactly). A block
// that an earlier range already gave is not given again, so two ranges sharing a block give
// it once, with the earlier range's form. Throws DbError naming a range whose first or last
// number is not two letters and eight digits.
QList<InvoiceBlock> blocksOfRanges(const QList<InvoiceRange>& ranges);

// Sets `highest` of each block to the greatest value of `column` in `table` between the
// block's first and last number (compared as text, as the server orders them), with one
// statement whatever the number of blocks; nothing is sent for no blocks. Throws DbError
// for a failed statement, and naming an issued number that lies in a block but is not two
// letters and eight digits.
void findHighestIssued(Connection& cn, const QString& table, const QString& column,
                       QList<InvoiceBlock>& blocks);
