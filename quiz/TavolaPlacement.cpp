#include "Tavola.h"

#include "Character.h"
#include "Characters.h"
#include "ClientArea.h"
#include "FormLabel.h"
#include "FrameExtents.h"
#include "WindowPlacement.h"
#include "Wizard.h"

#include <QElapsedTimer>
#include <QLayout>
#include <QLineEdit>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include <memory>
#include <optional>

namespace {

// With the client area's top-left corner here, the wizard at his place and
// height stands with his feet on the top edge of the cyan band around the
// answer box (the band's top is 328 pixels down the client area).
const QPoint wizardClient(4, 46);

// Framing takes a window manager a few milliseconds; without one, nothing
// ever comes and the first placement stands.
constexpr int frameCheckMs = 20;
constexpr int frameWaitMs = 3000;

} // namespace

Character &Tavola::bringWizard(const QString &animation)
{
    // Each time, as the pupil may have hidden him or dragged him away.
    Character &merlin = Agent1.Item(Wizard::id);
    merlin.Show();
    merlin.MoveTo(Wizard::x, Wizard::y);
    if (!animation.isEmpty())
        merlin.Play(animation);
    merlin.setHeight(Wizard::height);
    return merlin;
}

void Tavola::placeOnScreen()
{
    m_placing = true;
    // The wizard is sent to his place before the window is shown, so the
    // frame is asked of the window manager beforehand.
    placeFor(FrameExtents::ask(*this).value_or(QMargins()));
}

void Tavola::placeFor(const QMargins &frame)
{
    layout()->activate(); // the menu bar's height, before the window is shown
    const WindowPlacement p =
        WindowPlacement::place(screen()->availableGeometry(), frame, size(), client->pos(), wizardClient);
    if (p.geometry != geometry())
        setGeometry(p.geometry);
    offsetWizard(p.offset);
}

void Tavola::followWindow(const QPoint &at)
{
    offsetWizard(at + client->pos() - wizardClient);
}

void Tavola::offsetWizard(const QPoint &offset)
{
    if (offset != m_wizardOffset) {
        m_wizardOffset = offset;
        emit wizardOffsetChanged(offset);
    }
}

void Tavola::placeOnceFramed()
{
    auto *poll = new QTimer(this);
    const auto waited = std::make_shared<QElapsedTimer>();
    waited->start();
    const auto framed = std::make_shared<bool>(false);
    const auto last = std::make_shared<std::optional<QPoint>>();
    connect(poll, &QTimer::timeout, this, [this, poll, waited, framed, last] {
        const QMargins frame = windowHandle() ? windowHandle()->frameMargins() : QMargins();
        if (!*framed && !frame.isNull()) {
            *framed = true;
            placeFor(frame);
        }
        // A manager may state a frame other than the one it draws (KWin on
        // Wayland at scale 2 states it in its own units) and decline, without
        // a word, the move made for it: then only the server knows where the
        // window is. While the manager maps it the server has it nowhere
        // yet, so a place counts once it holds.
        const QPoint at = FrameExtents::placedAt(*this).value_or(geometry().topLeft());
        if (*last == at)
            followWindow(at);
        *last = at;
        // Bounded even for a window that never holds still: later moves come as move events.
        if (waited->elapsed() >= frameWaitMs) {
            poll->stop();
            poll->deleteLater();
        }
    });
    poll->start(frameCheckMs);
}

QList<QRect> Tavola::keepClear() const
{
    const auto onScreen = [this](const QRect &r) { return QRect(client->mapToGlobal(r.topLeft()), r.size()); };
    const QRect clock = Label11->geometry().united(lblconto->geometry());
    // The operands are empty until the first question: make room for "10" each.
    const int operand = lblNum1->fontMetrics().horizontalAdvance(QStringLiteral("10")) + 8;
    const QRect question(lblNum1->x(), 0, lblNum2->x() + operand - lblNum1->x(), lblNum1->fontMetrics().height() + 8);
    // The verdict grows to the right as it gets longer: keep its whole line.
    const QRect verdict(lblMessage->x(), lblMessage->y(), clientWidth - lblMessage->x(), lblMessage->height());
    return {onScreen(clock), onScreen(verdict), onScreen(question), onScreen(ClientArea::answerBand()),
            onScreen(ClientArea::countersPanel())};
}

void Tavola::moveEvent(QMoveEvent *event)
{
    QMainWindow::moveEvent(event);
    // Placed before it is shown, the window has not measured its labels yet,
    // nor has a window manager had its say on where it goes.
    if (!isVisible())
        return;
    followWindow(geometry().topLeft());
    emit keepClearChanged(keepClear());
}

void Tavola::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    emit keepClearChanged(keepClear());
}
