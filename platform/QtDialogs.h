#pragma once

#include "Dialogs.h"

class QWidget;

class QtDialogs : public Dialogs
{
public:
    static const QString title;

    // Boxes are centred over the parent, once one is given.
    void setParent(QWidget *parent) { m_parent = parent; }

    void MsgBox(const QString &text) override;
    QString InputBox(const QString &prompt, int maxLength) override;

private:
    QWidget *m_parent = nullptr;
};
