#include "Tavola.h"

#include "Dialogs.h"
#include "Failure.h"
#include "FormLabel.h"
#include "PictureButton.h"
#include "Pictures.h"
#include "Program.h"
#include "ScreenReader.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>

namespace {

// Thrown once the program has been ended, so the handler stops where it is.
struct ProgramEnded
{
};

} // namespace

Tavola::Tavola(Characters &agent, Dialogs &dialogs, Program &program, Random &random, QWidget *parent)
    : QMainWindow(parent)
    , Agent1(agent)
    , m_dialogs(dialogs)
    , m_program(program)
    , m_random(random)
{
    setObjectName(QStringLiteral("Tavola"));
    // The blanks push the name towards the middle of the title bar: no window
    // manager centres a title on request, so trimming them moves it to the left.
    setWindowTitle(QString(83, QLatin1Char(' ')) + QStringLiteral("DECALUMO"));
    QIcon icon;
    for (int side : {16, 32, 48, 64, 128})
        icon.addPixmap(Pictures::render(QStringLiteral(":/art/icon.svg"), QSize(side, side), 1));
    setWindowIcon(icon);
    setCursor(QCursor(Pictures::render(QStringLiteral(":/art/pointer.svg"), QSize(48, 48), devicePixelRatioF()), 2, 2));

    createControls();
    createMenu();
    connectControls();
}

Tavola::~Tavola() = default;

void Tavola::connectControls()
{
    connect(cmdNext, &QPushButton::clicked, this, &Tavola::cmdNext_Click);
    connect(cmdExit1, &QPushButton::clicked, this, &Tavola::cmdExit1_Click);
    connect(Command3, &QPushButton::clicked, this, &Tavola::Command3_Click);
    connect(Timer1, &QTimer::timeout, this, &Tavola::Timer1_Timer);
    Text3->installEventFilter(this);
}

void Tavola::start()
{
    Form_Load();
    if (m_ended)
        return;
    show();
    if (m_placing)
        placeOnceFramed();
    Form_Activate();
}

bool Tavola::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Text3 && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const QString reading = readingFor(key->key());
        if (!reading.isEmpty()) {
            if (m_reader)
                m_reader->say(reading);
            return true;
        }
        qint16 code = 0;
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
            code = 13;
        else if (!key->text().isEmpty())
            code = qint16(key->text().at(0).unicode());
        // An Alt key that no enabled button took (Alt+N before the answer)
        // is no typing.
        if (key->modifiers() & Qt::AltModifier)
            return true;
        if (code != 0)
            Text3_KeyPress(code);
    }
    // Every other key reaches the box as typed.
    return QMainWindow::eventFilter(watched, event);
}

void Tavola::closeEvent(QCloseEvent *event)
{
    // Closing the window ends the program without goodbye and stores nothing.
    event->accept();
    if (!m_ended) {
        contestEnded(Ending::CloseBox);
        m_ended = true;
        m_program.End(0);
    }
}

void Tavola::handle(const std::function<void()> &step)
{
    if (m_ended)
        return;
    try {
        step();
    } catch (const Failure &failure) {
        contestEnded(std::nullopt);
        m_ended = true;
        m_dialogs.MsgBox(failure.message());
        if (const QString lost = keepingProblem(); !lost.isEmpty())
            m_dialogs.MsgBox(lost);
        m_program.End(1);
    } catch (const ProgramEnded &) {
    }
}

void Tavola::endProgram(int status)
{
    m_ended = true;
    m_program.End(status);
    throw ProgramEnded();
}

void Tavola::msgBox(const QString &text)
{
    m_dialogs.MsgBox(text);
    // The close box may have ended the program while the box waited.
    if (m_ended)
        throw ProgramEnded();
}

QString Tavola::inputBox(const QString &prompt, int maxLength)
{
    const QString text = m_dialogs.InputBox(prompt, maxLength);
    // SIGTERM or SIGHUP may have ended the program while the box waited.
    if (m_ended)
        throw ProgramEnded();
    return text;
}

void Tavola::endNow(int status)
{
    if (!m_ended)
        contestEnded(Ending::Interrupted);
    m_ended = true;
    m_program.End(status);
}

void Tavola::Form_Load() { handle([this] { load(); }); }
void Tavola::Form_Activate() { handle([this] { activate(); }); }
void Tavola::cmdNext_Click() { handle([this] { newQuestion(); }); }
void Tavola::Command3_Click() { handle([this] { check(); }); }
void Tavola::cmdExit1_Click() { handle([this] { leave(Ending::Exit); }); }
void Tavola::Timer1_Timer() { handle([this] { tick(); }); }

void Tavola::showQuestion(bool visible)
{
    lblNum1->setVisible(visible);
    lblNum2->setVisible(visible);
    Label10->setVisible(visible);
}
