#include "QtDialogs.h"

#include <QInputDialog>
#include <QMessageBox>

const QString QtDialogs::title = QStringLiteral("Decalumo");

void QtDialogs::MsgBox(const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, m_parent);
    box.exec();
}

QString QtDialogs::InputBox(const QString &prompt)
{
    QInputDialog box(m_parent);
    box.setWindowTitle(title);
    box.setLabelText(prompt);
    box.setTextValue(QString());
    box.setInputMode(QInputDialog::TextInput);
    return box.exec() == QDialog::Accepted ? box.textValue() : QString();
}
