#pragma once

#include <QString>

// Modal boxes titled with the program's name, with one OK button and no icon.
// Both wait for the pupil; events such as timer ticks may still be handled meanwhile.
class Dialogs
{
public:
    virtual ~Dialogs() = default;

    virtual void MsgBox(const QString &text) = 0;
    // The typed text, at most maxLength characters, or the empty string when
    // the pupil cancels.
    virtual QString InputBox(const QString &prompt, int maxLength) = 0;
};
