#pragma once

#include <QHash>
#include <QObject>
#include <QString>

#include <condition_variable>
#include <memory>
#include <mutex>

class QTimer;

// What the looks found, for any thread to read.
struct Seen
{
    std::mutex mutex;
    std::condition_variable answered;
    bool looked = false;
    bool found = false;
};

// Looks on this session's accessibility bus for a screen reader's
// connection, every half second once begun. Its calls wait on the bus, so
// it runs on a thread of its own.
class BusLook : public QObject
{
    Q_OBJECT

public:
    explicit BusLook(std::shared_ptr<Seen> seen);
    ~BusLook() override;

    void begin();

signals:
    void looked(bool found);

private:
    void look();
    bool connected();
    bool isScreenReaderConnection(const QString &uniqueName);

    std::shared_ptr<Seen> m_seen;
    QTimer *m_timer;
    QString m_busName;
    bool m_onBus = false;
    // Unique names are never reused on a bus, so each is asked about once.
    QHash<QString, bool> m_known;
};
