#pragma once

#include "Measures.h"
#include "ResultsFolder.h"

#include <QStringList>

// The contests read from the teacher's folders, and what is worked out of
// them once per reading: each pupil with a summary and the ten facts.
class Classroom
{
public:
    struct Row
    {
        Measures::Pupil pupil;
        Measures::Summary summary;
        QList<Measures::Fact> facts;
    };

    // No roots means the current user's own results.
    void load(const QStringList &roots);
    void reload() { load(m_roots); }

    const QStringList &roots() const { return m_roots; }
    const ResultsFolder::Found &found() const { return m_found; }
    const QList<Row> &rows() const { return m_rows; }

private:
    QStringList m_roots;
    ResultsFolder::Found m_found;
    QList<Row> m_rows;
};
