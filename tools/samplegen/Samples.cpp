// SPDX-License-Identifier: MIT
#include "Samples.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <random>

namespace tobx::samples {

namespace {
void appendLE32(QByteArray& out, quint32 value)
{
    for (int n = 0; n < 4; ++n)
        out.append(char((value >> (8 * n)) & 0xFF));
}
} // namespace

QByteArray MakeTobArchive(const QList<TobEntry>& entries)
{
    QByteArray directory;
    qsizetype dataSize = 0;
    for (const TobEntry& e : entries) {
        directory += e.name;
        directory += '\0';
        appendLE32(directory, quint32(e.content.size()));
        dataSize += e.content.size();
    }
    QByteArray archive("VXBG");
    appendLE32(archive, quint32(directory.size()));
    archive.reserve(8 + directory.size() + dataSize);
    archive += directory;
    for (const TobEntry& e : entries)
        archive += e.content;
    return archive;
}

QByteArray Filler(qsizetype size, quint32 seed)
{
    QByteArray bytes(size, Qt::Uninitialized);
    std::mt19937 random(seed);
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = char(random() & 0xFF);
    return bytes;
}

QList<TobEntry> NestedEntries(int count, int maxSize, quint32 seed)
{
    std::mt19937 random(seed);
    static const char* const folders[] = {"maps", "textures", "sounds", "scripts", "models"};
    QList<TobEntry> entries;
    entries.reserve(count);
    for (int i = 0; i < count; ++i) {
        QByteArray name;
        const int depth = int(random() % 4); // 0 to 3 folder levels
        for (int level = 0; level < depth; ++level) {
            name += folders[random() % 5];
            name += QByteArray::number(int(random() % 3));
            name += '\\';
        }
        name += "file" + QByteArray::number(i) + (i % 7 == 0 ? ".DAT" : ".bin");
        const qsizetype size = (i % 5 == 0) ? 0 : qsizetype(random() % (quint32(maxSize) + 1));
        entries.append({name, Filler(size, seed + quint32(i))});
    }
    return entries;
}

QByteArray MakeTobList(const QByteArray& archiveName, const QList<QByteArray>& names)
{
    QByteArray list = archiveName + "\r\n\r\n";
    for (const QByteArray& name : names)
        list += name + "\r\n";
    return list;
}

QByteArray MakeToj(qsizetype size, quint32 seed)
{
    // After the cut-off "JFIF" come the 00 that ends it and the rest of APP0.
    QByteArray toj = QByteArray::fromHex("000101004800480000");
    if (toj.size() < size)
        toj += Filler(size - toj.size(), seed);
    return toj.left(size);
}

bool WriteFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace tobx::samples
