#include "session/ProjectFile.h"

#include "platform/UserMessages.h"


#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

#include <cmath>
#include <limits>

namespace {
const QLatin1String kFormat("orvanta-project");

QJsonArray rectJson(const TwipsRect& r) { return {r.left, r.top, r.width, r.height}; }
QJsonArray sizeJson(QSize s) { return {s.width(), s.height()}; }

// Reading: every field is checked; the first problem marks the whole file damaged.
struct Reader {
    bool ok = true;

    QJsonObject object(const QJsonObject& o, const char* key)
    {
        const QJsonValue v = o.value(QLatin1String(key));
        ok = ok && v.isObject();
        return v.toObject();
    }
    QJsonArray array(const QJsonObject& o, const char* key)
    {
        const QJsonValue v = o.value(QLatin1String(key));
        ok = ok && v.isArray();
        return v.toArray();
    }
    double number(const QJsonValue& v, double low, double high)
    {
        const double d = v.toDouble(std::numeric_limits<double>::quiet_NaN());
        ok = ok && v.isDouble() && std::isfinite(d) && d >= low && d <= high;
        return ok ? d : 0;
    }
    double number(const QJsonObject& o, const char* key, double low, double high)
    {
        return number(o.value(QLatin1String(key)), low, high);
    }
    // A float the file was written from; floats round-trip through JSON's doubles exactly.
    float single(const QJsonValue& v) { return static_cast<float>(number(v, -3.4e38, 3.4e38)); }
    float single(const QJsonObject& o, const char* key) { return single(o.value(QLatin1String(key))); }
    int whole(const QJsonObject& o, const char* key, int low, int high)
    {
        const double d = number(o, key, low, high);
        ok = ok && d == std::floor(d);
        return ok ? int(d) : 0;
    }
    bool flag(const QJsonObject& o, const char* key)
    {
        const QJsonValue v = o.value(QLatin1String(key));
        ok = ok && v.isBool();
        return v.toBool();
    }
    QString text(const QJsonObject& o, const char* key)
    {
        const QJsonValue v = o.value(QLatin1String(key));
        ok = ok && v.isString();
        return v.toString();
    }
    TwipsRect rect(const QJsonObject& o, const char* key)
    {
        const QJsonArray a = array(o, key);
        ok = ok && a.size() == 4;
        if (!ok)
            return {};
        return {single(a[0]), single(a[1]), single(a[2]), single(a[3])};
    }
    QSize size(const QJsonValue& v)
    {
        const QJsonArray a = v.toArray();
        ok = ok && v.isArray() && a.size() == 2;
        if (!ok)
            return {};
        const int w = int(number(a[0], 1, 65535));
        const int h = int(number(a[1], 1, 65535));
        return {w, h};
    }
};

QJsonObject editJson(const PictureEdit& e)
{
    QJsonObject o{{"kind", pictureEditKindName(e.kind)}, {"canvas", sizeJson(e.canvas)}};
    if (e.kind == PictureEdit::Kind::Binarise) {
        o["colour"] = double(e.binarise.curveColor);
        o["tolerance"] = e.binarise.tolerancePercent;
    }
    if (e.kind == PictureEdit::Kind::Eraser)
        o["step"] = e.eraserStep;
    if (e.isStroke()) {
        QJsonArray points;
        for (const QPointF& p : e.points)
            points.append(QJsonArray{p.x(), p.y()});
        o["points"] = points;
    }
    return o;
}

PictureEdit readEdit(Reader& r, const QJsonValue& v)
{
    PictureEdit e;
    const QJsonObject o = v.toObject();
    r.ok = r.ok && v.isObject();
    const std::optional<PictureEdit::Kind> kind = pictureEditKindFromName(r.text(o, "kind"));
    r.ok = r.ok && kind.has_value();
    if (!r.ok)
        return e;
    e.kind = *kind;
    e.canvas = r.size(o.value("canvas"));
    if (e.kind == PictureEdit::Kind::Binarise) {
        e.binarise.binarizeAccepted = true;
        e.binarise.curveColor = quint32(r.whole(o, "colour", 0, 0xFFFFFF));
        e.binarise.tolerancePercent = float(r.whole(o, "tolerance", 0, 100));
    }
    if (e.kind == PictureEdit::Kind::Eraser)
        e.eraserStep = r.whole(o, "step", 0, 2);
    if (e.isStroke()) {
        const QJsonArray points = r.array(o, "points");
        r.ok = r.ok && !points.isEmpty();
        for (const QJsonValue& p : points) {
            const QJsonArray xy = p.toArray();
            r.ok = r.ok && p.isArray() && xy.size() == 2;
            if (!r.ok)
                break;
            e.points.emplace_back(r.number(xy[0], -1e9, 1e9), r.number(xy[1], -1e9, 1e9));
        }
    }
    return e;
}

const std::pair<const char*, TwipsRect MarkerGeometry::*> kMarkerFields[] = {
    {"lblXY1", &MarkerGeometry::lblXY1},
    {"lblXY2", &MarkerGeometry::lblXY2},
    {"lblX1Index", &MarkerGeometry::lblX1Index},
    {"lblX2Index", &MarkerGeometry::lblX2Index},
    {"lblY1Index", &MarkerGeometry::lblY1Index},
    {"lblY2Index", &MarkerGeometry::lblY2Index},
    {"lblStartPointC", &MarkerGeometry::lblStartPointC},
    {"lblStartPointTxt", &MarkerGeometry::lblStartPointTxt},
    {"shpRectangle", &MarkerGeometry::shpRectangle},
    {"lblEndLine", &MarkerGeometry::lblEndLine},
    {"lblEndLineTxt", &MarkerGeometry::lblEndLineTxt},
};
} // namespace

ProjectFile projectOf(const Digitisation& session, const QString& projectPath)
{
    ProjectFile p;
    const QString picture = QFileInfo(session.picturePath()).absoluteFilePath();
    p.pictureAbsolutePath = picture;
    p.picturePath = QFileInfo(projectPath).absoluteDir().relativeFilePath(picture);
    p.pictureSha256 = fileSha256(picture);
    p.canvas = session.canvas().image().size();
    p.calibration = session.calibration;
    p.markers = session.markers;
    p.trace = session.traceSettings;
    p.binarise = session.binarizeSettings;
    p.edits = session.edits();
    p.sheet = session.sheet;
    return p;
}

QByteArray projectBytes(const ProjectFile& p)
{
    const AxisCalibration& c = p.calibration;
    QJsonObject references{{"x1", c.refX1Pos}, {"y1", c.refY1Pos}, {"x2", c.refX2Pos}, {"y2", c.refY2Pos}};
    QJsonObject markers;
    for (const auto& [name, field] : kMarkerFields)
        markers[QLatin1String(name)] = rectJson(p.markers.*field);
    QJsonArray edits;
    for (const PictureEdit& e : p.edits)
        edits.append(editJson(e));
    const QJsonObject root{
        {"format", kFormat},
        {"version", ProjectFile::kVersion},
        {"picture", QJsonObject{{"path", p.picturePath},
                                {"absolutePath", p.pictureAbsolutePath},
                                {"sha256", QString::fromLatin1(p.pictureSha256)}}},
        {"canvas", sizeJson(p.canvas)},
        {"calibration", QJsonObject{{"set", c.coordinatesSet},
                                    {"figures", c.effectiveFigure},
                                    {"x1", c.x1Value},
                                    {"x2", c.x2Value},
                                    {"y1", c.y1Value},
                                    {"y2", c.y2Value},
                                    {"xLinear", c.xLinear},
                                    {"yLinear", c.yLinear}}},
        {"references", references},
        {"markers", markers},
        {"trace", QJsonObject{{"freq", p.trace.freq}, {"range", p.trace.range}}},
        {"binarise", QJsonObject{{"accepted", p.binarise.binarizeAccepted},
                                 {"colour", double(p.binarise.curveColor)},
                                 {"tolerance", p.binarise.tolerancePercent}}},
        {"edits", edits},
        {"sheet", p.sheet},
    };
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

ProjectRead readProject(const QByteArray& bytes)
{
    ProjectRead read;
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        return read;
    const QJsonObject root = doc.object();
    Reader r;
    r.ok = root.value("format").toString() == kFormat;
    const int version = r.whole(root, "version", 1, std::numeric_limits<int>::max());
    if (!r.ok)
        return read;
    if (version > ProjectFile::kVersion) {
        read.problem = ProjectRead::Problem::TooNew;
        return read;
    }
    ProjectFile& p = read.project;
    const QJsonObject picture = r.object(root, "picture");
    p.picturePath = r.text(picture, "path");
    p.pictureAbsolutePath = r.text(picture, "absolutePath");
    p.pictureSha256 = r.text(picture, "sha256").toLatin1();
    p.canvas = r.size(root.value("canvas"));

    const QJsonObject c = r.object(root, "calibration");
    AxisCalibration& cal = p.calibration;
    cal.coordinatesSet = r.flag(c, "set");
    cal.effectiveFigure = std::int16_t(r.whole(c, "figures", 0, 4));
    cal.x1Value = r.single(c, "x1");
    cal.x2Value = r.single(c, "x2");
    cal.y1Value = r.single(c, "y1");
    cal.y2Value = r.single(c, "y2");
    cal.xLinear = r.flag(c, "xLinear");
    cal.yLinear = r.flag(c, "yLinear");
    r.ok = r.ok && (!cal.coordinatesSet || cal.effectiveFigure >= 1);
    const QJsonObject refs = r.object(root, "references");
    cal.refX1Pos = r.single(refs, "x1");
    cal.refY1Pos = r.single(refs, "y1");
    cal.refX2Pos = r.single(refs, "x2");
    cal.refY2Pos = r.single(refs, "y2");

    const QJsonObject markers = r.object(root, "markers");
    for (const auto& [name, field] : kMarkerFields)
        p.markers.*field = r.rect(markers, name);

    const QJsonObject trace = r.object(root, "trace");
    p.trace.freq = std::int16_t(r.whole(trace, "freq", 1, 32767));
    p.trace.range = std::int16_t(r.whole(trace, "range", 0, 32767));
    const QJsonObject binarise = r.object(root, "binarise");
    p.binarise.binarizeAccepted = r.flag(binarise, "accepted");
    p.binarise.curveColor = quint32(r.whole(binarise, "colour", 0, 0xFFFFFF));
    p.binarise.tolerancePercent = float(r.whole(binarise, "tolerance", 0, 100));

    for (const QJsonValue& e : r.array(root, "edits")) {
        p.edits.push_back(readEdit(r, e));
        if (!r.ok)
            break;
    }
    p.sheet = r.text(root, "sheet");
    read.problem = r.ok ? ProjectRead::Problem::None : ProjectRead::Problem::Damaged;
    return read;
}

QString locateProjectPicture(const ProjectFile& project, const QString& projectPath)
{
    const QDir dir = QFileInfo(projectPath).absoluteDir();
    const QString candidates[] = {
        project.picturePath.isEmpty() ? QString() : dir.absoluteFilePath(project.picturePath),
        project.pictureAbsolutePath,
        dir.absoluteFilePath(QFileInfo(project.picturePath).fileName()),
    };
    for (const QString& c : candidates)
        if (!c.isEmpty() && QFileInfo(c).isFile())
            return c;
    return {};
}

QByteArray fileSha256(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!hash.addData(&file))
        return {};
    return hash.result().toHex();
}

ProjectRead readProjectFile(const QString& path)
{
    // Larger than any project a sheet of points makes; a bigger file is no project.
    constexpr qint64 kMaxProjectBytes = 512LL * 1024 * 1024;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {ProjectRead::Problem::Unreadable, {}};
    if (file.size() > kMaxProjectBytes)
        return {ProjectRead::Problem::Damaged, {}};
    return readProject(file.readAll());
}

QString projectProblemMessage(ProjectRead::Problem problem, const QString& fileName)
{
    switch (problem) {
    case ProjectRead::Problem::Unreadable: return msg::cannotOpen(fileName);
    case ProjectRead::Problem::TooNew: return msg::projectTooNew(fileName);
    case ProjectRead::Problem::None:
    case ProjectRead::Problem::Damaged: break;
    }
    return msg::projectDamaged(fileName);
}

void replayProject(Digitisation& session, const ProjectFile& project)
{
    Canvas& canvas = session.canvas();
    if (canvas.image().size() != project.canvas) {
        canvas.resize(project.canvas, false);
        session.repaint();
    }
    session.replay(project.edits, project.canvas);
    restoreSettings(session, project);
}

void restoreSettings(Digitisation& session, const ProjectFile& project)
{
    session.calibration = project.calibration;
    session.markers = project.markers;
    session.traceSettings = project.trace;
    session.binarizeSettings = project.binarise;
    session.sheet = project.sheet;
}

std::optional<QString> writeFileAtomically(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    // Unbuffered, so a failing write shows at once. A short write (a full disk, a
    // size limit) carries no error of its own: writing the rest makes the system
    // say why.
    bool written = file.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    for (qint64 done = 0; written && done < bytes.size();) {
        const qint64 n = file.write(bytes.constData() + done, bytes.size() - done);
        written = n > 0;
        done += n;
    }
    if (written && file.commit())
        return std::nullopt;
    return file.errorString();
}
