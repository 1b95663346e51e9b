#include "QtProgram.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

void QtProgram::End(int status)
{
    for (QWidget *window : QApplication::topLevelWidgets())
        window->hide();
    // The first reason to end is the one the process reports.
    if (m_status)
        return;
    m_status = status;
    // Queued, so that it also ends a program whose event loop has not started yet.
    QTimer::singleShot(0, qApp, [status] { QCoreApplication::exit(status); });
}
