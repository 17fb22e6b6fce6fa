#pragma once
// Damaged and crafted pictures made from the test fixtures, for the loader's
// robustness tests and for trying the program by hand:
//   build/orvanta_fuzz_corpus tests/fixtures OUTDIR
// Everything is made from fixed seeds, so a failing file can be made again.
#include <QByteArray>
#include <QString>

#include <vector>

struct CorpusFile {
    QString name;
    QByteArray bytes;
};

// Files that once crashed, froze or fooled the program, by name.
std::vector<CorpusFile> namedPictures(const QString& fixtures);
// Pictures at the loader's limits, which open: 400 million pixels, the
// longest side at the narrowest shape.
std::vector<CorpusFile> largestPictures();
// Truncations, bit flips, noise behind magic numbers, absurd sizes, broken
// record chains: a few hundred variants of every fixture.
std::vector<CorpusFile> fuzzCorpus(const QString& fixtures);
