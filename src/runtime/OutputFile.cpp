#include "OutputFile.h"

#include "RuntimeError.h"

#include <QFile>

#include <algorithm>
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

// Files are opened and closed in several threads at once (exports to one file side by side).
std::mutex openFilesMutex;
std::vector<OutputFile*>& openFiles() {
    static std::vector<OutputFile*> files;
    return files;
}

} // namespace

OutputFile::OutputFile(const QString& path, int recordLength)
    : OutputFile(StagedOutput(QFile::encodeName(path)), recordLength) {}

OutputFile::OutputFile(StagedOutput output, int recordLength)
    : output_(std::move(output)), recordLength_(recordLength) {
    open_ = true;
    try {
        buffer_.replace(BufferBytes);
        if (!output_.isStream()) {
            writer_ = std::thread([this] { writeQueuedBuffers(); });
        }
    } catch (...) {
        discard();
        throw;
    }
    const std::lock_guard lock(openFilesMutex);
    openFiles().push_back(this);
}

OutputFile::~OutputFile() {
    {
        const std::lock_guard lock(openFilesMutex);
        auto& files = openFiles();
        files.erase(std::remove(files.begin(), files.end(), this), files.end());
    }
    discard();
}

void OutputFile::writeQueuedBuffers() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return !queued_.empty() || stopping_; });
        if (stopping_) {
            return;
        }
        Filled next = std::move(queued_.front());
        queued_.pop_front();
        writing_ = true;
        const bool skip = writeError_ != 0;
        lock.unlock();
        const int error = skip ? 0 : output_.write(next.buffer.data(), next.bytes);
        lock.lock();
        if (error != 0) {
            writeError_ = error;
        }
        writing_ = false;
        spare_.push_back(std::move(next.buffer));
        changed_.notify_all();
    }
}

void OutputFile::waitUntil(std::unique_lock<std::mutex>& lock, bool (OutputFile::*done)() const) {
    changed_.wait(lock, [this, done] { return (this->*done)() || writeError_ != 0; });
    if (writeError_ != 0) {
        const int error = writeError_;
        lock.unlock();
        fail(error);
    }
}

void OutputFile::stopWriter() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    if (writer_.joinable()) {
        writer_.join();
    }
}

void OutputFile::makeRoom(std::size_t bytes) {
    if (!open_) {
        throw RuntimeError(Failure{.reason = Reason::WriteFileClosed, .name = path()});
    }
    handOver(used_ / WriteBytes * WriteBytes);
    if (buffer_.size - used_ < bytes) {
        buffer_.grow(used_ + bytes, used_);
    }
}

void OutputFile::handOver(std::size_t bytes) {
    if (bytes == 0) {
        return;
    }
    // The writer reads only the bytes handed over, so the rest can be copied out meanwhile.
    const char* const rest = buffer_.data() + bytes;
    const std::size_t restBytes = used_ - bytes;
    const std::size_t size = buffer_.size;
    if (output_.isStream()) {
        if (const int error = output_.write(buffer_.data(), bytes)) {
            fail(error);
        }
        std::memmove(buffer_.data(), rest, restBytes);
        used_ = restBytes;
        return;
    }
    Buffer next;
    {
        std::unique_lock lock(mutex_);
        queued_.push_back({std::move(buffer_), bytes});
        changed_.notify_all();
        if (spare_.empty() && buffersMade_ < BufferCount) {
            ++buffersMade_;
        } else {
            waitUntil(lock, &OutputFile::hasSpareBuffer);
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

void OutputFile::Close() {
    if (!open_) {
        return;
    }
    handOver(used_);
    {
        std::unique_lock lock(mutex_);
        waitUntil(lock, &OutputFile::allWritten);
    }
    stopWriter();
    open_ = false;
    output_.commit(); // which discards what it could not put in place
}

void OutputFile::discard() {
    stopWriter();
    used_ = 0;
    if (open_) {
        open_ = false;
        output_.discard();
    }
}

void OutputFile::fail(int errorNumber) {
    discard();
    output_.fail(errorNumber);
}

void OutputFile::abandonAllOpen() {
    const std::lock_guard lock(openFilesMutex);
    for (OutputFile* file : openFiles()) {
        file->discard();
    }
    openFiles().clear();
}
