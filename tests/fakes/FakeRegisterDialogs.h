#pragma once

#include "RegisterDialogs.h"

#include <QPrinter>
#include <QStringList>

// Logs each box the register opens and gives the answers set beforehand.
struct FakeRegisterDialogs : RegisterDialogs
{
    QStringList shown;
    bool yes = false;
    QString path;
    std::optional<QDate> date;
    QDate proposedDate;

    bool confirm(const QString &question) override { shown << "confirm " + question; return yes; }
    void message(const QString &text) override { shown << "message " + text; }
    QString saveFile(const QString &caption, const QString &, const QString &) override { shown << "save " + caption; return path; }
    QString chooseFolder(const QString &caption) override { shown << "folder " + caption; return path; }
    std::optional<QDate> chooseDate(const QString &prompt, const QDate &proposed) override
    {
        shown << "date " + prompt;
        proposedDate = proposed;
        return date;
    }
    // Prints to the PDF file `path`, as a teacher choosing "print to file" would.
    bool choosePrinter(QPrinter &printer) override
    {
        shown << "printer";
        if (path.isEmpty())
            return false;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        return true;
    }
};
