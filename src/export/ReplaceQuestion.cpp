#include "ReplaceQuestion.h"

#include "runtime/Shell.h"

#include <QFile>

#include <sys/stat.h>

#include <cstdint>
#include <optional>

namespace {

struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    bool operator==(const FileIdentity&) const = default;
};

// The regular file at `path`, if there is one: a device or a FIFO is written into, never replaced.
std::optional<FileIdentity> regularFileAt(const QString& path) {
    struct stat status {};
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &status) != 0 ||
        !S_ISREG(status.st_mode)) {
        return std::nullopt;
    }
    return FileIdentity{static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino)};
}

// A written file takes its place as a new inode: noted after the write, not before.
std::optional<FileIdentity> lastWritten;

} // namespace

namespace ReplaceQuestion {

bool allowsWriting(Shell& shell, const QString& path) {
    const std::optional<FileIdentity> existing = regularFileAt(path);
    return !existing || existing == lastWritten || shell.YesNoBox(ReplaceQuestionText);
}

void noteWritten(const QString& path) {
    lastWritten = regularFileAt(path);
}

void forgetWritten() {
    lastWritten.reset();
}

} // namespace ReplaceQuestion
