// Windows: the name is followed through Qt (links are rare there), the temporary is a named file
// beside the destination, and std::filesystem::rename puts it over the old file.

#include "StagedOutput.h"

#include "PathText.h"
#include "RuntimeError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <io.h>
#include <sys/stat.h>
#include <system_error>

namespace {

std::wstring systemName(const QByteArray& path) {
    return QFile::decodeName(path).toStdWString();
}

QString temporaryName() {
    return QStringLiteral(".quillet-") +
           QString::number(QRandomGenerator::global()->bounded(36 * 36 * 36 * 36 * 36), 36);
}

} // namespace

StagedOutput::StagedOutput(const QByteArray& path, Options options)
    : name_(pathForMessages(path)), options_(options) {
    if (path.isEmpty()) {
        throw RuntimeError(Failure{Reason::FileNameMissing});
    }
    try {
        QFileInfo info(QFile::decodeName(path));
        for (int depth = 0; depth < 40 && info.isSymLink(); ++depth) {
            info.setFile(info.symLinkTarget());
        }
        entry_ = QFile::encodeName(info.absoluteFilePath());
        if (info.isDir()) {
            fail(Reason::WriteIsFolder, EISDIR);
        }
        if (!info.absoluteDir().exists()) {
            fail(Reason::WriteFolderMissing, ENOENT);
        }
        exists_ = info.exists();
        if (exists_ && !info.isFile()) {
            // A device such as NUL, written straight into.
            stream_ = true;
            file_ = _wopen(systemName(entry_).c_str(), _O_WRONLY | _O_BINARY);
            if (file_ < 0) {
                fail(errno);
            }
            return;
        }
        if (exists_ && !info.isWritable()) {
            fail(Reason::WriteFileReadOnly, EACCES);
        }
        for (int attempt = 0; file_ < 0 && attempt < 100; ++attempt) {
            const QByteArray temporary = QFile::encodeName(info.absoluteDir().filePath(temporaryName()));
            file_ = _wopen(systemName(temporary).c_str(), _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY,
                           _S_IREAD | _S_IWRITE);
            if (file_ >= 0) {
                temporary_ = temporary;
            } else if (errno != EEXIST) {
                fail(errno);
            }
        }
        if (file_ < 0) {
            fail(EEXIST);
        }
    } catch (...) {
        discard();
        throw;
    }
}

int StagedOutput::write(const char* data, std::size_t bytes) {
    while (bytes > 0) {
        const int written =
            _write(file_, data, static_cast<unsigned>(std::min<std::size_t>(bytes, 1u << 30)));
        if (written <= 0) {
            return written < 0 ? errno : EIO;
        }
        data += written;
        bytes -= static_cast<std::size_t>(written);
    }
    return 0;
}

void StagedOutput::commit() {
    if (file_ < 0) {
        return;
    }
    const bool owned = ownsStream_ || !stream_;
    const int descriptor = std::exchange(file_, -1);
    if (!stream_ && options_.syncBeforeReplacing && _commit(descriptor) != 0) {
        const int error = errno;
        _close(descriptor);
        fail(error);
    }
    if (owned && _close(descriptor) != 0) {
        fail(errno);
    }
    if (stream_) {
        return;
    }
    std::error_code error;
    std::filesystem::rename(systemName(temporary_), systemName(entry_), error);
    if (error) {
        fail(Reason::WriteNotPutInPlace, 0, QString::fromStdString(error.message()));
    }
    temporary_.clear();
}

void StagedOutput::discard() noexcept {
    if (file_ >= 0 && (ownsStream_ || !stream_)) {
        _close(file_);
    }
    file_ = -1;
    if (!temporary_.isEmpty() && _wunlink(systemName(temporary_).c_str()) != 0) {
        noteLeftover(pathForMessages(temporary_), errno);
    }
    temporary_.clear();
}
