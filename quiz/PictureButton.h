#pragma once

#include <QPushButton>

// A button showing a picture above its caption, with its own pictures for the
// pressed and the disabled state.
class PictureButton : public QPushButton
{
    Q_OBJECT

public:
    explicit PictureButton(const QString &caption, QWidget *parent = nullptr);

    void setPictures(const QString &normal, const QString &pressed = {}, const QString &disabled = {});

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    enum State { Normal, Pressed, Disabled, StateCount };
    const QPixmap &picture(State state);

    QString m_sources[StateCount];
    QPixmap m_pictures[StateCount];
};
