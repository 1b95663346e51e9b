#include "StatusLine.h"

#include "RegisterDialogs.h"
#include "SafeText.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace {
constexpr int listedAtMost = 200;
}

StatusLine::StatusLine(RegisterDialogs &dialogs, QWidget *parent)
    : QWidget(parent), m_dialogs(dialogs), m_label(new QLabel(this)),
      m_details(new QPushButton(QStringLiteral("&Dettagli sui file saltati"), this))
{
    m_label->setTextFormat(Qt::PlainText);
    m_details->setAccessibleName(QStringLiteral("Dettagli sui file saltati"));
    connect(m_details, &QPushButton::clicked, this, [this] { m_dialogs.message(m_detailsText); });
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_label, 1);
    layout->addWidget(m_details);
    m_details->hide();
}

void StatusLine::showFound(const ResultsFolder::Found &found, int pupils, int folders)
{
    QString text = QStringLiteral("%1 sfide di %2 alunni, da %3 %4")
                       .arg(found.contests.size()).arg(pupils).arg(folders)
                       .arg(folders == 1 ? QStringLiteral("cartella") : QStringLiteral("cartelle"));
    m_detailsText.clear();
    if (!found.skipped.isEmpty()) {
        const qsizetype n = found.skipped.size();
        text += n == 1 ? QStringLiteral(" · 1 file saltato") : QStringLiteral(" · %1 file saltati").arg(n);
        QStringList lines{QStringLiteral("File saltati perché non sono sfide di Decalumo:")};
        for (qsizetype i = 0; i < n && i < listedAtMost; ++i)
            lines << QStringLiteral("%1 — %2").arg(SafeText::shown(found.skipped.at(i).path, 300),
                                                    SafeText::shown(found.skipped.at(i).reason, 200));
        if (n > listedAtMost)
            lines << QStringLiteral("… e altri %1.").arg(n - listedAtMost);
        m_detailsText = lines.join(QLatin1Char('\n'));
    }
    m_label->setText(text);
    m_label->setToolTip(m_detailsText);
    m_label->setAccessibleName(text);
    m_details->setVisible(!found.skipped.isEmpty());
}

QString StatusLine::text() const
{
    return m_label->text();
}

QString StatusLine::details() const
{
    return m_detailsText;
}
