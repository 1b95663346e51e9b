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
    if (m_thread->wait(QDeadlineTimer(stopWaitMs))) {
        delete m_thread;
        return;
    }
    // The thread is stuck on the sound server; it owns its device and shares
    // only the line, so it is left to end with the process. The sound
    // library's own clean-up at exit would wait for it, though (Qt Multimedia
    // takes the lock the thread holds while it looks for the device), so the
    // process ends before the libraries are torn down. Everything of this
    // program has been destroyed by then.
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
