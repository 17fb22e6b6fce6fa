#include "SvgPaths.h"

#include <QList>

namespace {

// Rewrites one path element's data as several elements, or returns false when
// the data is more than moves and lines (then it is left for Qt to judge).
bool splitPath(const QByteArray& head, const QByteArray& data, const QByteArray& tail, QByteArray& out)
{
    QList<QByteArray> pieces;
    QByteArray current;
    QByteArray lastPoint;
    int points = 0;
    char command = 0;
    for (const QByteArray& token : data.simplified().split(' ')) {
        if (token == "M" || token == "L") {
            command = token[0];
            continue;
        }
        if (command == 0 || !token.contains(','))
            return false;
        const bool move = command == 'M';
        command = 'L';  // pairs after a move are lines
        if (!move && points >= kMaxPathPoints) {
            pieces << current;
            current = "M " + lastPoint;
            points = 1;
        }
        current += (current.isEmpty() ? "" : " ") + QByteArray(move ? "M " : "L ") + token;
        lastPoint = token;
        ++points;
    }
    pieces << current;
    for (const QByteArray& piece : pieces)
        out += head + piece + tail;
    return true;
}

} // namespace

QByteArray splitLongPaths(const QByteArray& svg)
{
    static const QByteArray kOpen = "<svg:path d=\"";
    QByteArray out;
    qsizetype done = 0;
    for (qsizetype at = svg.indexOf(kOpen); at >= 0; at = svg.indexOf(kOpen, done)) {
        const qsizetype dataStart = at + kOpen.size();
        const qsizetype dataEnd = svg.indexOf('"', dataStart);
        const qsizetype end = dataEnd < 0 ? -1 : svg.indexOf("/>", dataEnd);
        if (end < 0)
            break;
        const QByteArray data = svg.mid(dataStart, dataEnd - dataStart);
        const QByteArray tail = svg.mid(dataEnd, end + 2 - dataEnd);
        out += svg.mid(done, at - done);
        done = end + 2;
        if (data.count(' ') / 2 > kMaxPathPoints && tail.contains("fill=\"none\"")
            && splitPath(kOpen, data, tail, out))
            continue;
        out += svg.mid(at, done - at);
    }
    out += svg.mid(done);
    return out;
}
