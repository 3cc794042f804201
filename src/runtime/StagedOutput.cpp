#include "StagedOutput.h"

#include "RuntimeError.h"

#include <cerrno>
#include <utility>

QString StagedOutput::leftover_;

namespace {

// The forms runtime's error number for a system call's errno.
int errorNumberFor(int error) {
    switch (error) {
    case EACCES:
    case EPERM:
    case EROFS:
        return ErrorNumber::PermissionDenied;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return ErrorNumber::DiskFull;
    case EIO:
        return ErrorNumber::DeviceIOError;
    case ENOENT:
        return ErrorNumber::PathNotFound;
    default:
        return ErrorNumber::PathFileAccessError;
    }
}

} // namespace

StagedOutput StagedOutput::stream(int descriptor, const QString& name) {
    StagedOutput output;
    output.name_ = name;
    output.file_ = descriptor;
    output.stream_ = true;
    output.ownsStream_ = false;
    return output;
}

StagedOutput::StagedOutput(StagedOutput&& other) noexcept
    : name_(std::move(other.name_)), options_(std::move(other.options_)),
      folder_(std::exchange(other.folder_, -1)), entry_(std::move(other.entry_)),
      file_(std::exchange(other.file_, -1)), temporary_(std::exchange(other.temporary_, {})),
      stream_(other.stream_), ownsStream_(other.ownsStream_),
      resolvedByTheKernel_(other.resolvedByTheKernel_), truncateFirst_(other.truncateFirst_),
      exists_(other.exists_), device_(other.device_), inode_(other.inode_), mode_(other.mode_),
      owner_(other.owner_), group_(other.group_), links_(other.links_), unnamed_(other.unnamed_) {}

StagedOutput::~StagedOutput() {
    discard();
}

bool StagedOutput::isFile(std::uint64_t device, std::uint64_t inode) const {
    // An inode number of 0 is a system that does not tell them.
    return exists_ && inode_ != 0 && device_ == device && inode_ == inode;
}

void StagedOutput::fail(int errorNumber, const QString& what) {
    const QString reason = qt_error_string(errorNumber);
    QString text = QStringLiteral("Cannot write the file \"%1\": %2")
                       .arg(name_, what.isEmpty()     ? reason
                                   : errorNumber == 0 ? what
                                                      : QStringLiteral("%1 (%2)").arg(what, reason));
    discard();
    if (!leftover_.isEmpty()) {
        text += QStringLiteral("; ") + std::exchange(leftover_, {});
    }
    throw RuntimeError(errorNumberFor(errorNumber), text);
}

QString StagedOutput::takeLeftover() {
    return std::exchange(leftover_, {});
}
