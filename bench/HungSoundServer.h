#pragma once

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

// A sound server that takes every connection and never answers, the way a
// stuck one looks to its clients. Point PULSE_SERVER at address().
class HungSoundServer
{
public:
    HungSoundServer()
    {
        const QByteArray path = QFile::encodeName(m_dir.filePath(QStringLiteral("native")));
        sockaddr_un addr{};
        addr.sun_family = AF_UNIX;
        if (size_t(path.size()) >= sizeof addr.sun_path)
            return;
        std::memcpy(addr.sun_path, path.constData(), size_t(path.size()));
        m_fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        // The kernel completes connections up to the backlog without an accept().
        if (m_fd < 0 || ::bind(m_fd, reinterpret_cast<sockaddr *>(&addr), sizeof addr) != 0 || ::listen(m_fd, 64) != 0)
            return;
        m_address = "unix:" + path;
    }
    ~HungSoundServer()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    HungSoundServer(const HungSoundServer &) = delete;
    HungSoundServer &operator=(const HungSoundServer &) = delete;

    // Empty when the socket could not be made.
    QByteArray address() const { return m_address; }

private:
    QTemporaryDir m_dir;
    int m_fd = -1;
    QByteArray m_address;
};
