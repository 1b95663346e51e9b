#pragma once

#include "BalloonPlacement.h"
#include "WindowShape.h"

#include <QList>
#include <QRect>
#include <QWidget>

// The speech balloon beside the character: the words said so far in this
// turn, with the one being said marked, for a pupil who cannot hear.
class Balloon : public QWidget
{
    Q_OBJECT

public:
    explicit Balloon(bool composited, QWidget *owner);

    // Starts a new turn, or carries the current one on when `more` is set,
    // so "10", "per", "sette" read as one line.
    void say(const QString &text, bool more);
    // Marks the word at [position, position + length) of the last text said.
    void mark(int position, int length);
    // Sits beside the character's head, inside the screen, on the side that
    // covers none of the areas to keep clear (see BalloonPlacement).
    void placeBeside(const QRect &character);
    // Screen areas the pupil must see, the most important first.
    void setKeepClear(const QList<QRect> &areas);

    // Never over the program's own message boxes: the balloon stays hidden
    // while one waits for the pupil.
    void setVisible(bool visible) override;

    QString text() const { return m_text; }
    QString markedWord() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    struct Word
    {
        int position;
        int length;
        QRect box;
    };

    QSize wrap(int textWidth, QList<Word> *words) const;
    void layOut();
    QPainterPath outline() const;

    WindowShape m_shape;
    QString m_text;
    int m_sayOffset = 0;
    int m_marked = -1;
    QList<Word> m_words;
    QRect m_character;
    QList<QRect> m_keepClear;
    QList<QSize> m_sizes; // one per wrapping width, widest first
    int m_wrap = -1;
    BalloonPlacement::Side m_side = BalloonPlacement::Right;
};
