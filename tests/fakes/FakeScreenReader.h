#pragma once

#include "ScreenReader.h"

#include <QStringList>

// A screen reader that is always running and keeps what it is told.
struct FakeScreenReader : ScreenReader
{
    QStringList said;
    bool running() const override { return true; }
    void say(const QString &text) override { said << text; }
};
