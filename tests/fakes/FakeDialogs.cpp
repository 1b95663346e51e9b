#include "FakeDialogs.h"

void FakeDialogs::MsgBox(const QString &text)
{
    shown << QStringLiteral("MsgBox ") + text;
    if (whileWaiting)
        whileWaiting();
}

QString FakeDialogs::InputBox(const QString &prompt, int)
{
    shown << QStringLiteral("InputBox ") + prompt;
    if (whileWaiting)
        whileWaiting();
    return name;
}
