#pragma once

#include <QString>
#include <exception>

// A failing file or character operation. The message is Italian and is shown
// to the pupil as it stands, so it names the operation, the path and the reason.
class Failure : public std::exception
{
public:
    explicit Failure(QString message);

    const QString &message() const { return m_message; }
    const char *what() const noexcept override;

private:
    QString m_message;
    QByteArray m_utf8;
};
