// SPDX-License-Identifier: MIT
#pragma once
// The lines a pane's operation reports, one per handled file or entry, each
// highlighted or not. The window mirrors it in the pane's list box.

#include <QList>
#include <QString>

namespace tobx {

class ResultListObserver {
public:
    virtual ~ResultListObserver() = default;
    virtual void cleared() = 0;
    virtual void appended(qsizetype row, const QString& text) = 0;
    virtual void selectionChanged(qsizetype row, bool selected) = 0;
};

class ResultList {
public:
    struct Line {
        QString text;
        bool selected = false;
    };

    void clear();
    qsizetype append(const QString& text);
    void setSelected(qsizetype row, bool selected);

    qsizetype size() const { return m_lines.size(); }
    const Line& at(qsizetype row) const { return m_lines.at(row); }
    QStringList texts() const;
    QList<qsizetype> selectedRows() const;

    void setObserver(ResultListObserver* observer) { m_observer = observer; }
    // The lines of another list, without telling the observer: for a list
    // whose observer has already seen them come.
    void takeLines(const ResultList& other) { m_lines = other.m_lines; }

private:
    QList<Line> m_lines;
    ResultListObserver* m_observer = nullptr;
};

} // namespace tobx
