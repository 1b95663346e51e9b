#pragma once

#include <QDate>
#include <QString>

#include <optional>

class QPrinter;

// The boxes the register asks the teacher through; a test answers them.
class RegisterDialogs
{
public:
    virtual ~RegisterDialogs() = default;

    virtual bool confirm(const QString &question) = 0;
    virtual void message(const QString &text) = 0;
    // A path to write, or empty when the teacher cancels.
    virtual QString saveFile(const QString &caption, const QString &suggested, const QString &filter) = 0;
    virtual QString chooseFolder(const QString &caption) = 0;
    virtual std::optional<QDate> chooseDate(const QString &prompt, const QDate &proposed) = 0;
    // Sets the printer up for the teacher's choice; false when cancelled.
    virtual bool choosePrinter(QPrinter &printer) = 0;
};
