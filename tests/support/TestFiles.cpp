#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

bool writeFile(const QString& path, const QByteArray& contents, QIODevice::OpenMode mode) {
    QFile file(path);
    return QDir().mkpath(QFileInfo(path).absolutePath()) && file.open(mode) &&
           file.write(contents) == contents.size();
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
