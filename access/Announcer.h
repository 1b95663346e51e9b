#pragma once

#include "ScreenReader.h"

#include <QHash>
#include <QObject>
#include <QPointer>

class ScreenReaderWatch;
class QWidget;

// Hands texts to the screen reader through the control that has the focus,
// the one object every reader listens to. Where the toolkit has announcements
// it makes one; elsewhere readers are told that the control's name changed
// to the text.
class Announcer : public QObject, public ScreenReader
{
    Q_OBJECT

public:
    explicit Announcer(const ScreenReaderWatch &watch, QObject *parent = nullptr);
    ~Announcer() override;

    bool running() const override;
    void say(const QString &text) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void sendName(QWidget &target, const QString &name);

    const ScreenReaderWatch &m_watch;
    // The last words each control carried.
    QHash<QObject *, QString> m_said;
};
