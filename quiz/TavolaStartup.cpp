#include "Tavola.h"

#include "Character.h"
#include "Characters.h"
#include "Dialogs.h"
#include "FormLabel.h"
#include "RecordStore.h"
#include "Wizard.h"

#include <QLineEdit>

namespace {
const QString announcement = QStringLiteral(
    "Allora attenzione, iniziamo la nostra avventura con la tabellina del 10. Io detto e tu scrivi il "
    "risultato nello spazio sotto di me. Mi raccomando inserisci il risultato e premi invio e poi aspetta "
    "che io finisca di parlare e premi ancora invio per avere la domanda successiva");

// The name is stored as one line of the name file and shown on labels and in
// boxes sized for a name; pasted text can bring line breaks and any length.
QString oneLine(QString name, int length)
{
    if (name.size() > length)
        name.truncate(name.at(length - 1).isHighSurrogate() ? length - 1 : length);
    for (QChar &c : name) {
        if (c.category() == QChar::Other_Control || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            c = u' ';
    }
    return name;
}
}

void Tavola::load()
{
    correctCount = 0;
    wrongCount = 0;

    const QString name = oneLine(inputBox(QStringLiteral("Come ti chiami?"), nameLength), nameLength);
    msgBox(QStringLiteral(" ") + name + QStringLiteral(" vediamo se sei un vero campione  "));
    lblnome1->setCaption(name);
    if (lblnome1->caption().isEmpty())
        lblnome1->setCaption(QStringLiteral("Amico"));
    Txtnome1->setText(lblnome1->caption());

    // The clock is not set yet, so this reads "00:00:00" until activation.
    lblconto->setCaption(clockCaption(clockHours, clockMinutes, clockSeconds));
    startClock();
    beginContest();

    windowsDir = RecordStore::GetSystemDir();
    const RecordStore::Record record = RecordStore::read(windowsDir);
    lblpunti->setCaption(record.score);
    lblnome->setCaption(record.name);

    Agent1.Load(Wizard::id, Wizard::file);
    bringWizard(QStringLiteral("Announce")).Speak(announcement);

    showQuestion(false);
}

void Tavola::activate()
{
    newQuestion();
    wrongCount = 0;
    correctCount = 0;
    // Dots on purpose, unlike the colons every tick writes: the pupil sees this
    // until the first tick, and the end test in tick() looks for colons only.
    lblconto->setCaption(QStringLiteral("00.07.00"));
}
