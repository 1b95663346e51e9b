#include "Tavola.h"

#include "ClientArea.h"
#include "Colours.h"
#include "Concealment.h"
#include "Faces.h"
#include "FormLabel.h"
#include "PictureButton.h"
#include "Pictures.h"
#include "Twips.h"

#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QTimer>

namespace {

QFont face(const QString &family, qreal points, bool bold = false, bool italic = false)
{
    QFont f(family);
    f.setPointSizeF(points);
    f.setBold(bold);
    f.setItalic(italic);
    return f;
}

struct Look
{
    QColor text = {}; // none: the system's button-text colour
    QColor background = {}; // none: the window shows through
    bool framed = false;
    Qt::Alignment alignment = Qt::AlignLeft;
    bool autoSize = false;
};

FormLabel *label(QWidget *parent, const QString &caption, const QRect &twips, const QFont &f, const Look &look)
{
    auto *l = new FormLabel(parent);
    l->setText(caption);
    l->setGeometry(fromTwips(twips).toRect());
    l->setFont(f);
    QPalette p = l->palette();
    p.setColor(QPalette::WindowText, look.text.isValid() ? look.text : p.color(QPalette::ButtonText));
    if (look.background.isValid()) {
        p.setColor(QPalette::Window, look.background);
        l->setAutoFillBackground(true);
    }
    l->setPalette(p);
    if (look.framed)
        l->setFrameStyle(QFrame::Box | QFrame::Plain);
    l->setAlignment(look.alignment | Qt::AlignTop);
    l->setAutoSize(look.autoSize);
    return l;
}

QLineEdit *hiddenBox(QWidget *parent, const QString &text)
{
    auto *box = new QLineEdit(text, parent);
    box->hide();
    return box;
}

} // namespace

void Tavola::createControls()
{
    client = new ClientArea(this);
    client->setFixedSize(clientWidth, clientHeight);
    setCentralWidget(client);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    const QString serif = Faces::resolve(QStringLiteral("Times New Roman"));
    const QString sans = Faces::resolve(QStringLiteral("Arial"));
    const QString black = Faces::resolve(QStringLiteral("Arial Black"));
    const QString system = Faces::resolve(QStringLiteral("MS Sans Serif"));
    const Qt::Alignment centre = Qt::AlignHCenter;

    using namespace Colours;
    Label6 = label(client, QStringLiteral("Risposte esatte"), {360, 240, 2625, 555}, face(serif, 21.75),
                   {.text = lightYellow, .framed = true, .alignment = centre, .autoSize = true});
    lblScore = label(client, QStringLiteral("0"), {1440, 840, 315, 540}, face(serif, 21.75, true),
                     {.text = lightYellow, .framed = true, .alignment = centre, .autoSize = true});
    lblScore->setToolTip(QStringLiteral("Questo è il tuo punteggio. Forza con il  record"));
    Label1 = label(client, QStringLiteral("Risposte errate"), {360, 1560, 2595, 555}, face(serif, 21.75),
                   {.text = red, .framed = true, .autoSize = true});
    lblScore1 = label(client, QStringLiteral("0"), {1560, 2160, 300, 540}, face(serif, 21.75, true),
                      {.text = red, .framed = true, .alignment = centre, .autoSize = true});
    Label3 = label(client, QStringLiteral("Risposte totali"), {360, 2880, 2505, 555}, face(serif, 21.75),
                   {.text = blue, .framed = true, .autoSize = true});
    lblScore2 = label(client, QStringLiteral("0"), {1560, 3600, 315, 540}, face(serif, 21.75, true),
                      {.text = blue, .framed = true, .alignment = centre, .autoSize = true});

    lblNum1 = label(client, QString(), {3840, 0, 345, 1185}, face(sans, 48, true),
                    {.background = cyan, .framed = true, .alignment = centre, .autoSize = true});
    Label10 = label(client, QStringLiteral("X"), {5640, 120, 615, 975}, face(sans, 48),
                    {.background = paleCyan, .alignment = centre});
    lblNum2 = label(client, QString(), {7560, 0, 345, 1185}, face(sans, 48, true),
                    {.background = cyan, .framed = true, .alignment = centre, .autoSize = true});
    for (QWidget *w : {static_cast<QWidget *>(lblNum1), static_cast<QWidget *>(Label10), static_cast<QWidget *>(lblNum2)})
        w->hide();
    lblMessage = label(client, QStringLiteral("io"), {6360, 2040, 1305, 1275}, face(system, 24, true, true),
                       {.text = red, .alignment = centre, .autoSize = true});

    Image1 = new QLabel(client);
    Image1->setGeometry(fromTwips({9885, 120, 480, 480}).toRect());
    Image1->setPixmap(Pictures::render(QStringLiteral(":/art/clock.svg"), QSize(32, 32), devicePixelRatioF()));
    Image1->setToolTip(QStringLiteral("Clicca sotto di me per impostare il Timer"));
    Label11 = label(client, QStringLiteral("Tempo restante"), {9270, 720, 1815, 615}, face(serif, 14.25), {.text = yellow});
    lblconto = label(client, QStringLiteral("00.07.00"), {9360, 1200, 1575, 375}, face(black, 12, true),
                     {.text = yellow, .background = lavender, .framed = true, .alignment = centre});

    Text3 = new QLineEdit(QStringLiteral("Text3"), client);
    Text3->setGeometry(fromTwips({3120, 5040, 6855, 1125}).toRect());
    Text3->setFont(face(sans, 48));
    Text3->setAlignment(Qt::AlignCenter);
    Text3->setMaxLength(250);
    Text3->setToolTip(QStringLiteral("Scrivi il numero e poi premi  il tasto Return (Invio)"));
    Text3->setAccessibleName(QStringLiteral("Risposta"));
    Text3->setAccessibleDescription(
        QStringLiteral("Scrivi il numero e premi Invio. F2 ripete la domanda, F3 il punteggio, F4 il tempo, F5 il record"));
    QPalette answer = Text3->palette();
    answer.setColor(QPalette::Text, blue);
    answer.setColor(QPalette::Base, lightYellow);
    Text3->setPalette(answer);

    cmdNext = new PictureButton(QStringLiteral("&Nuovo calcolo"), client);
    cmdNext->setGeometry(fromTwips({3120, 6360, 1815, 855}).toRect());
    cmdNext->setPictures(QStringLiteral(":/art/next.svg"), QStringLiteral(":/art/next-pressed.svg"),
                         QStringLiteral(":/art/next-disabled.svg"));
    cmdNext->setToolTip(QStringLiteral("Usa il tasto Return(invio) per l'esercizio successivo"));
    cmdNext->setEnabled(false);
    cmdExit1 = new PictureButton(QStringLiteral("E&xit"), client);
    cmdExit1->setGeometry(fromTwips({8160, 6360, 1815, 855}).toRect());
    cmdExit1->setPictures(QStringLiteral(":/art/exit.svg"));
    cmdExit1->setToolTip(QStringLiteral("Ti prego resta ancora, forse riuscirai a farmi uscire "));
    for (auto [button, colour] : {std::pair{cmdNext, pink}, std::pair{cmdExit1, teal}}) {
        button->setFont(face(system, 8.25, true));
        QPalette p = button->palette();
        p.setColor(QPalette::Button, colour);
        button->setPalette(p);
    }

    Label14 = label(client, QStringLiteral("Sfidante"), {120, 6360, 1425, 420}, face(system, 13.5),
                    {.text = yellow, .framed = true, .alignment = centre, .autoSize = true});
    lblnome1 = label(client, QString(), {120, 7200, 645, 420}, face(system, 13.5, true),
                     {.text = yellow, .framed = true, .autoSize = true});
    Label12 = label(client, QStringLiteral("Il record  è di "), {120, 7680, 2295, 375}, face(system, 18), {.text = purple});
    lblnome = label(client, QStringLiteral("nome"), {2400, 7680, 990, 435}, face(system, 18, true),
                    {.text = blue, .autoSize = true});
    Label13 = label(client, QStringLiteral("con punti"), {6000, 7680, 1455, 435}, face(system, 18),
                    {.text = purple, .autoSize = true});
    lblpunti = label(client, QStringLiteral("0"), {7680, 7680, 195, 435}, face(system, 18), {.text = purple, .autoSize = true});

    // Read as sentences, each value after what it counts.
    for (auto [value, words] : {std::pair{lblScore, "Risposte esatte"}, std::pair{lblScore1, "Risposte errate"},
                                std::pair{lblScore2, "Risposte totali"}, std::pair{lblconto, "Tempo restante"},
                                std::pair{lblnome1, "Sfidante"}, std::pair{lblnome, "Il record è di"},
                                std::pair{lblpunti, "con punti"}})
        value->setSpokenAfter(QString::fromUtf8(words));

    Text1 = hiddenBox(client, QStringLiteral("0"));
    Text6 = hiddenBox(client, QStringLiteral("Text6"));
    Text7 = hiddenBox(client, QStringLiteral("Text7"));
    Txtnome1 = hiddenBox(client, QStringLiteral("Text8"));
    // What the hidden boxes carry is no control of the window; the answer key
    // would even give the answer away to anything reading it.
    for (QLineEdit *box : {Text1, Text6, Text7, Txtnome1})
        Concealment::conceal(*box);
    Command3 = new QPushButton(QStringLiteral("verifica"), client);
    Command3->hide();
    Picture1 = new QWidget(client);
    Picture1->hide();

    Timer1 = new QTimer(this);
    Timer1->setInterval(1000);

    setTabOrder(cmdExit1, Text3);
    setTabOrder(Text3, cmdNext);
}

void Tavola::createMenu()
{
    // Credits only: no entry does anything.
    QMenu *project = menuBar()->addMenu(QStringLiteral("Decalumo"));
    project->addAction(QStringLiteral("Decalumo — software libero per la scuola"));
    QMenu *authors = menuBar()->addMenu(QStringLiteral("Gli autori"));
    authors->addAction(QStringLiteral("Gli autori di Decalumo, con licenza GPL versione 3 o successiva"));
    authors->addAction(QStringLiteral("Scriveteci dalla pagina del progetto Decalumo"));
    menuBar()->addAction(QStringLiteral("Software freeware"));
    menuBar()->addAction(QStringLiteral("A tutti gli alunni che imparano la tabellina del 10"));
}
