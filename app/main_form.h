// The main window TMainForm: the page of buttons that open the screens, the exit question,
// the schema upgrade on every activation and the single-instance lock.
#pragma once

#include "app/instance_lock.h"

#include <QWidget>
#include <functional>
#include <memory>

class Query;
class QPushButton;

class TMainForm : public QWidget {
    Q_OBJECT
public:
    explicit TMainForm(QWidget* parent = nullptr);
    ~TMainForm() override;

    // False when another copy of the program holds the lock: the program must end quietly.
    bool ownsInstanceLock() const { return lock_.held(); }

    QPushButton* button(const QString& name) const;

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    InstanceLock lock_;
    std::unique_ptr<Query> qy, qy1;
};
