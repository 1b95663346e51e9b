#pragma once

#include "Contest.h"

#include <QDialog>

// Every answer of one contest, as the pupil typed it.
class AnswersDialog : public QDialog
{
    Q_OBJECT
public:
    AnswersDialog(const QString &pupil, const Contest &contest, QWidget *parent = nullptr);
};
