// The SQL console's work without its window: the lines it offers, the table list, and one
// statement run as a row-returning query or as a plain statement, its errors reduced to the
// console's two messages.
#pragma once

#include <QString>
#include <functional>

class Query;

namespace console {

// The command choice of the console, in the order of its items.
enum class Command { Select, Update, Insert, Delete, Other };

// The access word of the main window's hidden entry.
inline constexpr char accessWord[] = "GATEKEEPER";
// The console's caption: the access word with a capital first letter, then " 作業".
QString caption();

// The line the memo starts with.
QString firstLine();
// The template line a command choice appends; empty for Other.
QString templateLine(Command command);
// The statement of the table list.
QString tableListSql();
// The line a double-click on table `table` appends. A name that would not reach the server
// as written (capitals, blanks) is put in double quotes.
QString tableLine(const QString& table);

// The most rows a result keeps on screen; a larger one is read to its end and counted.
inline constexpr int rowLimit = 10000;

struct Outcome {
    enum class Kind {
        Rows,     // the query's rows are open
        Done,     // the statement ran
        Failed,   // message says so
        Stopped,  // the user stopped it; the server undid it
        NoCommand // the line is blank; nothing was sent
    };
    Kind kind = Kind::Failed;
    QString message; // for the message box, empty when there is none
    QString note;    // for the console's state line
};

// Runs `line` followed by one blank, exactly as it stands, in `qy` (closed first): opened as
// a row-returning query when `command` is Select ("查詢錯誤..." when that fails or the
// statement returns no rows, in which case it is not run), executed otherwise ("執行錯誤...");
// when the connection was lost the message adds the server's text.
// Keeps at most rowLimit rows. `running` is called about every 50 ms while the server works,
// with the rows received so far; returning false stops the statement. A line the station's
// encoding cannot hold is refused with the name of the character, before anything is sent.
// qy is closed after every outcome but Rows. Never throws.
Outcome run(Query& qy, Command command, const QString& line,
            const std::function<bool(qint64 rows)>& running = {});

} // namespace console
