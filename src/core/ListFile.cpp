// SPDX-License-Identifier: MIT
#include "ListFile.h"

#include "FileSystem.h"
#include "FileUtils.h"

#include <QFile>

namespace tobx {

ListFieldReader::ListFieldReader(QByteArray text)
    : m_text(std::move(text))
{
}

bool ListFieldReader::next(QByteArray& field)
{
    QByteArrayView view;
    if (!next(view))
        return false;
    field = view.toByteArray();
    return true;
}

bool ListFieldReader::next(QByteArrayView& field)
{
    if (m_pos >= m_text.size() && !m_lineOpen)
        return false;
    m_lineOpen = false;
    const qsizetype size = m_text.size();
    const char* text = m_text.constData();
    while (m_pos < size && (text[m_pos] == ' ' || text[m_pos] == '\t'))
        ++m_pos;
    const qsizetype start = m_pos;
    while (m_pos < size) {
        const char c = text[m_pos];
        if (c == ',' || c == '\r' || c == '\n')
            break;
        ++m_pos;
    }
    field = QByteArrayView(text + start, m_pos - start);
    if (m_pos < size) {
        const char c = text[m_pos++];
        if (c == ',')
            m_lineOpen = true;
        else if (c == '\r' && m_pos < size && text[m_pos] == '\n')
            ++m_pos;
    }
    return true;
}

void ListFieldReader::skipRestOfLine()
{
    m_lineOpen = false;
    const qsizetype size = m_text.size();
    while (m_pos < size && m_text.at(m_pos) != '\r' && m_text.at(m_pos) != '\n')
        ++m_pos;
    if (m_pos < size && m_text.at(m_pos++) == '\r' && m_pos < size && m_text.at(m_pos) == '\n')
        ++m_pos;
}

QByteArray FirstListField(const QByteArray& text)
{
    ListFieldReader reader(text);
    QByteArray field;
    reader.next(field);
    return field;
}

std::optional<QByteArray> ReadFirstListField(const QString& path, QString* reason)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (reason)
            *reason = file.errorString();
        return std::nullopt;
    }
    const QByteArray line = file.readLine();
    if (file.error() != QFileDevice::NoError) {
        if (reason)
            *reason = file.errorString();
        return std::nullopt;
    }
    return FirstListField(line);
}

std::optional<QByteArray> ReadWholeFile(const QString& path, QString* reason)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (reason)
            *reason = file.errorString();
        return std::nullopt;
    }
    QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        if (reason)
            *reason = file.errorString();
        return std::nullopt;
    }
    return data;
}

ListFileWriter::ListFileWriter(const QString& folder, const QString& name)
    : m_folder(folder)
    , m_name(name)
    , m_file(JoinPath(folder, name))
{
}

bool ListFileWriter::open(QString* reason)
{
    *reason = OutputPathRefusal(m_folder, m_name);
    if (!reason->isEmpty())
        return false;
    if (m_file.open(QIODevice::WriteOnly))
        return true;
    *reason = m_file.errorString();
    return false;
}

bool ListFileWriter::appendLine(QByteArrayView line, QString* reason)
{
    return append(line, reason) && append("\r\n", reason);
}

bool ListFileWriter::append(QByteArrayView bytes, QString* reason)
{
    if (m_file.write(bytes.data(), bytes.size()) == bytes.size())
        return true;
    *reason = m_file.errorString();
    m_file.cancelWriting();
    return false;
}

void ListFileWriter::discard()
{
    if (!m_file.isOpen())
        return;
    m_file.cancelWriting();
    m_file.commit(); // removes the temporary file at once
}

bool ListFileWriter::commit(QString* reason)
{
    if (m_file.commit())
        return true;
    *reason = m_file.errorString();
    return false;
}

} // namespace tobx
