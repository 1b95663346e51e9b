#include "Figure.h"

#include "Failure.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QSvgRenderer>

namespace {

const QString format = QStringLiteral("decalumo-character 1");

[[noreturn]] void fail(const QString &file, const QString &reason)
{
    throw Failure(QStringLiteral("Impossibile caricare il personaggio dal file \"%1\": %2.")
                      .arg(file, reason));
}

QJsonObject readManifest(const QString &file)
{
    QFile f(file);
    if (!f.exists())
        fail(file, QStringLiteral("il file non esiste"));
    if (!f.open(QIODevice::ReadOnly))
        fail(file, QStringLiteral("il file non si può leggere (%1)").arg(f.errorString()));
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(f.readAll(), &parseError);
    if (parseError.error != QJsonParseError::NoError)
        fail(file, QStringLiteral("non è un JSON valido (%1 alla posizione %2)")
                       .arg(parseError.errorString())
                       .arg(parseError.offset));
    const QJsonObject json = doc.object();
    if (json.value(QStringLiteral("format")).toString() != format)
        fail(file, QStringLiteral("manca il formato \"%1\"").arg(format));
    return json;
}

double PartPose::*propertyNamed(const QString &name)
{
    static const QHash<QString, double PartPose::*> properties{
        {QStringLiteral("rotate"), &PartPose::rotate},   {QStringLiteral("dx"), &PartPose::dx},
        {QStringLiteral("dy"), &PartPose::dy},           {QStringLiteral("scale"), &PartPose::scale},
        {QStringLiteral("stretch"), &PartPose::stretch}, {QStringLiteral("opacity"), &PartPose::opacity},
    };
    return properties.value(name, nullptr);
}

bool readPoint(const QJsonValue &v, QPointF &point)
{
    const QJsonArray a = v.toArray();
    if (a.size() != 2 || !a[0].isDouble() || !a[1].isDouble())
        return false;
    point = {a[0].toDouble(), a[1].toDouble()};
    return true;
}

} // namespace

std::shared_ptr<const Figure> Figure::load(const QString &file)
{
    const QJsonObject json = readManifest(file);
    std::shared_ptr<Figure> figure(new Figure);
    figure->m_file = file;
    figure->readParts(json);
    figure->readAnimations(json);
    return figure;
}

void Figure::readParts(const QJsonObject &json)
{
    const QString art = json.value(QStringLiteral("art")).toString();
    if (art.isEmpty())
        fail(m_file, QStringLiteral("manca il nome del disegno (\"art\")"));
    const QString artPath = QFileInfo(m_file).dir().filePath(art);
    if (!QFile::exists(artPath))
        fail(m_file, QStringLiteral("manca il disegno \"%1\"").arg(art));
    QSvgRenderer svg(artPath);
    if (!svg.isValid())
        fail(m_file, QStringLiteral("il disegno \"%1\" non è un SVG valido").arg(art));
    m_viewBox = svg.viewBoxF();
    if (!readPoint(json.value(QStringLiteral("pivot")), m_figurePivot))
        fail(m_file, QStringLiteral("manca il perno della figura (\"pivot\")"));

    const QJsonArray parts = json.value(QStringLiteral("parts")).toArray();
    if (parts.isEmpty())
        fail(m_file, QStringLiteral("non ci sono parti (\"parts\")"));
    for (const QJsonValue &v : parts)
        readPart(v.toObject(), svg);

    const auto partNamed = [&](const char *key) {
        const int i = partIndex(json.value(QLatin1String(key)).toString());
        if (i < 0)
            fail(m_file, QStringLiteral("\"%1\" non nomina una parte").arg(QLatin1String(key)));
        return i;
    };
    m_eyelids = partNamed("eyelids");
    m_mouthOpen = partNamed("mouthOpen");
    m_mouthClosed = partNamed("mouthClosed");
}

void Figure::readPart(const QJsonObject &json, QSvgRenderer &svg)
{
    Part part;
    part.id = json.value(QStringLiteral("id")).toString();
    if (!svg.elementExists(part.id))
        fail(m_file, QStringLiteral("la parte \"%1\" non c'è nel disegno").arg(part.id));
    // Animations and the mouth and eyes find a part by its id.
    if (partIndex(part.id) >= 0)
        fail(m_file, QStringLiteral("la parte \"%1\" compare due volte").arg(part.id));
    part.bounds = svg.boundsOnElement(part.id);
    if (!readPoint(json.value(QStringLiteral("pivot")), part.pivot))
        part.pivot = part.bounds.center();
    QPainter recorder(&part.picture);
    svg.render(&recorder, part.id, part.bounds);
    recorder.end();
    if (json.contains(QStringLiteral("parent"))) {
        const QString parent = json.value(QStringLiteral("parent")).toString();
        part.parent = partIndex(parent);
        if (part.parent < 0)
            fail(m_file, QStringLiteral("la parte \"%1\" segue \"%2\", che non la precede").arg(part.id, parent));
    }
    PartPose rest;
    const QJsonObject restJson = json.value(QStringLiteral("rest")).toObject();
    for (auto it = restJson.begin(); it != restJson.end(); ++it) {
        double PartPose::*property = propertyNamed(it.key());
        if (!property)
            fail(m_file, QStringLiteral("la parte \"%1\" ha la proprietà sconosciuta \"%2\"").arg(part.id, it.key()));
        rest.*property = it.value().toDouble();
    }
    m_parts.append(part);
    m_rest.parts.append(rest);
}

void Figure::readAnimations(const QJsonObject &json)
{
    m_appear = readAnimation(QStringLiteral("show"), json.value(QStringLiteral("show")).toObject());
    m_glide = readAnimation(QStringLiteral("glide"), json.value(QStringLiteral("glide")).toObject());
    const QJsonObject animations = json.value(QStringLiteral("animations")).toObject();
    for (auto it = animations.begin(); it != animations.end(); ++it)
        m_animations.insert(it.key(), readAnimation(it.key(), it.value().toObject()));
}

Figure::Animation Figure::readAnimation(const QString &name, const QJsonObject &json) const
{
    const auto bad = [&](const QString &what) {
        fail(m_file, QStringLiteral("l'animazione \"%1\" %2").arg(name, what));
    };
    Animation a;
    a.name = name;
    a.durationMs = json.value(QStringLiteral("duration")).toInteger();
    if (a.durationMs <= 0)
        bad(QStringLiteral("non ha una durata (\"duration\") positiva"));
    const QJsonArray tracks = json.value(QStringLiteral("tracks")).toArray();
    if (tracks.isEmpty())
        bad(QStringLiteral("non ha tracce (\"tracks\")"));
    for (const QJsonValue &v : tracks) {
        const QJsonObject t = v.toObject();
        Track track;
        const QString part = t.value(QStringLiteral("part")).toString();
        if (part != QLatin1String("figure")) {
            track.part = partIndex(part);
            if (track.part < 0)
                bad(QStringLiteral("muove la parte sconosciuta \"%1\"").arg(part));
        }
        track.property = propertyNamed(t.value(QStringLiteral("property")).toString());
        if (!track.property)
            bad(QStringLiteral("ha una traccia senza una proprietà nota"));
        for (const QJsonValue &k : t.value(QStringLiteral("keys")).toArray()) {
            QPointF key;
            if (!readPoint(k, key) || (!track.keys.isEmpty() && key.x() < track.keys.last().x()))
                bad(QStringLiteral("ha chiavi che non sono coppie [ms, valore] in ordine di tempo"));
            track.keys.append(key);
        }
        if (track.keys.isEmpty())
            bad(QStringLiteral("ha una traccia senza chiavi"));
        a.tracks.append(track);
    }
    return a;
}

int Figure::partIndex(const QString &id) const
{
    for (int i = 0; i < m_parts.size(); ++i) {
        if (m_parts[i].id == id)
            return i;
    }
    return -1;
}
