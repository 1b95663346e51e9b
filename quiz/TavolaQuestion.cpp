#include "Tavola.h"

#include "Character.h"
#include "ClientArea.h"
#include "FormLabel.h"
#include "Random.h"
#include "numlett.h"

#include <QLineEdit>

namespace {
qint16 oneToTen(Random &random)
{
    return qint16(int(random.next() * 10) + 1);
}
}

void Tavola::newQuestion()
{
    showQuestion(false);
    m_judged = false;
    lblMessage->setCaption(QString());
    m_random.reseed();
    multiplicand = 10;
    tintFactor = oneToTen(m_random);
    Text1->setText(QString::number(multiplicand));
    lblNum1->setCaption(QString::number(multiplicand));
    factor = oneToTen(m_random);
    Text6->setText(QString::number(factor));
    lblNum2->setCaption(QString::number(factor));
    Text7->setText(QString::number(factor * multiplicand));
    Text6->setText(numlett(Text6->text().toDouble()));

    Character &merlin = bringWizard(QStringLiteral("Greet"));
    merlin.Speak(Text1->text());
    merlin.Speak(QStringLiteral("per"));
    merlin.Speak(Text6->text());
    questionAsked(merlin);

    showQuestion(false);
    Text3->setText(QString());
    Text3->setFocus();
    client->paintBands(20 * tintFactor);
}
