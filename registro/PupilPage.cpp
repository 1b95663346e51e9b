#include "PupilPage.h"

#include "AnswersDialog.h"
#include "FactLevel.h"
#include "FactModel.h"
#include "Figures.h"
#include "SafeText.h"
#include "ScoreChart.h"

#include <QChart>
#include <QChartView>
#include <QHeaderView>
#include <QLabel>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>

PupilPage::PupilPage(QWidget *parent)
    : QWidget(parent), m_title(new QLabel(this)), m_chart(new QChartView(this)),
      m_facts(new FactModel(FactModel::Cells::Full, this)), m_grid(new QTableView(this)),
      m_contests(new QTableWidget(0, 6, this))
{
    QFont big = m_title->font();
    big.setPointSizeF(big.pointSizeF() * 1.4);
    big.setBold(true);
    m_title->setFont(big);
    m_title->setTextFormat(Qt::PlainText);

    m_chart->setRenderHint(QPainter::Antialiasing);
    m_chart->setAccessibleName(QStringLiteral("Grafico del punteggio e degli errori"));
    m_chart->setMinimumHeight(300);
    m_chart->setFocusPolicy(Qt::NoFocus);

    m_grid->setModel(m_facts);
    m_grid->setAccessibleName(QStringLiteral("Tabellina dell'alunno: esatte, tempo mediano e fatti sicuri"));
    m_grid->verticalHeader()->hide();
    m_grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_grid->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_grid->setWordWrap(true);
    m_grid->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    m_grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto *legend = new QLabel(FactLevel::legend(), this);
    legend->setWordWrap(true);

    m_contests->setAccessibleName(QStringLiteral("Sfide dell'alunno; Invio apre le risposte"));
    m_contests->setHorizontalHeaderLabels({QStringLiteral("Data"), QStringLiteral("Computer"), QStringLiteral("Durata"),
                                           QStringLiteral("Esatte"), QStringLiteral("Errate"), QStringLiteral("Fine")});
    m_contests->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_contests->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_contests->setSelectionMode(QAbstractItemView::SingleSelection);
    m_contests->verticalHeader()->hide();
    m_contests->horizontalHeader()->setStretchLastSection(true);
    connect(m_contests, &QTableWidget::activated, this, [this](const QModelIndex &index) { openAnswers(index.row()); });

    auto *contestsLabel = new QLabel(QStringLiteral("&Sfide (Invio apre le risposte):"), this);
    contestsLabel->setBuddy(m_contests);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_title);
    layout->addWidget(m_chart, 3);
    layout->addWidget(m_grid);
    layout->addWidget(legend);
    layout->addWidget(contestsLabel);
    layout->addWidget(m_contests, 2);
    m_contests->setMinimumHeight(200);
    clear();
}

void PupilPage::clear()
{
    m_row.reset();
    m_title->setText(QStringLiteral("Scegli un alunno nella tabella della classe e premi Invio."));
    m_chart->setChart(new QChart);
    m_facts->show({});
    m_contests->setRowCount(0);
}

void PupilPage::showPupil(const Classroom::Row &row)
{
    m_row = row;
    m_title->setText(SafeText::shown(row.pupil.name, 60));
    m_chart->setChart(ScoreChart::make(row.pupil.contests));
    m_facts->show({{row.pupil.name, row.facts}});

    const QList<Contest> &contests = row.pupil.contests;
    m_contests->setRowCount(int(contests.size()));
    for (int i = 0; i < contests.size(); ++i) {
        const Contest &c = contests.at(contests.size() - 1 - i);
        const QString cells[] = {Figures::date(c.start), SafeText::shown(c.computer, 24), Figures::duration(c.durationMs),
                                 QString::number(c.right()), QString::number(c.wrong()), endingName(c.ending)};
        for (int col = 0; col < 6; ++col)
            m_contests->setItem(i, col, new QTableWidgetItem(cells[col]));
    }
    m_contests->resizeColumnsToContents();
    m_grid->resizeRowsToContents();
    m_grid->setFixedHeight(m_grid->horizontalHeader()->height() + m_grid->rowHeight(0) + 2 * m_grid->frameWidth());
    if (!contests.isEmpty())
        m_contests->setCurrentCell(0, 0);
}

void PupilPage::openAnswers(int listRow)
{
    if (!m_row || listRow < 0 || listRow >= m_row->pupil.contests.size())
        return;
    const Contest &contest = m_row->pupil.contests.at(m_row->pupil.contests.size() - 1 - listRow);
    auto *dialog = new AnswersDialog(m_row->pupil.name, contest, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
}
