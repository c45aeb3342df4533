// SPDX-License-Identifier: MIT
#include "FileCopy.h"

#include "FileSystem.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <atomic>
#include <cerrno>
#include <cstring>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tobx {

namespace {

quint64 nextSerial()
{
    static std::atomic<quint64> serial{0};
    return ++serial;
}

#ifdef Q_OS_UNIX
QString systemReason(int error)
{
    return qt_error_string(error);
}

// True when copy_file_range fails because this system, file system or pair
// of files does not offer it, rather than because reading or writing failed.
bool kernelCopyMissing(int error)
{
    return error == ENOSYS || error == EXDEV || error == EINVAL || error == EOPNOTSUPP
        || error == ENOTSUP || error == EPERM || error == ETXTBSY;
}
#endif

bool isLink(const QString& path)
{
#ifdef Q_OS_UNIX
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 && S_ISLNK(info.st_mode);
#else
    return QFileInfo(path).isSymLink();
#endif
}

} // namespace

// ---- InputFile

InputFile::InputFile() = default;

InputFile::~InputFile()
{
    close();
}

bool InputFile::open(const QString& path, Links links, QString* reason)
{
    close();
    m_path = path;
    m_serial = nextSerial();
#ifdef Q_OS_UNIX
    int flags = O_RDONLY | O_CLOEXEC | O_NONBLOCK;
    if (links == Links::Refuse)
        flags |= O_NOFOLLOW;
    const int fd = ::open(QFile::encodeName(path).constData(), flags);
    if (fd < 0) {
        *reason = errno == ELOOP && links == Links::Refuse ? QStringLiteral("It is a symbolic link.")
                                                           : systemReason(errno);
        return false;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        *reason = systemReason(errno);
        ::close(fd);
        return false;
    }
    m_fd = fd;
    m_regular = S_ISREG(info.st_mode);
    m_size = m_regular ? qint64(info.st_size) : 0;
    m_id = {quint64(info.st_dev), quint64(info.st_ino)};
    return true;
#else
    const QFileInfo info(path);
    if (links == Links::Refuse && info.isSymLink()) {
        *reason = QStringLiteral("It is a symbolic link.");
        return false;
    }
    m_file = std::make_unique<QFile>(path);
    if (!m_file->open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        *reason = m_file->errorString();
        m_file.reset();
        return false;
    }
    m_regular = info.isFile();
    m_size = m_regular ? m_file->size() : 0;
    m_id = IdentityOf(path).value_or(FileId{});
    return true;
#endif
}

void InputFile::close()
{
#ifdef Q_OS_UNIX
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
#else
    m_file.reset();
#endif
}

bool InputFile::isOpen() const
{
#ifdef Q_OS_UNIX
    return m_fd >= 0;
#else
    return m_file != nullptr;
#endif
}

qint64 InputFile::readAt(qint64 offset, char* into, qint64 room, qint64 wanted, QString* reason)
{
    qint64 done = 0;
    while (done < wanted) {
#ifdef Q_OS_UNIX
        const ssize_t got = ::pread(m_fd, into + done, size_t(room - done), off_t(offset + done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            *reason = systemReason(errno);
            return -1;
        }
#else
        const qint64 got = m_file->seek(offset + done) ? m_file->read(into + done, room - done) : -1;
        if (got < 0) {
            *reason = m_file->errorString();
            return -1;
        }
#endif
        if (got == 0)
            break;
        done += got;
    }
    return done;
}

// ---- OutputFile

OutputFile::OutputFile() = default;

OutputFile::~OutputFile()
{
    discard();
}

OutputFile::Created OutputFile::createNew(const QString& path, QString* reason)
{
    discard();
    m_path = path;
#ifdef Q_OS_UNIX
    // O_EXCL refuses any name that is taken, a link included, and follows none.
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                          0666);
    if (fd >= 0) {
        m_fd = fd;
        return Created::Yes;
    }
    *reason = systemReason(errno);
    return errno == EEXIST ? Created::Exists : Created::Failed;
#else
    auto file = std::make_unique<QFile>(path);
    if (file->open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered)) {
        m_file = std::move(file);
        return Created::Yes;
    }
    *reason = file->errorString();
    const QFileInfo info(path);
    return info.exists() || info.isSymLink() ? Created::Exists : Created::Failed;
#endif
}

bool OutputFile::openReplacing(const QString& path, QString* reason)
{
    discard();
    m_path = path;
    // QSaveFile would write to where a link leads.
    if (isLink(path)) {
        *reason = QStringLiteral("It is a symbolic link.");
        return false;
    }
    auto file = std::make_unique<QSaveFile>(path);
    // Unbuffered: every write goes straight to the file, in order with the
    // kernel's copies into the same handle.
    if (!file->open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        *reason = file->errorString();
        return false;
    }
    m_saveFile = std::move(file);
#ifdef Q_OS_UNIX
    m_fd = m_saveFile->handle();
#endif
    return true;
}

bool OutputFile::isOpen() const
{
#ifdef Q_OS_UNIX
    return m_fd >= 0;
#else
    return device() != nullptr;
#endif
}

#ifndef Q_OS_UNIX
QFileDevice* OutputFile::device() const
{
    if (m_saveFile)
        return m_saveFile.get();
    return m_file.get();
}
#endif

bool OutputFile::sendGathered(QString* reason)
{
    if (m_lostGathered) {
        *reason = QStringLiteral("Bytes gathered for the file were lost.");
        return false;
    }
    return !m_gatheredIn || m_gatheredIn->writeGathered(reason);
}

bool OutputFile::write(QByteArrayView bytes, QString* reason)
{
    return sendGathered(reason) && writeNow(bytes, reason);
}

bool OutputFile::writeNow(QByteArrayView bytes, QString* reason)
{
#ifdef Q_OS_UNIX
    const char* data = bytes.data();
    qint64 left = bytes.size();
    while (left > 0) {
        const ssize_t put = ::write(m_fd, data, size_t(left));
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0) {
            *reason = put < 0 ? systemReason(errno) : QStringLiteral("Nothing could be written.");
            return false;
        }
        data += put;
        left -= put;
    }
    return true;
#else
    QFileDevice* file = device();
    if (file->write(bytes.data(), bytes.size()) == bytes.size())
        return true;
    *reason = file->errorString();
    return false;
#endif
}

bool OutputFile::finish(QString* reason)
{
    if (!sendGathered(reason)) {
        discard();
        return false;
    }
    if (m_saveFile) {
#ifdef Q_OS_UNIX
        m_fd = -1; // the save file closes its own handle
#endif
        const bool committed = m_saveFile->commit();
        if (!committed)
            *reason = m_saveFile->errorString();
        m_saveFile.reset();
        return committed;
    }
#ifdef Q_OS_UNIX
    if (m_fd < 0)
        return true;
    const int closed = ::close(m_fd);
    const int error = errno;
    m_fd = -1;
    if (closed == 0)
        return true;
    *reason = systemReason(error);
#else
    if (!m_file)
        return true;
    m_file->close();
    const bool closed = m_file->error() == QFileDevice::NoError;
    if (!closed)
        *reason = m_file->errorString();
    m_file.reset();
    if (closed)
        return true;
#endif
    QFile::remove(m_path);
    return false;
}

void OutputFile::discard()
{
    if (m_gatheredIn)
        m_gatheredIn->dropGathered();
    m_lostGathered = false;
    if (m_saveFile) {
#ifdef Q_OS_UNIX
        m_fd = -1;
#endif
        m_saveFile->cancelWriting();
        m_saveFile.reset();
        return;
    }
#ifdef Q_OS_UNIX
    if (m_fd < 0)
        return;
    ::close(m_fd);
    m_fd = -1;
#else
    if (!m_file)
        return;
    m_file.reset();
#endif
    QFile::remove(m_path);
}

// ---- FileCopier

namespace {

// The buffer of the last copier to end on this thread, for the next one: a
// program that runs one operation after another (the window, or a fuzzer
// running thousands a second) takes the megabyte once, not once a run.
thread_local std::unique_ptr<char[]> t_spareBuffer;

std::unique_ptr<char[]> takeBuffer(qint64 size)
{
    if (t_spareBuffer)
        return std::move(t_spareBuffer);
    return std::unique_ptr<char[]>(new char[size_t(size)]);
}

} // namespace

FileCopier::FileCopier(Method method)
#ifdef Q_OS_LINUX
    : m_method(method)
#else
    : m_method(Method::Buffer)
#endif
    , m_buffer(takeBuffer(kBufferSize))
{
    Q_UNUSED(method);
}

FileCopier::~FileCopier()
{
    if (m_gatheredFor) {
        m_gatheredFor->m_lostGathered = true;
        dropGathered();
    }
    if (!t_spareBuffer)
        t_spareBuffer = std::move(m_buffer);
}

FileCopier::Status FileCopier::gather(InputFile& from, qint64 offset, qint64 size, OutputFile& to, QString* reason)
{
    m_heldSerial = 0; // the buffer holds output now
    const qint64 got = from.readAt(offset, m_buffer.get() + m_gatheredSize, size, size, reason);
    if (got < 0)
        return Status::ReadFailed;
    if (got < size) {
        *reason = QStringLiteral("The file ended %1 bytes early.").arg(size - got);
        return Status::SourceEnded;
    }
    m_gatheredFor = &to;
    to.m_gatheredIn = this;
    m_gatheredSize += size;
    return Status::Done;
}

bool FileCopier::writeGathered(QString* reason)
{
    if (!m_gatheredFor)
        return true;
    OutputFile* to = m_gatheredFor;
    const qint64 size = m_gatheredSize;
    dropGathered();
    return to->writeNow(QByteArrayView(m_buffer.get(), size), reason);
}

void FileCopier::dropGathered()
{
    if (m_gatheredFor)
        m_gatheredFor->m_gatheredIn = nullptr;
    m_gatheredFor = nullptr;
    m_gatheredSize = 0;
}

bool FileCopier::holds(const InputFile& from, qint64 offset, qint64 size) const
{
    return m_heldSerial != 0 && m_heldSerial == from.m_serial && offset >= m_heldFrom
        && offset + size <= m_heldFrom + m_heldSize;
}

// Reads as much as the buffer takes from `offset` on; fewer than `atLeast`
// bytes mean the file ends too early.
FileCopier::Status FileCopier::fill(InputFile& from, qint64 offset, qint64 atLeast, QString* reason)
{
    m_heldSerial = 0;
    // One read mostly: it stops at the end of the file or once a full buffer
    // (or what the range needs) is there.
    const qint64 got = from.readAt(offset, m_buffer.get(), kBufferSize, atLeast, reason);
    if (got < 0)
        return Status::ReadFailed;
    m_heldSerial = from.m_serial;
    m_heldFrom = offset;
    m_heldSize = got;
    if (got >= atLeast)
        return Status::Done;
    *reason = QStringLiteral("The file ended %1 bytes early.").arg(atLeast - got);
    return Status::SourceEnded;
}

FileCopier::Status FileCopier::read(InputFile& from, qint64 offset, qint64 size, char* into, QString* reason)
{
    if (!writeGathered(reason))
        return Status::WriteFailed;
    if (size > kBufferSize) {
        const qint64 got = from.readAt(offset, into, size, size, reason);
        if (got < 0)
            return Status::ReadFailed;
        if (got == size)
            return Status::Done;
        *reason = QStringLiteral("The file ended %1 bytes early.").arg(size - got);
        return Status::SourceEnded;
    }
    if (!holds(from, offset, size)) {
        const Status filled = fill(from, offset, size, reason);
        if (filled != Status::Done)
            return filled;
    }
    std::memcpy(into, m_buffer.get() + (offset - m_heldFrom), size_t(size));
    return Status::Done;
}

FileCopier::Status FileCopier::copy(InputFile& from, qint64 offset, qint64 size, OutputFile& to, QString* reason)
{
    if (size <= 0)
        return Status::Done;
    const bool small = size < kKernelCopyFrom;
    if (m_gatheredFor && (m_gatheredFor != &to || !small || size > kBufferSize - m_gatheredSize)
        && !writeGathered(reason))
        return Status::WriteFailed;
    if (to.m_gathers && small)
        return gather(from, offset, size, to, reason);
    if (m_method == Method::Kernel && size >= kKernelCopyFrom && !holds(from, offset, size)) {
        const Status status = copyInKernel(from, offset, size, to, reason);
        if (status != Status::Done || size == 0)
            return status;
        // The kernel gave up on this pair of files: the rest goes through the buffer.
    }
    return copyThroughBuffer(from, offset, size, to, reason);
}

// Copies from the front of the range and moves offset and size along, so
// that what the kernel did not copy can go through the buffer.
FileCopier::Status FileCopier::copyInKernel(InputFile& from, qint64& offset, qint64& size, OutputFile& to,
                                            QString* reason)
{
#ifdef Q_OS_LINUX
    while (size > 0) {
        loff_t at = offset;
        const ssize_t copied = ::copy_file_range(from.m_fd, &at, to.m_fd, nullptr, size_t(size), 0);
        if (copied < 0 && errno == EINTR)
            continue;
        if (copied < 0) {
            if (kernelCopyMissing(errno))
                m_method = Method::Buffer;
            // Either way the buffer copy tells a failing read from a failing write.
            return Status::Done;
        }
        if (copied == 0) {
            *reason = QStringLiteral("The file ended %1 bytes early.").arg(size);
            return Status::SourceEnded;
        }
        offset += copied;
        size -= copied;
    }
#else
    Q_UNUSED(from);
    Q_UNUSED(offset);
    Q_UNUSED(size);
    Q_UNUSED(to);
    Q_UNUSED(reason);
#endif
    return Status::Done;
}

FileCopier::Status FileCopier::copyThroughBuffer(InputFile& from, qint64 offset, qint64 size, OutputFile& to,
                                                 QString* reason)
{
    while (size > 0) {
        if (!holds(from, offset, qMin(size, kBufferSize))) {
            const Status filled = fill(from, offset, qMin(size, kBufferSize), reason);
            if (filled != Status::Done)
                return filled;
        }
        const qint64 piece = qMin(size, m_heldFrom + m_heldSize - offset);
        if (!to.write(QByteArrayView(m_buffer.get() + (offset - m_heldFrom), piece), reason))
            return Status::WriteFailed;
        offset += piece;
        size -= piece;
    }
    return Status::Done;
}

} // namespace tobx
