#pragma once

#include "Classroom.h"

#include <QDate>
#include <QMainWindow>

class ClassModel;
class FactModel;
class PupilPage;
class QSortFilterProxyModel;
class QTabWidget;
class QTableView;
class RegisterDialogs;
class StatusLine;

// The teacher's register: the class, the class's facts and one pupil's page
// as tabs, with the exports, the print and the deletions in the menus.
class RegisterWindow : public QMainWindow
{
    Q_OBJECT
public:
    RegisterWindow(RegisterDialogs &dialogs, const QStringList &roots, const QDate &today, QWidget *parent = nullptr);

    const Classroom &classroom() const { return m_classroom; }
    QTableView *classTable() const { return m_classTable; }
    QTableView *classFacts() const { return m_classFacts; }
    PupilPage *pupilPage() const { return m_page; }
    StatusLine *statusLine() const { return m_status; }
    QTabWidget *tabs() const { return m_tabs; }

    void addFolder();
    void exportAnswers();
    void exportContests();
    void printPupil();
    void savePupilPdf();
    void deletePupil();
    void deleteBefore();

private:
    void buildMenus();
    void load(const QStringList &roots);
    void showRows();
    void choosePupil(int classRow);
    const Classroom::Row *currentPupil() const;
    void exportCsv(const QString &caption, const QString &name, const QByteArray &bytes);
    void afterRemoving(const QList<ResultsFolder::Skipped> &failed);

    RegisterDialogs &m_dialogs;
    QDate m_today;
    Classroom m_classroom;
    ClassModel *m_classModel;
    QSortFilterProxyModel *m_sorted;
    FactModel *m_factModel;
    QTabWidget *m_tabs;
    QTableView *m_classTable;
    QTableView *m_classFacts;
    PupilPage *m_page;
    StatusLine *m_status;
};
