#include "StagedOutput.h"

#include "PathText.h"
#include "RuntimeError.h"

#include <QRandomGenerator>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

#if defined(__APPLE__)
// Data and size reach the disk together there.
#define fdatasync fsync
#endif

namespace {

#ifndef O_PATH
// Systems without it open the folders for reading instead.
constexpr int O_PATH = 0;
#endif

// As many links as the kernel follows in one name before it gives up with ELOOP.
constexpr int LinksFollowed = 40;

// fs.protected_symlinks: a link in a sticky world-writable folder is followed only by its owner or
// when the folder's owner owns it too. Following links by hand must refuse what the kernel refuses.
bool isProtectedLink(int folder, const struct stat& link) {
    static const bool protectedLinks = [] {
        std::FILE* setting = std::fopen("/proc/sys/fs/protected_symlinks", "re");
        int value = 0;
        if (setting) {
            value = std::fgetc(setting) == '1';
            std::fclose(setting);
        }
        return value != 0;
    }();
    struct stat parent {};
    if (!protectedLinks || link.st_uid == geteuid() || fstat(folder, &parent) != 0) {
        return false;
    }
    const mode_t stickyShared = S_ISVTX | S_IWOTH;
    return (parent.st_mode & stickyShared) == stickyShared && parent.st_uid != link.st_uid;
}

QString kindOf(mode_t mode) {
    if (S_ISSOCK(mode)) {
        return QStringLiteral("a socket");
    }
    if (S_ISBLK(mode)) {
        return QStringLiteral("a block device");
    }
    return QStringLiteral("not a regular file");
}

// Short, so that any name the file system takes for the destination leaves room for it.
QByteArray temporaryName() {
    return ".quillet-" + QByteArray::number(QRandomGenerator::global()->bounded(36 * 36 * 36 * 36 * 36), 36);
}

} // namespace

StagedOutput::StagedOutput(const QByteArray& path, Options options)
    : name_(pathForMessages(path)), options_(options) {
    if (path.isEmpty()) {
        throw RuntimeError(ErrorNumber::PathNotFound,
                           QStringLiteral("Cannot write a file: no file name was given"));
    }
    try {
        findDestination(path);
        if (exists_ && S_ISDIR(mode_)) {
            fail(EISDIR, QStringLiteral("it is a folder"));
        }
        if (exists_ && (S_ISCHR(mode_) || S_ISFIFO(mode_))) {
            // As shell redirection does; a FIFO waits here for its reader.
            stream_ = true;
            file_ = openat(folder_, entry_.constData(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
            if (file_ < 0) {
                fail(errno, {});
            }
            return;
        }
        if (exists_ && !S_ISREG(mode_)) {
            fail(ENXIO, QStringLiteral("it is %1, not a file to write").arg(kindOf(mode_)));
        }
        openStaged();
    } catch (...) {
        discard();
        throw;
    }
}

// Walks the name as the kernel would: each folder part opened by the kernel itself (relative links,
// `..` after a linked folder, loops and permissions all as for open()), and a link in the last part
// followed by reading it and going on from its folder, until a name that is not a link.
void StagedOutput::findDestination(const QByteArray& path) {
    QByteArray rest = path;
    for (int followed = 0;; ++followed) {
        const int base = folder_ >= 0 ? folder_ : AT_FDCWD;
        if (rest.endsWith('/')) {
            // open(O_CREAT) takes a name ending in a slash only as a folder, which it cannot write.
            const int folder = openat(base, rest.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
            const int error = folder >= 0 || errno == ENOENT ? EISDIR : errno;
            if (folder >= 0) {
                close(folder);
            }
            fail(error, error == EISDIR ? QStringLiteral("it is a folder") : QString());
        }
        const qsizetype slash = rest.lastIndexOf('/');
        const QByteArray folderPart = slash < 0    ? QByteArray(".")
                                      : slash == 0 ? QByteArray("/")
                                                   : rest.left(slash);
        const int folder = openat(base, folderPart.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
        if (folder < 0) {
            const int error = errno;
            fail(error, error == ENOENT ? QStringLiteral("the folder does not exist") : QString());
        }
        if (folder_ >= 0) {
            close(folder_);
        }
        folder_ = folder;
        entry_ = rest.mid(slash + 1);
        if (entry_ == "." || entry_ == "..") {
            fail(EISDIR, QStringLiteral("it is a folder"));
        }
        struct stat status {};
        if (fstatat(folder_, entry_.constData(), &status, AT_SYMLINK_NOFOLLOW) != 0) {
            if (errno != ENOENT) {
                fail(errno, {});
            }
            return; // created here, also at the end of a dangling link
        }
        if (S_ISLNK(status.st_mode)) {
            if (followed == LinksFollowed) {
                fail(ELOOP, {});
            }
            if (isProtectedLink(folder_, status)) {
                fail(EACCES, {});
            }
            QByteArray target(PATH_MAX, '\0');
            const ssize_t length = readlinkat(folder_, entry_.constData(), target.data(), target.size());
            if (length < 0) {
                fail(errno, {});
            }
            rest = target.left(length);
            continue;
        }
        exists_ = true;
        device_ = status.st_dev;
        inode_ = status.st_ino;
        mode_ = status.st_mode;
        owner_ = status.st_uid;
        group_ = status.st_gid;
        links_ = status.st_nlink;
        return;
    }
}

void StagedOutput::openStaged() {
    // A file or folder without write permission is read-only, also for a user who could override that.
    const mode_t writeBits = S_IWUSR | S_IWGRP | S_IWOTH;
    struct stat folder {};
    if (fstat(folder_, &folder) == 0 && (folder.st_mode & writeBits) == 0) {
        fail(EACCES, QStringLiteral("the folder is read-only"));
    }
    if (exists_) {
        if ((mode_ & writeBits) == 0) {
            fail(EACCES, QStringLiteral("the file is read-only"));
        }
        if (faccessat(folder_, entry_.constData(), W_OK, AT_EACCESS) != 0) {
            fail(errno, QStringLiteral("the file is read-only"));
        }
    }
    openTemporary();
    if (exists_) {
        keepOldIdentity();
    }
}

void StagedOutput::openTemporary() {
#ifdef O_TMPFILE
    if (options_.unnamedTemporary) {
        // Read as well as written: a hard-linked destination is rewritten from it.
        file_ = openat(folder_, ".", O_TMPFILE | O_RDWR | O_CLOEXEC, 0666);
        if (file_ >= 0) {
            unnamed_ = true;
            return;
        }
        if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) {
            fail(errno, {});
        }
    }
#endif
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QByteArray name = temporaryName();
        file_ = openat(folder_, name.constData(), O_CREAT | O_EXCL | O_RDWR | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (file_ >= 0) {
            temporary_ = name;
            return;
        }
        if (errno != EEXIST) {
            fail(errno, {});
        }
    }
    fail(EEXIST, {});
}

// The owner first: changing it clears the set-user-ID bits the mode then puts back.
void StagedOutput::keepOldIdentity() {
    if (fchown(file_, owner_, group_) != 0) {
        [[maybe_unused]] const int groupOnly = fchown(file_, static_cast<uid_t>(-1), group_);
    }
    fchmod(file_, mode_ & 07777);
}

int StagedOutput::write(const char* data, std::size_t bytes) {
    while (bytes > 0) {
        const ssize_t written = ::write(file_, data, bytes);
        if (written < 0) {
            // A signal ends the wait of a stream; a file's write is only taken up again.
            if (errno == EINTR && !stream_) {
                continue;
            }
            return errno;
        }
        if (written == 0) {
            return EIO;
        }
        data += written;
        bytes -= static_cast<std::size_t>(written);
    }
    return 0;
}

int StagedOutput::linkInto(const char* name) {
#ifdef AT_EMPTY_PATH
    if (linkat(file_, "", folder_, name, AT_EMPTY_PATH) == 0) {
        return 0;
    }
#endif
    // Linking by descriptor needs a privilege; the descriptor's name under /proc does not.
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(file_);
    return linkat(AT_FDCWD, self.constData(), folder_, name, AT_SYMLINK_FOLLOW) == 0 ? 0 : errno;
}

void StagedOutput::commit() {
    if (file_ < 0) {
        return;
    }
    if (stream_) {
        const int descriptor = std::exchange(file_, -1);
        if (ownsStream_ && close(descriptor) != 0) {
            fail(errno, {});
        }
        return;
    }
    if (options_.syncBeforeReplacing && fdatasync(file_) != 0) {
        fail(errno, {});
    }
    if (exists_ && links_ > 1) {
        replaceInPlace();
        discard();
        return;
    }
    if (unnamed_) {
        // A new file gets its name in one step; linkat cannot replace one, so an old file (or one made
        // meanwhile) is replaced through a temporary name.
        int error = exists_ ? EEXIST : linkInto(entry_.constData());
        if (error == 0) {
            discard();
            return;
        }
        for (int attempt = 0; error == EEXIST && attempt < 100; ++attempt) {
            const QByteArray name = temporaryName();
            error = linkInto(name.constData());
            if (error == 0) {
                temporary_ = name;
            }
        }
        if (error != 0) {
            fail(error, {});
        }
    }
    if (renameat(folder_, temporary_.constData(), folder_, entry_.constData()) != 0) {
        fail(errno, {});
    }
    temporary_.clear();
    discard();
}

// Every name of a hard-linked file sees the new content only if the file itself is rewritten. The
// content is complete first; a failure part-way leaves a file partly rewritten, as any in-place write.
void StagedOutput::replaceInPlace() {
    const int target = openat(folder_, entry_.constData(), O_WRONLY | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC);
    if (target < 0) {
        fail(errno, {});
    }
    const off_t size = lseek(file_, 0, SEEK_END);
    char buffer[1 << 16];
    int error = size < 0 ? errno : 0;
    for (off_t at = 0; error == 0 && at < size;) {
        const ssize_t got = pread(file_, buffer, sizeof buffer, at);
        if (got <= 0) {
            error = got < 0 ? errno : EIO;
            break;
        }
        for (ssize_t done = 0; error == 0 && done < got;) {
            const ssize_t put =
                pwrite(target, buffer + done, static_cast<std::size_t>(got - done), at + done);
            error = put < 0 ? errno : 0;
            done += put > 0 ? put : 0;
        }
        at += got;
    }
    if (error == 0 && ftruncate(target, size) != 0) {
        error = errno;
    }
    if (error == 0 && options_.syncBeforeReplacing && fdatasync(target) != 0) {
        error = errno;
    }
    if (close(target) != 0 && error == 0) {
        error = errno;
    }
    if (error != 0) {
        fail(error, {});
    }
}

void StagedOutput::closeFiles() noexcept {
    if (file_ >= 0 && (ownsStream_ || !stream_)) {
        close(file_);
    }
    file_ = -1;
    if (folder_ >= 0) {
        close(folder_);
        folder_ = -1;
    }
}

void StagedOutput::discard() noexcept {
    if (!temporary_.isEmpty() && folder_ >= 0 && unlinkat(folder_, temporary_.constData(), 0) != 0) {
        const int error = errno;
        // The folder by the name the system knows it by: the destination's name may lead there by links.
        QByteArray folder(PATH_MAX, '\0');
        const QByteArray self = "/proc/self/fd/" + QByteArray::number(folder_);
        const ssize_t length = readlink(self.constData(), folder.data(), folder.size());
        const QByteArray where = length > 0 ? folder.left(length) + '/' + temporary_ : temporary_;
        leftover_ = QStringLiteral("the temporary file \"%1\" could not be removed (%2)")
                        .arg(pathForMessages(where), qt_error_string(error));
    }
    temporary_.clear();
    closeFiles();
}
