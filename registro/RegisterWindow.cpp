#include "RegisterWindow.h"

#include "ClassModel.h"
#include "Csv.h"
#include "FactLevel.h"
#include "FactModel.h"
#include "PupilPage.h"
#include "PupilSheet.h"
#include "RegisterDialogs.h"
#include "SafeText.h"
#include "SchoolYear.h"
#include "StatusLine.h"

#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>
#include <QScreen>
#include <QScrollArea>
#include <QSortFilterProxyModel>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace {
constexpr int pupilTab = 2;
}

RegisterWindow::RegisterWindow(RegisterDialogs &dialogs, const QStringList &roots, const QDate &today, QWidget *parent)
    : QMainWindow(parent), m_dialogs(dialogs), m_today(today), m_classModel(new ClassModel(this)),
      m_sorted(new QSortFilterProxyModel(this)), m_factModel(new FactModel(FactModel::Cells::Brief, this)),
      m_tabs(new QTabWidget(this)), m_classTable(new QTableView(this)), m_classFacts(new QTableView(this)),
      m_page(new PupilPage(this)), m_status(new StatusLine(dialogs, this))
{
    setWindowTitle(QStringLiteral("Registro di Decalumo"));

    m_sorted->setSourceModel(m_classModel);
    m_sorted->setSortRole(ClassModel::SortRole);
    m_classTable->setModel(m_sorted);
    m_classTable->setSortingEnabled(true);
    m_classTable->sortByColumn(ClassModel::Name, Qt::AscendingOrder);
    m_classTable->setAccessibleName(QStringLiteral("La classe: un alunno per riga; Invio apre la sua pagina"));
    m_classFacts->setModel(m_factModel);
    m_classFacts->setAccessibleName(QStringLiteral("I fatti della classe: un alunno per riga, 10 per 1 … 10 per 10"));
    m_classFacts->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    for (QTableView *table : {m_classTable, m_classFacts}) {
        table->setSelectionBehavior(QAbstractItemView::SelectRows);
        table->setSelectionMode(QAbstractItemView::SingleSelection);
        table->setEditTriggers(QAbstractItemView::NoEditTriggers);
        table->setTabKeyNavigation(false);
    }
    m_classTable->verticalHeader()->hide();
    m_classTable->horizontalHeader()->setStretchLastSection(true);

    connect(m_classTable->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) { choosePupil(m_sorted->mapToSource(current).row()); });
    connect(m_classTable, &QTableView::activated, this, [this] { m_tabs->setCurrentIndex(pupilTab); });
    connect(m_classFacts, &QTableView::activated, this, [this](const QModelIndex &index) {
        m_classTable->selectRow(m_sorted->mapFromSource(m_classModel->index(index.row(), 0)).row());
        m_tabs->setCurrentIndex(pupilTab);
    });

    m_tabs->addTab(m_classTable, QStringLiteral("&Classe"));
    auto *facts = new QWidget(this);
    auto *factsLayout = new QVBoxLayout(facts);
    factsLayout->addWidget(m_classFacts);
    auto *legend = new QLabel(FactLevel::legend(), facts);
    legend->setWordWrap(true);
    factsLayout->addWidget(legend);
    m_tabs->addTab(facts, QStringLiteral("&Fatti della classe"));
    // A small or scaled-up window scrolls the page rather than squeezing the chart.
    auto *pageScroll = new QScrollArea(this);
    pageScroll->setWidget(m_page);
    pageScroll->setWidgetResizable(true);
    pageScroll->setFrameShape(QFrame::NoFrame);
    m_tabs->addTab(pageScroll, QStringLiteral("A&lunno"));
    setCentralWidget(m_tabs);
    statusBar()->addWidget(m_status, 1);
    buildMenus();
    // At a large scale factor the usual size would not fit on a laptop's screen.
    resize(QSize(1000, 700).boundedTo(screen()->availableSize() * 0.9));
    load(roots);
    m_classTable->setFocus();
}

void RegisterWindow::buildMenus()
{
    QMenu *registro = menuBar()->addMenu(QStringLiteral("&Registro"));
    registro->addAction(QStringLiteral("&Aggiungi una cartella…"), QKeySequence::Open, this, &RegisterWindow::addFolder);
    registro->addAction(QStringLiteral("&Rileggi"), QKeySequence::Refresh, this, [this] { load(m_classroom.roots()); });
    registro->addSeparator();
    registro->addAction(QStringLiteral("&Esporta le risposte…"), this, &RegisterWindow::exportAnswers);
    registro->addAction(QStringLiteral("Esporta le &sfide…"), this, &RegisterWindow::exportContests);
    registro->addSeparator();
    registro->addAction(QStringLiteral("Elimina i risultati &prima di una data…"), this, &RegisterWindow::deleteBefore);
    registro->addSeparator();
    registro->addAction(QStringLiteral("&Chiudi"), QKeySequence::Quit, this, &QWidget::close);

    QMenu *pupil = menuBar()->addMenu(QStringLiteral("&Alunno"));
    pupil->addAction(QStringLiteral("&Stampa la pagina…"), QKeySequence::Print, this, &RegisterWindow::printPupil);
    pupil->addAction(QStringLiteral("Salva la pagina in &PDF…"), this, &RegisterWindow::savePupilPdf);
    pupil->addSeparator();
    pupil->addAction(QStringLiteral("&Elimina i risultati dell'alunno…"), this, &RegisterWindow::deletePupil);
}

void RegisterWindow::load(const QStringList &roots)
{
    m_classroom.load(roots);
    showRows();
}

void RegisterWindow::showRows()
{
    const QList<Classroom::Row> &rows = m_classroom.rows();
    m_classModel->show(rows);
    QList<FactModel::Row> facts;
    facts.reserve(rows.size());
    for (const Classroom::Row &row : rows)
        facts.append({row.pupil.name, row.facts});
    m_factModel->show(facts);
    m_classTable->resizeColumnsToContents();
    m_page->clear();
    if (!rows.isEmpty())
        m_classTable->selectRow(0);
    m_status->showFound(m_classroom.found(), int(rows.size()), int(m_classroom.roots().size()));
}

void RegisterWindow::choosePupil(int classRow)
{
    if (classRow >= 0 && classRow < m_classroom.rows().size())
        m_page->showPupil(m_classroom.rows().at(classRow));
    else
        m_page->clear();
}

const Classroom::Row *RegisterWindow::currentPupil() const
{
    if (m_page->hasPupil())
        return &m_page->row();
    m_dialogs.message(QStringLiteral("Scegli prima un alunno nella tabella della classe."));
    return nullptr;
}

void RegisterWindow::addFolder()
{
    const QString folder = m_dialogs.chooseFolder(QStringLiteral("Aggiungi la cartella dei risultati"));
    if (folder.isEmpty())
        return;
    QStringList roots = m_classroom.roots();
    roots.append(folder);
    load(roots);
}

void RegisterWindow::exportCsv(const QString &caption, const QString &name, const QByteArray &bytes)
{
    const QString path = m_dialogs.saveFile(caption, name, QStringLiteral("Testo CSV (*.csv)"));
    if (path.isEmpty())
        return;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        m_dialogs.message(QStringLiteral("Non riesco a scrivere %1: %2").arg(path, file.errorString()));
}

void RegisterWindow::exportAnswers()
{
    exportCsv(QStringLiteral("Esporta le risposte"), QStringLiteral("risposte.csv"), Csv::risposte(m_classroom.found().contests));
}

void RegisterWindow::exportContests()
{
    exportCsv(QStringLiteral("Esporta le sfide"), QStringLiteral("sfide.csv"), Csv::sfide(m_classroom.found().contests));
}

void RegisterWindow::printPupil()
{
    const Classroom::Row *row = currentPupil();
    if (!row)
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setDocName(QStringLiteral("Registro di Decalumo: %1").arg(SafeText::shown(row->pupil.name)));
    if (!m_dialogs.choosePrinter(printer))
        return;
    PupilSheet::print(printer, *row);
}

void RegisterWindow::savePupilPdf()
{
    const Classroom::Row *row = currentPupil();
    if (!row)
        return;
    const QString path = m_dialogs.saveFile(QStringLiteral("Salva la pagina in PDF"), QStringLiteral("alunno.pdf"),
                                            QStringLiteral("Documento PDF (*.pdf)"));
    if (path.isEmpty())
        return;
    QPdfWriter pdf(path);
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
    pdf.setResolution(300);
    pdf.setTitle(QStringLiteral("Registro di Decalumo: %1").arg(SafeText::shown(row->pupil.name)));
    PupilSheet::print(pdf, *row);
}

void RegisterWindow::deletePupil()
{
    const Classroom::Row *row = currentPupil();
    if (!row)
        return;
    const QString name = row->pupil.name;
    if (!m_dialogs.confirm(QStringLiteral("Eliminare tutti i risultati di «%1» (%2 sfide)? Non si potranno recuperare.")
                               .arg(SafeText::shown(name)).arg(row->pupil.contests.size())))
        return;
    afterRemoving(ResultsFolder::removePupil(m_classroom.found(), name));
}

void RegisterWindow::deleteBefore()
{
    const std::optional<QDate> day = m_dialogs.chooseDate(
        QStringLiteral("Eliminare i risultati delle sfide giocate prima di questo giorno:"), SchoolYear::start(m_today));
    if (!day)
        return;
    const auto before = std::count_if(m_classroom.found().contests.cbegin(), m_classroom.found().contests.cend(),
                                      [&](const Contest &c) { return c.start.date() < *day; });
    if (before == 0) {
        m_dialogs.message(QStringLiteral("Nessuna sfida è stata giocata prima del %1.").arg(day->toString(QStringLiteral("dd/MM/yyyy"))));
        return;
    }
    if (!m_dialogs.confirm(QStringLiteral("Eliminare %1 sfide giocate prima del %2? Non si potranno recuperare.")
                               .arg(before).arg(day->toString(QStringLiteral("dd/MM/yyyy")))))
        return;
    afterRemoving(ResultsFolder::removeBefore(m_classroom.found(), *day));
}

void RegisterWindow::afterRemoving(const QList<ResultsFolder::Skipped> &failed)
{
    m_classroom.reload();
    showRows();
    if (failed.isEmpty())
        return;
    QStringList lines{QStringLiteral("Alcuni file non si possono eliminare:")};
    for (const ResultsFolder::Skipped &f : failed.mid(0, 20))
        lines << QStringLiteral("%1 — %2").arg(SafeText::shown(f.path, 300), f.reason);
    m_dialogs.message(lines.join(QLatin1Char('\n')));
}
