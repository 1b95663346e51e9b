#pragma once

#include "Contest.h"

#include <QList>
#include <QMainWindow>
#include <QRect>

#include <functional>
#include <optional>

class Character;
class Characters;
class ClientArea;
class Clock;
class ContestLog;
class Dialogs;
class FormLabel;
class PictureButton;
class Program;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;
class Random;
class ScreenReader;

// The contest window. It owns the state of one contest: its variables and the
// controls whose texts carry values from one handler to the next. Everything
// it reaches outside itself (the character, the boxes, ending the program, the
// random draws) comes from its owner.
class Tavola : public QMainWindow
{
    Q_OBJECT

public:
    static constexpr int clientWidth = 785;
    static constexpr int clientHeight = 556;
    // Room for a first name and a surname; 25 of the widest letters still fit
    // the window on the record line, the widest label a name goes on, and
    // keep the greeting box small.
    static constexpr int nameLength = 25;

    Tavola(Characters &agent, Dialogs &dialogs, Program &program, Random &random, QWidget *parent = nullptr);
    ~Tavola() override;

    // Keeps every contest, answer by answer, in log, with answer times taken
    // on clock. Without it nothing is kept.
    void keepContests(ContestLog &log, const Clock &clock);

    // Loads, shows and activates the window, in that order.
    void start();
    // Puts the window, before start(), where the wizard's place expects its
    // client area, and once more as soon as the window manager has framed it;
    // wherever it ends up, the wizard is offset to follow it.
    void placeOnScreen();
    // The same, within the frame that the window manager draws around it.
    void placeFor(const QMargins &frame);
    // Screen areas the pupil must be able to see, the most important first.
    QList<QRect> keepClear() const;

    // Where the keys that read the contest aloud send their words.
    void setScreenReader(ScreenReader *reader) { m_reader = reader; }
    // The words a reading key says now, or nothing for any other key.
    QString readingFor(int key) const;

    // Ends the program from outside its handlers, whatever box is waiting:
    // the session ends, or the program was told to stop.
    void endNow(int status);

    void Form_Load();
    void Form_Activate();
    void cmdNext_Click();
    void Text3_KeyPress(qint16 keyAscii);
    void Command3_Click();
    void cmdExit1_Click();
    void Timer1_Timer();
    void startClock();

    static QString clockCaption(qint16 hours, qint16 minutes, float seconds);

    // The controls, under their names.
    ClientArea *client;
    FormLabel *Label6, *lblScore, *Label1, *lblScore1, *Label3, *lblScore2;
    FormLabel *lblNum1, *Label10, *lblNum2, *lblMessage;
    QLabel *Image1;
    FormLabel *Label11, *lblconto;
    QLineEdit *Text3;
    PictureButton *cmdNext, *cmdExit1;
    FormLabel *Label14, *lblnome1, *Label12, *lblnome, *Label13, *lblpunti;
    QLineEdit *Text1, *Text6, *Text7, *Txtnome1;
    QPushButton *Command3;
    QWidget *Picture1;
    QTimer *Timer1;

    // The contest's variables.
    qint16 correctCount = 0;
    qint16 wrongCount = 0;
    qint16 multiplicand = 0;
    qint16 factor = 0;
    qint16 tintFactor = 0;
    qint16 clockHours = 0;
    qint16 clockMinutes = 0;
    float clockSeconds = 0;
    qint16 secondsLeft = 0;
    QString windowsDir;


signals:
    void keepClearChanged(const QList<QRect> &areas);
    // How far the wizard has to stand from his place to keep his feet on the
    // answer band: the window could not go where his place expects it.
    void wizardOffsetChanged(const QPoint &offset);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void createControls();
    void createMenu();
    void connectControls();

    // Every handler runs through here: nothing runs once the program has
    // ended, and a failure ends it with its message.
    void handle(const std::function<void()> &step);
    [[noreturn]] void endProgram(int status);
    void msgBox(const QString &text);
    QString inputBox(const QString &prompt, int maxLength);

    void load();
    void activate();
    void newQuestion();
    void check();
    void leave(Ending ending);
    void tick();
    void showQuestion(bool visible);
    void praise(Character &merlin, qint16 k);
    // Every time he is wanted the wizard is shown, put in his place and
    // brought to his height, playing the animation if one is named.
    Character &bringWizard(const QString &animation = QString());
    void placeOnceFramed();
    // Wherever the window is once shown, the wizard's feet stay on its band.
    void followWindow(const QPoint &at);
    void offsetWizard(const QPoint &offset);

    void beginContest();
    void questionAsked(Character &merlin);
    void answerJudged(bool right);
    void contestEnded(std::optional<Ending> ending);
    void keepContest();
    // Why the contest could not be kept, once its last version had its chance.
    QString keepingProblem();

    Characters &Agent1;
    Dialogs &m_dialogs;
    Program &m_program;
    Random &m_random;
    ScreenReader *m_reader = nullptr;
    bool m_ended = false;
    bool m_leaving = false;
    // The current question has its verdict.
    bool m_judged = false;
    bool m_placing = false;
    // How far the client area sits from where the wizard's place expects it.
    QPoint m_wizardOffset;

    ContestLog *m_log = nullptr;
    const Clock *m_clock = nullptr;
    Contest m_contest;
    bool m_contestOver = false;
    qint64 m_startedAt = 0;
    // When the pupil had heard the question being answered.
    std::optional<qint64> m_heardAt;
    quint64 m_question = 0;
};
