#include "StagedOutput.h"

#include "RuntimeError.h"

#include <mutex>
#include <utility>

std::optional<Failure> StagedOutput::leftover_;

namespace {
// Exports may fail in several threads at once.
std::mutex leftoverMutex;
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

void StagedOutput::fail(Reason reason, int systemError, const QString& detail) {
    Failure failure{.reason = reason, .name = name_, .systemError = systemError, .detail = detail};
    discard();
    if (std::optional<Failure> leftover = takeLeftover()) {
        failure.notes.push_back(std::move(*leftover));
    }
    throw RuntimeError(std::move(failure));
}

std::optional<Failure> StagedOutput::takeLeftover() {
    const std::lock_guard lock(leftoverMutex);
    return std::exchange(leftover_, std::nullopt);
}

void StagedOutput::noteLeftover(const QString& temporary, int systemError) {
    const std::lock_guard lock(leftoverMutex);
    leftover_ = Failure{.reason = Reason::TemporaryLeftBehind, .name = temporary, .systemError = systemError};
}
