#include "QtRegisterDialogs.h"

#include <QDateEdit>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QVBoxLayout>

const QString QtRegisterDialogs::title = QStringLiteral("Registro di Decalumo");

bool QtRegisterDialogs::confirm(const QString &question)
{
    QMessageBox box(QMessageBox::Warning, title, question, QMessageBox::Yes | QMessageBox::No, m_parent);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void QtRegisterDialogs::message(const QString &text)
{
    QMessageBox box(QMessageBox::Information, title, text, QMessageBox::Ok, m_parent);
    box.exec();
}

QString QtRegisterDialogs::saveFile(const QString &caption, const QString &suggested, const QString &filter)
{
    return QFileDialog::getSaveFileName(m_parent, caption, QDir::home().filePath(suggested), filter);
}

QString QtRegisterDialogs::chooseFolder(const QString &caption)
{
    return QFileDialog::getExistingDirectory(m_parent, caption, QDir::homePath());
}

std::optional<QDate> QtRegisterDialogs::chooseDate(const QString &prompt, const QDate &proposed)
{
    QDialog box(m_parent);
    box.setWindowTitle(title);
    auto *label = new QLabel(prompt, &box);
    label->setWordWrap(true);
    auto *date = new QDateEdit(proposed, &box);
    date->setCalendarPopup(true);
    date->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    date->setAccessibleName(QStringLiteral("Data"));
    label->setBuddy(date);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &box);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &box, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &box, &QDialog::reject);
    auto *layout = new QVBoxLayout(&box);
    layout->addWidget(label);
    layout->addWidget(date);
    layout->addWidget(buttons);
    if (box.exec() != QDialog::Accepted)
        return std::nullopt;
    return date->date();
}

bool QtRegisterDialogs::choosePrinter(QPrinter &printer)
{
    QPrintDialog box(&printer, m_parent);
    box.setWindowTitle(title);
    return box.exec() == QDialog::Accepted;
}
