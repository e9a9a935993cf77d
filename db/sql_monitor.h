// The SQL trace monitor: the connection's latest events in memory and, when tracing is on,
// one line per event appended to the trace file.
#pragma once

#include <QDateTime>
#include <QString>
#include <deque>
#include <functional>

enum class TraceCategory { Connect, Disconnect, Transaction, Execute, Other };

struct TraceEvent {
    QDateTime time;
    TraceCategory category = TraceCategory::Other;
    QString protocol;  // "postgresql"
    QString message;   // for Execute: the statement as sent, parameter values in it
    int errorCode = 0; // both empty when the statement succeeded
    QString errorText;
};

// The trace line of `event`, without the line end: time stamp, " cat: " and the category,
// ", proto: " and the protocol when there is one, ", msg: " and the message, and when the
// event has an error ", errcode: " with the code and ", error: " with the text. Line breaks
// inside the message and the error become blanks, so each event stays one line.
QString formatTraceLine(const TraceEvent& event);

class SqlMonitor {
public:
    static constexpr std::size_t maxEvents = 100;

    // The trace file; relative names are relative to the working folder.
    void setFileName(const QString& name) { fileName_ = name; }
    const QString& fileName() const { return fileName_; }
    // Automatic saving: each event is appended to the file at once.
    void setAutoSave(bool on) { autoSave_ = on; }
    bool autoSave() const { return autoSave_; }
    void setActive(bool on) { active_ = on; }
    bool active() const { return active_; }

    // Keeps `event` (dropping the oldest beyond 100) and, when active with automatic saving
    // and a file name, appends its line, ended by CR LF, in Big5. The file is opened,
    // written and closed for each event. A line the file does not take whole (a full disk)
    // is cut off again, so the file keeps only whole lines; a file that cannot be written
    // never stops the work: onFileError says so, and the next event tries again.
    void trace(const TraceEvent& event);

    // Called with a message naming the file and the reason when the trace file cannot be
    // written, once until a line is written again.
    std::function<void(const QString& message)> onFileError;

    const std::deque<TraceEvent>& events() const { return events_; }

private:
    QString fileName_;
    bool autoSave_ = false;
    bool active_ = false;
    bool fileFailing_ = false;
    std::deque<TraceEvent> events_;
};
