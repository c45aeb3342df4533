#pragma once
// File-system helpers behind the operations: identity of two paths, writing a
// whole file so that it is complete or absent, and guarding a destination
// folder against links that lead out of it.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

class QFile;

namespace tobx {

// True when both paths name the same existing file (same device and inode, so
// it holds through links and on file systems that ignore case); when either
// does not exist, true only for equal texts.
bool SameFile(const QString& a, const QString& b);

// True when a level of root/relative at or below root is a symbolic link, so
// that writing there could land outside root.
bool LinkOnPathBelow(const QString& root, const QString& relative);

// The check every writer makes before it writes the file root/relative ('/'
// between levels; root is the folder the user chose and is taken as it is).
// Returns why the write is refused, for the user: a symbolic link at the name
// itself (dangling or not) or at a folder level below root, through which the
// write could land outside root, or a relative path that leaves root by
// itself. Empty when nothing stands in the way; levels that do not exist yet
// are fine, because they are made as real folders.
QString OutputPathRefusal(const QString& root, const QString& relative);

// Creates a file that must not exist yet (not even as a dangling link) and
// writes data into it; a file that cannot be written whole is removed again.
bool CreateNewFile(const QString& path, QByteArrayView data, QString* reason);

// Writes data as the whole content of path. An existing file is replaced
// through QSaveFile (new content or old file, never a mix); a new file is
// created exclusively and removed again when writing fails.
bool WriteWholeFile(const QString& path, QByteArrayView data, QString* reason);

// The folder that holds the running program.
QString ProgramFolder();

// Reads exactly `size` bytes at the file's position; a short read is a failure
// with a reason.
bool ReadExactly(QFile& file, char* into, qint64 size, QString* reason);

// One piece of a file in memory, e.g. an entry's content. A large piece is
// mapped where the system allows it, so that writing it to another file copies
// the bytes once, from the cache into the new file; a small one (or where
// mapping fails) is read into a buffer that grows to the largest piece and is
// reused.
class FilePiece {
public:
    FilePiece() = default;
    ~FilePiece();
    FilePiece(const FilePiece&) = delete;
    FilePiece& operator=(const FilePiece&) = delete;

    // The `size` bytes at `offset` of an open file; the caller has checked
    // that they lie inside it. They stay valid until the next load.
    bool load(QFile& file, qint64 offset, qint64 size, QString* reason);
    QByteArrayView bytes() const { return m_bytes; }

private:
    void release();

    QFile* m_mappedFile = nullptr;
    uchar* m_map = nullptr;
    QByteArray m_buffer;
    QByteArrayView m_bytes;
};

} // namespace tobx
