#pragma once

#include <QtGlobal>

// Qt ends a program that finds no screen with English words and an abort.
// From construction until passed(), that end becomes one Italian line on
// standard error and the exit status 1. What Qt says meanwhile is held back
// and written out once a screen is found, so that a failed start shows only
// the line that matters.
class ScreenCheck
{
public:
    ScreenCheck();
    ~ScreenCheck();

    // A screen was found: Qt's messages go their usual way again.
    void passed();

    ScreenCheck(const ScreenCheck &) = delete;
    ScreenCheck &operator=(const ScreenCheck &) = delete;

private:
    QtMessageHandler m_previous = nullptr;
    bool m_active = true;
};
