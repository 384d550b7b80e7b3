#include "preview/previewmessages.h"
#include "preview/tilegrid.h"

#include <QTest>

class tst_previewcore : public QObject {
    Q_OBJECT
private slots:
    void roundsHalvesToEven()
    {
        QCOMPARE(roundHalfEven(0.5F), 0);
        QCOMPARE(roundHalfEven(1.5F), 2);
        QCOMPARE(roundHalfEven(2.5F), 2);
        QCOMPARE(roundHalfEven(2.49F), 2);
        QCOMPARE(roundHalfEven(2.51F), 3);
        QCOMPARE(roundHalfEven(959.5F), 960);
        QCOMPARE(roundHalfEven(960.5F), 960);
        QCOMPARE(roundHalfEven(2790.0F), 2790);
    }

    void gridOfASmallPictureCoversTheBoxWithOneTileToSpare()
    {
        // 960 x 960 twips on 2790 x 1500: 4 columns by 3 rows.
        const QList<Tile> tiles = tileGrid(2790, 1500, 960, 960);
        QCOMPARE(tiles.size(), 12);
        QList<QPair<float, float>> corners;
        for (const Tile &t : tiles) {
            QCOMPARE(t.width, 960.0F);
            QCOMPARE(t.height, 960.0F);
            corners.append({t.x, t.y});
        }
        const QList<QPair<float, float>> expected = {{0, 0},       {0, 960},    {0, 1920},   {960, 0},
                                                     {960, 960},   {960, 1920}, {1920, 0},   {1920, 960},
                                                     {1920, 1920}, {2880, 0},   {2880, 960}, {2880, 1920}};
        QCOMPARE(corners, expected);
    }

    void gridOfAPictureLargerThanTheBoxHasFourTiles()
    {
        const QList<Tile> tiles = tileGrid(2790, 1500, 4000, 3000);
        QCOMPARE(tiles.size(), 4);
        QCOMPARE(tiles.last().x, 4000.0F);
        QCOMPARE(tiles.last().y, 3000.0F);
    }

    void gridUsesTheRoundedSizesForTheCountAndTheExactOnesForPositions()
    {
        // 2790 div 930 = 3 exactly, so one spare column beyond the three needed.
        QCOMPARE(tileGrid(2790, 1500, 930, 1500).size(), 5 * 3);
        // 930.5 rounds to 930 (even): still 5 columns; the tiles keep their exact width.
        const QList<Tile> tiles = tileGrid(2790, 1500, 930.5F, 1500);
        QCOMPARE(tiles.size(), 15);
        QCOMPARE(tiles.last().x, 4 * 930.5F);
        QCOMPARE(tiles.last().width, 930.5F);
    }

    void pictureWithoutSizeGivesNoTiles()
    {
        QVERIFY(tileGrid(2790, 1500, 0, 960).isEmpty());
        QVERIFY(tileGrid(2790, 1500, 960, 0.4F).isEmpty());
    }

    void messages()
    {
        QCOMPARE(errorNumberText(QStringLiteral("Font not found"), 380), QStringLiteral("Font not found380"));

        const QString write = imageSaveFailedText(ImageSaveStep::WriteDestination, QStringLiteral("/a/src.png"),
                                                  QStringLiteral("/ro/copy.png"), QStringLiteral("Permission denied"));
        QVERIFY(write.contains(QStringLiteral("\"/ro/copy.png\"")));
        QVERIFY(write.contains(QStringLiteral("Permission denied")));
        QVERIFY(!write.contains(QStringLiteral("/a/src.png")));

        const QString read = imageSaveFailedText(ImageSaveStep::ReadSource, QStringLiteral("/a/src.png"),
                                                 QStringLiteral("/b/copy.png"), QStringLiteral("No such file"));
        QVERIFY(read.contains(QStringLiteral("\"/b/copy.png\"")));
        QVERIFY(read.contains(QStringLiteral("\"/a/src.png\"")));
        QVERIFY(read.contains(QStringLiteral("No such file")));
    }

    void defaultFaceOrOneWithItsMetrics()
    {
        QVERIFY(isDefaultSampleFace(QStringLiteral("Times New Roman")));
        QVERIFY(isDefaultSampleFace(QStringLiteral("Liberation Serif")));
        QVERIFY(!isDefaultSampleFace(QStringLiteral("DejaVu Sans")));
        QVERIFY(!isDefaultSampleFace(QString()));
    }
};

QTEST_APPLESS_MAIN(tst_previewcore)
#include "tst_previewcore.moc"
