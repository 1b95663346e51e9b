#pragma once

#include "RegisterDialogs.h"

class QWidget;

class QtRegisterDialogs : public RegisterDialogs
{
public:
    static const QString title;

    void setParent(QWidget *parent) { m_parent = parent; }

    bool confirm(const QString &question) override;
    void message(const QString &text) override;
    QString saveFile(const QString &caption, const QString &suggested, const QString &filter) override;
    QString chooseFolder(const QString &caption) override;
    std::optional<QDate> chooseDate(const QString &prompt, const QDate &proposed) override;
    bool choosePrinter(QPrinter &printer) override;

private:
    QWidget *m_parent = nullptr;
};
