// SPDX-License-Identifier: MIT
#pragma once
// What each entry of a Rollcage Stage II index holds, known by its position
// alone: a short content type code and a description for the list file. The
// key is the full edition's numbering (0 to 289); a demo index (135 entries)
// is numbered differently and is first converted with RcDemoToFull.

#include <QByteArray>
#include <QtGlobal>

namespace tobx {

struct RcEntryText {
    QByteArray typeCode;    // "PINP", "BM6D", "GFXM", "BTP", "P", "?", "POF", "BM", "BM6", "PCSF"
    QByteArray description; // "???" where nothing is known
};

// Entries outside 0 to 289 get the type code "-" and the description "???".
RcEntryText RcEntryInfo(qint16 entry);

// The car of car number 0 to 19; the empty text for any other number.
QByteArray RcCarName(quint8 car);

// The full-version number of the content that a demo index holds at `demoEntry`.
// Numbers the demo shares with the full edition (0 to 81) and numbers outside
// the demo come back unchanged.
qint16 RcDemoToFull(qint16 demoEntry);

} // namespace tobx
