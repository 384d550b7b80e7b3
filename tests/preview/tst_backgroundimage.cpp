#include "app/frmmain.h"
#include "preview/previewbox.h"
#include "testsupport.h"
#include "widgets/controls.h"

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTemporaryDir>

using platform::ScriptedDesktop;
using testsupport::control;
using testsupport::peakGrowthMb;
using testsupport::prepareFile;
using testsupport::readFile;
using testsupport::resetPeakMemory;
using testsupport::writeFile;

namespace {

const QColor red(200, 0, 0), blue(0, 0, 200);

// A two-color checker of w x h pixels: red where exactly one of "left half",
// "top half" holds, blue elsewhere.
QColor patternAt(int x, int y, int w, int h)
{
    return ((x < w / 2) != (y < h / 2)) ? red : blue;
}

QString writePicture(const QString &path, int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixelColor(x, y, patternAt(x, y, w, h));
    if (!QDir().mkpath(QFileInfo(path).absolutePath()) || !image.save(path))
        qWarning("cannot write %s", qPrintable(path));
    return path;
}

// A photograph-like picture: every pixel differs from its neighbours, so a
// part taken from the wrong place or at the wrong scale shows.
QImage noisePicture(int w, int h, QImage::Format format)
{
    QImage image(w, h, format);
    quint32 seed = 7;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            seed = seed * 1664525U + 1013904223U;
            const int alpha = format == QImage::Format_ARGB32 ? (x * 7 + y * 3) % 256 : 255;
            image.setPixel(
                x, y, qRgba((x * 255 / w) ^ (seed >> 28), (y * 255 / h) ^ (seed >> 24 & 15), seed >> 8 & 255, alpha));
        }
    return image;
}

// A picture of one colour but for a noisy 400 x 300 top-left corner, where
// the preview looks: large when decoded, small as a PNG.
QImage plainPicture(int w, int h, QImage::Format format)
{
    QImage image(w, h, format);
    const QImage corner =
        noisePicture(qMin(w, 400), qMin(h, 300), format == QImage::Format_ARGB32 ? format : QImage::Format_RGB32);
    if (format == QImage::Format_Mono) {
        image.fill(0);
        for (int y = 0; y < corner.height(); ++y)
            for (int x = 0; x < corner.width(); ++x)
                image.setPixel(x, y, corner.pixel(x, y) & 1);
        return image;
    }
    image.fill(QColor(40, 120, 200, 160));
    for (int y = 0; y < corner.height(); ++y)
        for (int x = 0; x < corner.width(); ++x)
            image.setPixel(x, y, corner.pixel(x, y));
    return image;
}

// Gives a JPEG file an orientation tag (an Exif segment after its JFIF one).
void tagOrientation(const QString &path, quint16 orientation)
{
    QByteArray tiff("MM\0\x2A\0\0\0\x08\0\x01\x01\x12\0\x03\0\0\0\x01", 18);
    tiff.append(char(orientation >> 8)).append(char(orientation & 0xFF)).append(QByteArray(6, '\0'));
    const QByteArray payload = QByteArray("Exif\0\0", 6) + tiff;
    const QByteArray segment =
        QByteArray("\xFF\xE1", 2) + char((payload.size() + 2) >> 8) + char((payload.size() + 2) & 0xFF) + payload;
    QByteArray bytes = readFile(path);
    const int jfifEnd = 4 + (static_cast<uchar>(bytes[4]) << 8 | static_cast<uchar>(bytes[5]));
    prepareFile(path, bytes.insert(jfifEnd, segment));
}

quint32 crc32(const QByteArray &bytes)
{
    quint32 crc = 0xFFFFFFFFU;
    for (const char c : bytes) {
        crc ^= uchar(c);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320U & (0U - (crc & 1U)));
    }
    return ~crc;
}

QByteArray bigEndian16(int v)
{
    return QByteArray(1, char(v >> 8 & 0xFF)) + char(v & 0xFF);
}

QByteArray littleEndian32(quint32 v)
{
    return QByteArray(1, char(v & 0xFF)) + char(v >> 8 & 0xFF) + char(v >> 16 & 0xFF) + char(v >> 24);
}

QByteArray bigEndian32(quint32 v)
{
    return bigEndian16(int(v >> 16)) + bigEndian16(int(v & 0xFFFF));
}

QByteArray pngChunk(const char *type, const QByteArray &data)
{
    const QByteArray typed = type + data;
    return bigEndian32(quint32(data.size())) + typed + bigEndian32(crc32(typed));
}

// A black PNG of w x h pixels, 1 bit a pixel, with all of its data: its rows
// are zeros, deflated as runs of 258 (13 bits each, about 1:1300).
QByteArray blackPng(int w, int h)
{
    QByteArray deflated("\x78\x01", 2);
    quint64 bits = 0;
    int count = 0;
    auto put = [&](quint32 value, int n) { // LSB first
        bits |= quint64(value) << count;
        for (count += n; count >= 8; count -= 8, bits >>= 8)
            deflated.append(char(bits & 0xFF));
    };
    auto code = [&](quint32 value, int n) { // a Huffman code, MSB first
        for (int i = n - 1; i >= 0; --i)
            put(value >> i & 1U, 1);
    };
    const qint64 raw = qint64(h) * (1 + (w + 7) / 8);
    put(1, 1); // the last block, fixed codes
    put(1, 2);
    code(0x30, 8); // a zero, then copies of it
    qint64 left = raw - 1;
    for (; left >= 258; left -= 258) {
        code(0xC5, 8); // length 258
        code(0, 5);    // distance 1
    }
    for (; left > 0; --left)
        code(0x30, 8);
    code(0, 7); // end of block
    put(0, (8 - count) % 8);
    deflated += bigEndian32(quint32(raw % 65521) << 16 | 1U); // Adler-32 of zeros
    const QByteArray header = bigEndian32(w) + bigEndian32(h) + QByteArray("\x01\0\0\0\0", 5);
    return QByteArray("\x89PNG\r\n\x1A\n", 8) + pngChunk("IHDR", header) + pngChunk("IDAT", deflated)
           + pngChunk("IEND", QByteArray());
}

// A small file of `format` whose header claims `size`: a decompression bomb
// with the huge picture's size and, but for a PNG, next to none of its data.
QByteArray claiming(const QString &format, QSize size)
{
    if (format == "png")
        return blackPng(size.width(), size.height());
    if (format == "gif") {
        const QByteArray w = littleEndian32(size.width()).left(2), h = littleEndian32(size.height()).left(2);
        return "GIF89a" + w + h + QByteArray("\x80\0\0\0\0\0\xFF\xFF\xFF,\0\0\0\0", 14) + w + h
               + QByteArray("\0\x02\x02\x44\x01\0;", 7);
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    noisePicture(16, 12, QImage::Format_RGB32).save(&buffer, qPrintable(format));
    if (format == "bmp") {
        bytes.replace(18, 8, littleEndian32(size.width()) + littleEndian32(size.height()));
    } else { // JPEG: the frame header after the segments before it
        qsizetype at = 2;
        while (static_cast<uchar>(bytes[at + 1]) != 0xC0)
            at += 2 + (static_cast<uchar>(bytes[at + 2]) << 8 | static_cast<uchar>(bytes[at + 3]));
        bytes.replace(at + 5, 4, bigEndian16(size.height()) + bigEndian16(size.width()));
    }
    return bytes;
}

// Pixels of the preview that no sample label covers: the top and bottom
// bands and the left edge.
bool uncovered(int x, int y)
{
    return y < 11 || y >= 90 || x < 40;
}

struct Images {
    testsupport::MainWindow w;
    QTemporaryDir dir;
    ScriptedDesktop &desktop = w.env.desktop;
    PreviewBox *preview = control<PreviewBox>(w.window.get(), "picboxMAIN");
    QPushButton *load = control<QPushButton>(w.window.get(), "cmdload");
    QPushButton *clear = control<QPushButton>(w.window.get(), "cmdclear");
    QPushButton *save = control<QPushButton>(w.window.get(), "cmdsave");
    QRadioButton *text = control<QRadioButton>(w.window.get(), "optTEXT");
    QRadioButton *back = control<QRadioButton>(w.window.get(), "optBACK");
    QLabel *path = control<QLabel>(w.window.get(), "HIDDENlblfilename");
    QLabel *name = control<QLabel>(w.window.get(), "HIDDENlbltaginfo");
    QLabel *holder = control<QLabel>(w.window.get(), "picboxHIDDEN");
    QScrollBar *red = control<QScrollBar>(w.window.get(), "VScrollRed");

    QString file(const QString &relative) const { return dir.filePath(relative); }
    void loadFile(const QString &p)
    {
        desktop.answerOpen(p);
        QTest::mouseClick(load, Qt::LeftButton);
    }
    void saveAs(const QString &p)
    {
        desktop.answerSave(p);
        QTest::mouseClick(save, Qt::LeftButton);
    }
    // Whether the preview shows, wherever no label covers it, what a preview
    // of the same back color shows with the whole picture tiled by `tiles`.
    bool previewShowsWhole(const QPixmap &whole, const QList<Tile> &tiles) const
    {
        PreviewBox reference;
        reference.setPalette(preview->palette());
        reference.resize(preview->size());
        reference.setTiledPicture(whole, whole.size(), tiles);
        const QImage expected = reference.grab().toImage();
        const QImage shot = preview->grab().toImage();
        if (shot.size() != expected.size())
            return false;
        const qreal ratio = shot.devicePixelRatio();
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x)
                if (uncovered(static_cast<int>(x / ratio), static_cast<int>(y / ratio))
                    && shot.pixel(x, y) != expected.pixel(x, y)) {
                    qWarning("device pixel %d,%d is %08x, not %08x", x, y, shot.pixel(x, y), expected.pixel(x, y));
                    return false;
                }
        return true;
    }
    // Loaded wholly (file name, lock, holder size, grid) or not at all.
    bool wholeStateIs(const QString &picture, QSize size) const
    {
        return path->text() == picture && holder->size() == size && !back->isEnabled() && save->isEnabled()
               && preview->tiles().size() == (2790 / (size.width() * 15) + 2) * (1500 / (size.height() * 15) + 2);
    }
    // Whether every uncovered pixel of the preview shows `expected(x, y)`.
    template <class F> bool previewShows(F expected) const
    {
        const QImage shot = preview->grab().toImage();
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x)
                if (uncovered(x, y) && shot.pixelColor(x, y) != expected(x, y)) {
                    qWarning("pixel %d,%d is %s", x, y, qPrintable(shot.pixelColor(x, y).name()));
                    return false;
                }
        return true;
    }
};

} // namespace

class tst_backgroundimage : public QObject {
    Q_OBJECT
private slots:
    void loadingTilesThePictureAndLocksBack()
    {
        Images s;
        const QString picture = writePicture(s.file(QStringLiteral("pics/nested/check.png")), 16, 12);
        s.loadFile(picture);

        const auto &prompt = s.desktop.prompts.constLast();
        QCOMPARE(prompt.kind, ScriptedDesktop::Kind::Open);
        QCOMPARE(prompt.dialogName, QStringLiteral("CommonDialog2"));
        QCOMPARE(prompt.flags, 4);
        QCOMPARE(prompt.filter, QStringLiteral("All Files (*.*)|*.*|"));
        QVERIFY(prompt.cancelError);

        QCOMPARE(s.holder->size(), QSize(16, 12));
        // 240 x 180 twips on 2790 x 1500: 13 columns by 10 rows.
        QCOMPARE(s.preview->tiles().size(), 13 * 10);
        QVERIFY(s.previewShows([](int x, int y) { return patternAt(x % 16, y % 12, 16, 12); }));
        // Covered by a dialog or minimized, the preview is painted again with its tiles.
        s.w.window->showMinimized();
        s.w.window->showNormal();
        QVERIFY(QTest::qWaitForWindowExposed(s.w.window.get()));
        QVERIFY(s.previewShows([](int x, int y) { return patternAt(x % 16, y % 12, 16, 12); }));

        QVERIFY(s.text->isChecked());
        QVERIFY(!s.back->isEnabled());
        QVERIFY(s.clear->isEnabled());
        QVERIFY(s.save->isEnabled());
        QCOMPARE(s.path->text(), picture);
        QCOMPARE(s.name->text(), QStringLiteral("check.png"));
        QVERIFY(s.red->hasFocus());
        QVERIFY(s.desktop.messages.isEmpty());
    }

    void gridFollowsThePictureSize()
    {
        Images s;
        // 64 x 64 pixels are 960 x 960 twips: 4 columns by 3 rows.
        s.loadFile(writePicture(s.file(QStringLiteral("a.png")), 64, 64));
        QCOMPARE(s.preview->tiles().size(), 12);
        // Larger than the box both ways: 4 tiles, one of them seen.
        s.loadFile(writePicture(s.file(QStringLiteral("b.png")), 200, 120));
        QCOMPARE(s.preview->tiles().size(), 4);
        QVERIFY(s.previewShows([](int x, int y) { return patternAt(x, y, 200, 120); }));
    }

    // Of a picture larger than the preview only its top-left part is decoded;
    // the preview shows exactly what the whole picture showed.
    void largePicturesLookAsWhenReadWhole_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QString>("format");
        QTest::addColumn<bool>("alpha");
        QTest::addColumn<quint16>("orientation");
        QTest::addColumn<bool>("plain");
        QTest::newRow("PNG") << QSize(1200, 900) << "png" << false << quint16(0) << false;
        QTest::newRow("JPEG") << QSize(1200, 900) << "jpg" << false << quint16(0) << false;
        QTest::newRow("JPEG turned by its tag") << QSize(1200, 900) << "jpg" << false << quint16(6) << false;
        QTest::newRow("JPEG wide and low") << QSize(1500, 40) << "jpg" << false << quint16(0) << false;
        QTest::newRow("PNG with transparency") << QSize(1200, 900) << "png" << true << quint16(0) << false;
        QTest::newRow("the preview's size") << QSize(186, 100) << "png" << false << quint16(0) << false;
        QTest::newRow("a pixel larger") << QSize(187, 101) << "jpg" << false << quint16(0) << false;
        QTest::newRow("two pixels larger") << QSize(188, 102) << "jpg" << false << quint16(0) << false;
        QTest::newRow("three pixels larger") << QSize(189, 103) << "png" << true << quint16(0) << false;
        // Above Qt's allocation limit when decoded whole (144 MB), a few kB on disk.
        QTest::newRow("PNG of 6000 x 6000") << QSize(6000, 6000) << "png" << false << quint16(0) << true;
        QTest::newRow("PNG of 6000 x 6000 with transparency")
            << QSize(6000, 6000) << "png" << true << quint16(0) << true;
    }
    void largePicturesLookAsWhenReadWhole()
    {
        QFETCH(QSize, size);
        QFETCH(QString, format);
        QFETCH(bool, alpha);
        Images s;
        QFETCH(quint16, orientation);
        QFETCH(bool, plain);
        const QString picture = s.file(QStringLiteral("photo.") + format);
        const QImage::Format pixels = alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32;
        QImage written = plain ? plainPicture(size.width(), size.height(), pixels)
                               : noisePicture(size.width(), size.height(), pixels);
        QVERIFY(written.save(picture, nullptr, 90));
        if (orientation != 0)
            tagOrientation(picture, orientation);
        const qint64 reset = resetPeakMemory();
        s.loadFile(picture);
        QVERIFY(s.wholeStateIs(picture, size));
        // Not the whole picture's memory: only its part is decoded.
        const qint64 growth = peakGrowthMb(reset);
        QVERIFY2(growth < 40, qPrintable(QStringLiteral("%1 MB more at the peak").arg(growth)));
        // What the whole picture showed: loaded as a pixmap, orientation tags
        // unheeded; one too large for that is what was written, without loss.
        QPixmap whole(picture);
        if (plain && whole.isNull())
            whole = QPixmap::fromImage(std::move(written));
        written = QImage();
        QCOMPARE(whole.size(), size);
        QVERIFY(s.previewShowsWhole(whole, s.preview->tiles()));
        // The part drawn ahead into the pattern survives a repaint.
        s.preview->repaint();
        QVERIFY(s.previewShowsWhole(whole, s.preview->tiles()));
        // A small picture after a large one is tiled at its own size again.
        const QString small = writePicture(s.file(QStringLiteral("small.png")), 16, 12);
        s.loadFile(small);
        QVERIFY(s.wholeStateIs(small, QSize(16, 12)));
        QVERIFY(s.previewShowsWhole(QPixmap(small), s.preview->tiles()));
    }

    // A large JPEG whose header reads but whose data is cut short or broken:
    // what decodes of the part shown is shown, at the picture's full size;
    // nothing crashes and nothing is left half set.
    void brokenLargeJpegsLoadWhatDecodes()
    {
        Images s;
        const QString good = s.file(QStringLiteral("good.jpg"));
        QVERIFY(noisePicture(1200, 900, QImage::Format_RGB32).save(good, "JPG", 90));
        const QByteArray bytes = readFile(good);
        const qsizetype scan = bytes.indexOf(QByteArray("\xFF\xDA", 2));
        QVERIFY(scan > 0);

        const struct {
            const char *name;
            QByteArray data;
        } cases[] = {{"cut.jpg", bytes.left(scan + 600)}, {"headeronly.jpg", bytes.left(scan + 14)}};
        for (const auto &c : cases) {
            const QString file = s.file(QString::fromLatin1(c.name));
            prepareFile(file, c.data);
            s.loadFile(file);
            QVERIFY2(s.wholeStateIs(file, QSize(1200, 900)), c.name);
            // As much as the whole picture showed, gray where the data ends.
            QVERIFY2(s.previewShowsWhole(QPixmap(file), s.preview->tiles()), c.name);
            QVERIFY(s.red->hasFocus());
        }

        // Data broken only below the part shown (an unknown marker halfway,
        // which stops the decoder): the whole picture does not decode, the
        // part does and is shown.
        QByteArray lowerBroken = bytes;
        lowerBroken.replace(bytes.size() / 2, 2, QByteArray("\xFF\x92", 2));
        const QString lower = s.file(QStringLiteral("lowerbroken.jpg"));
        prepareFile(lower, lowerBroken);
        QVERIFY(QPixmap(lower).isNull());
        s.loadFile(lower);
        QVERIFY(s.wholeStateIs(lower, QSize(1200, 900)));
        QVERIFY(s.previewShowsWhole(QPixmap(good), s.preview->tiles()));

        // The size reads, but the data asks for a code table that is not
        // there: nothing decodes, and the picture before stays.
        const QString before = writePicture(s.file(QStringLiteral("before.png")), 16, 12);
        s.loadFile(before);
        QByteArray tableless = bytes;
        tableless[scan + 6] = '\x33';
        const QString file = s.file(QStringLiteral("tableless.jpg"));
        prepareFile(file, tableless);
        QCOMPARE(QImageReader(file).size(), QSize(1200, 900));
        s.loadFile(file);
        QVERIFY(s.wholeStateIs(before, QSize(16, 12)));
        QCOMPARE(s.name->text(), QStringLiteral("before.png"));
        QVERIFY(s.previewShowsWhole(QPixmap(before), s.preview->tiles()));
        QVERIFY(s.desktop.messages.isEmpty());
    }

    // A small file claiming a huge picture (of a PNG, all its data at 1:1300)
    // is refused, or its top-left part shown, at little cost in memory and time.
    void bombsCostLittle_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QSize>("claimed");
        for (const char *format : {"png", "jpg", "bmp", "gif"})
            for (const QSize size : {QSize(30000, 30000), QSize(65535, 65535)})
                QTest::addRow("%s of %d x %d", format, size.width(), size.height()) << format << size;
    }
    void bombsCostLittle()
    {
        QFETCH(QString, format);
        QFETCH(QSize, claimed);
        Images s;
        const QString before = writePicture(s.file(QStringLiteral("before.png")), 16, 12);
        s.loadFile(before);
        if (format == "png") // the data are all there
            QCOMPARE(QImage::fromData(blackPng(300, 200)).pixel(299, 199), qRgb(0, 0, 0));
        const QString bomb = s.file(QStringLiteral("bomb.") + format);
        prepareFile(bomb, claiming(format, claimed));
        const qint64 reset = resetPeakMemory();
        QElapsedTimer timer;
        timer.start();
        s.loadFile(bomb);
        QVERIFY2(timer.elapsed() < 2000, qPrintable(QStringLiteral("%1 ms").arg(timer.elapsed())));
        const qint64 growth = peakGrowthMb(reset);
        QVERIFY2(growth < 40, qPrintable(QStringLiteral("%1 MB more at the peak").arg(growth)));
        QVERIFY(s.wholeStateIs(before, QSize(16, 12)) || s.wholeStateIs(bomb, claimed));
        QVERIFY(s.red->hasFocus());
        QVERIFY(s.desktop.messages.isEmpty());
    }

    // A compressed drawing is unpacked within a limit: one that unpacks to
    // more (a gigabyte of blanks in a megabyte) is refused at once and at
    // little cost, one within it shows; so does a plain drawing over it.
    // Told by content, whatever the name.
    void compressedDrawings_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("compressed");
        QTest::addColumn<qint64>("size"); // unpacked, in bytes
        QTest::addColumn<bool>("shows");
        const qint64 limit = qint64(8) << 20;
        QTest::newRow("small .svgz") << "tiles.svgz" << true << qint64(0) << true;
        QTest::newRow("compressed, named .png") << "tiles.png" << true << qint64(0) << true;
        QTest::newRow(".svgz unpacking to 8 MB") << "tiles.svgz" << true << limit << true;
        QTest::newRow(".svgz unpacking to a byte more") << "tiles.svgz" << true << limit + 1 << false;
        QTest::newRow(".svgz of a gigabyte of blanks") << "tiles.svgz" << true << (qint64(1) << 30) << false;
        QTest::newRow(".svg of 8 MB") << "tiles.svg" << false << limit << true;
        QTest::newRow(".svg of a byte more") << "tiles.svg" << false << limit + 1 << false;
    }
    void compressedDrawings()
    {
        QFETCH(QString, name);
        QFETCH(bool, compressed);
        QFETCH(qint64, size);
        QFETCH(bool, shows);
        Images s;
        const QByteArray head = "<svg xmlns='http://www.w3.org/2000/svg' width='10' height='10'>"
                                "<rect width='10' height='10' fill='#123456'/>";
        const QByteArray tail = "</svg>";
        const qint64 blanks = qMax<qint64>(0, size - head.size() - tail.size());
        const QString drawing = s.file(name);
        prepareFile(drawing, compressed ? testsupport::gzipped(head, blanks, ' ', tail)
                                        : head + QByteArray(qsizetype(blanks), ' ') + tail);
        const qint64 reset = resetPeakMemory();
        QElapsedTimer timer;
        timer.start();
        s.loadFile(drawing);
        const qint64 ms = timer.elapsed();
        QCOMPARE(s.wholeStateIs(drawing, QSize(10, 10)), shows);
        QVERIFY(s.red->hasFocus());
        QVERIFY(s.desktop.messages.isEmpty());
        if (shows) {
            QVERIFY(s.previewShows([](int, int) { return QColor(0x12, 0x34, 0x56); }));
            return;
        }
        QVERIFY(s.back->isEnabled());
        QVERIFY2(ms < 1000, qPrintable(QStringLiteral("%1 ms").arg(ms)));
        const qint64 growth = peakGrowthMb(reset);
        QVERIFY2(growth < 40, qPrintable(QStringLiteral("%1 MB more at the peak").arg(growth)));
    }

    void secondLoadReplacesTheFirst()
    {
        Images s;
        s.loadFile(writePicture(s.file(QStringLiteral("one.png")), 64, 64));
        const QString second = writePicture(s.file(QStringLiteral("sub/two.bmp")), 10, 8);
        s.loadFile(second);
        QCOMPARE(s.path->text(), second);
        QCOMPARE(s.name->text(), QStringLiteral("two.bmp"));
        QCOMPARE(s.holder->size(), QSize(10, 8));
        QCOMPARE(s.preview->tiles().size(), 20 * 14);
        QVERIFY(s.previewShows([](int x, int y) { return patternAt(x % 10, y % 8, 10, 8); }));
        QVERIFY(s.text->isChecked());
        QVERIFY(!s.back->isEnabled());
    }

    void cancelAndNonPicturesChangeNothing()
    {
        Images s;
        const QPixmap startPicture = s.holder->pixmap();
        s.desktop.cancel(ScriptedDesktop::Kind::Open);
        QTest::mouseClick(s.load, Qt::LeftButton);
        QVERIFY(s.back->isChecked());
        QVERIFY(s.red->hasFocus());

        const QString notes = s.file(QStringLiteral("notes.png"));
        QVERIFY(writeFile(notes, "not a picture at all\n"));
        s.loadFile(notes);
        QVERIFY(s.back->isChecked());
        QVERIFY(s.back->isEnabled());
        QVERIFY(!s.clear->isEnabled());
        QVERIFY(!s.save->isEnabled());
        QCOMPARE(s.path->text(), QString());
        QCOMPARE(s.name->text(), QString());
        QVERIFY(s.preview->tiles().isEmpty());
        QVERIFY(s.red->hasFocus());

        // With a picture loaded, the picture stays.
        const QString picture = writePicture(s.file(QStringLiteral("p.png")), 16, 12);
        s.loadFile(picture);
        s.loadFile(notes);
        QCOMPARE(s.path->text(), picture);
        QCOMPARE(s.name->text(), QStringLiteral("p.png"));
        QCOMPARE(s.holder->size(), QSize(16, 12));
        QVERIFY(s.previewShows([](int x, int y) { return patternAt(x % 16, y % 12, 16, 12); }));
        QVERIFY(s.desktop.messages.isEmpty());
        QVERIFY(s.desktop.unscripted.isEmpty());
    }

    void clearingShowsTheBackColorAndSelectsBack()
    {
        Images s;
        const QString picture = writePicture(s.file(QStringLiteral("c.png")), 16, 12);
        s.loadFile(picture);
        QTest::mouseClick(s.clear, Qt::LeftButton);

        QVERIFY(s.previewShows([](int, int) { return QColor(220, 220, 220); }));
        QVERIFY(s.back->isEnabled());
        QVERIFY(s.back->isChecked());
        QVERIFY(!s.clear->isEnabled());
        QVERIFY(!s.save->isEnabled());
        QCOMPARE(s.name->text(), QString());
        QCOMPARE(s.path->text(), picture);
        QCOMPARE(s.holder->size(), QSize(16, 12));
        QVERIFY(s.red->hasFocus());
    }

    void previewClicksSelectNothingWhileAPictureIsLoaded()
    {
        Images s;
        s.loadFile(writePicture(s.file(QStringLiteral("c.png")), 16, 12));
        const QString hexBack = control<QLineEdit>(s.w.window.get(), "txtHEXback")->text();
        QTest::mouseClick(s.preview, Qt::LeftButton, {}, QPoint(3, 3));
        QVERIFY(s.text->isChecked());
        // Mixing goes to the text; the page background stays under the tiles.
        QTest::mouseClick(control<QPushButton>(s.w.window.get(), "cmd0"), Qt::LeftButton);
        QCOMPARE(control<QLineEdit>(s.w.window.get(), "txtHEXback")->text(), hexBack);
        QCOMPARE(backColor(s.preview), QColor(220, 220, 220));

        QTest::mouseClick(s.clear, Qt::LeftButton);
        QTest::mouseClick(s.text, Qt::LeftButton);
        QVERIFY(s.text->isChecked());
        QTest::mouseClick(s.preview, Qt::LeftButton, {}, QPoint(3, 3));
        QVERIFY(s.back->isChecked());
    }

    void savedCopyIsTheLoadedFileByteForByte()
    {
        Images s;
        const QString picture = writePicture(s.file(QStringLiteral("in/tile.png")), 16, 12);
        s.loadFile(picture);
        const QString copy = s.file(QStringLiteral("copy.png"));
        s.saveAs(copy);

        const auto &prompt = s.desktop.prompts.constLast();
        QCOMPARE(prompt.kind, ScriptedDesktop::Kind::Save);
        QCOMPARE(prompt.dialogName, QStringLiteral("CommonDialog2"));
        QCOMPARE(prompt.flags, 2);
        QVERIFY(prompt.cancelError);
        // It starts from what the open dialog left.
        QCOMPARE(prompt.fileName, picture);
        QCOMPARE(prompt.filter, QStringLiteral("All Files (*.*)|*.*|"));
        QCOMPARE(QProcess::execute(QStringLiteral("cmp"), {picture, copy}), 0);
        QVERIFY(s.desktop.messages.isEmpty());
        // The state and the focus stay as they were.
        QCOMPARE(s.name->text(), QStringLiteral("tile.png"));
        QCOMPARE(s.path->text(), picture);
        QVERIFY(s.save->hasFocus());

        // An existing file is replaced; the next dialog starts from the last name saved.
        const QString other = s.file(QStringLiteral("other.png"));
        QFile existing(other);
        QVERIFY(existing.open(QIODevice::WriteOnly));
        existing.write(QByteArray(5000, 'z'));
        existing.close();
        s.saveAs(other);
        QCOMPARE(s.desktop.prompts.constLast().fileName, copy);
        QCOMPARE(QProcess::execute(QStringLiteral("cmp"), {picture, other}), 0);
    }

    void saveCancelledOrOntoItselfChangesNothing()
    {
        Images s;
        const QString picture = writePicture(s.file(QStringLiteral("tile.png")), 16, 12);
        const QByteArray bytes = readFile(picture);
        s.loadFile(picture);
        s.desktop.cancel(ScriptedDesktop::Kind::Save);
        QTest::mouseClick(s.save, Qt::LeftButton);
        s.saveAs(picture);
        // The same file by another spelling of its path.
        QVERIFY(QDir(s.dir.path()).mkpath(QStringLiteral("sub")));
        s.saveAs(s.file(QStringLiteral("sub/../tile.png")));
        QCOMPARE(readFile(picture), bytes);
        QCOMPARE(QDir(s.dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("tile.png")});
        QVERIFY(s.desktop.messages.isEmpty());
        QVERIFY(s.desktop.unscripted.isEmpty());
    }

    void failedSavesAreReported()
    {
        Images s;
        const QString picture = writePicture(s.file(QStringLiteral("tile.png")), 16, 12);
        s.loadFile(picture);

        // A folder that cannot be written to (for a superuser, a system folder).
        QString locked = s.file(QStringLiteral("locked"));
        QVERIFY(QDir().mkpath(locked));
        QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        if (QFileInfo(locked).isWritable())
            locked = QStringLiteral("/proc");
        const QString blocked = locked + QStringLiteral("/copy.png");
        s.saveAs(blocked);
        auto messages = s.desktop.takeMessages();
        QCOMPARE(messages.size(), 1);
        QVERIFY(messages[0].text.contains(blocked));
        QVERIFY(messages[0].text.contains(QStringLiteral("cannot be written")));
        QCOMPARE(messages[0].icon, platform::MessageIcon::Critical);
        QVERIFY(!QFile::exists(blocked));

        // The loaded file has gone since: nothing is written, the destination is kept.
        const QString existing = s.file(QStringLiteral("keep.png"));
        QFile keep(existing);
        QVERIFY(keep.open(QIODevice::WriteOnly));
        keep.write("keep me");
        keep.close();
        QVERIFY(QFile::remove(picture));
        s.saveAs(existing);
        messages = s.desktop.takeMessages();
        QCOMPARE(messages.size(), 1);
        QVERIFY(messages[0].text.contains(existing));
        QVERIFY(messages[0].text.contains(picture));
        QCOMPARE(readFile(existing), QByteArray("keep me"));
        QFile::setPermissions(s.file(QStringLiteral("locked")),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
};

QTEST_MAIN(tst_backgroundimage)
#include "tst_backgroundimage.moc"
