#pragma once
// A file of fixed-length records written front to back. The records go to a temporary file next
// to the destination, which is replaced only when Close succeeds: until then an existing file stays
// as it was, and a file that is never closed (an error, the program ending) leaves nothing behind.

#include <QSaveFile>
#include <QString>

#include <cstring>
#include <vector>

class RecordFile {
public:
    // Opens for writing; raises a runtime error naming the path and the reason when it cannot.
    RecordFile(const QString& path, int recordLength);
    ~RecordFile();
    RecordFile(const RecordFile&) = delete;
    RecordFile& operator=(const RecordFile&) = delete;

    // Puts one record at the next record position; bytes past `size` are zero filler.
    void Put(const void* data, int size) {
        if (buffer_.size() - used_ < static_cast<std::size_t>(recordLength_)) {
            flush();
        }
        char* record = buffer_.data() + used_;
        std::memcpy(record, data, static_cast<std::size_t>(size));
        std::memset(record + size, 0, static_cast<std::size_t>(recordLength_ - size));
        used_ += static_cast<std::size_t>(recordLength_);
    }

    // For a writer that fills records in place: room for `count` whole records at the next record
    // positions; advance(kept) then keeps the first `kept` of them. The caller writes every byte
    // of a kept record, filler included.
    char* reserve(std::size_t count) {
        const std::size_t bytes = count * static_cast<std::size_t>(recordLength_);
        if (buffer_.size() - used_ < bytes) {
            makeRoom(bytes);
        }
        return buffer_.data() + used_;
    }
    void advance(std::size_t kept) { used_ += kept * static_cast<std::size_t>(recordLength_); }

    // Writes what is buffered and puts the file in its place; raises a runtime error on failure,
    // in which case the destination is left as it was.
    void Close();
    const QString& path() const { return path_; }

    // Discards every file still open (the program is ending): no destination is touched.
    static void abandonAllOpen();

private:
    void flush();
    void makeRoom(std::size_t bytes);
    [[noreturn]] void fail(const QString& reason);

    QString path_;
    int recordLength_;
    QSaveFile file_;
    std::vector<char> buffer_;
    std::size_t used_ = 0;
    bool open_ = false;
};
