#include "Tavola.h"

#include "Failure.h"
#include "FormLabel.h"
#include "RecordStore.h"
#include "leadingNumber.h"

#include <optional>

void Tavola::leave(Ending ending)
{
    // A tick or a second click while the boxes below wait must not leave again.
    if (m_leaving)
        return;
    m_leaving = true;
    contestEnded(ending);

    // The record goes to the disk before any box waits for the pupil: a logout
    // or a lost display while a box waits must not lose it.
    bool stored = false;
    std::optional<Failure> failure;
    if (leadingNumber(lblpunti->caption()) < leadingNumber(lblScore->caption())) {
        try {
            stored = RecordStore::store(windowsDir, lblScore->caption(), lblnome1->caption());
        } catch (const Failure &f) {
            failure = f;
        }
    }
    msgBox(QStringLiteral("Ciao. Ti aspetto per la prossima sfida "));
    if (failure)
        throw *failure;
    // Another contest may have stored as much or more since this one started.
    if (stored)
        msgBox(QStringLiteral("Ok ho registrato il tuo record, C A M P I O N E\""));
    if (const QString lost = keepingProblem(); !lost.isEmpty())
        msgBox(lost);
    endProgram(0);
}
