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
// Text to Windows-1252 bytes; separators are left as they are.
QByteArray PathToName(const QString& path);
// Windows-1252 bytes as text, for display.
QString NameToText(QByteArrayView name);

// Comparison of names without regard to case, as Windows compares file names.
bool SameNameIgnoringCase(QByteArrayView a, QByteArrayView b);

// True when every byte of name is a printable Windows-1252 character: no
// control character and none of the codes the code page leaves undefined.
bool IsPrintableName(QByteArrayView name);

// A name may be extracted under a folder only when it stays inside it: no
// absolute path, no drive letter, no "." or ".." level and no empty level.
bool IsSafeRelativeName(QByteArrayView name);

} // namespace tobx
