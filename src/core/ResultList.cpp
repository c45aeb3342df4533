// SPDX-License-Identifier: MIT
#include "ResultList.h"

namespace tobx {

void ResultList::clear()
{
    m_lines.clear();
    if (m_observer)
        m_observer->cleared();
}

qsizetype ResultList::append(const QString& text)
{
    m_lines.append({text, false});
    const qsizetype row = m_lines.size() - 1;
    if (m_observer)
        m_observer->appended(row, text);
    return row;
}

void ResultList::setSelected(qsizetype row, bool selected)
{
    if (row < 0 || row >= m_lines.size())
        return;
    m_lines[row].selected = selected;
    if (m_observer)
        m_observer->selectionChanged(row, selected);
}

QStringList ResultList::texts() const
{
    QStringList result;
    result.reserve(m_lines.size());
    for (const Line& line : m_lines)
        result.append(line.text);
    return result;
}

QList<qsizetype> ResultList::selectedRows() const
{
    QList<qsizetype> rows;
    for (qsizetype i = 0; i < m_lines.size(); ++i)
        if (m_lines.at(i).selected)
            rows.append(i);
    return rows;
}

} // namespace tobx
