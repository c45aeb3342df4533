// SPDX-License-Identifier: MIT
#pragma once
// Copying byte ranges from one open file into another without mapping either:
// an entry of an archive into its own file, a source file into an archive.
// Large ranges are copied by the kernel where it offers that (the bytes never
// pass through the program, and file systems that can share extents do);
// everything else goes through one buffer that lives as long as the run.
// A source that ends before the range does is a clear failure, never a signal.
//
// On POSIX systems the files are plain descriptors, so that a run of
// thousands of small entries costs few system calls each; elsewhere QFile and
// QSaveFile do the same work.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <memory>

class QFile;
class QFileDevice;
class QSaveFile;

namespace tobx {

// Where a file lives on the system: equal ids are the same file, whatever
// path or link leads to it.
class FileCopier;

struct FileId {
    quint64 device = 0;
    quint64 inode = 0;
    bool operator==(const FileId&) const = default;
};

// A file open for reading, with what one look at the open file told.
class InputFile {
public:
    enum class Links { Follow, Refuse };

    InputFile();
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // Opens `path` read only. With Links::Refuse a link at its last level is
    // not followed and the open fails. A pipe or device never blocks the open;
    // isRegular() tells what it is.
    bool open(const QString& path, Links links, QString* reason);
    void close();

    bool isOpen() const;
    bool isRegular() const { return m_regular; }
    qint64 size() const { return m_size; }
    FileId id() const { return m_id; }
    const QString& path() const { return m_path; }

    // Up to `room` bytes at `offset`, reading again only while fewer than
    // `wanted` have come and the file has not ended; fewer than `wanted` only
    // at the end of the file. -1 on failure, with the reason.
    qint64 readAt(qint64 offset, char* into, qint64 room, qint64 wanted, QString* reason);

private:
    friend class FileCopier;

    QString m_path;
    bool m_regular = false;
    qint64 m_size = 0;
    FileId m_id;
    quint64 m_serial = 0; // tells one opening from every other, for the copier's buffer
#ifdef Q_OS_UNIX
    int m_fd = -1;
#else
    std::unique_ptr<QFile> m_file;
#endif
};

// A file being written: created where nothing is, or written through
// QSaveFile, whose old file stays as it was until the new one is complete and
// synced. Either way a file that is not finished leaves no trace.
class OutputFile {
public:
    enum class Created { Yes, Exists, Failed };

    OutputFile();
    ~OutputFile(); // an unfinished file is discarded
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Creates `path`, which must not exist yet, not even as a dangling link:
    // Exists tells that something is there (nothing is asked beforehand, so
    // this is the one look at the path when it is free).
    Created createNew(const QString& path, QString* reason);
    // Writes into a temporary file that replaces `path` on finish(); a link
    // at `path` is refused.
    bool openReplacing(const QString& path, QString* reason);

    bool isOpen() const;
    const QString& path() const { return m_path; }

    // For a file that takes many small copies in a row, such as an archive
    // being built: the copier gathers them in its buffer and writes them in
    // large pieces, in order with every other write.
    void gatherSmallCopies() { m_gathers = true; }

    bool write(QByteArrayView bytes, QString* reason);
    // Closes a created file, or commits a replacing one; false with the
    // reason when the file is not complete (it is then discarded).
    bool finish(QString* reason);
    // Removes a created file, or drops a replacing one and keeps the old file.
    void discard();

private:
    friend class FileCopier;

    bool writeNow(QByteArrayView bytes, QString* reason);
    bool sendGathered(QString* reason);

    QString m_path;
    bool m_gathers = false;
    FileCopier* m_gatheredIn = nullptr; // holds bytes of this file not yet written
    bool m_lostGathered = false;        // that copier went away with them
    std::unique_ptr<QSaveFile> m_saveFile;
#ifdef Q_OS_UNIX
    int m_fd = -1;
#else
    std::unique_ptr<QFile> m_file;
    QFileDevice* device() const;
#endif
};

// Copies ranges of open files into files being written. One copier serves a
// whole run: its buffer is taken once, and the bytes after a small range stay
// in it, so that a run of small entries of one archive costs one read per
// buffer, not one per entry.
class FileCopier {
public:
    // The buffer: small enough to keep a run's memory flat, large enough that
    // reads and writes through it are few.
    static constexpr qint64 kBufferSize = 1 << 20;
    // From this size on a range is left to the kernel's copy where offered;
    // below it, one read ahead serves many ranges.
    static constexpr qint64 kKernelCopyFrom = 64 << 10;

    enum class Method {
        Kernel, // the kernel's copy for large ranges, where the system offers it
        Buffer, // always through the buffer
    };
    enum class Status {
        Done,
        SourceEnded, // the source held fewer bytes than the range
        ReadFailed,
        WriteFailed,
    };

    explicit FileCopier(Method method = Method::Kernel);
    ~FileCopier();
    FileCopier(const FileCopier&) = delete;
    FileCopier& operator=(const FileCopier&) = delete;

    // Appends the `size` bytes at `offset` of `from` to `to`. When it fails,
    // `to` may hold part of the range: the caller discards it.
    Status copy(InputFile& from, qint64 offset, qint64 size, OutputFile& to, QString* reason);

    // The `size` bytes at `offset` of `from` (e.g. an archive's directory),
    // read through the buffer so that what follows them stays there for the
    // copies to come. SourceEnded when the file is shorter.
    Status read(InputFile& from, qint64 offset, qint64 size, char* into, QString* reason);

    // False once the kernel's copy was found missing; the run goes on
    // through the buffer.
    bool kernelCopyOffered() const { return m_method == Method::Kernel; }

private:
    friend class OutputFile;

    Status copyInKernel(InputFile& from, qint64& offset, qint64& size, OutputFile& to, QString* reason);
    Status copyThroughBuffer(InputFile& from, qint64 offset, qint64 size, OutputFile& to, QString* reason);
    Status fill(InputFile& from, qint64 offset, qint64 atLeast, QString* reason);
    bool holds(const InputFile& from, qint64 offset, qint64 size) const;
    Status gather(InputFile& from, qint64 offset, qint64 size, OutputFile& to, QString* reason);
    bool writeGathered(QString* reason);
    void dropGathered();

    Method m_method;
    std::unique_ptr<char[]> m_buffer;
    // What the buffer holds: bytes m_heldFrom.. of the opening m_heldSerial.
    quint64 m_heldSerial = 0;
    qint64 m_heldFrom = 0;
    qint64 m_heldSize = 0;
    // Or the buffer holds the first m_gatheredSize bytes still to be written to m_gatheredFor.
    OutputFile* m_gatheredFor = nullptr;
    qint64 m_gatheredSize = 0;
};

} // namespace tobx
