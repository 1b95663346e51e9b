#include "QtDialogs.h"

#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>

const QString QtDialogs::title = QStringLiteral("Decalumo");

void QtDialogs::MsgBox(const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, m_parent);
    box.exec();
}

QString QtDialogs::InputBox(const QString &prompt, int maxLength)
{
    QInputDialog box(m_parent);
    box.setWindowTitle(title);
    box.setLabelText(prompt);
    box.setTextValue(QString());
    box.setInputMode(QInputDialog::TextInput);
    if (auto *line = box.findChild<QLineEdit *>())
        line->setMaxLength(maxLength);
    return box.exec() == QDialog::Accepted ? box.textValue() : QString();
}
