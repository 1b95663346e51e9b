#include "Tavola.h"

#include "Character.h"
#include "Clock.h"
#include "ContestLog.h"
#include "FormLabel.h"
#include "ResultsFolder.h"

#include <QLineEdit>
#include <QPointer>
#include <QSysInfo>
#include <QTimeZone>

namespace {
// Long enough for a healthy network home, short enough that the pupil never
// waits on a dead one: the goodbye box has usually given it all the time it needs.
constexpr int settleMs = 2000;
}

void Tavola::keepContests(ContestLog &log, const Clock &clock)
{
    m_log = &log;
    m_clock = &clock;
}

void Tavola::beginContest()
{
    if (!m_log)
        return;
    const QDateTime now = QDateTime::currentDateTime();
    m_contest.start = now.toTimeZone(QTimeZone(now.offsetFromUtc()));
    m_contest.computer = QSysInfo::machineHostName();
    m_contest.id = ResultsFolder::newId(m_contest.start, m_contest.computer);
    m_contest.pupil = lblnome1->caption();
    m_startedAt = m_clock->now();
}

void Tavola::questionAsked(Character &merlin)
{
    if (!m_log)
        return;
    m_heardAt.reset();
    const quint64 question = ++m_question;
    merlin.whenDone([window = QPointer<Tavola>(this), question] {
        if (window && window->m_question == question)
            window->m_heardAt = window->m_clock->now();
    });
}

void Tavola::answerJudged(bool right)
{
    if (m_contest.id.isEmpty() || m_contestOver)
        return;
    // An Enter before the last word of the question was heard took no time to think.
    const qint64 timeMs = m_heardAt ? qMax<qint64>(0, m_clock->now() - *m_heardAt) : 0;
    m_contest.answers.append(Answer{int(m_contest.answers.size()) + 1, factor, Text3->text(), right, timeMs});
    keepContest();
}

void Tavola::contestEnded(std::optional<Ending> ending)
{
    if (m_contest.id.isEmpty() || m_contestOver)
        return;
    m_contestOver = true;
    m_contest.ending = ending;
    keepContest();
}

void Tavola::keepContest()
{
    m_contest.durationMs = m_clock->now() - m_startedAt;
    m_log->keep(m_contest);
}

QString Tavola::keepingProblem()
{
    return m_contest.id.isEmpty() ? QString() : m_log->problem(settleMs);
}
