// SPDX-License-Identifier: MIT
#include "StringConcat.h"

#include <cstring>
#include <limits>
#include <stdexcept>

namespace tobx {

void StringConcat::Add(QByteArrayView strAddString)
{
    const qint64 n = strAddString.size();
    if (n == 0)
        return;
    constexpr qint64 limit = std::numeric_limits<qint32>::max();
    const qint64 needed = qint64(lngUsed) + n;
    if (needed > limit)
        throw std::overflow_error("StringConcat: text too long");
    if (needed > lngAllocated) {
        const qint64 grow = qint64(lngAllocSize) * ((needed - lngAllocated) / lngAllocSize + 1);
        if (lngAllocated + grow > limit)
            throw std::overflow_error("StringConcat: buffer too large");
        strBuffer.append(qsizetype(grow), ' ');
        lngAllocated += qint32(grow);
    }
    std::memcpy(strBuffer.data() + lngUsed, strAddString.data(), size_t(n));
    lngUsed += qint32(n);
}

QByteArray StringConcat::GetStr() const
{
    return strBuffer.left(lngUsed);
}

} // namespace tobx
