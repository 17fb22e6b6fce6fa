#pragma once
#include <QByteArray>

// How many scans (start-of-scan segments) the first picture of a JPEG file
// holds, found by walking its segments and skipping each scan's coded data,
// without decoding anything. Counting stops at the end of the picture or of
// the file, whichever comes first.
qint64 jpegScanCount(const QByteArray& file);
