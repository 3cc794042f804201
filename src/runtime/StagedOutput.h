#pragma once
// The file an export writes, found as open(path, O_WRONLY | O_CREAT) would find it. A regular file is
// written to a temporary beside it that takes its place, with its mode and owner, only when complete;
// a character device or FIFO is written straight into; anything else is refused with its reason.
// A name in /proc that the kernel resolves (/dev/stdout, /dev/fd/N) is written straight into: a pipe,
// socket or terminal as it is, a regular file truncated first, as the shell's > does.
// A file with several hard links is rewritten in place once the new content is complete, so that every
// name sees it: under an exclusive flock (exports on one machine follow each other), with its new size
// reserved before the first old byte changes (a full disk leaves it as it was), and with the ending
// signals held until the copy is complete. A KILL or a power loss during the copy, or a file system that
// cannot reserve or does not overwrite in place (btrfs, ZFS), can still leave it partly rewritten.

#include "Failure.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>

struct stat;

class StagedOutput {
public:
    struct Options {
        // Data on the disk before the file takes its place, so that a crash leaves the old file or the new.
        bool syncBeforeReplacing = true;
        // Off where the system lacks unnamed temporaries; also a way to test the named ones.
        bool unnamedTemporary = true;
        // The calls of an in-place rewrite; empty ones are the system's own. Tests play a full disk, a
        // file system that cannot reserve, a write that writes nothing or a signal during the copy.
        struct InPlaceCalls {
            // Reserves room for `bytes` without changing the size, as fallocate(FALLOC_FL_KEEP_SIZE):
            // 0, or an errno.
            std::function<int(int descriptor, std::int64_t bytes)> reserve;
            // As pwrite: the bytes written, or -1 with errno set.
            std::function<std::int64_t(int descriptor, const char* data, std::size_t bytes, std::int64_t at)>
                writeAt;
        };
        InPlaceCalls inPlace{};
    };

    // Opens `path`, the system's own bytes; raises a runtime error naming the path and the system's
    // reason when the file cannot be written there. Nothing is named or replaced yet.
    explicit StagedOutput(const QByteArray& path, Options options);
    explicit StagedOutput(const QByteArray& path) : StagedOutput(path, Options{}) {}
    // Writes to an open descriptor (standard output) as it is, named `name` in messages.
    static StagedOutput stream(int descriptor, const QString& name);

    StagedOutput(StagedOutput&& other) noexcept;
    StagedOutput& operator=(StagedOutput&&) = delete;
    StagedOutput(const StagedOutput&) = delete;
    ~StagedOutput();

    // Whether writes go straight to the destination (a device, FIFO or stream), which may block until a
    // reader takes them; a signal then ends the wait with an error.
    bool isStream() const { return stream_; }
    // Writes all the bytes; 0, or the errno of the write that failed.
    int write(const char* data, std::size_t bytes);
    // Puts the complete file in its place; raises a runtime error on failure, the destination left as it
    // was. An ending signal noted before then (EndingSignals::noted) is such a failure.
    void commit();
    // Forgets the written data: no destination is touched; safe to call from any ending.
    void discard() noexcept;

    // Whether the destination is the file with this device and inode number (so that writing it
    // would replace that file).
    bool isFile(std::uint64_t device, std::uint64_t inode) const;
    // The path as given, with bytes that are not UTF-8 text shown as \xNN.
    const QString& name() const { return name_; }
    // Raises the runtime error for a failed call: the path, the reason and the system's errno (0 for a
    // refusal of this program's own), with the note on a temporary file left behind.
    [[noreturn]] void fail(Reason reason, int systemError, const QString& detail = {});
    // A call that failed for the system's reason alone.
    [[noreturn]] void fail(int systemError) { fail(Reason::WriteRefused, systemError); }

    // The note on a temporary file that an ending could not remove (a folder turned read-only), once.
    static std::optional<Failure> takeLeftover();

private:
    StagedOutput() = default;
    void findDestination(const QByteArray& path);
    void takeResolvedByTheKernel();
    void keepStatus(const struct stat& status);
    void openStream(int flags);
    void openStaged();
    void openTemporary();
    void keepOldIdentity();
    // Gives the unnamed temporary file a name in the folder; 0, or the errno.
    int linkInto(const char* name);
    void replaceInPlace();
    void closeFiles() noexcept;
    static void noteLeftover(const QString& temporary, int systemError);

    QString name_;
    Options options_;
    int folder_ = -1;                  // the folder holding the destination, as the system found it
    QByteArray entry_;                 // the destination's name in that folder
    int file_ = -1;                    // where the data goes: the temporary, or the stream
    QByteArray temporary_;             // the temporary's name once it has one
    bool stream_ = false;              // writing straight to the destination
    bool ownsStream_ = true;           // the descriptor is closed at the end
    bool resolvedByTheKernel_ = false; // a name in /proc, whose links name no path
    bool truncateFirst_ = false;       // a regular file written straight into, not yet truncated
    bool exists_ = false;              // the destination exists: what follows describes it
    std::uint64_t device_ = 0;
    std::uint64_t inode_ = 0;
    unsigned mode_ = 0;
    unsigned owner_ = 0;
    unsigned group_ = 0;
    std::uint64_t links_ = 0;
    bool unnamed_ = false;
    static std::optional<Failure> leftover_;
};
