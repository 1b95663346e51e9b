#pragma once

#include <QWidget>

// The window's client area: the background, then the decorative shapes,
// with every control on top. What is painted here is kept as state, so it
// comes back whenever the window is uncovered.
class ClientArea : public QWidget
{
    Q_OBJECT

public:
    static constexpr int bandCount = 256;

    explicit ClientArea(QWidget *parent = nullptr);

    // From now on the background is bands of red 200, this green, and
    // blue rising from 0 at the top to 255 at the bottom.
    void paintBands(int green);
    bool hasBands() const { return m_green >= 0; }

    // In pixels of the client area: the cyan band around the answer box,
    // and the panel behind the counters.
    static QRect answerBand();
    static QRect countersPanel();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int m_green = -1;
};
