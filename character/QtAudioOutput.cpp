#include "QtAudioOutput.h"

#include "SoundDevice.h"

#include <QDeadlineTimer>
#include <QThread>
#include <cstdio>
#include <cstdlib>

namespace {
// A working sink stops within milliseconds. A sound thread still busy after
// this waits on a stuck sound server, and the program does not wait with it.
constexpr int stopWaitMs = 300;

void endAtOnce(int status, void *)
{
    std::fflush(nullptr);
    std::_Exit(status);
}
}

QtAudioOutput::QtAudioOutput(QObject *parent)
    : QObject(parent)
    , m_line(std::make_shared<SoundLine>())
    , m_thread(new QThread)
    , m_device(new SoundDevice(m_line))
{
    m_thread->setObjectName(QStringLiteral("sound"));
    m_device->moveToThread(m_thread);
    connect(m_thread, &QThread::finished, m_device, &QObject::deleteLater);
    m_thread->start();
    // Finding the device is the slow part; it is done before the first words.
    QMetaObject::invokeMethod(m_device, [device = m_device] { device->lookUp(); }, Qt::QueuedConnection);
}

QtAudioOutput::~QtAudioOutput()
{
    QMetaObject::invokeMethod(m_device, [device = m_device] {
        device->close();
        QThread::currentThread()->quit();
    }, Qt::QueuedConnection);
    // A thread still busy after the wait is stuck on the sound server; it
    // owns its device and shares only the line, so it is left to end with
    // the process.
    if (m_thread->wait(QDeadlineTimer(stopWaitMs)))
        delete m_thread;
    // The process ends before the libraries are torn down, which cannot be
    // done safely once the sound server has been talked to. Qt Multimedia
    // (6.4) drops its connection to the server at exit without taking the
    // lock of its own thread, and that thread is then still answering the
    // server's notices about the sink just closed: the two corrupt the sound
    // library's lists and the process aborts after its work is done. A stuck
    // sound thread would make the same clean-up wait, as it holds a lock Qt
    // Multimedia takes there. Everything of this program has been destroyed
    // by then. Handlers run last registered first, so registering here, after
    // the thread set the library up, puts this one ahead of its clean-up.
    on_exit(endAtOnce, nullptr);
}

bool QtAudioOutput::open(int sampleRate)
{
    QMutexLocker lock(&m_line->mutex);
    if (m_line->rate == sampleRate)
        return true;
    if (!m_line->asking) {
        m_line->asking = true;
        m_line->rate = 0;
        m_line->queued.clear();
        QMetaObject::invokeMethod(m_device, [device = m_device, sampleRate] { device->open(sampleRate); },
                                  Qt::QueuedConnection);
    }
    return false;
}

qint64 QtAudioOutput::push(const char *data, qint64 size)
{
    QMutexLocker lock(&m_line->mutex);
    if (m_line->rate == 0 || m_line->asking)
        return 0;
    const qint64 n = qMin(size, m_line->capacity - m_line->queued.size()) & ~qint64(1);
    if (n <= 0)
        return 0;
    m_line->queued.append(data, n);
    m_line->taken += n;
    if (!m_line->feeding) {
        m_line->feeding = true;
        QMetaObject::invokeMethod(m_device, [device = m_device] { device->feed(); }, Qt::QueuedConnection);
    }
    return n;
}

qint64 QtAudioOutput::bytesTaken() const
{
    QMutexLocker lock(&m_line->mutex);
    return m_line->taken;
}

qint64 QtAudioOutput::playedUs() const
{
    QMutexLocker lock(&m_line->mutex);
    return m_line->playedUs;
}
