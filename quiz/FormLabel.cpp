#include "FormLabel.h"

FormLabel::FormLabel(QWidget *parent)
    : QLabel(parent)
{
    // Names and record files come from the pupil: never read them as markup.
    setTextFormat(Qt::PlainText);
}

void FormLabel::setCaption(const QString &caption)
{
    setText(caption);
    if (!m_spokenAfter.isEmpty())
        setAccessibleName(m_spokenAfter + QLatin1Char(' ') + caption.trimmed());
    if (m_autoSize)
        resize(sizeHint());
}

void FormLabel::showEvent(QShowEvent *event)
{
    if (m_autoSize)
        resize(sizeHint());
    QLabel::showEvent(event);
}

void FormLabel::setTextColour(const QColor &colour)
{
    QPalette p = palette();
    p.setColor(QPalette::WindowText, colour);
    setPalette(p);
}

void FormLabel::setSpokenAfter(const QString &words)
{
    m_spokenAfter = words;
    setAccessibleName(words + QLatin1Char(' ') + text().trimmed());
}
