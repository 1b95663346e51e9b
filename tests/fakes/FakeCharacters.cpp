#include "FakeCharacters.h"

#include "Failure.h"

void FakeCharacters::Load(const QString &id, const QString &file)
{
    calls << QStringLiteral("Load %1 %2").arg(id, file);
    if (failLoad)
        throw Failure(QStringLiteral("Il file del personaggio %1 manca").arg(file));
    m_loadedId = id;
}

Character &FakeCharacters::Item(const QString &id)
{
    if (id != m_loadedId)
        throw Failure(QStringLiteral("Il personaggio %1 non è caricato").arg(id));
    return *this;
}

void FakeCharacters::Play(const QString &animation)
{
    calls << QStringLiteral("Play ") + animation;
    if (failingAnimations.contains(animation))
        throw Failure(QStringLiteral("Animazione %1 mancante").arg(animation));
}

QStringList FakeCharacters::take()
{
    return std::exchange(calls, {});
}
