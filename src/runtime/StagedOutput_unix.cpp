#include "StagedOutput.h"

#include "EndingSignals.h"
#include "PathText.h"
#include "RuntimeError.h"

#include <QRandomGenerator>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#if defined(__linux__)
#include <linux/magic.h>
#include <sys/vfs.h>
#endif

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

Reason refusedKind(mode_t mode) {
    if (S_ISSOCK(mode)) {
        return Reason::WriteIsSocket;
    }
    if (S_ISBLK(mode)) {
        return Reason::WriteIsBlockDevice;
    }
    return Reason::WriteIsNoFile;
}

// /proc holds links that name no path ("pipe:[1234]", a deleted file): only the kernel can follow them.
bool isProcFolder(int folder) {
#if defined(__linux__)
    struct statfs system {};
    return fstatfs(folder, &system) == 0 && system.f_type == PROC_SUPER_MAGIC;
#else
    return false;
#endif
}

// The descriptor of this process that is the socket with this device and inode, named by its number in
// /proc/self/fd: a socket cannot be opened by name, only shared.
int ownSocket(const QByteArray& number, std::uint64_t device, std::uint64_t inode) {
    bool isNumber = false;
    const int descriptor = number.toInt(&isNumber);
    struct stat own {};
    if (!isNumber || fstat(descriptor, &own) != 0 || own.st_dev != device || own.st_ino != inode) {
        return -1;
    }
    return fcntl(descriptor, F_DUPFD_CLOEXEC, 0);
}

int reserveBySystem(int descriptor, std::int64_t bytes) {
#if defined(__linux__)
    while (bytes > 0 && fallocate(descriptor, FALLOC_FL_KEEP_SIZE, 0, bytes) != 0) {
        if (errno != EINTR) {
            return errno;
        }
    }
    return 0;
#else
    return EOPNOTSUPP;
#endif
}

// A reservation that says there is no room, or that the disk fails, stops the rewrite before it starts;
// any other refusal is a file system that cannot reserve, copied into all the same.
bool forbidsTheCopy(int reservationError) {
    return reservationError == ENOSPC || reservationError == EDQUOT || reservationError == EFBIG ||
           reservationError == EIO;
}

// Closes a descriptor on every way out.
class OpenDescriptor {
public:
    explicit OpenDescriptor(int descriptor) : descriptor_(descriptor) {}
    ~OpenDescriptor() {
        if (descriptor_ >= 0) {
            close(descriptor_);
        }
    }
    OpenDescriptor(const OpenDescriptor&) = delete;
    OpenDescriptor& operator=(const OpenDescriptor&) = delete;
    int get() const { return descriptor_; }
    // 0, or the errno of the close.
    int closeNow() { return close(std::exchange(descriptor_, -1)) == 0 ? 0 : errno; }

private:
    int descriptor_;
};

// Short, so that any name the file system takes for the destination leaves room for it.
QByteArray temporaryName() {
    return ".quillet-" + QByteArray::number(QRandomGenerator::global()->bounded(36 * 36 * 36 * 36 * 36), 36);
}

} // namespace

StagedOutput::StagedOutput(const QByteArray& path, Options options)
    : name_(pathForMessages(path)), options_(options) {
    if (path.isEmpty()) {
        throw RuntimeError(Failure{Reason::FileNameMissing});
    }
    try {
        findDestination(path);
        if (exists_ && S_ISDIR(mode_)) {
            fail(Reason::WriteIsFolder, EISDIR);
        }
        if (exists_ && (S_ISCHR(mode_) || S_ISFIFO(mode_))) {
            // As shell redirection does; a FIFO waits here for its reader.
            openStream(0);
            return;
        }
        if (resolvedByTheKernel_ && S_ISREG(mode_)) {
            // It cannot be replaced by renaming: truncated and written as the shell's > does, only once the
            // export writes (a refused destination, such as the picture itself, stays as it is).
            openStream(0);
            truncateFirst_ = true;
            return;
        }
        if (resolvedByTheKernel_ && S_ISSOCK(mode_)) {
            file_ = ownSocket(entry_, device_, inode_);
            if (file_ >= 0) {
                stream_ = true;
                return;
            }
        }
        if (exists_ && !S_ISREG(mode_)) {
            fail(refusedKind(mode_), ENXIO);
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
            fail(error == EISDIR ? Reason::WriteIsFolder : Reason::WriteRefused, error);
        }
        const qsizetype slash = rest.lastIndexOf('/');
        const QByteArray folderPart = slash < 0    ? QByteArray(".")
                                      : slash == 0 ? QByteArray("/")
                                                   : rest.left(slash);
        const int folder = openat(base, folderPart.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
        if (folder < 0) {
            const int error = errno;
            fail(error == ENOENT ? Reason::WriteFolderMissing : Reason::WriteRefused, error);
        }
        if (folder_ >= 0) {
            close(folder_);
        }
        folder_ = folder;
        entry_ = rest.mid(slash + 1);
        if (entry_ == "." || entry_ == "..") {
            fail(Reason::WriteIsFolder, EISDIR);
        }
        if (isProcFolder(folder_)) {
            takeResolvedByTheKernel();
            return;
        }
        struct stat status {};
        if (fstatat(folder_, entry_.constData(), &status, AT_SYMLINK_NOFOLLOW) != 0) {
            if (errno != ENOENT) {
                fail(errno);
            }
            return; // created here, also at the end of a dangling link
        }
        if (S_ISLNK(status.st_mode)) {
            if (followed == LinksFollowed) {
                fail(ELOOP);
            }
            if (isProtectedLink(folder_, status)) {
                fail(EACCES);
            }
            QByteArray target(PATH_MAX, '\0');
            const ssize_t length = readlinkat(folder_, entry_.constData(), target.data(), target.size());
            if (length < 0) {
                fail(errno);
            }
            rest = target.left(length);
            continue;
        }
        keepStatus(status);
        return;
    }
}

// The existing file's identity and what it keeps: its mode, owner and links.
void StagedOutput::keepStatus(const struct stat& status) {
    exists_ = true;
    device_ = status.st_dev;
    inode_ = status.st_ino;
    mode_ = status.st_mode;
    owner_ = status.st_uid;
    group_ = status.st_gid;
    links_ = status.st_nlink;
}

// What the kernel finds for the name, links followed its own way; nothing can be made in /proc.
void StagedOutput::takeResolvedByTheKernel() {
    struct stat status {};
    if (fstatat(folder_, entry_.constData(), &status, 0) != 0) {
        fail(errno);
    }
    resolvedByTheKernel_ = true;
    keepStatus(status);
}

void StagedOutput::openStream(int flags) {
    stream_ = true;
    file_ = openat(folder_, entry_.constData(), O_WRONLY | O_NOCTTY | O_CLOEXEC | flags);
    if (file_ < 0) {
        fail(errno);
    }
}

void StagedOutput::openStaged() {
    // A file or folder without write permission is read-only, also for a user who could override that.
    const mode_t writeBits = S_IWUSR | S_IWGRP | S_IWOTH;
    struct stat folder {};
    if (fstat(folder_, &folder) == 0 && (folder.st_mode & writeBits) == 0) {
        fail(Reason::WriteFolderReadOnly, EACCES);
    }
    if (exists_) {
        if ((mode_ & writeBits) == 0) {
            fail(Reason::WriteFileReadOnly, EACCES);
        }
        if (faccessat(folder_, entry_.constData(), W_OK, AT_EACCESS) != 0) {
            fail(Reason::WriteFileReadOnly, errno);
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
            fail(errno);
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
            fail(errno);
        }
    }
    fail(EEXIST);
}

// The owner first: changing it clears the set-user-ID bits the mode then puts back.
void StagedOutput::keepOldIdentity() {
    if (fchown(file_, owner_, group_) != 0) {
        [[maybe_unused]] const int groupOnly = fchown(file_, static_cast<uid_t>(-1), group_);
    }
    fchmod(file_, mode_ & 07777);
}

int StagedOutput::write(const char* data, std::size_t bytes) {
    if (truncateFirst_) {
        if (ftruncate(file_, 0) != 0) {
            return errno;
        }
        truncateFirst_ = false;
    }
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
        if (truncateFirst_ && ftruncate(file_, 0) != 0) {
            fail(errno);
        }
        const int descriptor = std::exchange(file_, -1);
        if (ownsStream_ && close(descriptor) != 0) {
            fail(errno);
        }
        return;
    }
    if (options_.syncBeforeReplacing && fdatasync(file_) != 0) {
        fail(errno);
    }
    // The last moment the old file is still whole: a run that is ending leaves it so.
    if (EndingSignals::noted() != 0) {
        fail(EINTR);
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
            fail(error);
        }
    }
    if (renameat(folder_, temporary_.constData(), folder_, entry_.constData()) != 0) {
        fail(errno);
    }
    temporary_.clear();
    discard();
}

// Every name of a hard-linked file sees the new content only if the file itself is rewritten, once the
// content is complete. Up to the first changed byte every failure leaves the old file whole; after it,
// only what the system cannot promise (a KILL, a power loss, a failing disk) can stop the copy.
void StagedOutput::replaceInPlace() {
    OpenDescriptor target(openat(folder_, entry_.constData(), O_WRONLY | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC));
    if (target.get() < 0) {
        fail(errno);
    }
    struct stat now {};
    if (fstat(target.get(), &now) != 0) {
        fail(errno);
    }
    if (now.st_dev != device_ || now.st_ino != inode_) {
        fail(Reason::WriteNameTaken, 0);
    }
    // Exports on this machine to this file follow each other, each whole. A file system without such
    // locks is copied into unlocked; a signal ends the wait.
    if (flock(target.get(), LOCK_EX) != 0 && errno == EINTR) {
        fail(EINTR);
    }
    if (EndingSignals::noted() != 0) {
        fail(EINTR);
    }
    const off_t size = lseek(file_, 0, SEEK_END);
    if (size < 0) {
        fail(errno);
    }
    const EndingSignals::Held held;
    const auto& calls = options_.inPlace;
    const int reserved =
        calls.reserve ? calls.reserve(target.get(), size) : reserveBySystem(target.get(), size);
    if (forbidsTheCopy(reserved)) {
        fail(reserved);
    }
    char buffer[1 << 16];
    int error = 0;
    for (off_t at = 0; error == 0 && at < size;) {
        const ssize_t got = pread(file_, buffer, sizeof buffer, at);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            error = got < 0 ? errno : EIO;
            break;
        }
        for (ssize_t done = 0; done < got;) {
            const std::size_t left = static_cast<std::size_t>(got - done);
            const std::int64_t put = calls.writeAt
                                         ? calls.writeAt(target.get(), buffer + done, left, at + done)
                                         : pwrite(target.get(), buffer + done, left, at + done);
            if (put > 0) {
                done += static_cast<ssize_t>(put);
            } else if (put < 0 && errno == EINTR) {
                continue;
            } else {
                // A write that writes nothing would be asked again forever.
                error = put < 0 ? errno : EIO;
                break;
            }
        }
        at += got;
    }
    if (error == 0 && ftruncate(target.get(), size) != 0) {
        error = errno;
    }
    if (error == 0 && options_.syncBeforeReplacing && fdatasync(target.get()) != 0) {
        error = errno;
    }
    if (const int closed = target.closeNow(); error == 0) {
        error = closed;
    }
    if (error != 0) {
        fail(error);
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
        noteLeftover(pathForMessages(where), error);
    }
    temporary_.clear();
    closeFiles();
}
