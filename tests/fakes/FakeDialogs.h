#pragma once

#include "Dialogs.h"

#include <QStringList>
#include <functional>

// Records each box as "MsgBox <text>" or "InputBox <prompt>" and answers the
// input box with `name`. `whileWaiting` runs inside every box, standing in for
// the events (ticks, clicks) that a real modal box lets through.
class FakeDialogs : public Dialogs
{
public:
    QStringList shown;
    QString name;
    std::function<void()> whileWaiting;

    void MsgBox(const QString &text) override;
    QString InputBox(const QString &prompt, int maxLength) override;
};
