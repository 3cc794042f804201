#include "RecordFile.h"

#include "RuntimeError.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>

namespace {

// Every write but the last is this many bytes at an offset that is a multiple of it: the system's
// page cache takes large, aligned writes markedly faster than odd-sized ones.
constexpr std::size_t WriteBytes = 512u << 10;
// A write's worth and room for the records reserved after it, which go on to the next buffer.
constexpr std::size_t BufferBytes = WriteBytes + (64u << 10);
// Enough buffers that either thread can run ahead while the other is briefly held up. They are made
// only as the writer falls behind, and kept by the allocator from one file to the next.
constexpr int BufferCount = 16;

std::vector<RecordFile*>& openFiles() {
    static std::vector<RecordFile*> files;
    return files;
}

int errorNumberFor(QFileDevice::FileError error) {
    switch (error) {
    case QFileDevice::PermissionsError:
        return ErrorNumber::PermissionDenied;
    case QFileDevice::ResourceError:
        return ErrorNumber::DiskFull;
    case QFileDevice::WriteError:
        return ErrorNumber::DeviceIOError;
    default:
        return ErrorNumber::PathFileAccessError;
    }
}

// A write that stops short is retried with the rest, so that a failure shows with its reason.
bool writeAll(QFile& file, const char* data, qint64 bytes) {
    while (bytes > 0) {
        const qint64 written = file.write(data, bytes);
        if (written <= 0) {
            return false;
        }
        data += written;
        bytes -= written;
    }
    return true;
}

QString followLinks(const QString& path) {
    QFileInfo info(path);
    for (int depth = 0; depth < 32 && info.isSymLink(); ++depth) {
        info.setFile(info.symLinkTarget());
    }
    return info.filePath();
}

} // namespace

RecordFile::RecordFile(const QString& path, int recordLength)
    : path_(path), target_(followLinks(path)), recordLength_(recordLength) {
    if (path.isEmpty()) {
        throw RuntimeError(ErrorNumber::PathNotFound,
                           QStringLiteral("Cannot write a file: no file name was given"));
    }
    const QFileInfo info(target_);
    if (info.isDir()) {
        fail(ErrorNumber::PathFileAccessError, QStringLiteral("it is a folder"));
    }
    if (!info.absoluteDir().exists()) {
        fail(ErrorNumber::PathNotFound, QStringLiteral("the folder does not exist"));
    }
    // A file or folder without write permission is read-only, also for a user who could override that.
    const auto writeBits = QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    if (info.exists() && (!info.isWritable() || !(info.permissions() & writeBits))) {
        fail(ErrorNumber::PermissionDenied, QStringLiteral("the file is read-only"));
    }
    const QFileInfo folder(info.absolutePath());
    if (!folder.isWritable() || !(folder.permissions() & writeBits)) {
        fail(ErrorNumber::PermissionDenied, QStringLiteral("the folder is read-only"));
    }
    buffer_.replace(BufferBytes);
    openTemporaryFile();
    if (info.exists()) {
        file_.setPermissions(info.permissions());
    }
    try {
        writer_ = std::thread([this] { writeQueuedBuffers(); });
    } catch (...) {
        discard();
        throw;
    }
    openFiles().push_back(this);
}

RecordFile::~RecordFile() {
    auto& files = openFiles();
    files.erase(std::remove(files.begin(), files.end(), this), files.end());
    discard();
}

void RecordFile::openTemporaryFile() {
    // Hidden, beside the destination so that the final rename stays within one file system.
    const QFileInfo target(target_);
    const QString stem =
        target.absoluteDir().filePath(QLatin1Char('.') + target.fileName() + QLatin1Char('.'));
    for (int attempt = 0; attempt < 100; ++attempt) {
        file_.setFileName(stem + QString::number(QRandomGenerator::global()->generate(), 36) +
                          QStringLiteral(".tmp"));
        if (file_.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered)) {
            open_ = true;
            return;
        }
        if (!file_.exists()) {
            failWithFileError();
        }
    }
    failWithFileError();
}

void RecordFile::writeQueuedBuffers() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return !queued_.empty() || stopping_; });
        if (stopping_) {
            return;
        }
        Filled next = std::move(queued_.front());
        queued_.pop_front();
        writing_ = true;
        const bool skip = writeError_ != QFileDevice::NoError;
        lock.unlock();
        const bool written = skip || writeAll(file_, next.buffer.data(), static_cast<qint64>(next.bytes));
        const QFileDevice::FileError error = written ? QFileDevice::NoError : file_.error();
        const QString text = written ? QString() : file_.errorString();
        lock.lock();
        if (!written) {
            writeError_ = error == QFileDevice::NoError ? QFileDevice::WriteError : error;
            writeErrorText_ = text;
        }
        writing_ = false;
        spare_.push_back(std::move(next.buffer));
        changed_.notify_all();
    }
}

void RecordFile::waitUntil(std::unique_lock<std::mutex>& lock, bool (RecordFile::*done)() const) {
    changed_.wait(lock, [this, done] { return (this->*done)() || writeError_ != QFileDevice::NoError; });
    if (writeError_ != QFileDevice::NoError) {
        const int number = errorNumberFor(writeError_);
        const QString reason = writeErrorText_;
        lock.unlock();
        fail(number, reason);
    }
}

void RecordFile::stopWriter() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    if (writer_.joinable()) {
        writer_.join();
    }
}

void RecordFile::makeRoom(std::size_t bytes) {
    if (!open_) {
        fail(ErrorNumber::PathFileAccessError, QStringLiteral("the file is closed"));
    }
    handOver(used_ / WriteBytes * WriteBytes);
    if (buffer_.size - used_ < bytes) {
        buffer_.grow(used_ + bytes, used_);
    }
}

void RecordFile::handOver(std::size_t bytes) {
    if (bytes == 0) {
        return;
    }
    // The writer reads only the bytes handed over, so the rest can be copied out meanwhile.
    const char* const rest = buffer_.data() + bytes;
    const std::size_t restBytes = used_ - bytes;
    const std::size_t size = buffer_.size;
    Buffer next;
    {
        std::unique_lock lock(mutex_);
        queued_.push_back({std::move(buffer_), bytes});
        changed_.notify_all();
        if (spare_.empty() && buffersMade_ < BufferCount) {
            ++buffersMade_;
        } else {
            waitUntil(lock, &RecordFile::hasSpareBuffer);
            next = std::move(spare_.back());
            spare_.pop_back();
        }
    }
    if (next.size < size) {
        next.replace(size);
    }
    // The spare may be the very buffer just handed over, already written.
    std::memmove(next.data(), rest, restBytes);
    buffer_ = std::move(next);
    used_ = restBytes;
}

void RecordFile::Close() {
    if (!open_) {
        return;
    }
    handOver(used_);
    {
        std::unique_lock lock(mutex_);
        waitUntil(lock, &RecordFile::allWritten);
    }
    stopWriter();
    file_.close();
    if (file_.error() != QFileDevice::NoError) {
        failWithFileError();
    }
    std::error_code error;
    std::filesystem::rename(QFileInfo(file_).filesystemFilePath(), QFileInfo(target_).filesystemFilePath(),
                            error);
    if (error) {
        fail(ErrorNumber::PathFileAccessError, QString::fromStdString(error.message()));
    }
    open_ = false;
}

void RecordFile::discard() {
    stopWriter();
    used_ = 0;
    if (open_) {
        open_ = false;
        file_.close();
        file_.remove();
    }
}

void RecordFile::fail(int number, const QString& reason) {
    discard();
    throw RuntimeError(number, QStringLiteral("Cannot write the file \"%1\": %2").arg(path_, reason));
}

void RecordFile::failWithFileError() {
    fail(errorNumberFor(file_.error()), file_.errorString());
}

void RecordFile::abandonAllOpen() {
    for (RecordFile* file : openFiles()) {
        file->discard();
    }
    openFiles().clear();
}
