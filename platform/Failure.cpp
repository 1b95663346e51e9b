#include "Failure.h"

Failure::Failure(QString message)
    : m_message(std::move(message))
    , m_utf8(m_message.toUtf8())
{
}

const char *Failure::what() const noexcept
{
    return m_utf8.constData();
}
