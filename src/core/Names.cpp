#include "Names.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace tobx {

namespace {
constexpr const char* kCodePage = "windows-1252";

bool isSeparator(char c)
{
    return c == '\\' || c == '/';
}
} // namespace

// Setting up a converter costs more than converting a name, and thousands of
// names pass through here in one run.
QString NameToText(QByteArrayView name)
{
    thread_local QStringDecoder decoder(kCodePage, QStringConverter::Flag::Stateless);
    return decoder.decode(name);
}

QString NameToPath(QByteArrayView name)
{
    QString path = NameToText(name);
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return path;
}

QByteArray PathToName(const QString& path)
{
    thread_local QStringEncoder encoder(kCodePage, QStringConverter::Flag::Stateless);
    return encoder.encode(path);
}

bool SameNameIgnoringCase(QByteArrayView a, QByteArrayView b)
{
    if (a.size() != b.size())
        return false;
    return NameToText(a).compare(NameToText(b), Qt::CaseInsensitive) == 0;
}

bool IsPrintableName(QByteArrayView name)
{
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        const bool undefined = byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D;
        if (byte < 0x20 || byte == 0x7F || undefined)
            return false;
    }
    return true;
}

bool IsSafeRelativeName(QByteArrayView name)
{
    if (name.isEmpty() || isSeparator(name.front()))
        return false;
    // No file system takes a 0x00 inside a path, and an archive directory
    // would read it as the end of the name.
    if (name.contains('\0'))
        return false;
    if (name.size() >= 2 && name.at(1) == ':')
        return false; // drive letter, absolute or drive-relative
    qsizetype start = 0;
    while (start <= name.size()) {
        qsizetype end = start;
        while (end < name.size() && !isSeparator(name.at(end)))
            ++end;
        const QByteArrayView level = name.sliced(start, end - start);
        if (level.isEmpty() || level == ".." || level == ".")
            return false;
        start = end + 1;
    }
    return true;
}

} // namespace tobx
