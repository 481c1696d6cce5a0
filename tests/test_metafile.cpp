// SPDX-License-Identifier: GPL-3.0-or-later
// The metafile player: the real pictures load with their frames; damaged
// files are refused with an error naming the file and the faulty offset, and
// no damage makes it crash.

#include "panel/tracelayout.h"
#include "platform/pictures/metafile.h"
#include "platform/pictures/pictureloader.h"

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <cstring>
#include <functional>
#include <random>
#include <vector>

namespace {

QByteArray asset(const QString& file) {
    QFile f(QStringLiteral(":/assets/") + file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

struct RecordInfo {
    int offset;
    quint32 type;
    quint32 size;
};

quint32 u32At(const QByteArray& data, int offset) {
    quint32 v;
    std::memcpy(&v, data.constData() + offset, sizeof v);
    return v;
}

void setU32(QByteArray& data, int offset, quint32 v) {
    std::memcpy(data.data() + offset, &v, sizeof v);
}

// The records of a well-formed file, for placing damage precisely.
std::vector<RecordInfo> records(const QByteArray& data) {
    std::vector<RecordInfo> out;
    for (int offset = 0; offset + 8 <= data.size();) {
        const RecordInfo r{offset, u32At(data, offset), u32At(data, offset + 4)};
        out.push_back(r);
        if (r.size == 0) {
            break;
        }
        offset += static_cast<int>(r.size);
    }
    return out;
}

const RecordInfo& firstOfType(const std::vector<RecordInfo>& recs, quint32 type) {
    for (const RecordInfo& r : recs) {
        if (r.type == type) {
            return r;
        }
    }
    qFatal("record type %u not found", type);
}

constexpr quint32 selectObject = 37;
constexpr quint32 deleteObject = 40;
constexpr quint32 lineTo = 54;
constexpr quint32 polyBezierTo16 = 88;

QString errorFor(const QByteArray& data, const QString& name) {
    try {
        Metafile::fromData(data, name);
    } catch (const PictureError& e) {
        return QString::fromUtf8(e.what());
    }
    return {};
}

void paintSmall(const Picture& p, int seed) {
    QImage image(64, 24, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    p.paint(painter, QRectF(-seed % 50, 2, 64 + seed % 300, 20));
}

} // namespace

using Damage = std::function<int(QByteArray&)>; // damages the file, returns the fault's offset
Q_DECLARE_METATYPE(Damage)

class TestMetafile : public QObject {
    Q_OBJECT

private slots:
    void realPicturesLoad_data();
    void realPicturesLoad();
    void damagedFilesAreRefused_data();
    void damagedFilesAreRefused();
    void harmlessRecordsAreSkipped();
    void loaderNamesTheFile_data();
    void loaderNamesTheFile();
    void mutatedFilesNeverCrash_data();
    void mutatedFilesNeverCrash();
};

void TestMetafile::realPicturesLoad_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QSize>("frame"); // hundredths of a millimetre
    QTest::addColumn<int>("items");
    // The layout the description speaks from, for the waveforms; -1 for none.
    QTest::addColumn<int>("wave");
    QTest::newRow("sawtooth") << "saw.emf" << QSize(15055, 282) << 120 << 0;
    QTest::newRow("sine") << "sine.emf" << QSize(20064, 538) << 112 << 1;
    QTest::newRow("rectangle") << "square.emf" << QSize(15055, 273) << 120 << 2;
    QTest::newRow("spot") << "spot.emf" << QSize(291, 291) << 2 << -1;
    QTest::newRow("stroke") << "stroke.emf" << QSize(44, 291) << 1 << -1;
    QTest::newRow("title") << "title.emf" << QSize(11165, 1896) << 16 << -1;
}

void TestMetafile::realPicturesLoad() {
    QFETCH(QString, file);
    QFETCH(QSize, frame);
    QFETCH(int, items);
    const auto metafile = Metafile::fromData(asset(file), file);
    QCOMPARE(metafile->frameHundredthsMm().size(), frame);
    QCOMPARE(int(metafile->displayList().items().size()), items);
    // 300 dots per inch: the frame in reference-device pixels.
    const QSizeF units = QSizeF(frame) * (300.0 / 2540.0);
    QVERIFY(std::abs(metafile->frame().width() / units.width() - 1) < 0.001);
    QVERIFY(std::abs(metafile->frame().height() / units.height() - 1) < 0.001);
    QRectF drawn;
    for (const DrawItem& item : metafile->displayList().items()) {
        QVERIFY(item.stroked || item.filled);
        drawn |= item.bounds;
    }
    // The waveforms lie in their drawings as the screen's description says.
    QFETCH(int, wave);
    if (wave >= 0) {
        const tracelayout::Wave& layout = tracelayout::waves[std::size_t(wave)];
        QCOMPARE(drawn,
                 QRectF(QPointF(layout.first, layout.top), QPointF(layout.last, layout.bottom)));
        const int strokesPerPeriod = wave == designed::Rectangle ? 4 : 2;
        QCOMPARE(items, layout.periods * strokesPerPeriod);
    }
}

void TestMetafile::damagedFilesAreRefused_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<Damage>("damage");

    QTest::newRow("empty") << "saw.emf" << Damage([](QByteArray& d) {
        d.clear();
        return 0;
    });
    QTest::newRow("not a metafile") << "saw.emf" << Damage([](QByteArray& d) {
        d[40] = 'X';
        return 0;
    });
    QTest::newRow("header too short") << "saw.emf" << Damage([](QByteArray& d) {
        setU32(d, 4, 80);
        return 0;
    });
    QTest::newRow("empty frame") << "saw.emf" << Damage([](QByteArray& d) {
        setU32(d, 32, u32At(d, 24)); // right edge onto the left
        return 24;
    });
    QTest::newRow("truncated inside a record header") << "saw.emf" << Damage([](QByteArray& d) {
        const RecordInfo r = records(d)[40];
        d.truncate(r.offset + 5);
        return r.offset;
    });
    QTest::newRow("truncated inside a record") << "saw.emf" << Damage([](QByteArray& d) {
        const RecordInfo r = records(d)[40];
        d.truncate(r.offset + int(r.size) - 4);
        return r.offset;
    });
    QTest::newRow("truncated between records") << "sine.emf" << Damage([](QByteArray& d) {
        const RecordInfo r = records(d)[300];
        d.truncate(r.offset);
        return r.offset;
    });
    QTest::newRow("record size overruns the file") << "saw.emf" << Damage([](QByteArray& d) {
        const RecordInfo r = records(d)[20];
        setU32(d, r.offset + 4, 0x7ffffff0);
        return r.offset;
    });
    QTest::newRow("last record one word too long") << "stroke.emf" << Damage([](QByteArray& d) {
        const RecordInfo r = records(d).back();
        setU32(d, r.offset + 4, r.size + 4);
        return r.offset;
    });
    QTest::newRow("zero-size record") << "square.emf" << Damage([](QByteArray& d) {
        const RecordInfo r = records(d)[10];
        setU32(d, r.offset + 4, 0);
        return r.offset;
    });
    QTest::newRow("size not a whole number of words") << "saw.emf" << Damage([](QByteArray& d) {
        const RecordInfo r = records(d)[10];
        setU32(d, r.offset + 4, r.size + 2);
        return r.offset;
    });
    QTest::newRow("selecting an object never made") << "saw.emf" << Damage([](QByteArray& d) {
        const RecordInfo r = firstOfType(records(d), selectObject);
        setU32(d, r.offset + 8, 99);
        return r.offset;
    });
    QTest::newRow("selecting object zero") << "spot.emf" << Damage([](QByteArray& d) {
        const RecordInfo r = firstOfType(records(d), selectObject);
        setU32(d, r.offset + 8, 0);
        return r.offset;
    });
    QTest::newRow("deleting an object never made") << "stroke.emf" << Damage([](QByteArray& d) {
        const RecordInfo r = firstOfType(records(d), deleteObject);
        setU32(d, r.offset + 8, 7);
        return r.offset;
    });
    QTest::newRow("more curve points than the record holds")
        << "sine.emf" << Damage([](QByteArray& d) {
               const RecordInfo r = firstOfType(records(d), polyBezierTo16);
               setU32(d, r.offset + 24, 600);
               return r.offset;
           });
    QTest::newRow("curve points not in threes") << "sine.emf" << Damage([](QByteArray& d) {
        const RecordInfo r = firstOfType(records(d), polyBezierTo16);
        setU32(d, r.offset + 24, 5);
        return r.offset;
    });
    QTest::newRow("coordinate far off the page") << "saw.emf" << Damage([](QByteArray& d) {
        const RecordInfo r = firstOfType(records(d), lineTo);
        setU32(d, r.offset + 8, 0x40000000);
        return r.offset;
    });
    QTest::newRow("second header") << "stroke.emf" << Damage([](QByteArray& d) {
        const RecordInfo r = records(d)[3];
        d.insert(r.offset, d.left(int(records(d)[0].size)));
        return r.offset;
    });
}

void TestMetafile::damagedFilesAreRefused() {
    QFETCH(QString, file);
    QFETCH(Damage, damage);
    QByteArray data = asset(file);
    QVERIFY(!data.isEmpty());
    const int offset = damage(data);
    const QString name = QStringLiteral("/somewhere/damaged-") + file;
    const QString message = errorFor(data, name);
    QVERIFY2(!message.isEmpty(), "a damaged file was accepted");
    QVERIFY2(message.contains(name), qPrintable(message));
    QVERIFY2(message.contains(QStringLiteral("смещение %1)").arg(offset)), qPrintable(message));
}

// A comment and a record of a kind no picture uses change nothing.
void TestMetafile::harmlessRecordsAreSkipped() {
    const QByteArray original = asset("saw.emf");
    QByteArray data = original;
    const RecordInfo r = records(data)[12];
    QByteArray extra(24, '\0');
    setU32(extra, 0, 70); // a comment with 12 bytes of data
    setU32(extra, 4, 24);
    setU32(extra, 8, 12);
    QByteArray unknown(12, '\x7f');
    setU32(unknown, 0, 0x1234); // no such record type
    setU32(unknown, 4, 12);
    data.insert(r.offset, extra + unknown);

    const auto plain = Metafile::fromData(original, "saw.emf");
    const auto padded = Metafile::fromData(data, "saw.emf");
    QCOMPARE(padded->displayList().items().size(), plain->displayList().items().size());

    QImage a(400, 40, QImage::Format_ARGB32_Premultiplied);
    QImage b = a;
    a.fill(Qt::transparent);
    b.fill(Qt::transparent);
    QPainter pa(&a);
    plain->paint(pa, QRectF(0, 0, 400, 40));
    pa.end();
    QPainter pb(&b);
    padded->paint(pb, QRectF(0, 0, 400, 40));
    pb.end();
    QCOMPARE(a, b);
}

void TestMetafile::loaderNamesTheFile_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("content"); // empty: the file does not exist
    QByteArray truncated = asset("title.emf");
    truncated.truncate(truncated.size() / 2);
    QTest::newRow("missing") << "missing.emf" << QByteArray();
    QTest::newRow("truncated metafile") << "title.emf" << truncated;
    QTest::newRow("garbage bitmap") << "screen.bmp" << QByteArray("BM this is no bitmap");
    QTest::newRow("garbage icon") << "virtalab.ico" << QByteArray(64, '\x01');
}

void TestMetafile::loaderNamesTheFile() {
    QFETCH(QString, file);
    QFETCH(QByteArray, content);
    QTemporaryDir dir;
    const QString path = dir.filePath(file);
    if (!content.isEmpty()) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    try {
        loadPicture(path);
        QFAIL("loaded");
    } catch (const PictureError& e) {
        QVERIFY2(QString::fromUtf8(e.what()).contains(path), e.what());
    }
}

void TestMetafile::mutatedFilesNeverCrash_data() {
    QTest::addColumn<QString>("file");
    for (const char* f :
         {"saw.emf", "sine.emf", "square.emf", "spot.emf", "stroke.emf", "title.emf"}) {
        QTest::newRow(f) << QString::fromLatin1(f);
    }
}

// Thousands of deterministic mutations of each real file: every one is either
// refused with the named error or loaded and painted. Run under the
// sanitizers this also proves no read strays outside the data.
void TestMetafile::mutatedFilesNeverCrash() {
    QFETCH(QString, file);
    const QByteArray original = asset(file);
    const std::vector<RecordInfo> recs = records(original);
    std::mt19937 random(static_cast<unsigned>(qHash(file)));
    auto below = [&random](int n) {
        return static_cast<int>(random() % static_cast<unsigned>(std::max(n, 1)));
    };

    int refused = 0;
    int accepted = 0;
    for (int round = 0; round < 1500; ++round) {
        QByteArray data = original;
        const RecordInfo& r = recs[static_cast<std::size_t>(below(int(recs.size())))];
        switch (round % 7) {
        case 0: // a random byte anywhere
            data[below(int(data.size()))] = static_cast<char>(random());
            break;
        case 1: // a random word inside a record: sizes, counts, indexes, points
            setU32(data, r.offset + 4 * below(int(r.size / 4)), random());
            break;
        case 2: // a small change to a field, the kind that slips past checks
            setU32(data, r.offset + 4 * below(int(r.size / 4)),
                   u32At(data, r.offset + 4 * below(int(r.size / 4))) + below(9) - 4);
            break;
        case 3: // cut anywhere
            data.truncate(below(int(data.size())));
            break;
        case 4: // a record of another kind with the same bytes
            setU32(data, r.offset, 1 + below(122));
            break;
        case 5: // a record repeated
            data.insert(r.offset, data.mid(r.offset, int(r.size)));
            break;
        default: // a record dropped
            data.remove(r.offset, int(r.size));
            break;
        }
        try {
            const auto picture = Metafile::fromData(data, file);
            paintSmall(*picture, round);
            ++accepted;
        } catch (const PictureError& e) {
            QVERIFY2(QString::fromUtf8(e.what()).contains(file), e.what());
            ++refused;
        }
    }
    QVERIFY(refused > 0);
    QVERIFY(accepted > 0);
}

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    TestMetafile test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_metafile.moc"
