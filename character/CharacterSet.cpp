#include "CharacterSet.h"

#include "CharacterWindow.h"
#include "Compositor.h"
#include "EspeakVoice.h"
#include "Failure.h"
#include "Figure.h"
#include "LateSound.h"
#include "SpeakingModule.h"
#include "SpeechWorker.h"
#include "SteadyClock.h"

#include <QWindow>

static void initCharacterResources()
{
    // The art is built into this static library; make sure its resources
    // are registered even when the linker keeps no reference to them.
    Q_INIT_RESOURCE(characters);
}

// A transient window, not a child: the set, not the owner, keeps the
// character alive.
static void belong(QWidget &character, QWidget *owner)
{
    if (!owner)
        return;
    character.winId();
    owner->winId();
    character.windowHandle()->setTransientParent(owner->windowHandle());
}

CharacterSet::CharacterSet()
    : m_ownClock(std::make_unique<SteadyClock>())
    , m_ownSound(std::make_unique<LateSound>())
    , m_ownVoice(std::make_unique<EspeakVoice>())
    , m_clock(m_ownClock.get())
    , m_sound(m_ownSound.get())
    , m_voice(m_ownVoice.get())
    , m_composited(compositorRunning())
{
    initCharacterResources();
    SpeechWorker::useSynthesis(&SpeakingModule::synthesis);
}

CharacterSet::CharacterSet(Clock &clock, SoundOutput &sound, Voice &voice)
    : m_clock(&clock)
    , m_sound(&sound)
    , m_voice(&voice)
    , m_composited(compositorRunning())
{
    initCharacterResources();
}

CharacterSet::~CharacterSet() = default;

void CharacterSet::Load(const QString &id, const QString &file)
{
    auto window = std::make_unique<CharacterWindow>(id, Figure::load(file), *m_clock, *m_sound,
                                                    *m_voice, m_composited);
    belong(*window, m_owner);
    window->setKeepClear(m_keepClear);
    window->setMuted(m_muted);
    QObject::connect(window.get(), &CharacterWindow::saying, [this](const QString &text) {
        if (m_onSaying)
            m_onSaying(text);
    });
    window->setOrigin(m_origin);
    m_characters[id] = std::move(window);
}

void CharacterSet::setOwner(QWidget *owner)
{
    m_owner = owner;
    for (auto &[id, character] : m_characters)
        belong(*character, owner);
}

void CharacterSet::setKeepClear(const QList<QRect> &areas)
{
    m_keepClear = areas;
    for (auto &[id, character] : m_characters)
        character->setKeepClear(areas);
}

void CharacterSet::setMuted(bool muted)
{
    m_muted = muted;
    for (auto &[id, character] : m_characters)
        character->setMuted(muted);
}

void CharacterSet::onSaying(std::function<void(const QString &)> handler)
{
    m_onSaying = std::move(handler);
}

void CharacterSet::setOrigin(const QPoint &origin)
{
    m_origin = origin;
    for (auto &[id, character] : m_characters)
        character->setOrigin(origin);
}

Character &CharacterSet::Item(const QString &id)
{
    return window(id);
}

CharacterWindow &CharacterSet::window(const QString &id)
{
    const auto it = m_characters.find(id);
    if (it == m_characters.end())
        throw Failure(QStringLiteral("Nessun personaggio è stato caricato con il nome \"%1\".").arg(id));
    return *it->second;
}
