// SPDX-License-Identifier: MIT
#pragma once
// A growable buffer for texts built from many short pieces. Room is reserved in
// whole steps of lngAllocSize, one step more than the shortfall holds, so that
// appending copies only the new piece and the buffer grows only now and then.
// One character is one byte: callers store bytes (0 included) as they are.

#include <QByteArray>
#include <QByteArrayView>

namespace tobx {

class StringConcat {
public:
    qint32 lngAllocated = 0; // characters reserved; written only by Add
    qint32 lngUsed = 0;      // characters that form the text; set to 0 to empty
    qint32 lngAllocSize = 1000; // growth step

    // Throws std::overflow_error when the text would pass 2147483647 characters.
    void Add(QByteArrayView strAddString);
    QByteArray GetStr() const;

private:
    QByteArray strBuffer;
};

} // namespace tobx
