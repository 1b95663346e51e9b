#include "ScreenCheck.h"

#include <QStringList>

#include <cstdio>
#include <cstdlib>

namespace {

QStringList held;

void holdOrLeave(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtFatalMsg) {
        std::fputs("Decalumo ha bisogno di uno schermo grafico: avvialo dal desktop, in una sessione grafica.\n",
                   stderr);
        std::fflush(stderr);
        // Not exit(): the half-built application must not run its destructors.
        std::_Exit(1);
    }
    held << qFormatLogMessage(type, context, message);
}

} // namespace

ScreenCheck::ScreenCheck()
    : m_previous(qInstallMessageHandler(holdOrLeave))
{
}

ScreenCheck::~ScreenCheck()
{
    passed();
}

void ScreenCheck::passed()
{
    if (!m_active)
        return;
    m_active = false;
    qInstallMessageHandler(m_previous);
    for (const QString &line : std::as_const(held))
        std::fprintf(stderr, "%s\n", qPrintable(line));
    held.clear();
}
