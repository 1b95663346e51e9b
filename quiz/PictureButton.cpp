#include "PictureButton.h"

#include "Pictures.h"

#include <QStyleOptionButton>
#include <QStylePainter>

namespace {
constexpr QSize pictureSize(32, 32);
constexpr int margin = 3;
}

PictureButton::PictureButton(const QString &caption, QWidget *parent)
    : QPushButton(caption, parent)
{
    // Enter on the focused button clicks it, as space does.
    setAutoDefault(true);
}

void PictureButton::setPictures(const QString &normal, const QString &pressed, const QString &disabled)
{
    m_sources[Normal] = normal;
    m_sources[Pressed] = pressed.isEmpty() ? normal : pressed;
    m_sources[Disabled] = disabled.isEmpty() ? normal : disabled;
    for (QPixmap &cached : m_pictures)
        cached = QPixmap();
    update();
}

const QPixmap &PictureButton::picture(State state)
{
    QPixmap &cached = m_pictures[state];
    // Rendered again when the window moves to a screen of another density.
    if (cached.isNull() || cached.devicePixelRatio() != devicePixelRatioF())
        cached = Pictures::render(m_sources[state], pictureSize, devicePixelRatioF());
    return cached;
}

void PictureButton::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    option.icon = QIcon();
    painter.drawControl(QStyle::CE_PushButtonBevel, option);

    const QRect pictureRect(QPoint((width() - pictureSize.width()) / 2, margin), pictureSize);
    if (!m_sources[Normal].isEmpty())
        painter.drawPixmap(pictureRect.topLeft(), picture(!isEnabled() ? Disabled : isDown() ? Pressed : Normal));

    const QRect textRect = rect().adjusted(margin, pictureRect.bottom() + 1, -margin, -margin);
    painter.drawItemText(textRect, Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextShowMnemonic, palette(),
                         isEnabled(), text(), QPalette::ButtonText);
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect().adjusted(margin, margin, -margin, -margin);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}
