// Replays files (or every file of folders) through the loading road, for compilers without
// libFuzzer: the corpus and the kept findings run in every build.

#include "LoadingRoad.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTextStream>

int main(int argc, char** argv) {
    const QGuiApplication application(argc, argv);
    QTextStream out(stdout);
    const QTemporaryDir folder;
    int replayed = 0;
    for (const QString& argument : application.arguments().mid(1)) {
        QStringList files;
        if (QFileInfo(argument).isDir()) {
            QDirIterator entries(argument, QDir::Files);
            while (entries.hasNext()) {
                files << entries.next();
            }
        } else {
            files << argument;
        }
        files.sort();
        for (const QString& path : files) {
            QFile file(path);
            if (!file.open(QIODevice::ReadOnly)) {
                out << "cannot read " << path << Qt::endl;
                return 1;
            }
            travelLoadingRoad(file.readAll(), folder.path());
            ++replayed;
        }
    }
    out << "replayed " << replayed << " inputs" << Qt::endl;
    return replayed > 0 ? 0 : 1;
}
