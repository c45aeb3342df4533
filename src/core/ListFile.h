#pragma once
// Reading list files. A list is a stream of fields: a field ends at a comma or
// at the end of a line (CR LF, LF or CR), and blanks before a field are
// skipped. An empty line yields one empty field. Quotes have no meaning.

#include <QByteArray>
#include <QString>

#include <optional>

namespace tobx {

class ListFieldReader {
public:
    explicit ListFieldReader(QByteArray text);

    // The next field, or false at the end of the text.
    bool next(QByteArray& field);
    // Passes over what is left of the current line.
    void skipRestOfLine();
    bool atEnd() const { return m_pos >= m_text.size(); }

private:
    QByteArray m_text;
    qsizetype m_pos = 0;
    bool m_lineOpen = false; // a comma ended the last field; its line goes on
};

// The first field of a list text: the first line up to its first comma.
QByteArray FirstListField(const QByteArray& text);

// The first field of a list file, read from its first line only (a list may
// name thousands of files), or nothing with the system's reason.
std::optional<QByteArray> ReadFirstListField(const QString& path, QString* reason = nullptr);

// The whole file, or nothing with the system's reason.
std::optional<QByteArray> ReadWholeFile(const QString& path, QString* reason = nullptr);

} // namespace tobx
