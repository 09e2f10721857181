// Runs every file of a corpus folder through one reader: the committed corpus is a
// regression test with any compiler.
#include "FuzzTargets.h"

#include <QDir>
#include <QFile>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: gf_fuzz_replay userFile|summary|log|itemTables|report DIR\n");
        return 2;
    }
    int (*target)(const uint8_t*, size_t) = nullptr;
    if (!std::strcmp(argv[1], "userFile"))
        target = gffuzz::userFile;
    else if (!std::strcmp(argv[1], "summary"))
        target = gffuzz::summary;
    else if (!std::strcmp(argv[1], "log"))
        target = gffuzz::log;
    else if (!std::strcmp(argv[1], "itemTables"))
        target = gffuzz::itemTables;
    else if (!std::strcmp(argv[1], "report"))
        target = gffuzz::report;
    if (!target)
        return 2;
    const QDir dir(QString::fromLocal8Bit(argv[2]));
    const QStringList files = dir.entryList(QDir::Files, QDir::Name);
    if (files.isEmpty()) {
        std::fprintf(stderr, "empty corpus %s\n", argv[2]);
        return 1;
    }
    for (const QString& name : files) {
        QFile f(dir.filePath(name));
        if (!f.open(QIODevice::ReadOnly))
            return 1;
        const QByteArray bytes = f.readAll();
        target(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size()));
    }
    std::printf("%lld inputs replayed\n", static_cast<long long>(files.size()));
    return 0;
}
