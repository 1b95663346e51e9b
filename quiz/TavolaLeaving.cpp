#include "Tavola.h"

#include "FormLabel.h"
#include "RecordStore.h"

void Tavola::leave()
{
    // A tick or a second click while the boxes below wait must not leave again.
    if (m_leaving)
        return;
    m_leaving = true;

    msgBox(QStringLiteral("Ciao. Ti aspetto per la prossima sfida "));
    const double record = RecordStore::leadingNumber(lblpunti->caption());
    const double score = RecordStore::leadingNumber(lblScore->caption());
    if (record >= score)
        endProgram(0);

    RecordStore::store(windowsDir, lblScore->caption(), lblnome1->caption());
    msgBox(QStringLiteral("Ok ho registrato il tuo record, C A M P I O N E\""));
    endProgram(0);
}
