// SPDX-License-Identifier: MIT
#pragma once
// Names inside archives and list files are bytes in Windows-1252 with '\' as
// the folder separator. They are kept byte for byte and mapped to a file-system
// path only where a file is opened or created, so that a list round-trips.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace tobx {

// Windows-1252 to text, '\' to '/'. A '/' inside a name separates folders too.
QString NameToPath(QByteArrayView name);
// Text, in its composed form, to Windows-1252 bytes; separators are left as
// they are.
QByteArray PathToName(const QString& path);
// Windows-1252 bytes as text, for display.
QString NameToText(QByteArrayView name);

// Comparison of names without regard to case, as Windows compares file names.
bool SameNameIgnoringCase(QByteArrayView a, QByteArrayView b);

// True when every byte of name is a printable Windows-1252 character: no
// control character and none of the codes the code page leaves undefined.
bool IsPrintableName(QByteArrayView name);

// Why a name may not be written under a folder, for the user; empty when it
// stays inside the folder and can stand on a list line: no absolute path, no
// drive letter, no "." or ".." level, no empty level, no byte below 0x20.
QString UnsafeNameReason(QByteArrayView name);
bool IsSafeRelativeName(QByteArrayView name);

// True when the name holds a byte below 0x20: a list line cannot carry it (CR
// and LF end the line, a tab is taken as a blank) and no file name should.
bool HasControlByte(QByteArrayView name);

// A name as a message shows it: a byte below 0x20 becomes its hex code in
// angle brackets ("a<0D><0A>b.txt"), so that a box never breaks the line.
QString NameForMessage(QByteArrayView name);

// Why a file name of the file system cannot go into a list file (a list holds
// one Windows-1252 byte per character and no control byte); empty when it can.
// A decomposed accent counts as the composed letter.
QString ListNameProblem(const QString& name);

} // namespace tobx
