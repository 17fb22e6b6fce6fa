// The helper draws the plain paths of a converted metafile itself, a band of
// the picture at a time, and gives the rest to Qt's SVG renderer in parts; the
// picture must look as the renderer draws the whole document. And metafiles
// that once took minutes to draw open within the helper's limits.
#include "decoder/SvgPainter.h"
#include "platform/picture/QtPictureLoader.h"

#include <QFile>
#include <QPainter>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

#include <cmath>

namespace {

const QSize kSize(600, 450);  // 200 x 150 units, three pixels each: four bands

QByteArray document(const QByteArray& body)
{
    return "<?xml version=\"1.0\"  encoding=\"UTF-8\" standalone=\"no\"?>\n"
           "<svg:svg version=\"1.1\" xmlns=\"http://www.w3.org/2000/svg\" xmlns:svg=\"http://www.w3.org/2000/svg\" "
           "width=\"200.0000\" height=\"150.0000\">\n<svg:g transform=\"translate(-0.0000, -0.0000)\">\n"
        + body + "</svg:g>\n</svg:svg>\n";
}

QByteArray path(const QByteArray& d, const QByteArray& style)
{
    return "<svg:path d=\"" + d + "\" " + style + " />\n";
}

const QByteArray kRound = R"(stroke="#000000" stroke-width="1.0000"  stroke-linecap="round"  stroke-linejoin="round"  fill="none")";
const QByteArray kMitred = R"(stroke="#102030" stroke-width="1.5000"  stroke-linecap="butt"  stroke-linejoin="miter"  fill="none")";
const QByteArray kText = R"(<svg:text font-family="Arial" fill="#000000" font-weight="400" text-anchor="start" x="20.0000" y="40.0000" font-size="9.0000" ><![CDATA[x = 1.5]]></svg:text>)"
                         "\n";

QByteArray point(double x, double y) { return QByteArray::number(x, 'f', 4) + ',' + QByteArray::number(y, 'f', 4) + ' '; }

// Short strokes on a grid, some across the edges between bands.
QByteArray strokes(int count, const QByteArray& style = kRound)
{
    QByteArray out;
    for (int i = 0; i < count; ++i) {
        const double x = 10 + (i * 37) % 180, y = 5 + (i * 53) % 140;
        out += path("M " + point(x, y) + "L " + point(x + 3 + i % 5, y + 2 + i % 7), style);
    }
    return out;
}

// A wavy line across the frame, every `every`-th point thrown `far` away.
QByteArray wave(int points, int every = 0, double far = 0)
{
    QByteArray d = "M " + point(5, 75);
    for (int i = 1; i < points; ++i) {
        const bool out = every && i % every == 0;
        d += "L " + (out ? point(i % 2 ? far : -far, i % 4 < 2 ? far : -far) : point(5 + 190.0 * i / points, 75 + 60 * std::sin(i / 7.0)));
    }
    return d;
}

QImage blank()
{
    QImage image(kSize, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

int differing(const QImage& a, const QImage& b)
{
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            n += std::abs(qRed(p) - qRed(q)) > 25 || std::abs(qGreen(p) - qGreen(q)) > 25 || std::abs(qBlue(p) - qBlue(q)) > 25;
        }
    return n;
}

TEST(SvgPainter, DrawsAsTheSvgRendererDrawsTheWholeDocument)
{
    const struct {
        const char* name;
        QByteArray body;
    } cases[] = {
        {"short round strokes, across the bands", strokes(400)},
        {"a long line with mitred corners", path(wave(600), kMitred) + path(wave(40), kMitred)},
        {"closed shapes filled and stroked",
         path("M 20,20 L 120,40 L 40,130 Z M 150,10 L 190,140 L 100,90 L 160,60 Z", R"(stroke="#0000FF" stroke-width="4.0000"  stroke-linecap="square"  stroke-linejoin="bevel" fill="#FF8000")")
             + path("M 60,60 L 80,60 L 80,80 Z", R"(stroke="none" stroke-width="0.0" fill="#00A000")")},
        {"curves, small and across the picture",
         path("M 10,140 C 60,-80 140,230 190,10 C 150,60 50,90 10,140 Z", R"(stroke="#0000FF" stroke-width="2.0000"  stroke-linecap="round"  stroke-linejoin="round" fill="#C0C0FF")")
             + path("M 20,20 C 30,10 40,30 50,20 L 60,25", kRound)},
        {"a turned group", "<svg:g transform=\"matrix(0.8660 0.5000 -0.5000 0.8660 60.0000 -30.0000)\">\n" + strokes(50) + path(wave(100), kMitred) + "</svg:g>\n"},
        {"text and dashes between runs of strokes",
         strokes(3) + kText + strokes(40) + kText + path(wave(80), R"(stroke="#000000" stroke-width="1.0000" stroke-dasharray="5.0000,5.0000" fill="none")") + strokes(5)},
        {"lines far outside the frame and a wide pen",
         path(wave(400, 3, 1e7), kRound) + path("M -50,40 L 250,100", R"(stroke="#404040" stroke-width="900.0000" stroke-linecap="butt" stroke-linejoin="miter" fill="none")")},
        {"strokes naming a clipping region the renderer does not apply",
         "<svg:defs><svg:clipPath id=\"c1\"><svg:path d=\"M 20,20 L 100,20 L 100,100 Z\" /></svg:clipPath></svg:defs>\n"
             + strokes(300, "clip-path=\"url(#c1)\" " + kRound)},
        {"a line and a corner reaching past any band number",
         path("M 100,10 L 100,1000000000000.0000", kRound)
             + path("M 20,20 L 60,20 L 40,1000000000000.0000 Z", R"(stroke="none" stroke-width="0.0" fill="#00A000")")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QByteArray svg = document(c.body);
        QImage expected = blank(), painted = blank();
        QSvgRenderer renderer(svg);
        ASSERT_TRUE(renderer.isValid());
        renderer.setAspectRatioMode(Qt::IgnoreAspectRatio);
        QPainter painter(&expected);
        renderer.render(&painter, QRectF(QPointF(0, 0), kSize));
        painter.end();

        SvgPainter ours(std::string_view(svg.constData(), std::size_t(svg.size())));
        ASSERT_TRUE(ours.isValid());
        EXPECT_EQ(ours.defaultSize(), QSize(200, 150));
        ASSERT_TRUE(ours.paint(painted));
        EXPECT_NE(painted, blank());
        EXPECT_LE(differing(expected, painted), 20);
    }
    // A curve out to the far ends of the coordinate range leaves the frame
    // along the lines from its ends towards its control points.
    const QByteArray far = document(path("M 10,75 C 10000000,-10000000 -10000000,10000000 190,75", kRound));
    QImage painted = blank();
    ASSERT_TRUE(SvgPainter(std::string_view(far.constData(), std::size_t(far.size()))).paint(painted));
    for (int k = 5; k < 70; k += 8) {
        EXPECT_LT(qGray(painted.pixel(3 * (10 + k), 3 * (75 - k))), 100) << k;
        EXPECT_LT(qGray(painted.pixel(3 * (190 - k), 3 * (75 + k) - 1)), 100) << k;
    }
    for (const QByteArray& broken : {document("</svg:g>\n"), document("<svg:g>\n") , document(strokes(3)).chopped(12)}) {
        SvgPainter ours(std::string_view(broken.constData(), std::size_t(broken.size())));
        QImage image = blank();
        EXPECT_FALSE(ours.isValid() && ours.paint(image)) << broken.toStdString();
    }
}

QByteArray le32(qint32 v)
{
    QByteArray b(4, 0);
    qToLittleEndian(v, b.data());
    return b;
}

// A plot whose line runs thousands of times between the frame and the far
// edges of the coordinate range, drawn with a pen as wide as the picture:
// the SVG renderer took minutes over one of a few hundred points.
TEST(MetafileLoad, LinesToTheEdgesOfTheCoordinateRangeOpen)
{
    QFile f(QStringLiteral(ORVANTA_FIXTURES "/plot.emf"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray emf = f.readAll();
    qsizetype eof = 0;
    quint32 records = 0;
    for (qsizetype at = 0; at + 8 <= emf.size(); at += qFromLittleEndian<quint32>(emf.constData() + at + 4), ++records) {
        if (qFromLittleEndian<quint32>(emf.constData() + at) == 14)
            eof = at;
    }
    ASSERT_GT(eof, 0);
    const auto record = [](qint32 type, const QByteArray& body) { return le32(type) + le32(qint32(8 + body.size())) + body; };
    constexpr int kPoints = 6000;
    QByteArray points;
    for (int i = 0; i < kPoints; ++i) {
        const bool far = i % 3 == 0;
        points += le32(far ? (i % 2 ? 0x7ffffff0 : -0x7ffffff0) : 700 + 4500 * i / kPoints);
        points += le32(far ? (i % 4 < 2 ? 0x7ffffff0 : -0x7ffffff0) : qint32(1800 + 1500 * std::sin(i / 20.0)));
    }
    const QByteArray added = record(4, QByteArray(16, 0) + le32(kPoints) + points)  // a polyline
        + record(38, le32(1) + le32(0x10000) + le32(30000) + le32(0) + le32(0x404040)) + record(37, le32(1))  // a wide pen
        + record(4, QByteArray(16, 0) + le32(3) + points.left(24));  // drawn with it
    QByteArray out = emf.left(eof) + added + emf.mid(eof);
    qToLittleEndian<quint32>(quint32(out.size()), out.data() + 48);
    qToLittleEndian<quint32>(records + 4, out.data() + 52);

    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("far lines.emf"));
    QFile file(name);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(out) == out.size());
    file.close();
    const PictureLoadResult result = QtPictureLoader().load(name, kSize);
    ASSERT_TRUE(result.ok()) << result.error.toStdString();
    EXPECT_EQ(result.picture.image().size(), kSize);
}

} // namespace
