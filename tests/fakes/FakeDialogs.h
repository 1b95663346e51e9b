#pragma once

#include "Dialogs.h"

#include <QStringList>
#include <functional>

// Logs each box as "MsgBox <text>" or "InputBox <prompt>" and answers the
// input box with `name`. `whileWaiting` runs inside every box, standing in for
// the events (ticks, clicks) that a real modal box lets through.
struct FakeDialogs : Dialogs
{
    QStringList shown;
    QString name;
    std::function<void()> whileWaiting;

    void MsgBox(const QString &text) override { wait("MsgBox " + text); }
    QString InputBox(const QString &prompt, int) override { return wait("InputBox " + prompt); }
    QString wait(const QString &box) { shown << box; if (whileWaiting) whileWaiting(); return name; }
};
