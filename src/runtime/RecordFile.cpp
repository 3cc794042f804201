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

// Small enough to stay in the processor's cache between the writer filling it and the system
// copying it out, large enough that the system calls do not count.
constexpr std::size_t BufferBytes = 1u << 20;

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
    buffer_.replace(std::max<std::size_t>(BufferBytes / recordLength * recordLength, recordLength));
    openTemporaryFile();
    if (info.exists()) {
        file_.setPermissions(info.permissions());
    }
    try {
        writer_ = std::thread([this] { writeHandedBuffers(); });
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

void RecordFile::writeHandedBuffers() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return handedBytes_ > 0 || stopping_; });
        if (stopping_) {
            return;
        }
        const auto bytes = static_cast<qint64>(handedBytes_);
        const bool skip = writeError_ != QFileDevice::NoError;
        lock.unlock();
        const bool written = skip || writeAll(file_, handed_.data(), bytes);
        const QFileDevice::FileError error = written ? QFileDevice::NoError : file_.error();
        const QString text = written ? QString() : file_.errorString();
        lock.lock();
        if (!written) {
            writeError_ = error == QFileDevice::NoError ? QFileDevice::WriteError : error;
            writeErrorText_ = text;
        }
        handedBytes_ = 0;
        changed_.notify_all();
    }
}

void RecordFile::waitForWriter(std::unique_lock<std::mutex>& lock) {
    changed_.wait(lock, [this] { return handedBytes_ == 0; });
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
    flush();
    if (buffer_.size < bytes) {
        buffer_.replace(bytes);
    }
}

void RecordFile::flush() {
    if (used_ == 0) {
        return;
    }
    if (!open_) {
        fail(ErrorNumber::PathFileAccessError, QStringLiteral("the file is closed"));
    }
    std::unique_lock lock(mutex_);
    waitForWriter(lock);
    std::swap(buffer_, handed_);
    handedBytes_ = used_;
    used_ = 0;
    lock.unlock();
    changed_.notify_all();
    if (buffer_.size < handed_.size) {
        buffer_.replace(handed_.size);
    }
}

void RecordFile::Close() {
    if (!open_) {
        return;
    }
    flush();
    {
        std::unique_lock lock(mutex_);
        waitForWriter(lock);
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
