// SPDX-License-Identifier: MIT
#include "RcSamples.h"

#include "Samples.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <numeric>
#include <random>

namespace tobx::samples {

namespace {

const QByteArray kImageMagic = QByteArrayLiteral("GT20");
constexpr qint64 kChunkSize = 1 << 20;

void appendLE32(QByteArray& out, quint32 value)
{
    for (int n = 0; n < 4; ++n)
        out.append(char((value >> (8 * n)) & 0xFF));
}

// Every sixth entry is empty.
bool isEmptyEntry(int entry)
{
    return entry % 6 == 5;
}

// The image is cut into equal slots, one per non-empty entry; each entry
// takes between half and all of a slot. The first entry keeps the first slot,
// so that the index begins with four zero bytes and the first entry with the
// image's "GT20", as in the game's files; the other slots are handed out in a
// shuffled order so that the index is not in image order.
QList<int> shuffledSlots(int slotCount, std::mt19937& random)
{
    QList<int> slots(slotCount);
    std::iota(slots.begin(), slots.end(), 0);
    if (slotCount > 1)
        std::shuffle(slots.begin() + 1, slots.end(), random);
    return slots;
}

void fillRandom(std::mt19937& random, char* out, qint64 count)
{
    for (qint64 i = 0; i < count; ++i)
        out[i] = char(random() & 0xFF);
}

} // namespace

QList<RcSampleRecord> RcSampleRecords(int entries, qint64 imageSize, quint32 seed)
{
    std::mt19937 random(seed);
    int filled = 0;
    for (int i = 0; i < entries; ++i)
        filled += isEmptyEntry(i) ? 0 : 1;
    const qint64 slotSize = filled > 0 ? std::max<qint64>(imageSize, 0) / filled : 0;
    const QList<int> slots = shuffledSlots(filled, random);
    QList<RcSampleRecord> records;
    records.reserve(entries);
    int nextSlot = 0;
    for (int i = 0; i < entries; ++i) {
        RcSampleRecord record;
        if (isEmptyEntry(i)) {
            record.offset = quint32(quint64(random()) % quint64(imageSize + 1));
        } else {
            const qint64 half = slotSize / 2;
            const int slot = slots[nextSlot++];
            record.offset = quint32(slot * slotSize);
            // The first entry runs to its slot's end, so it holds the magic.
            record.length = quint32(slot == 0 ? slotSize : slotSize - qint64(random() % quint64(half + 1)));
        }
        record.word3 = quint32(random());
        record.word4 = i % 4 == 0 ? 0xFFFFFFFFu : quint32(random() % 1000);
        records.append(record);
    }
    return records;
}

QByteArray MakeRcIndex(const QList<RcSampleRecord>& records)
{
    QByteArray index;
    index.reserve(records.size() * 16);
    for (const RcSampleRecord& record : records) {
        appendLE32(index, record.offset);
        appendLE32(index, record.length);
        appendLE32(index, record.word3);
        appendLE32(index, record.word4);
    }
    return index;
}

QByteArray MakeRcImage(qint64 imageSize, quint32 seed)
{
    QByteArray image = kImageMagic.left(imageSize);
    const qint64 rest = imageSize - image.size();
    if (rest > 0) {
        std::mt19937 random(seed);
        image.resize(imageSize);
        fillRandom(random, image.data() + kImageMagic.size(), rest);
    }
    return image;
}

bool WriteRcImage(const QString& path, qint64 imageSize, quint32 seed)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray magic = kImageMagic.left(imageSize);
    if (file.write(magic) != magic.size())
        return false;
    std::mt19937 random(seed);
    QByteArray chunk(kChunkSize, Qt::Uninitialized);
    for (qint64 left = imageSize - magic.size(); left > 0;) {
        const qint64 count = std::min(left, kChunkSize);
        fillRandom(random, chunk.data(), count);
        if (file.write(chunk.constData(), count) != count)
            return false;
        left -= count;
    }
    return file.flush();
}

QString RcSampleImagePath(const QString& indexPath)
{
    return indexPath.left(std::max<qsizetype>(indexPath.size() - 3, 0)) + QStringLiteral("img");
}

bool WriteRcPair(const QString& indexPath, int entries, qint64 imageSize, quint32 seed)
{
    return WriteFile(indexPath, MakeRcIndex(RcSampleRecords(entries, imageSize, seed)))
        && WriteRcImage(RcSampleImagePath(indexPath), imageSize, seed);
}

} // namespace tobx::samples
