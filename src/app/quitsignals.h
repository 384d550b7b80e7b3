#pragma once

#include <QObject>

class QSocketNotifier;

// SIGTERM, SIGINT and SIGHUP, which would end the program on the spot, are
// turned into requested() on the event loop, so that the program can end as
// a close of its main window does. A signal the program was started with
// ignored stays ignored. One object at a time; it puts back the handling it
// found when destroyed.
class QuitSignals final : public QObject {
    Q_OBJECT
public:
    explicit QuitSignals(QObject *parent = nullptr);
    ~QuitSignals() override;

signals:
    void requested();

private:
    QSocketNotifier *m_notifier = nullptr;
};
