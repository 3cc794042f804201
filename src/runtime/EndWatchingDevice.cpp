#include "EndWatchingDevice.h"

EndWatchingDevice::EndWatchingDevice(QIODevice& data) : data_(data) {}

bool EndWatchingDevice::open(OpenMode mode) {
    if ((mode & WriteOnly) != 0 || !data_.isReadable() || !data_.seek(0)) {
        return false;
    }
    // Unbuffered, so that every read of a decoder reaches readData as the decoder asked for it.
    return QIODevice::open(mode | Unbuffered);
}

qint64 EndWatchingDevice::size() const {
    return data_.size();
}

bool EndWatchingDevice::seek(qint64 position) {
    return data_.seek(position) && QIODevice::seek(position);
}

void EndWatchingDevice::forgetShortReads() {
    ranShort_ = false;
    ranDry_ = false;
}

qint64 EndWatchingDevice::readData(char* data, qint64 maxSize) {
    const qint64 left = data_.size() - data_.pos();
    if (maxSize > left) {
        ranShort_ = true;
        ranDry_ = ranDry_ || left <= 0;
    }
    return data_.read(data, maxSize);
}

qint64 EndWatchingDevice::writeData(const char*, qint64) {
    return -1;
}
