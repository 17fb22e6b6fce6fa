#include "FuzzCorpus.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>

namespace {

QByteArray readFixture(const QString& fixtures, const char* name)
{
    QFile f(fixtures + QLatin1Char('/') + QLatin1String(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The fixtures are read as found: a damaged or missing one must not make the
// corpus read or write outside it, so nothing is written past the end and
// zero is read there.
void put16(QByteArray& b, qsizetype at, quint16 v)
{
    if (at >= 0 && at + 2 <= b.size())
        qToLittleEndian(v, b.data() + at);
}
void put32(QByteArray& b, qsizetype at, quint32 v)
{
    if (at >= 0 && at + 4 <= b.size())
        qToLittleEndian(v, b.data() + at);
}
quint32 get32(const QByteArray& b, qsizetype at)
{
    return at >= 0 && at + 4 <= b.size() ? qFromLittleEndian<quint32>(b.constData() + at) : 0;
}
QByteArray le16(quint16 v) { QByteArray b(2, 0); put16(b, 0, v); return b; }
QByteArray le32(quint32 v) { QByteArray b(4, 0); put32(b, 0, v); return b; }

QByteArray encoded(const QImage& image, const char* format, int compression = -1, bool progressive = false)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (compression >= 0)
        writer.setCompression(compression);
    writer.setProgressiveScanWrite(progressive);
    writer.write(image);
    return buffer.data();
}

// --- enhanced metafile records ---

struct Record { qsizetype at; quint32 type; quint32 size; };

std::vector<Record> emfRecords(const QByteArray& emf)
{
    std::vector<Record> out;
    for (qsizetype at = 0; at + 8 <= emf.size();) {
        const Record r{at, get32(emf, at), get32(emf, at + 4)};
        out.push_back(r);
        if (r.type == 14 || r.size < 8)
            break;
        at += r.size;
    }
    return out;
}

QByteArray emfRecord(quint32 type, const QByteArray& payload)
{
    QByteArray body = payload;
    body.append((4 - body.size() % 4) % 4, '\0');
    return le32(type) + le32(quint32(8 + body.size())) + body;
}

// The fixture with `records` drawn last, header totals kept right.
QByteArray emfWith(const QByteArray& emf, const QByteArray& records, int count)
{
    const Record eof = emfRecords(emf).back();
    QByteArray out = emf.left(eof.at) + records + emf.mid(eof.at);
    put32(out, 48, quint32(out.size()));
    put32(out, 52, get32(out, 52) + quint32(count));
    return out;
}

// A small run-length bitmap declaring width x height pixels: one black row, a
// few white ones, then the end-of-bitmap code leaves the rest blank.
QByteArray rleBitmap(int width, int height)
{
    const auto row = [width](char index) {
        QByteArray runs;
        for (int left = width; left > 0; left -= 255)
            runs += QByteArray(1, char(std::min(left, 255))) + QByteArray(1, index);
        return runs + QByteArray("\x00\x00", 2);
    };
    QByteArray rle = row('\x01');
    for (int i = 0; i < std::min(240, height - 1); ++i)
        rle += row('\x00');
    rle += QByteArray("\x00\x01", 2);
    const QByteArray palette = le32(0x00ffffff) + le32(0);
    QByteArray info = le32(40) + le32(quint32(width)) + le32(quint32(height)) + le16(1) + le16(8) + le32(1)
        + le32(quint32(rle.size())) + le32(2835) + le32(2835) + le32(2) + le32(2);
    const quint32 offBits = 14 + 40 + quint32(palette.size());
    return "BM" + le32(offBits + quint32(rle.size())) + le32(0) + le32(offBits) + info + palette + rle;
}

// A white picture with a black top row, as a PNG (a few kilobytes however long).
QByteArray stripPng(int width, int height)
{
    QImage image(width, height, QImage::Format_Mono);
    image.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    image.fill(0);
    std::memset(image.scanLine(0), 0xff, size_t(image.bytesPerLine()));
    return encoded(image, "png");
}

// A standard metafile with `count` short texts strewn over the drawing.
QByteArray manyTextWmf(const QByteArray& wmf, int count)
{
    const qsizetype header = get32(wmf, 0) == 0x9AC6CDD7u ? 22 : 0;
    if (wmf.size() < header + 18 + 6)
        return {};
    QByteArray texts;
    for (int i = 0; i < count; ++i)
        texts += le32(3 + 1 + 2 + 2) + le16(0x0521) + le16(4) + "12.5" + le16(quint16(i * 37 % 1000))
            + le16(quint16(i * 91 % 1500));
    QByteArray out = wmf.chopped(6) + texts + wmf.right(6);
    put32(out, header + 6, quint32((out.size() - header) / 2));
    return out;
}

// A bilevel TIFF of 40 x 10,000,000 pixels with a black top row (50 MB).
QByteArray tallBilevelTiff()
{
    QImage image(40, 10'000'000, QImage::Format_Mono);
    image.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    image.fill(0);
    std::memset(image.scanLine(0), 0xff, size_t(image.bytesPerLine()));
    return encoded(image, "tiff", 0);
}

// A progressive JPEG header claiming 4000 x 4000 pixels followed by `scans`
// scans of almost no data: each scan walks every block of the picture.
QByteArray manyScanJpeg(int scans)
{
    QImage small(64, 64, QImage::Format_RGB32);
    small.fill(Qt::white);
    const QByteArray jpeg = encoded(small, "jpeg", -1, true);
    const qsizetype sof = jpeg.indexOf("\xff\xc2");
    const qsizetype sos = jpeg.indexOf("\xff\xda");
    if (sof < 0 || sos < 0)
        return {};
    QByteArray head = jpeg.left(sos);
    qToBigEndian<quint16>(4000, head.data() + sof + 5);
    qToBigEndian<quint16>(4000, head.data() + sof + 7);
    const int sosLength = qFromBigEndian<quint16>(jpeg.constData() + sos + 2);
    const QByteArray scan = jpeg.mid(sos, 2 + sosLength) + QByteArray("\x12\x34", 2);
    return head + scan.repeated(scans) + QByteArray("\xff\xd9", 2);
}

// A PNG whose text chunk claims 2 GB, placed before the pixel data.
QByteArray hugeTextChunkPng(const QByteArray& png)
{
    QByteArray chunk(4, '\0');
    qToBigEndian<quint32>(0x7ffffff0u, chunk.data());
    chunk += "tEXtComment\0" + QByteArray(64, 'x');
    return png.left(33) + chunk + png.mid(33);
}

QByteArray patchedJpegSize(const QByteArray& jpeg, quint16 w, quint16 h)
{
    QByteArray out = jpeg;
    const qsizetype sof = out.indexOf("\xff\xc0");
    if (sof >= 0) {
        qToBigEndian<quint16>(h, out.data() + sof + 5);
        qToBigEndian<quint16>(w, out.data() + sof + 7);
    }
    return out;
}

// The range of points the fixture draws between, in its logical units.
QRect emfDrawingBox(const QByteArray& emf)
{
    QRect box;
    for (const Record& r : emfRecords(emf)) {
        if (r.type == 27 || r.type == 54)  // move to, line to
            box |= QRect(int(get32(emf, r.at + 8)), int(get32(emf, r.at + 12)), 1, 1);
    }
    return box;
}

// The fixture without its lines and text, set-up records kept.
QByteArray emfWithoutDrawing(const QByteArray& emf)
{
    QByteArray out;
    quint32 count = 0;
    for (const Record& r : emfRecords(emf)) {
        if (r.type != 27 && r.type != 54 && r.type != 83 && r.type != 84) {
            out += emf.mid(r.at, r.size);
            ++count;
        }
    }
    put32(out, 48, quint32(out.size()));
    put32(out, 52, count);
    return out;
}

// A plotter's way of drawing one finely sampled curve: one move, then 300,000
// line records, here five periods of a sine across the whole drawing, which
// is all there is on the page.
QByteArray longPolylineEmf(const QByteArray& fixture, int points)
{
    const QRect box = emfDrawingBox(fixture);
    const QByteArray emf = emfWithoutDrawing(fixture);
    const auto y = [&](int i) { return box.center().y() + int(box.height() / 3 * std::sin(i * 10 * M_PI / points)); };
    QByteArray records = emfRecord(27, le32(quint32(box.left())) + le32(quint32(y(0))));
    records.reserve(points * 16 + 16);
    for (int i = 1; i <= points; ++i) {
        const int x = box.left() + int(qint64(box.width() - 1) * i / points);
        records += emfRecord(54, le32(quint32(x)) + le32(quint32(y(i))));
    }
    return emfWith(emf, records, points + 1);
}

QByteArray extremeCoordinatesEmf(const QByteArray& emf)
{
    QByteArray out = emf;
    int n = 0;
    for (const Record& r : emfRecords(emf)) {
        if (r.type == 54 && n++ % 3 == 0) {
            put32(out, r.at + 8, n % 2 ? 0x7ffffff0u : 0x80000010u);
            put32(out, r.at + 12, n % 4 < 2 ? 0x7ffffff0u : 0x80000010u);
        }
    }
    return out;
}

QByteArray topDownBitmap(const QByteArray& bmp)
{
    QByteArray out = bmp;
    const qint32 height = qint32(get32(bmp, 22));
    const qsizetype offBits = get32(bmp, 10);
    if (height <= 0 || offBits <= 0 || offBits >= bmp.size())
        return {};
    const qsizetype stride = (bmp.size() - offBits) / height;
    for (int y = 0; y < height; ++y)
        std::memcpy(out.data() + offBits + y * stride, bmp.constData() + offBits + (height - 1 - y) * stride, size_t(stride));
    put32(out, 22, quint32(-height));
    return out;
}

// An uncompressed true-colour TGA of 40 x 30 grey pixels.
QByteArray targa()
{
    QByteArray header(18, '\0');
    header[2] = 2;
    put16(header, 12, 40);
    put16(header, 14, 30);
    header[16] = 24;
    return header + QByteArray(40 * 30 * 3, '\x80');
}

// The checksum of a PNG chunk, over its type and data.
quint32 crc32(const char* data, qsizetype size)
{
    quint32 c = 0xffffffffu;
    for (qsizetype i = 0; i < size; ++i) {
        c ^= quint8(data[i]);
        for (int k = 0; k < 8; ++k)
            c = (c >> 1) ^ (0xedb88320u & (0u - (c & 1)));
    }
    return ~c;
}

// Changes `length` bytes of the PNG chunk at `at` from `offset` into its data
// and mends its checksum, so that only the decoder can tell.
QByteArray withPngChunkBytes(const QByteArray& png, qsizetype at, qsizetype offset, const QByteArray& bytes)
{
    QByteArray out = png;
    const qsizetype length = qFromBigEndian<quint32>(png.constData() + at);
    if (at + 12 + length > out.size() || offset + bytes.size() > length)
        return {};
    out.replace(at + 8 + offset, bytes.size(), bytes);
    qToBigEndian<quint32>(crc32(out.constData() + at + 4, length + 4), out.data() + at + 8 + length);
    return out;
}

// A PNG of 16 bits a channel declaring 15000 x 15000 pixels: within the pixel
// limit, but eight bytes each.
QByteArray deepHugePng()
{
    QImage deep(8, 8, QImage::Format_RGBA64);
    deep.fill(Qt::white);
    return withPngChunkBytes(encoded(deep, "png"), 8, 0, QByteArray::fromHex("00003a9800003a98"));
}

// A 40 x 30 grey picture stored without compression, one byte of its pixels
// changed and every chunk checksum right: the change decodes to a wrong
// pixel, and only the check of the compressed data tells.
QByteArray damagedPixelDataPng()
{
    const int w = 40, h = 30;
    QByteArray rows;
    for (int y = 0; y < h; ++y)
        rows += QByteArray(1, '\0') + QByteArray(w * 3, char(0x80));  // no filter, then the row
    QByteArray data = qCompress(rows, 0).mid(4);  // a zlib stream of stored blocks
    data[2 + 5 + 15 * (w * 3 + 1) + 10] = char(0x00);
    const auto chunk = [](const char* type, const QByteArray& body) {
        QByteArray out(4, '\0');
        qToBigEndian<quint32>(quint32(body.size()), out.data());
        const QByteArray typed = QByteArray(type) + body;
        QByteArray crc(4, '\0');
        qToBigEndian<quint32>(crc32(typed.constData(), typed.size()), crc.data());
        return out + typed + crc;
    };
    QByteArray header(13, '\0');
    qToBigEndian<quint32>(w, header.data());
    qToBigEndian<quint32>(h, header.data() + 4);
    header[8] = 8;  // bits a channel
    header[9] = 2;  // true colour
    // The stream's own check in a chunk of its own, read after the last row.
    return QByteArray("\x89PNG\r\n\x1a\n") + chunk("IHDR", header) + chunk("IDAT", data.chopped(4))
        + chunk("IDAT", data.right(4)) + chunk("IEND", {});
}

// A clipping region around the whole drawing, set before anything is drawn,
// as plotting programs clip to their frame.
QByteArray clippedEmf(const QByteArray& emf)
{
    const QRect box = emfDrawingBox(emf).adjusted(-10, -10, 10, 10);
    const qsizetype header = get32(emf, 4);
    QByteArray out = emf.left(header)
        + emfRecord(30, le32(quint32(box.left())) + le32(quint32(box.top())) + le32(quint32(box.right())) + le32(quint32(box.bottom())))
        + emf.mid(header);
    put32(out, 48, quint32(out.size()));
    put32(out, 52, get32(out, 52) + 1);
    return out;
}

} // namespace

std::vector<CorpusFile> namedPictures(const QString& fixtures)
{
    const QByteArray jpg = readFixture(fixtures, "graph.jpg"), gif = readFixture(fixtures, "graph.gif");
    const QByteArray rle = readFixture(fixtures, "graph-rle.bmp"), emf = readFixture(fixtures, "plot.emf");
    std::vector<CorpusFile> out = {
        {"rle 16x16000000.bmp", rleBitmap(16, 16'000'000)},
        {"rle 1x268000000.bmp", rleBitmap(1, 268'000'000)},
        {"bilevel 40x10000000.tif", tallBilevelTiff()},
        {"strip 30000x20.png", stripPng(30'000, 20)},
        {"progressive 3000 scans.jpg", manyScanJpeg(3000)},
        {"progressive 20000 scans.jpg", manyScanJpeg(20'000)},
        {"texts 50000.wmf", manyTextWmf(readFixture(fixtures, "drawing.wmf"), 50'000)},
        {"polyline 600000.emf", longPolylineEmf(emf, 600'000)},
        {"extreme coordinates.emf", extremeCoordinatesEmf(emf)},
        {"text chunk 2GB.png", hugeTextChunkPng(readFixture(fixtures, "graph.png"))},
        {"patched 20000x20000.jpg", patchedJpegSize(jpg, 20000, 20000)},
        {"polyline 300000.emf", longPolylineEmf(emf, 300'000)},
        {"trailing data.jpg", jpg + QByteArray(1000, '\x5a')},
        {"no trailer.gif", gif.chopped(1)},
        {"trailing data.gif", gif + QByteArray(500, '\x5a')},
        {"top-down.bmp", topDownBitmap(readFixture(fixtures, "graph.bmp"))},
        {"rle cut in half.bmp", rle.left(rle.size() / 2)},
        {"middle cut.jpg", jpg.left(jpg.size() * 2 / 5) + jpg.right(jpg.size() / 5)},
        {"middle cut.gif", gif.left(gif.size() / 2) + gif.right(4)},
        {"targa named.jpg", targa()},
        {"wbmp named.jpg", QByteArray("\0\0\x28\x1e", 4) + QByteArray(5 * 30, '\x0f')},
        {"deep 15000x15000.png", deepHugePng()},
        {"damaged pixel data.png", damagedPixelDataPng()},
        {"clip region.emf", clippedEmf(emf)},
    };
    // Records shorter than their type's fixed part, which the converter reads
    // in full: type, then that fixed size in bytes.
    const std::pair<quint32, int> fixedParts[] = {{90, 32}, {91, 32}, {35, 32}, {36, 36}, {44, 32}, {45, 40},
        {46, 40}, {47, 40}, {55, 40}, {76, 100}, {77, 108}, {81, 80}, {82, 104}, {83, 76}, {84, 76}, {95, 52},
        {114, 108}};
    for (const auto& [type, fixed] : fixedParts)
        out.push_back({QStringLiteral("short record %1.emf").arg(type), emfWith(emf, emfRecord(type, QByteArray(fixed - 12, '\0')), 1)});
    // Counts beyond the record: 1000 points in a record holding two.
    const QByteArray twoPoints = QByteArray(16, '\0') + le32(1) + le32(1000) + le32(1000) + QByteArray(8, '\0');
    out.push_back({"record counts 90.emf", emfWith(emf, emfRecord(90, twoPoints), 1)});
    const QByteArray text = QByteArray(16, '\0') + le32(1) + le32(0) + le32(0) + QByteArray(8, '\0') + le32(1000)
        + le32(76) + le32(0) + QByteArray(16, '\0') + le32(0) + QByteArray(8, 'a');
    out.push_back({"record counts 84.emf", emfWith(emf, emfRecord(84, text), 1)});
    return out;
}

std::vector<CorpusFile> largestPictures()
{
    return {{"strip 20000x20000.png", stripPng(20'000, 20'000)}, {"strip 65535x66.png", stripPng(65'535, 66)}};
}

std::vector<CorpusFile> fuzzCorpus(const QString& fixtures)
{
    std::vector<CorpusFile> sources;
    for (const char* name : {"graph.bmp", "graph-rle.bmp", "graph.jpg", "graph.gif", "graph.png", "plot.emf", "drawing.wmf"})
        sources.push_back({QString::fromLatin1(name), readFixture(fixtures, name)});
    const QImage png = QImage::fromData(sources[4].bytes);
    sources.push_back({"graph.tif", encoded(png, "tiff", 1)});
    sources.push_back({"graph.webp", encoded(png, "webp")});

    std::vector<CorpusFile> out;
    std::mt19937 random(20240607);
    for (const CorpusFile& source : sources) {
        const QByteArray& b = source.bytes;
        const auto add = [&](const QString& what, const QByteArray& bytes) {
            out.push_back({QStringLiteral("%1 %2.%3").arg(source.name.section('.', 0, 0), what, source.name.section('.', 1)), bytes});
        };
        for (int k = 1; k < 8; ++k)
            add(QStringLiteral("cut %1").arg(k), b.left(b.size() * k / 8));
        for (int i = 0; i < 10; ++i) {
            QByteArray flipped = b;
            for (int n = 0; n <= i % 3; ++n)
                flipped[random() % b.size()] ^= char(1 << (random() % 8));
            add(QStringLiteral("flip %1").arg(i), flipped);
        }
        for (int i = 0; i < 2; ++i) {
            QByteArray noise(b.size(), '\0');
            for (char& c : noise)
                c = char(random());
            add(QStringLiteral("noise %1").arg(i), b.left(8) + noise.mid(8));
        }
        // Sizes, offsets and counts in the headers: zero, negative, huge.
        for (qsizetype at = 0; at + 4 <= std::min<qsizetype>(b.size(), 48); at += 4) {
            for (const quint32 v : {0u, 0x7fffffffu}) {
                QByteArray patched = b;
                put32(patched, at, v);
                add(QStringLiteral("field %1=%2").arg(at).arg(v, 0, 16), patched);
            }
        }
        for (qsizetype at = 2; at + 2 <= std::min<qsizetype>(b.size(), 32); at += 4) {
            QByteArray patched = b;
            put16(patched, at, 0xffff);
            add(QStringLiteral("half %1").arg(at), patched);
        }
    }
    // Record chains: sizes of zero, past the end, or one word short.
    const QByteArray emf = sources[5].bytes;
    const std::vector<Record> records = emfRecords(emf);
    for (size_t i = 1; i < records.size(); i += records.size() / 20) {
        for (const quint32 size : {0u, 0x7ffffff0u, records[i].size - 4}) {
            QByteArray patched = emf;
            put32(patched, records[i].at + 4, size);
            out.push_back({QStringLiteral("plot record %1 size %2.emf").arg(i).arg(size), patched});
        }
    }
    const QByteArray wmf = sources[6].bytes;
    for (qsizetype at = 40, n = 0; at + 6 <= wmf.size() && n < 20; ++n) {
        const quint32 words = get32(wmf, at);
        for (const quint32 size : {0u, 0x7fffffffu}) {
            QByteArray patched = wmf;
            put32(patched, at, size);
            out.push_back({QStringLiteral("drawing record %1 size %2.wmf").arg(n).arg(size), patched});
        }
        if (words < 3)
            break;
        at += qsizetype(words) * 2;
    }
    return out;
}
