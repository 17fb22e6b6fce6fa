// Writes the damaged and crafted pictures to a folder, to try them by hand:
//   build/orvanta_fuzz_corpus tests/fixtures OUTDIR
#include "FuzzCorpus.h"

#include <QDir>
#include <QFile>
#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: orvanta_fuzz_corpus FIXTURES OUTDIR\n");
        return 2;
    }
    const QString fixtures = QString::fromLocal8Bit(argv[1]);
    const QDir out(QString::fromLocal8Bit(argv[2]));
    QDir().mkpath(out.path());
    std::vector<CorpusFile> files = namedPictures(fixtures);
    for (CorpusFile& f : fuzzCorpus(fixtures))
        files.push_back(std::move(f));
    for (CorpusFile& f : largestPictures())
        files.push_back(std::move(f));
    for (const CorpusFile& f : files) {
        QFile file(out.filePath(f.name));
        if (!file.open(QIODevice::WriteOnly) || file.write(f.bytes) != f.bytes.size())
            return 1;
    }
    std::printf("%zu files\n", files.size());
    return 0;
}
