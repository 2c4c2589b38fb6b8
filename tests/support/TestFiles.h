#pragma once

#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QString>

// Whole-file reads and writes for tests that check what lands on a card.
inline QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Every file below a folder, relative to it, with its bytes.
inline QMap<QString, QByteArray> FolderContent(const QString& folder)
{
    QMap<QString, QByteArray> content;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        content.insert(QDir(folder).relativeFilePath(path), ReadAll(path));
    }
    return content;
}
