#include "RecordFile.h"

#include "RuntimeError.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace {

constexpr std::size_t BufferBytes = 4u << 20;

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

} // namespace

RecordFile::RecordFile(const QString& path, int recordLength)
    : path_(path), recordLength_(recordLength), file_(path) {
    const QFileInfo info(path);
    if (path.isEmpty()) {
        throw RuntimeError(ErrorNumber::PathNotFound,
                           QStringLiteral("Cannot write a file: no file name was given"));
    }
    if (info.isDir()) {
        fail(QStringLiteral("it is a folder"));
    }
    if (!info.absoluteDir().exists()) {
        fail(QStringLiteral("the folder does not exist"));
    }
    // A file without write permission is read-only, also for a user who could override that.
    const auto writeBits = QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    if (info.exists() && (!info.isWritable() || !(info.permissions() & writeBits))) {
        fail(QStringLiteral("the file is read-only"));
    }
    if (!file_.open(QIODevice::WriteOnly)) {
        fail(file_.errorString());
    }
    buffer_.resize(std::max<std::size_t>(BufferBytes / recordLength * recordLength, recordLength));
    open_ = true;
    openFiles().push_back(this);
}

RecordFile::~RecordFile() {
    auto& files = openFiles();
    files.erase(std::remove(files.begin(), files.end(), this), files.end());
    if (open_) {
        file_.cancelWriting();
    }
}

void RecordFile::flush() {
    if (used_ == 0) {
        return;
    }
    const qint64 written = file_.write(buffer_.data(), static_cast<qint64>(used_));
    if (written != static_cast<qint64>(used_)) {
        fail(file_.errorString());
    }
    used_ = 0;
}

void RecordFile::makeRoom(std::size_t bytes) {
    flush();
    if (buffer_.size() < bytes) {
        buffer_.resize(bytes);
    }
}

void RecordFile::Close() {
    if (!open_) {
        return;
    }
    flush();
    if (!file_.commit()) {
        open_ = false;
        fail(file_.errorString());
    }
    open_ = false;
}

void RecordFile::fail(const QString& reason) {
    const QFileDevice::FileError error = file_.error();
    if (open_) {
        file_.cancelWriting();
        open_ = false;
    }
    throw RuntimeError(errorNumberFor(error),
                       QStringLiteral("Cannot write the file \"%1\": %2").arg(path_, reason));
}

void RecordFile::abandonAllOpen() {
    for (RecordFile* file : openFiles()) {
        if (file->open_) {
            file->file_.cancelWriting();
            file->file_.commit(); // after cancelWriting this only removes the temporary file
            file->open_ = false;
        }
    }
    openFiles().clear();
}
