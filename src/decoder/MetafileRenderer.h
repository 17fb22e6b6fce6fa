#pragma once
#include "DecodeOutcome.h"

#include <QByteArray>
#include <QSize>

// Renders an enhanced or standard metafile to opaque pixels of `size` (its own
// size when empty; clamped to kMaxRenderSide and kMaxRenderPixels), stretched
// to fill it. Qt draws SVG anti-aliased, so a line narrower than two pixels
// turns grey: callers ask for a size a few times their canvas and shrink it
// keeping the darkest value, which leaves every line dark.
DecodeOutcome renderMetafile(const QByteArray& file, QSize size);

constexpr int kMaxRenderSide = 16384;
constexpr qint64 kMaxRenderPixels = 64'000'000;

// The size a rendering of `requested` pixels is actually made at.
QSize clampedRenderSize(QSize requested);
