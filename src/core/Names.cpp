// SPDX-License-Identifier: MIT
#include "Names.h"

#include <QList>
#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>

namespace tobx {

namespace {
constexpr const char* kCodePage = "windows-1252";

bool isSeparator(char c)
{
    return c == '\\' || c == '/';
}

bool isAscii(QByteArrayView bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return quint8(c) < 0x80; });
}
} // namespace

// Setting up a converter costs more than converting a name, and thousands of
// names pass through here in one run.
QString NameToText(QByteArrayView name)
{
    // Windows-1252 is ASCII below 0x80, where most names stay; reading those
    // as Latin-1 costs a fraction of a pass through the codec.
    if (isAscii(name))
        return QString::fromLatin1(name);
    thread_local QStringDecoder decoder(kCodePage, QStringConverter::Flag::Stateless);
    return decoder.decode(name);
}

QString NameToPath(QByteArrayView name)
{
    QString path = NameToText(name);
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return path;
}

// A name copied from another system may spell "é" as "e" and a combining
// accent; its composed form is the one Windows-1252 has a byte for.
QByteArray PathToName(const QString& path)
{
    thread_local QStringEncoder encoder(kCodePage, QStringConverter::Flag::Stateless);
    return encoder.encode(path.normalized(QString::NormalizationForm_C));
}

bool SameNameIgnoringCase(QByteArrayView a, QByteArrayView b)
{
    if (a.size() != b.size())
        return false;
    return NameToText(a).compare(NameToText(b), Qt::CaseInsensitive) == 0;
}

bool IsPrintableName(QByteArrayView name)
{
    if (HasControlByte(name))
        return false;
    for (const char c : name) {
        const auto byte = quint8(c);
        const bool undefined = byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D;
        if (byte == 0x7F || undefined)
            return false;
    }
    return true;
}

QString UnsafeNameReason(QByteArrayView name)
{
    if (name.isEmpty())
        return QStringLiteral("empty name");
    // No file system takes a 0x00 inside a path, and an archive directory
    // would read it as the end of the name; CR and LF would split its list line.
    if (HasControlByte(name))
        return QStringLiteral("a control character (byte below 0x20) in the name");
    if (isSeparator(name.front()))
        return QStringLiteral("absolute path");
    if (name.size() >= 2 && name.at(1) == ':')
        return QStringLiteral("drive letter"); // absolute or drive-relative
    qsizetype start = 0;
    while (start <= name.size()) {
        qsizetype end = start;
        while (end < name.size() && !isSeparator(name.at(end)))
            ++end;
        const QByteArrayView level = name.sliced(start, end - start);
        // An empty or "." level would name the same file as the name without
        // it, so a list could hold one file under two spellings.
        if (level.isEmpty())
            return QStringLiteral("empty folder level");
        if (level == "..")
            return QStringLiteral("\"..\" level");
        if (level == ".")
            return QStringLiteral("\".\" level");
        start = end + 1;
    }
    return QString();
}

bool IsSafeRelativeName(QByteArrayView name)
{
    return UnsafeNameReason(name).isEmpty();
}

bool HasControlByte(QByteArrayView name)
{
    for (const char c : name) {
        if (quint8(c) < 0x20)
            return true;
    }
    return false;
}

QString NameForMessage(QByteArrayView name)
{
    QString text;
    qsizetype plainFrom = 0;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const quint8 byte = quint8(name.at(i));
        if (byte >= 0x20)
            continue;
        text += NameToText(name.sliced(plainFrom, i - plainFrom));
        text += QStringLiteral("<%1>").arg(byte, 2, 16, QLatin1Char('0')).toUpper();
        plainFrom = i + 1;
    }
    return text + NameToText(name.sliced(plainFrom));
}

QString ListNameProblem(const QString& name)
{
    const QString composed = name.normalized(QString::NormalizationForm_C);
    const QByteArray bytes = PathToName(composed);
    if (NameToText(bytes) != composed) {
        QString missing;
        for (const char32_t codePoint : composed.toUcs4()) {
            const QString one = QString::fromUcs4(&codePoint, 1);
            if (NameToText(PathToName(one)) != one && !missing.contains(one))
                missing += one;
        }
        return QStringLiteral("A list file holds names in Windows-1252, which has no character for \"%1\".")
            .arg(missing);
    }
    if (HasControlByte(bytes))
        return QStringLiteral("The name holds a control character, which a list line cannot carry.");
    return QString();
}

} // namespace tobx
