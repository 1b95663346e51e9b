#pragma once

#include "ResultsFolder.h"

#include <QWidget>

class QLabel;
class QPushButton;
class RegisterDialogs;

// What was read, and how many files were skipped: their paths and reasons
// are in the tooltip and, by keyboard, behind the "Dettagli" button.
class StatusLine : public QWidget
{
    Q_OBJECT
public:
    StatusLine(RegisterDialogs &dialogs, QWidget *parent = nullptr);

    void showFound(const ResultsFolder::Found &found, int pupils, int folders);
    QString text() const;
    QString details() const;

private:
    RegisterDialogs &m_dialogs;
    QLabel *m_label;
    QPushButton *m_details;
    QString m_detailsText;
};
