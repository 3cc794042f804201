#pragma once
// The bytes of a picture as the decoders read them: a read-only, unbuffered device over another
// that notes whether a decoder asked for more than the data holds, which is how a cut-short file
// shows when a decoder pads the missing part instead of failing.

#include <QIODevice>

class EndWatchingDevice : public QIODevice {
public:
    // data stays owned by the caller, open for reading and with random access, for this one's life.
    explicit EndWatchingDevice(QIODevice& data);

    bool open(OpenMode mode) override;
    bool isSequential() const override { return false; }
    qint64 size() const override;
    bool seek(qint64 position) override;

    // A read asked for more bytes than were left.
    bool ranShort() const { return ranShort_; }
    // A read asked for bytes when none were left.
    bool ranDry() const { return ranDry_; }
    // Probing for the format peeks past the end of tiny files; only the decoding itself counts.
    void forgetShortReads();

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 maxSize) override;

private:
    QIODevice& data_;
    bool ranShort_ = false;
    bool ranDry_ = false;
};
