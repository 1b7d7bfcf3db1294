#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>

// Files as a test (or another program) writes them: the folder is made as needed, and the write
// is whole or reported as failed. A file that cannot be read reads as empty.
bool writeFile(const QString& path, const QByteArray& contents,
               QIODevice::OpenMode mode = QIODevice::WriteOnly);
QByteArray readFile(const QString& path);
