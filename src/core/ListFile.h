// SPDX-License-Identifier: MIT
#pragma once
// Reading list files. A list is a stream of fields: a field ends at a comma or
// at the end of a line (CR LF, LF or CR), and blanks before a field are
// skipped. An empty line yields one empty field. Quotes have no meaning.

#include <QByteArray>
#include <QByteArrayView>
#include <QSaveFile>
#include <QString>

#include <optional>

namespace tobx {

class ListFieldReader {
public:
    explicit ListFieldReader(QByteArray text);

    // The next field, or false at the end of the text.
    bool next(QByteArray& field);
    // The same without a copy: the view points into the reader's text and
    // lasts as long as the reader.
    bool next(QByteArrayView& field);
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

// Writes the list file of an extraction so that it replaces the old one only
// when the run reaches its end: the lines go to a temporary file beside it,
// which takes the list's name in commit(). A run that stops or is cancelled
// lets the writer go without commit(): a list that was there stays byte for
// byte, and none is left where none was.
class ListFileWriter {
public:
    // The list folder/name; nothing is written before open().
    ListFileWriter(const QString& folder, const QString& name);

    // Refuses a link at the list's name, or a name that leads out of the
    // folder, before anything is written (a temporary file would follow the
    // link to its target's folder).
    bool open(QString* reason);
    // The line and CR LF, through the file's buffer.
    bool appendLine(QByteArrayView line, QString* reason);
    bool append(QByteArrayView bytes, QString* reason);
    // The complete list takes the list's name.
    bool commit(QString* reason);
    // The list under construction goes; an old one stays as it was.
    void discard();

private:
    QString m_folder;
    QString m_name;
    QSaveFile m_file;
};

} // namespace tobx
