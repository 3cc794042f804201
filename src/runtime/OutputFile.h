#pragma once
// The file an export writes, whatever its format: records of a fixed length (24 bytes for the
// point-data file, 1 for the text of a drawing or table) written front to back, through a staged
// output: an existing file stays as it was until Close succeeds, and a file that is never closed (an
// error, the program ending) leaves nothing behind. Full buffers queue for a writer thread, so that filling
// the next ones overlaps the system's copying of the earlier ones; a stream (a device, a FIFO) is written in
// the caller's thread, where a signal can end a write that waits for the reader.

#include "StagedOutput.h"

#include <QString>

#include <condition_variable>
#include <cstring>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

class OutputFile {
public:
    // Opens for writing; raises a runtime error naming the path and the reason when it cannot.
    OutputFile(const QString& path, int recordLength);
    OutputFile(StagedOutput output, int recordLength);
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Puts one record at the next record position; bytes past `size` are zero filler.
    void Put(const void* data, int size) {
        char* record = reserve(1);
        std::memcpy(record, data, static_cast<std::size_t>(size));
        std::memset(record + size, 0, static_cast<std::size_t>(recordLength_ - size));
        advance(1);
    }

    // For a writer that fills records in place: room for `count` whole records at the next record
    // positions; advance(kept) then keeps the first `kept` of them. The caller writes every byte
    // of a kept record, filler included.
    char* reserve(std::size_t count) {
        const std::size_t bytes = count * static_cast<std::size_t>(recordLength_);
        if (buffer_.size - used_ < bytes) {
            makeRoom(bytes);
        }
        return buffer_.data() + used_;
    }
    void advance(std::size_t kept) { used_ += kept * static_cast<std::size_t>(recordLength_); }

    // Writes what is buffered and puts the file in its place; raises a runtime error on failure,
    // in which case the destination is left as it was.
    void Close();
    const QString& path() const { return output_.name(); }
    const StagedOutput& output() const { return output_; }

    // Discards every file still open (the program is ending): no destination is touched.
    static void abandonAllOpen();

private:
    // Memory that is not touched before it is written: a small file costs only what it uses.
    struct Buffer {
        std::unique_ptr<char[]> bytes;
        std::size_t size = 0;

        Buffer() = default;
        Buffer(Buffer&& other) noexcept : bytes(std::move(other.bytes)), size(std::exchange(other.size, 0)) {}
        Buffer& operator=(Buffer&& other) noexcept {
            bytes = std::move(other.bytes);
            size = std::exchange(other.size, 0);
            return *this;
        }
        char* data() const { return bytes.get(); }
        void replace(std::size_t newSize) {
            bytes = std::make_unique_for_overwrite<char[]>(newSize);
            size = newSize;
        }
        // A larger buffer holding the first `keep` bytes of this one.
        void grow(std::size_t newSize, std::size_t keep) {
            auto larger = std::make_unique_for_overwrite<char[]>(newSize);
            std::memcpy(larger.get(), bytes.get(), keep);
            bytes = std::move(larger);
            size = newSize;
        }
    };

    void writeQueuedBuffers();
    void waitUntil(std::unique_lock<std::mutex>& lock, bool (OutputFile::*done)() const);
    bool hasSpareBuffer() const { return !spare_.empty(); }
    bool allWritten() const { return queued_.empty() && !writing_; }
    void stopWriter();
    void makeRoom(std::size_t bytes);
    // Queues the first `bytes` of the buffer for writing and goes on with the rest in another.
    void handOver(std::size_t bytes);
    void discard();
    [[noreturn]] void fail(int errorNumber);

    StagedOutput output_;
    int recordLength_;
    Buffer buffer_; // being filled
    std::size_t used_ = 0;
    bool open_ = false;

    // Shared with the writer thread, under mutex_: the buffers waiting to be written, oldest first,
    // and their sizes; the written ones ready for reuse; and the first failed write, after which
    // nothing more is written.
    struct Filled {
        Buffer buffer;
        std::size_t bytes;
    };
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Filled> queued_;
    std::vector<Buffer> spare_;
    int buffersMade_ = 1;
    bool writing_ = false;
    bool stopping_ = false;
    int writeError_ = 0; // an errno
    std::thread writer_;
};
