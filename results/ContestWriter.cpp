#include "ContestWriter.h"

#include "ContestFile.h"
#include "Failure.h"

#include <QDir>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

struct ContestWriter::State
{
    QString folder;
    Write write;
    std::mutex mutex;
    std::condition_variable changed;
    std::optional<Contest> pending;
    bool writing = false;
    bool stopping = false;
    QString problem;

    void run()
    {
        ContestFile::removeLeftovers(folder);
        std::unique_lock lock(mutex);
        for (;;) {
            changed.wait(lock, [this] { return pending || stopping; });
            if (!pending)
                return;
            const Contest contest = std::move(*pending);
            pending.reset();
            writing = true;
            lock.unlock();
            QString failure;
            try {
                write(folder, contest);
            } catch (const Failure &f) {
                failure = f.message();
            } catch (const std::exception &e) {
                failure = QStringLiteral("Impossibile conservare la sfida nella cartella %1: %2")
                              .arg(QDir::cleanPath(folder), QString::fromLocal8Bit(e.what()));
            }
            lock.lock();
            writing = false;
            problem = failure;
            changed.notify_all();
        }
    }

    bool settle(std::unique_lock<std::mutex> &lock, int waitMs)
    {
        return changed.wait_for(lock, std::chrono::milliseconds(waitMs), [this] { return !pending && !writing; });
    }
};

ContestWriter::ContestWriter(const QString &folder)
    : ContestWriter(folder, [](const QString &f, const Contest &c) { ContestFile::write(f, c); })
{
}

ContestWriter::ContestWriter(const QString &folder, Write write)
    : m_state(std::make_shared<State>())
{
    m_state->folder = folder;
    m_state->write = std::move(write);
    // The thread owns the state with us, so it may outlive a writer that
    // could not wait for it.
    std::thread([state = m_state] { state->run(); }).detach();
}

ContestWriter::~ContestWriter()
{
    std::unique_lock lock(m_state->mutex);
    m_state->settle(lock, lastWriteMs);
    m_state->stopping = true;
    m_state->changed.notify_all();
}

void ContestWriter::keep(const Contest &contest)
{
    std::lock_guard lock(m_state->mutex);
    m_state->pending = contest;
    m_state->changed.notify_all();
}

QString ContestWriter::problem(int waitMs)
{
    std::unique_lock lock(m_state->mutex);
    if (!m_state->settle(lock, waitMs))
        return QStringLiteral("Impossibile conservare la sfida nella cartella %1: la cartella non risponde")
            .arg(QDir::cleanPath(m_state->folder));
    return m_state->problem;
}
