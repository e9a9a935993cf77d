// The main window TMainForm: the page of buttons that open the screens, the hidden entry to
// the SQL console, the exit question, the schema upgrade on every activation and the
// single-instance lock.
#pragma once

#include "app/instance_lock.h"

#include <QWidget>
#include <memory>

class Query;
class QLabel;
class QLineEdit;
class QPushButton;

class TMainForm : public QWidget {
    Q_OBJECT
public:
    explicit TMainForm(QWidget* parent = nullptr);
    ~TMainForm() override;

    // False when another copy of the program holds the lock: the program must end quietly.
    bool ownsInstanceLock() const { return lock_.held(); }

    QPushButton* button(const QString& name) const;
    QLabel* Panel3 = nullptr;
    QLineEdit* Edit1 = nullptr;

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void Panel3DblClick();
    void Edit1Change(const QString& text);

    InstanceLock lock_;
    std::unique_ptr<Query> qy, qy1;
};
