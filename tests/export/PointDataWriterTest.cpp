#include "export/PointDataWriter.h"
#include "runtime/RecordFile.h"

#include <QtTest>

#include <functional>

namespace {

class FakeControls : public ExportControls {
public:
    ExportPolarity polarity() const override { return polarityValue; }
    int threshold() const override { return thresholdValue; }
    void showCaption(const QString& caption) override { captions << caption; }
    void yield() override {
        ++yields;
        if (onYield) {
            onYield(yields);
        }
    }

    ExportPolarity polarityValue = ExportPolarity::Black;
    int thresholdValue = 122;
    QStringList captions;
    int yields = 0;
    std::function<void(int column)> onYield;
};

using Record = std::array<qint32, 3>;

// A surface whose pixel (column, row) has the grey level grey(column, row).
PictureSurface greyPicture(int width, int height, const std::function<int(int, int)>& grey) {
    PictureSurface surface(0, width, height);
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column) {
            const int level = grey(column, row);
            surface.PSet(column, row, RGB(level, level, level));
        }
    }
    return surface;
}

QByteArray exported(const PictureSurface& source, const PointRecord& header, FakeControls& controls) {
    QTemporaryDir dir;
    const QString path = dir.filePath("out.txt");
    RecordFile file(path, PointDataWriter::RecordLength);
    PointDataWriter(controls, file).write(source, header);
    file.Close();
    QFile written(path);
    return written.open(QIODevice::ReadOnly) ? written.readAll() : QByteArray();
}

// The records after the header; every filler byte must be zero.
QList<Record> dataRecords(const QByteArray& bytes) {
    QList<Record> records;
    if (bytes.size() % 24 != 0) {
        qWarning("file size %d is not a whole number of records", int(bytes.size()));
        return {{-1, -1, -1}};
    }
    for (qsizetype offset = 24; offset < bytes.size(); offset += 24) {
        if (bytes.mid(offset + 12, 12) != QByteArray(12, '\0')) {
            return {{-2, -2, -2}};
        }
        Record record;
        for (int field = 0; field < 3; ++field) {
            record[field] = qFromLittleEndian<qint32>(bytes.constData() + offset + 4 * field);
        }
        records << record;
    }
    return records;
}

QStringList progress(std::initializer_list<int> percents) {
    QStringList captions;
    for (const int percent : percents) {
        captions << QStringLiteral("导出图像数据---已经完成%1%").arg(percent);
    }
    return captions;
}

// The worked example: 3 x 3 pixels, (1,1) = 40, (2,1) = 121, (1,2) = 130, (2,2) = 200; column 0
// and row 0 hold 0, which would qualify as black if they were ever read.
PictureSurface workedExample() {
    return greyPicture(3, 3, [](int x, int y) {
        const int levels[3][3] = {{0, 0, 0}, {0, 40, 130}, {0, 121, 200}};
        return levels[x][y];
    });
}

} // namespace

class PointDataWriterTest : public QObject {
    Q_OBJECT
private slots:
    void workedExampleBlackDataIsExactlyTheseBytes() {
        FakeControls controls;
        const QByteArray bytes = exported(workedExample(), {3, 3, 0}, controls);
        const QByteArray filler(12, '\0');
        const QByteArray expected = QByteArray::fromHex("03000000 03000000 00000000") + filler +
                                    QByteArray::fromHex("01000000 01000000 28000000") + filler +
                                    QByteArray::fromHex("02000000 01000000 79000000") + filler;
        QCOMPARE(bytes.toHex(' '), expected.toHex(' '));
        QCOMPARE(controls.captions, progress({33, 66, 100}));
        QCOMPARE(controls.yields, 3);
    }

    void workedExampleWhiteDataCountsOutsideReadsAsWhite() {
        FakeControls controls;
        controls.polarityValue = ExportPolarity::White;
        const QByteArray bytes = exported(workedExample(), {3, 3, 0}, controls);
        QCOMPARE(bytes.size(), 192);
        QCOMPARE(bytes.left(12), QByteArray::fromHex("030000000300000000000000"));
        const QList<Record> expected = {{1, 2, 130}, {1, 3, 255}, {2, 2, 200}, {2, 3, 255},
                                        {3, 1, 255}, {3, 2, 255}, {3, 3, 255}};
        QCOMPARE(dataRecords(bytes), expected);
        QCOMPARE(controls.captions, progress({33, 66, 100}));
    }

    void aMeanEqualToTheThresholdIsWrittenInNeitherMode_data() {
        QTest::addColumn<bool>("white");
        QTest::addColumn<int>("threshold");
        QTest::addColumn<bool>("written");
        for (const int t : {0, 101, 102, 103, 255}) {
            QTest::addRow("black %d", t) << false << t << (t >= 103);
            QTest::addRow("white %d", t) << true << t << (t <= 101);
        }
    }
    void aMeanEqualToTheThresholdIsWrittenInNeitherMode() {
        QFETCH(bool, white);
        QFETCH(int, threshold);
        QFETCH(bool, written);
        PictureSurface colour(0, 2, 2);
        colour.PSet(1, 1, RGB(153, 102, 51));
        FakeControls controls;
        controls.polarityValue = white ? ExportPolarity::White : ExportPolarity::Black;
        controls.thresholdValue = threshold;
        const QList<Record> records = dataRecords(exported(colour, {2, 2, 0}, controls));
        QCOMPARE(records.contains(Record{1, 1, 102}), written);
        QCOMPARE(records.size(), (written ? 1 : 0) + (white && threshold < 255 ? 3 : 0));
    }

    void extremeThresholdsWriteTheHeaderOnly_data() {
        QTest::addColumn<bool>("white");
        QTest::addColumn<int>("threshold");
        QTest::newRow("black data at 0") << false << 0;
        QTest::newRow("white data at 255") << true << 255;
    }
    void extremeThresholdsWriteTheHeaderOnly() {
        QFETCH(bool, white);
        QFETCH(int, threshold);
        FakeControls controls;
        controls.polarityValue = white ? ExportPolarity::White : ExportPolarity::Black;
        controls.thresholdValue = threshold;
        QCOMPARE(exported(workedExample(), {3, 3, 0}, controls),
                 QByteArray::fromHex("030000000300000000000000") + QByteArray(12, '\0'));
    }

    void halfResolutionReadsEverySecondPixelUnderTheOriginalHeader() {
        PictureSurface half = greyPicture(5, 5, [](int x, int y) { return 10 * x + y; });
        half.setScaleWidth(2.5f);
        half.setScaleHeight(2.5f);
        FakeControls controls;
        controls.thresholdValue = 255;
        const QByteArray bytes = exported(half, {5, 5, 0}, controls);
        QCOMPARE(bytes.left(12), QByteArray::fromHex("050000000500000000000000"));
        const QList<Record> expected = {{1, 1, 22}, {1, 2, 24}, {2, 1, 42}, {2, 2, 44}};
        QCOMPARE(dataRecords(bytes), expected);
        QCOMPARE(controls.captions, progress({40, 80}));
    }

    void anOddHalfWidthRoundsUpToAnOutsideColumn() {
        PictureSurface half = greyPicture(7, 5, [](int x, int y) { return 10 * x + y; });
        half.setScaleWidth(3.5f);
        half.setScaleHeight(2.5f);
        FakeControls controls;
        controls.polarityValue = ExportPolarity::White;
        controls.thresholdValue = 0;
        const QList<Record> expected = {{1, 1, 22}, {1, 2, 24}, {2, 1, 42},  {2, 2, 44},
                                        {3, 1, 62}, {3, 2, 64}, {4, 1, 255}, {4, 2, 255}};
        QCOMPARE(dataRecords(exported(half, {7, 5, 0}, controls)), expected);
        QCOMPARE(controls.captions, progress({28, 57, 85, 114}));
    }

    void picturesWiderThanSixteenBitColumnsExportEveryColumn() {
        const int width = 40000;
        const PictureSurface wide = greyPicture(width, 2, [](int, int) { return 0; });
        FakeControls controls;
        controls.thresholdValue = 1;
        const QList<Record> records = dataRecords(exported(wide, {width, 2, 0}, controls));
        QCOMPARE(records.size(), width - 1);
        QCOMPARE(records.at(32767), (Record{32768, 1, 0}));
        QCOMPARE(records.last(), (Record{width - 1, 1, 0}));
        QCOMPARE(controls.captions.size(), width);
        QCOMPARE(controls.captions.last(), progress({100}).first());
    }

    void widthZeroWritesTheHeaderAndShowsNoProgress() {
        FakeControls controls;
        const QByteArray bytes = exported(PictureSurface(), {0, 0, 0}, controls);
        QCOMPARE(bytes, QByteArray(24, '\0'));
        QVERIFY(controls.captions.isEmpty());
        QCOMPARE(controls.yields, 0);
    }

    void settingsChangedDuringTheYieldApplyFromThatColumnOn() {
        FakeControls controls;
        controls.onYield = [&controls](int column) {
            if (column == 2) {
                controls.polarityValue = ExportPolarity::White;
                controls.thresholdValue = 199;
            }
        };
        const QList<Record> expected = {{1, 1, 40},  {2, 2, 200}, {2, 3, 255},
                                        {3, 1, 255}, {3, 2, 255}, {3, 3, 255}};
        QCOMPARE(dataRecords(exported(workedExample(), {3, 3, 0}, controls)), expected);
    }

    void blocksOfColumnsKeepColumnOrderOnARealSizedPicture() {
        const PictureSurface picture =
            greyPicture(600, 70, [](int x, int y) { return (x * 7 + y * 13) % 256; });
        FakeControls controls;
        const QList<Record> records = dataRecords(exported(picture, {600, 70, 0}, controls));
        QList<Record> expected;
        for (int x = 1; x <= 600; ++x) {
            for (int y = 1; y <= 70; ++y) {
                const int grey = x < 600 && y < 70 ? (x * 7 + y * 13) % 256 : 255;
                if (grey < 122) {
                    expected << Record{x, y, grey};
                }
            }
        }
        QCOMPARE(records, expected);
    }
};

QTEST_APPLESS_MAIN(PointDataWriterTest)
#include "PointDataWriterTest.moc"
