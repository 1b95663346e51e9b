#include "AnswersDialog.h"

#include "Figures.h"
#include "SafeText.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

AnswersDialog::AnswersDialog(const QString &pupil, const Contest &contest, QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Risposte di %1").arg(SafeText::shown(pupil)));
    auto *heading = new QLabel(QStringLiteral("Sfida del %1 su %2: %3 esatte, %4 errate, %5")
                                   .arg(Figures::date(contest.start), SafeText::shown(contest.computer))
                                   .arg(contest.right()).arg(contest.wrong())
                                   .arg(endingName(contest.ending)), this);
    heading->setWordWrap(true);

    auto *table = new QTableWidget(int(contest.answers.size()), 5, this);
    table->setAccessibleName(QStringLiteral("Risposte della sfida"));
    table->setHorizontalHeaderLabels({QStringLiteral("N."), QStringLiteral("Domanda"), QStringLiteral("Risposta"),
                                      QStringLiteral("Esito"), QStringLiteral("Tempo")});
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->verticalHeader()->hide();
    for (int i = 0; i < contest.answers.size(); ++i) {
        const Answer &a = contest.answers.at(i);
        const QString cells[] = {QString::number(a.n), QStringLiteral("10 × %1").arg(a.factor),
                                 a.typed.isEmpty() ? QStringLiteral("(vuota)") : SafeText::shown(a.typed, 20),
                                 a.right ? QStringLiteral("esatta") : QStringLiteral("errata"), Figures::seconds(a.timeMs)};
        for (int c = 0; c < 5; ++c)
            table->setItem(i, c, new QTableWidgetItem(cells[c]));
    }
    table->resizeColumnsToContents();
    table->horizontalHeader()->setStretchLastSection(true);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(table);
    layout->addWidget(buttons);
    resize(520, 560);
}
