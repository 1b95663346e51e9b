#include "Classroom.h"

void Classroom::load(const QStringList &roots)
{
    m_roots = roots.isEmpty() ? QStringList{ResultsFolder::own()} : roots;
    m_found = ResultsFolder::gather(m_roots);
    m_rows.clear();
    const QList<Measures::Pupil> pupils = Measures::pupils(m_found.contests);
    m_rows.reserve(pupils.size());
    for (const Measures::Pupil &pupil : pupils)
        m_rows.append({pupil, Measures::summary(pupil), Measures::facts(pupil.contests)});
}
