#ifndef KOVTHREAD_H
#define KOVTHREAD_H

#include <QObject>
#include <QThread>

#include <functional>

// Runs one task on a thread of its own, then deletes itself through the event
// loop of the thread that started it. Callers keep no handle and never wait;
// whatever the task shares with the interface thread it synchronises itself.
class KOVThread : public QThread
{
    Q_OBJECT
public:
    explicit KOVThread(QObject* parent = nullptr);
    ~KOVThread() override;

    static KOVThread* run(std::function<void()> func);

protected:
    void run() override;

private:
    std::function<void()> m_func;
};

// Kept for callers that want a function run by a queued slot; nothing in the
// application makes one today.
class KOVSync : public QObject
{
    Q_OBJECT
public:
    explicit KOVSync(std::function<void()> func, QObject* parent = nullptr);

public slots:
    void doSync();

private:
    std::function<void()> m_func;
};

#endif // KOVTHREAD_H
