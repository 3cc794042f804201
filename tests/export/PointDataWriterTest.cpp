#include "export/PointDataWriter.h"
#include "runtime/RecordFile.h"

#include <QtTest>

#include <functional>

namespace {

class FakeControls : public ExportControls {
public:
    explicit FakeControls(ExportPolarity polarity = ExportPolarity::Black, int threshold = 122)
        : polarityValue(polarity), thresholdValue(threshold) {}
    ExportPolarity polarity() const override { return polarityValue; }
    int threshold() const override { return thresholdValue; }
    void showCaption(const QString& caption) override { captions << caption; }
    void yield() override {}

    ExportPolarity polarityValue;
    int thresholdValue;
    QStringList captions;
};

using Record = std::array<qint32, 3>;

PictureSurface picture(int width, int height, const std::function<ColourValue(int, int)>& colour) {
    PictureSurface surface(0, width, height);
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column) {
            surface.PSet(column, row, colour(column, row));
        }
    }
    return surface;
}

// The worked example: (1,1) = 40, (2,1) = 121, (1,2) = 130, (2,2) = 200; column 0 and row 0 hold
// 0, which would qualify as black if they were ever read.
PictureSurface workedExample() {
    return picture(3, 3, [](int x, int y) {
        const int levels[3][3] = {{0, 0, 0}, {0, 40, 130}, {0, 121, 200}};
        return RGB(levels[x][y], levels[x][y], levels[x][y]);
    });
}

QByteArray exported(const PictureSurface& source, const PointRecord& header, FakeControls& controls) {
    QTemporaryDir dir;
    RecordFile file(dir.filePath("out.txt"), PointDataWriter::RecordLength);
    PointDataWriter(controls, file).write(source, header);
    file.Close();
    QFile written(dir.filePath("out.txt"));
    return written.open(QIODevice::ReadOnly) ? written.readAll() : QByteArray();
}

Record recordAt(const QByteArray& bytes, qsizetype offset) {
    const char* fields = bytes.constData() + offset;
    return {qFromLittleEndian<qint32>(fields), qFromLittleEndian<qint32>(fields + 4),
            qFromLittleEndian<qint32>(fields + 8)};
}

// The records after the header, or one marker record when the layout or the filler is wrong.
QList<Record> dataRecords(const QByteArray& bytes) {
    QList<Record> records;
    for (qsizetype offset = 24; offset < bytes.size(); offset += 24) {
        if (bytes.size() % 24 != 0 || bytes.mid(offset + 12, 12) != QByteArray(12, '\0')) {
            return {{-1, -1, -1}};
        }
        records << recordAt(bytes, offset);
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

} // namespace

class PointDataWriterTest : public QObject {
    Q_OBJECT
private slots:
    void workedExampleBlackDataIsExactlyTheseBytes() {
        FakeControls controls;
        const QByteArray filler(12, '\0');
        const QByteArray expected = QByteArray::fromHex("03000000 03000000 00000000") + filler +
                                    QByteArray::fromHex("01000000 01000000 28000000") + filler +
                                    QByteArray::fromHex("02000000 01000000 79000000") + filler;
        QCOMPARE(exported(workedExample(), {3, 3, 0}, controls).toHex(' '), expected.toHex(' '));
        QCOMPARE(controls.captions, progress({33, 66, 100}));
    }

    void recordsFollowPolarityAndThreshold_data() {
        QTest::addColumn<bool>("white");
        QTest::addColumn<int>("threshold");
        QTest::addColumn<QList<Record>>("expected");
        QTest::newRow("white data: outside reads are white")
            << true << 122 << QList<Record>{{1, 2, 130}, {1, 3, 255}, {2, 2, 200}, {2, 3, 255},
                                            {3, 1, 255}, {3, 2, 255}, {3, 3, 255}};
        QTest::newRow("black data at 0: header only") << false << 0 << QList<Record>{};
        QTest::newRow("white data at 255: header only") << true << 255 << QList<Record>{};
    }
    void recordsFollowPolarityAndThreshold() {
        QFETCH(bool, white);
        QFETCH(int, threshold);
        QFETCH(QList<Record>, expected);
        FakeControls controls(white ? ExportPolarity::White : ExportPolarity::Black, threshold);
        const QByteArray bytes = exported(workedExample(), {3, 3, 0}, controls);
        QCOMPARE(bytes.size(), 24 * (1 + expected.size()));
        QCOMPARE(dataRecords(bytes), expected);
    }

    void aMeanEqualToTheThresholdIsWrittenInNeitherMode() {
        PictureSurface colour(0, 2, 2);
        colour.PSet(1, 1, RGB(153, 102, 51));
        for (const int t : {0, 101, 102, 103, 255}) {
            FakeControls black(ExportPolarity::Black, t);
            FakeControls white(ExportPolarity::White, t);
            QCOMPARE(dataRecords(exported(colour, {2, 2, 0}, black)).contains(Record{1, 1, 102}), t >= 103);
            QCOMPARE(dataRecords(exported(colour, {2, 2, 0}, white)).contains(Record{1, 1, 102}), t <= 101);
        }
    }

    void halfResolutionUnitsReadEverySecondPixel_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<QList<Record>>("expected");
        QTest::addColumn<QStringList>("captions");
        QTest::newRow("5 x 5") << 5 << QList<Record>{{1, 1, 22}, {1, 2, 24}, {2, 1, 42}, {2, 2, 44}}
                               << progress({40, 80});
        QTest::newRow("7 wide: column 4 outside")
            << 7 << QList<Record>{{1, 1, 22}, {1, 2, 24}, {2, 1, 42},  {2, 2, 44},
                                  {3, 1, 62}, {3, 2, 64}, {4, 1, 255}, {4, 2, 255}}
            << progress({28, 57, 85, 114});
    }
    void halfResolutionUnitsReadEverySecondPixel() {
        QFETCH(int, width);
        QFETCH(QList<Record>, expected);
        QFETCH(QStringList, captions);
        PictureSurface half =
            picture(width, 5, [](int x, int y) { return RGB(10 * x + y, 10 * x + y, 10 * x + y); });
        half.setScaleWidth(width / 2.0f);
        half.setScaleHeight(2.5f);
        FakeControls controls(ExportPolarity::White, 0);
        const QByteArray bytes = exported(half, {width, 5, 0}, controls);
        QCOMPARE(recordAt(bytes, 0), (Record{width, 5, 0}));
        QCOMPARE(dataRecords(bytes), expected);
        QCOMPARE(controls.captions, captions);
    }

    void widthZeroWritesTheHeaderAndShowsNoProgress() {
        FakeControls controls;
        QCOMPARE(exported(PictureSurface(), {0, 0, 0}, controls), QByteArray(24, '\0'));
        QVERIFY(controls.captions.isEmpty());
    }

    void widePicturesKeepColumnMajorOrderPastSixteenBitColumns() {
        const int width = 33000; // and 70 rows: several blocks of columns and tiles of rows
        const auto colour = [](int x, int y) {
            return RGB((x * 7 + y * 13) % 256, (x + 5 * y) % 256, (x * y) % 256);
        };
        QList<Record> expected;
        for (int x = 1; x <= width; ++x) {
            for (int y = 1; y <= 70; ++y) {
                const ColourValue c = x < width && y < 70 ? colour(x, y) : RGB(255, 255, 255);
                if (const int sum = (c & 0xFF) + (c >> 8 & 0xFF) + (c >> 16); sum < 366) {
                    expected << Record{x, y, (sum + 1) / 3};
                }
            }
        }
        FakeControls controls;
        QCOMPARE(dataRecords(exported(picture(width, 70, colour), {width, 70, 0}, controls)), expected);
        QCOMPARE(controls.captions.size(), width);
    }
};

QTEST_APPLESS_MAIN(PointDataWriterTest)
#include "PointDataWriterTest.moc"
