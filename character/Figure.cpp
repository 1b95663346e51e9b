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
#include <QtMath>
#include <cmath>

namespace {

const QString format = QStringLiteral("decalumo-character 1");

[[noreturn]] void fail(const QString &file, const QString &reason)
{
    throw Failure(QStringLiteral("Impossibile caricare il personaggio dal file \"%1\": %2.")
                      .arg(file, reason));
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

// Eases in and out between keys, so a wave slows at each end of its swing.
double valueAt(const QList<QPointF> &keys, double t)
{
    if (t <= keys.first().x())
        return keys.first().y();
    for (int i = 1; i < keys.size(); ++i) {
        if (t <= keys[i].x()) {
            const double span = keys[i].x() - keys[i - 1].x();
            const double u = span > 0 ? (t - keys[i - 1].x()) / span : 1;
            const double eased = u * u * (3 - 2 * u);
            return keys[i - 1].y() + (keys[i].y() - keys[i - 1].y()) * eased;
        }
    }
    return keys.last().y();
}

QTransform transformFor(const PartPose &pose, const QPointF &pivot)
{
    QTransform t;
    t.translate(pivot.x() + pose.dx, pivot.y() + pose.dy);
    t.rotate(pose.rotate);
    t.scale(pose.scale, pose.scale * pose.stretch);
    t.translate(-pivot.x(), -pivot.y());
    return t;
}

} // namespace

Figure::~Figure() = default;

std::shared_ptr<const Figure> Figure::load(const QString &file)
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

    std::shared_ptr<Figure> figure(new Figure);
    figure->m_file = file;
    const QString art = json.value(QStringLiteral("art")).toString();
    if (art.isEmpty())
        fail(file, QStringLiteral("manca il nome del disegno (\"art\")"));
    const QString artPath = QFileInfo(file).dir().filePath(art);
    if (!QFile::exists(artPath))
        fail(file, QStringLiteral("manca il disegno \"%1\"").arg(art));
    QSvgRenderer svg(artPath);
    if (!svg.isValid())
        fail(file, QStringLiteral("il disegno \"%1\" non è un SVG valido").arg(art));
    figure->m_viewBox = svg.viewBoxF();
    if (!readPoint(json.value(QStringLiteral("pivot")), figure->m_figurePivot))
        fail(file, QStringLiteral("manca il perno della figura (\"pivot\")"));

    const QJsonArray parts = json.value(QStringLiteral("parts")).toArray();
    if (parts.isEmpty())
        fail(file, QStringLiteral("non ci sono parti (\"parts\")"));
    for (const QJsonValue &v : parts) {
        const QJsonObject p = v.toObject();
        Part part;
        part.id = p.value(QStringLiteral("id")).toString();
        if (!svg.elementExists(part.id))
            fail(file, QStringLiteral("la parte \"%1\" non c'è nel disegno").arg(part.id));
        part.bounds = svg.boundsOnElement(part.id);
        if (!readPoint(p.value(QStringLiteral("pivot")), part.pivot))
            part.pivot = part.bounds.center();
        QPainter recorder(&part.picture);
        svg.render(&recorder, part.id, part.bounds);
        recorder.end();
        if (p.contains(QStringLiteral("parent"))) {
            const QString parent = p.value(QStringLiteral("parent")).toString();
            part.parent = figure->partIndex(parent);
            if (part.parent < 0)
                fail(file, QStringLiteral("la parte \"%1\" segue \"%2\", che non la precede")
                               .arg(part.id, parent));
        }
        PartPose rest;
        const QJsonObject restJson = p.value(QStringLiteral("rest")).toObject();
        for (auto it = restJson.begin(); it != restJson.end(); ++it) {
            double PartPose::*property = propertyNamed(it.key());
            if (!property)
                fail(file, QStringLiteral("la parte \"%1\" ha la proprietà sconosciuta \"%2\"")
                               .arg(part.id, it.key()));
            rest.*property = it.value().toDouble();
        }
        figure->m_parts.append(part);
        figure->m_rest.parts.append(rest);
    }

    const auto partNamed = [&](const char *key) {
        const QString id = json.value(QLatin1String(key)).toString();
        const int i = figure->partIndex(id);
        if (i < 0)
            fail(file, QStringLiteral("\"%1\" non nomina una parte").arg(QLatin1String(key)));
        return i;
    };
    figure->m_eyelids = partNamed("eyelids");
    figure->m_mouthOpen = partNamed("mouthOpen");
    figure->m_mouthClosed = partNamed("mouthClosed");

    figure->m_appear = figure->readAnimation(QStringLiteral("show"), json.value(QStringLiteral("show")).toObject());
    figure->m_glide = figure->readAnimation(QStringLiteral("glide"), json.value(QStringLiteral("glide")).toObject());
    const QJsonObject animations = json.value(QStringLiteral("animations")).toObject();
    for (auto it = animations.begin(); it != animations.end(); ++it)
        figure->m_animations.insert(it.key(), figure->readAnimation(it.key(), it.value().toObject()));
    return figure;
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

const Figure::Animation *Figure::animation(const QString &name) const
{
    const auto it = m_animations.constFind(name);
    return it == m_animations.cend() ? nullptr : &*it;
}

void Figure::animate(Pose &pose, const Animation &animation, qint64 ms) const
{
    for (const Track &track : animation.tracks) {
        PartPose &part = track.part < 0 ? pose.figure : pose.parts[track.part];
        part.*track.property = valueAt(track.keys, double(ms));
    }
}

void Figure::setBlink(Pose &pose, bool shut) const
{
    pose.parts[m_eyelids].opacity = shut ? 1 : 0;
}

void Figure::setMouth(Pose &pose, double opening) const
{
    const bool open = opening > 0.04;
    pose.parts[m_mouthOpen].opacity = open ? 1 : 0;
    pose.parts[m_mouthOpen].stretch = 0.35 + 0.65 * qBound(0.0, opening, 1.0);
    pose.parts[m_mouthClosed].opacity = open ? 0 : 1;
}

void Figure::paint(QPainter &painter, const QRectF &target, const Pose &pose) const
{
    if (pose.figure.opacity <= 0)
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(target.topLeft());
    painter.scale(target.width() / m_viewBox.width(), target.height() / m_viewBox.height());
    painter.translate(-m_viewBox.topLeft());
    const QTransform art = painter.deviceTransform();
    const qreal scale = std::sqrt(std::abs(art.determinant()));
    const QTransform base = transformFor(pose.figure, m_figurePivot) * painter.transform();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);

    // Parents come before their children in the list, so one pass suffices.
    QVarLengthArray<QTransform, 32> placed(m_parts.size());
    for (int i = 0; i < m_parts.size(); ++i) {
        const Part &part = m_parts[i];
        const PartPose &p = pose.parts[i];
        placed[i] = transformFor(p, part.pivot) * (part.parent < 0 ? base : placed[part.parent]);
        if (p.opacity <= 0.01 || p.scale <= 0)
            continue;
        painter.setTransform(placed[i]);
        painter.setOpacity(pose.figure.opacity * qMin(1.0, p.opacity));
        const QImage &image = sprite(part, scale);
        painter.drawImage(QRectF(part.bounds.topLeft() - QPointF(1, 1) / scale, image.size() / scale), image);
    }
    painter.restore();
}

const QImage &Figure::sprite(const Part &part, qreal scale)
{
    auto &cached = part.sprites;
    for (const Sprite &s : cached) {
        if (qFuzzyCompare(s.scale, scale))
            return s.image;
    }
    // Replace the older of the two.
    std::swap(cached[0], cached[1]);
    Sprite &s = cached[0];
    const QRectF &bounds = part.bounds;
    // A pixel of margin all round, so the antialiased edge is not cut.
    s.scale = scale;
    s.image = QImage(qCeil(bounds.width() * scale) + 2, qCeil(bounds.height() * scale) + 2,
                     QImage::Format_ARGB32_Premultiplied);
    s.image.fill(Qt::transparent);
    QPainter p(&s.image);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(1, 1);
    p.scale(scale, scale);
    p.translate(-bounds.topLeft());
    p.drawPicture(0, 0, part.picture);
    return s.image;
}
