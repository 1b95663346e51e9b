#include "Tavola.h"

#include "Character.h"
#include "Colours.h"
#include "FormLabel.h"
#include "PictureButton.h"

#include <QLineEdit>

void Tavola::Text3_KeyPress(qint16 keyAscii)
{
    handle([this, keyAscii] {
        // A question counts once: Enter again after its verdict would let the
        // same answer, or the right one read off a wrong verdict, count again.
        if (keyAscii == 13 && m_judged)
            return;
        // Only repaints: the bands of the question stay.
        update();
        showQuestion(true);
        if (keyAscii == 13)
            check();
    });
}

void Tavola::check()
{
    if (m_judged)
        return;
    m_judged = true;
    showQuestion(false);
    answerJudged(Text3->text() == Text7->text());
    if (Text3->text() == Text7->text()) {
        lblMessage->setTextColour(Colours::blue);
        lblMessage->setCaption(QStringLiteral("Esatto. Sei forte!!!"));
        ++correctCount;
        // The caption still holds the count from before this answer.
        praise(bringWizard(), lblScore->caption().toShort());
    } else {
        lblMessage->setTextColour(Colours::red);
        lblMessage->setCaption(QStringLiteral("Sbagliato!! ") + Text7->text());
        ++wrongCount;
        Character &merlin = bringWizard(QStringLiteral("Greet"));
        merlin.Speak(QStringLiteral("Sbagliato"));
        merlin.Speak(Text7->text());
        lblScore1->setCaption(QString::number(wrongCount));
    }
    lblScore->setCaption(QString::number(correctCount));
    cmdNext->setEnabled(true);
    cmdNext->setFocus();
    lblScore2->setCaption(QString::number(correctCount + wrongCount));
}

void Tavola::praise(Character &merlin, qint16 k)
{
    if (k < 10)
        merlin.Speak(QStringLiteral("Esatto"));
    if (k > 10)
        merlin.Speak(QStringLiteral("Giusto"));
    if (k == 3 || k == 7 || k == 12 || k == 21 || k == 26)
        merlin.Speak(Txtnome1->text());
    merlin.Speak(Text7->text());

    const auto celebrate = [&merlin](const char *animation, const char *sentence) {
        merlin.Play(QString::fromLatin1(animation));
        merlin.Speak(QString::fromUtf8(sentence));
    };
    switch (k) {
    case 2: celebrate("congratulate", "Sei grande"); break;
    case 5: celebrate("domagic1", "Sei forte"); break;
    case 14: celebrate("congratulate", "Sei eccezionale"); break;
    case 13: celebrate("domagic2", "Sei in gamba"); break;
    case 10: celebrate("congratulate", "Sei sulla buona strada per diventare cavaliere"); break;
    case 18: celebrate("congratulate", "Sei insuperabile"); break;
    case 23: celebrate("congratulate", "Ti nomino cavaliere della tabellina, il massimo ordine per un eroe"); break;
    case 27: celebrate("congratulate", "Hai lavorato bene mio leale campione: sei invincibile"); break;
    default: break;
    }
}
