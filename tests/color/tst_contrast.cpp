#include "color/colorspaces.h"
#include "color/contrast.h"

#include <QRandomGenerator>
#include <QTest>

#include <cmath>

using namespace contrast;

namespace {

const Rgb black{0, 0, 0}, white{255, 255, 255};
const Rgb back{220, 220, 220}, text{10, 10, 10}, newLink{0, 0, 238}, visitedLink{85, 26, 139}, activeLink{238, 0, 0};

QString hundredths(int k)
{
    return QStringLiteral("%1.%2").arg(k / 100).arg(k % 100, 2, 10, QLatin1Char('0'));
}

Backdrop image(std::initializer_list<Rgb> colors)
{
    std::vector<std::uint32_t> pixels;
    for (int repeat = 0; repeat < 3; ++repeat)
        for (Rgb c : colors)
            pixels.push_back(0xFF000000u | std::uint32_t(c.red) << 16 | std::uint32_t(c.green) << 8
                             | std::uint32_t(c.blue));
    return Backdrop::pixels(pixels);
}

// Walks the lightness path from `from` towards `to` in fine steps and returns
// the first color that reaches the minimum before `to` itself, if any.
color::Hsl toHsl(Rgb c)
{
    return color::hslFromSrgb(color::toSrgb(c));
}

Rgb fromHsl(const color::Hsl &c)
{
    return color::toRgb(color::srgbFromHsl(c));
}

std::optional<Rgb> nearerPassing(Rgb from, Rgb to, const Backdrop &backdrop)
{
    const color::Hsl a = toHsl(from), b = toHsl(to);
    const double step = (b.l > a.l ? 1 : -1) * 1e-5;
    for (double l = a.l; (step > 0) ? l < b.l : l > b.l; l += step) {
        const Rgb c = fromHsl({a.h, a.s, l});
        if (c == to)
            return std::nullopt;
        if (backdrop.worstRatio(c) >= AA)
            return c;
    }
    return std::nullopt;
}

color::Oklch oklchOf(Rgb c)
{
    return color::oklchFromSrgb(color::toSrgb(c));
}

// The color at an OKLCH lightness with the hue and chroma of `start`,
// brought into sRGB.
Rgb atLightness(const color::Oklch &start, double l)
{
    return color::toRgb(color::mapIntoSrgb(color::Oklch{l, start.c, start.h}).color);
}

// The first color on the OKLCH lightness path from `from` to `to` (fine
// steps, both ends left out) that reaches the minimum, if any.
std::optional<Rgb> nearerPassingOklch(Rgb from, double toL, Rgb to, const Backdrop &backdrop)
{
    const color::Oklch a = oklchOf(from);
    const double step = (toL > a.l ? 1 : -1) * 2e-5;
    for (double l = a.l + step; (step > 0) ? l < toL : l > toL; l += step) {
        const Rgb c = atLightness(a, std::clamp(l, 0.0, 1.0));
        if (c == to)
            return std::nullopt;
        if (backdrop.worstRatio(c) >= AA)
            return c;
    }
    return std::nullopt;
}

} // namespace

class TestContrast : public QObject {
    Q_OBJECT
private slots:
    void referencePairs()
    {
        QCOMPARE(contrastRatio(black, white), 21.0);
        QCOMPARE(contrastRatio(white, black), 21.0);
        QCOMPARE(contrastRatio(white, white), 1.0);
        QCOMPARE(ratioText(contrastRatio(black, white)), QStringLiteral("21.00"));

        // Published as 4.48:1 (rounded); shown truncated and failing AA.
        const double grey77 = contrastRatio({119, 119, 119}, white);
        QVERIFY(std::abs(grey77 - 4.48) < 0.005);
        QCOMPARE(ratioText(grey77), QStringLiteral("4.47"));
        QCOMPARE(grade(grey77), Grade::AALarge);

        const double grey76 = contrastRatio({118, 118, 118}, white);
        QCOMPARE(ratioText(grey76), QStringLiteral("4.54"));
        QCOMPARE(grade(grey76), Grade::AA);
    }

    void luminanceFormula()
    {
        // 10/255 lies below the 0.04045 knee, 11/255 above it.
        QCOMPARE(linearChannel(10), 10 / 255.0 / 12.92);
        QCOMPARE(linearChannel(11), std::pow((11 / 255.0 + 0.055) / 1.055, 2.4));
        QCOMPARE(linearChannel(0), 0.0);
        QCOMPARE(linearChannel(255), 1.0);
        QCOMPARE(relativeLuminance({255, 0, 0}), 0.2126);
        QCOMPARE(relativeLuminance({0, 255, 0}), 0.7152);
        QCOMPARE(relativeLuminance({0, 0, 255}), 0.0722);
        double previous = -1;
        for (int v = 0; v < 256; ++v) {
            QVERIFY(linearChannel(v) > previous);
            previous = linearChannel(v);
        }
    }

    void programDefaults()
    {
        const Report r = report({text, newLink, visitedLink, activeLink}, Backdrop::plain(back), false);
        QCOMPARE(entryText(r.entries[0]), QStringLiteral("Text 14.43 AAA"));
        QCOMPARE(entryText(r.entries[1]), QStringLiteral("New 6.85 AA*"));
        QCOMPARE(entryText(r.entries[2]), QStringLiteral("Visited 8.03 AAA*"));
        QCOMPARE(entryText(r.entries[3]), QStringLiteral("Active 3.30 AA large"));
        QVERIFY(!failing(r.entries[0]) && !failing(r.entries[1]) && !failing(r.entries[2]));
        QVERIFY(failing(r.entries[3]));
        // New (2.10:1) and visited (1.79:1) links are too close to the text; active (4.37:1) is not.
        QVERIFY(!r.entries[0].nearText && r.entries[1].nearText && r.entries[2].nearText && !r.entries[3].nearText);
        QCOMPARE(nearTextNote(r), QStringLiteral("*near text"));
        QCOMPARE(leadText(r), QString());
        QCOMPARE(sentence(r),
                 QStringLiteral("Contrast against the background: text 14.43:1 (AAA), new links 6.85:1 (AA), "
                                "visited links 8.03:1 (AAA) and active links 3.30:1 (AA for large text only). "
                                "New links and visited links are within 3:1 of the text color. To reach AA by "
                                "changing only the lightness, click a failing entry or press Alt+4 for active "
                                "links."));
    }

    void sentenceVariants()
    {
        Report r = report({black, {0, 0, 200}, {0, 0, 180}, {120, 120, 120}}, Backdrop::plain(white), true);
        QCOMPARE(leadText(r), QStringLiteral("Worst on image:"));
        QCOMPARE(leadText(r, Density::Named), QStringLiteral("Worst:"));
        QCOMPARE(nearTextNote(r), QStringLiteral("*near text"));
        QCOMPARE(entryText(r.entries[3]), QStringLiteral("Active 4.41 AA large"));
        const QString s = sentence(r);
        QVERIFY(s.startsWith(QStringLiteral("Worst-case contrast over the background image: text 21.00:1 (AAA)")));
        QVERIFY(s.contains(QStringLiteral("New links and visited links are within 3:1")));
        QVERIFY(s.endsWith(QStringLiteral("press Alt+4 for active links.")));

        r = report({black, {200, 200, 200}, black, {250, 250, 250}}, Backdrop::plain(white), false);
        QCOMPARE(entryText(r.entries[1]), QStringLiteral("New 1.67 \u2717"));
        QCOMPARE(nearTextNote(r), QStringLiteral("*near text"));
        QVERIFY(sentence(r).contains(QStringLiteral("new links 1.67:1 (fails AA)")));
        QVERIFY(sentence(r).contains(QStringLiteral(" Visited links are within 3:1 of the text color.")));
        QVERIFY(sentence(r).endsWith(QStringLiteral("press Alt+2 for new links or Alt+4 for active links.")));

        r = report({black, {0, 120, 0}, {0, 120, 0}, {0, 120, 0}}, Backdrop::plain(white), false);
        QCOMPARE(nearTextNote(r), QString());
        QVERIFY(!sentence(r).contains(QStringLiteral("within 3:1")));
        QVERIFY(!sentence(r).contains(QStringLiteral("press")));

        QCOMPARE(noFixText(ColorTarget::VisitedLink),
                 QStringLiteral("No lightness of the visited link color reaches AA here: nothing changed."));
    }

    void tighterWordings()
    {
        const Report r = report({text, newLink, visitedLink, activeLink}, Backdrop::plain(back), false);
        QCOMPARE(leadText(r, Density::Named), QString());
        QCOMPARE(entryText(r.entries[2], Density::Named), QStringLiteral("Visited 8.03 AAA*"));
        QCOMPARE(entryText(r.entries[2], Density::Short), QStringLiteral("V 8.03 AAA*"));
        QCOMPARE(entryText(r.entries[3], Density::Shortest), QStringLiteral("A 3.3 AA large"));
        QCOMPARE(nearTextNote(r, Density::Short), QStringLiteral("*near text"));
        QCOMPARE(nearTextNote(r, Density::Shortest), QStringLiteral("*\u2248text"));
        // Each wording is no longer than the one before.
        for (std::size_t i = 1; i < Densities.size(); ++i)
            for (const Entry &e : r.entries)
                QVERIFY(entryText(e, Densities[i]).size() <= entryText(e, Densities[i - 1]).size());
    }

    void truncationNeverRoundsUp()
    {
        // Every hundredth shows as itself, and the ratio just below it as the
        // hundredth before, so a 4.4999 ratio never shows as passing.
        for (int k = 100; k <= 2100; ++k) {
            const double exact = k / 100.0;
            QCOMPARE(ratioText(exact), hundredths(k));
            QCOMPARE(ratioText(std::nextafter(exact, 0.0)), hundredths(k - 1));
        }
        QCOMPARE(ratioText(4.499), QStringLiteral("4.49"));
        QCOMPARE(ratioText(4.4999999), QStringLiteral("4.49"));
        QCOMPARE(ratioText(6.9999), QStringLiteral("6.99"));
        for (int k = 10; k <= 210; ++k) {
            QCOMPARE(ratioText(k / 10.0, 1), QStringLiteral("%1.%2").arg(k / 10).arg(k % 10));
            QCOMPARE(ratioText(std::nextafter(k / 10.0, 0.0), 1),
                     QStringLiteral("%1.%2").arg((k - 1) / 10).arg((k - 1) % 10));
        }
        QCOMPARE(ratioText(4.49999, 1), QStringLiteral("4.4"));
    }

    void gradesAtTheBoundaries()
    {
        const double below = std::nextafter(AA, 0.0);
        QCOMPARE(grade(below), Grade::AALarge);
        QCOMPARE(grade(AA), Grade::AA);
        QCOMPARE(grade(std::nextafter(AAA, 0.0)), Grade::AA);
        QCOMPARE(grade(AAA), Grade::AAA);
        QCOMPARE(grade(std::nextafter(AALarge, 0.0)), Grade::Fail);
        QCOMPARE(grade(AALarge), Grade::AALarge);
        QCOMPARE(grade(1.0), Grade::Fail);
        QCOMPARE(gradeText(Grade::AALarge), QStringLiteral("AA large"));
        QCOMPARE(gradeText(Grade::Fail), QStringLiteral("\u2717"));
        // What is shown agrees with the grade: a failing ratio never reads 4.50.
        QVERIFY(failing(Entry{ColorTarget::Text, below, false}));
        QCOMPARE(ratioText(below), QStringLiteral("4.49"));
    }

    void linksAgainstText()
    {
        QVERIFY(tooCloseToText(newLink, text));
        QVERIFY(tooCloseToText(visitedLink, text));
        QVERIFY(!tooCloseToText(activeLink, text));
        QVERIFY(tooCloseToText(text, text));
        QVERIFY(!tooCloseToText(white, black));
    }

    void backdropOfPixels()
    {
        const Backdrop checker = image({black, white});
        QCOMPARE(checker.size(), std::size_t(2));
        QCOMPARE(checker.worstRatio(white), 1.0);
        QCOMPARE(checker.worstRatio(black), 1.0);
        // Against both ends, the nearer one in ratio counts.
        QCOMPARE(checker.worstRatio({119, 119, 119}), contrastRatio({119, 119, 119}, white));
        QCOMPARE(checker.worstRatio({100, 100, 100}), contrastRatio({100, 100, 100}, black));
        // The alpha byte plays no part; repeated pixels count once.
        const std::vector<std::uint32_t> pixels = {0x00DCDCDC, 0xFFDCDCDC, 0x80DCDCDC};
        const Backdrop flat = Backdrop::pixels(pixels);
        QCOMPARE(flat.size(), std::size_t(1));
        QCOMPARE(flat.worstRatio(text), Backdrop::plain(back).worstRatio(text));
    }

    void worstRatioOverManyPixels()
    {
        // Random pixels, with repeats and runs: the worst ratio equals the
        // lowest ratio found by trying every pixel.
        QRandomGenerator random(11);
        std::vector<std::uint32_t> pixels;
        for (int i = 0; i < 5000; ++i) {
            const std::uint32_t p = random.generate() & (i % 3 ? 0xFFFFFFu : 0xF0F0F0u);
            for (int run = int(random.bounded(3)); run >= 0; --run)
                pixels.push_back(p);
        }
        const Backdrop backdrop = Backdrop::pixels(pixels);
        for (int q = 0; q < 300; ++q) {
            const Rgb c{int(random.bounded(256)), int(random.bounded(256)), int(random.bounded(256))};
            double worst = 21;
            for (std::uint32_t p : pixels)
                worst = std::min(worst, contrastRatio(c, Rgb{int(p >> 16 & 0xFF), int(p >> 8 & 0xFF), int(p & 0xFF)}));
            QCOMPARE(backdrop.worstRatio(c), worst);
        }
    }

    void hslRoundTrip()
    {
        for (int r = 0; r < 256; r += 17)
            for (int g = 0; g < 256; g += 15)
                for (int b = 0; b < 256; b += 51) {
                    const Rgb c{r, g, b};
                    QCOMPARE(fromHsl(toHsl(c)), c);
                }
        QCOMPARE(fromHsl({0, 1, 0}), black);
        QCOMPARE(fromHsl({216, 0.8, 1}), white);
    }

    void fixReachesAAWithTheLeastChange_data()
    {
        QTest::addColumn<Rgb>("color");
        QTest::addColumn<Rgb>("background");
        QTest::newRow("default active link") << activeLink << back;
        QTest::newRow("grey on white") << Rgb{119, 119, 119} << white;
        QTest::newRow("light blue on black") << Rgb{20, 40, 90} << black;
        QTest::newRow("yellow on white") << Rgb{230, 220, 40} << white;
        QTest::newRow("purple on mid grey") << Rgb{120, 60, 150} << Rgb{118, 118, 118};
        QTest::newRow("grey on mid grey") << Rgb{130, 130, 130} << Rgb{117, 117, 117};
        QTest::newRow("pale on pale") << Rgb{250, 240, 235} << Rgb{200, 210, 220};
    }

    void fixReachesAAWithTheLeastChange()
    {
        QFETCH(Rgb, color);
        QFETCH(Rgb, background);
        const Backdrop backdrop = Backdrop::plain(background);
        QVERIFY(backdrop.worstRatio(color) < AA);
        // The former fix, along HSL lightness, now the fallback.
        const auto fixed = nearestByHslLightness(color, backdrop);
        QVERIFY(fixed.has_value());
        QVERIFY(backdrop.worstRatio(*fixed) >= AA);
        // Only the lightness moved.
        const color::Hsl before = toHsl(color), after = toHsl(*fixed);
        // (Near black and white, 8-bit steps blur hue and saturation.)
        if (after.l > 0.1 && after.l < 0.9 && before.s > 0) {
            QVERIFY(std::abs(after.h - before.h) < 7.2 || std::abs(after.h - before.h) > 352.8);
            QVERIFY(std::abs(after.s - before.s) < 0.05);
        }
        // No color on the way there already reaches AA, and the other way
        // passes nothing nearer either.
        QCOMPARE(nearerPassing(color, *fixed, backdrop), std::nullopt);
        const double distance = std::abs(after.l - before.l);
        const double away = before.l + (after.l > before.l ? -distance : distance);
        const Rgb otherWay = fromHsl({before.h, before.s, std::clamp(away, 0.0, 1.0)});
        if (otherWay != color)
            QCOMPARE(nearerPassing(color, otherWay, backdrop), std::nullopt);
    }

    // The fix moves along OKLCH lightness: hue and chroma stay where sRGB
    // has them, and nothing nearer on that path, either way, reaches AA.
    void oklchFixReachesAAWithTheLeastChange_data() { fixReachesAAWithTheLeastChange_data(); }

    void oklchFixReachesAAWithTheLeastChange()
    {
        QFETCH(Rgb, color);
        QFETCH(Rgb, background);
        const Backdrop backdrop = Backdrop::plain(background);
        const auto fixed = nearestByLightness(color, backdrop);
        QVERIFY(fixed.has_value());
        QVERIFY(backdrop.worstRatio(*fixed) >= AA);
        const color::Oklch before = oklchOf(color), after = oklchOf(*fixed);
        // Chroma only ever shrinks (where sRGB has not as much), and the hue
        // stays where there is chroma enough to carry one.
        QVERIFY(after.c <= before.c + 0.01);
        if (after.c > 0.03 && after.l > 0.1 && after.l < 0.95)
            QVERIFY2(std::min(std::abs(after.h - before.h), 360 - std::abs(after.h - before.h)) < 3,
                     qPrintable(QStringLiteral("hue %1 became %2").arg(before.h).arg(after.h)));
        // The fixed color lies on the path, at some lightness.
        double fixedL = -1;
        for (int k = 0; k <= 20000 && fixedL < 0; ++k) {
            const double d = k * 5e-5;
            for (const double l : {before.l - d, before.l + d})
                if (fixedL < 0 && l >= 0 && l <= 1 && atLightness(before, l) == *fixed)
                    fixedL = l;
        }
        QVERIFY2(fixedL >= 0, "the fix is not on the OKLCH lightness path");
        QCOMPARE(nearerPassingOklch(color, fixedL, *fixed, backdrop), std::nullopt);
        const double otherWay = std::clamp(2 * before.l - fixedL, 0.0, 1.0);
        if (std::abs(otherWay - before.l) > 1e-9)
            QCOMPARE(nearerPassingOklch(color, otherWay, atLightness(before, otherWay), backdrop), std::nullopt);
    }

    // Over many random failing pairs the fix always reaches AA, as the HSL
    // one did, and changes the color less on the whole (deltaEOK).
    void oklchFixAgainstTheHslOne()
    {
        QRandomGenerator random(7);
        int pairs = 0;
        double oklchSum = 0, hslSum = 0;
        const auto apart = [](Rgb a, Rgb b) {
            return color::deltaEOK(color::oklabFromSrgb(color::toSrgb(a)), color::oklabFromSrgb(color::toSrgb(b)));
        };
        while (pairs < 300) {
            const Rgb c{int(random.bounded(256)), int(random.bounded(256)), int(random.bounded(256))};
            const Backdrop plain =
                Backdrop::plain({int(random.bounded(256)), int(random.bounded(256)), int(random.bounded(256))});
            if (plain.worstRatio(c) >= AA)
                continue;
            ++pairs;
            const auto byOklch = nearestByLightness(c, plain);
            const auto byHsl = nearestByHslLightness(c, plain);
            QVERIFY(byOklch && byHsl);
            QVERIFY(plain.worstRatio(*byOklch) >= AA);
            oklchSum += apart(c, *byOklch);
            hslSum += apart(c, *byHsl);
        }
        QVERIFY2(oklchSum < hslSum, qPrintable(QStringLiteral("%1 against %2").arg(oklchSum).arg(hslSum)));
    }

    void fixOfTheDefaults()
    {
        QCOMPARE(nearestByLightness(activeLink, Backdrop::plain(back)), (Rgb{198, 0, 0}));
        // A color that reaches AA already stays as it is.
        QCOMPARE(nearestByLightness(text, Backdrop::plain(back)), text);
        QCOMPARE(nearestByLightness(newLink, Backdrop::plain(back)), newLink);
    }

    void plainBackgroundsAlwaysHaveAFix()
    {
        // Black or white reaches at least 4.58:1 on any plain color, mid
        // greys included, so the fix is there for every color.
        for (int v = 0; v < 256; ++v) {
            const Backdrop plain = Backdrop::plain({v, v, v});
            const auto fixed = nearestByLightness({v, v, v}, plain);
            QVERIFY(fixed.has_value());
            QVERIFY(plain.worstRatio(*fixed) >= AA);
        }
        // On mid grey the nearer end wins, here the light one, short of white.
        QCOMPARE(nearestByLightness({130, 130, 130}, Backdrop::plain({118, 118, 118})), (Rgb{254, 254, 254}));
    }

    void impossibleOverMidGreyImage()
    {
        // Two close mid greys: black fails against the lighter, white against the darker.
        const Backdrop midGrey = image({{116, 116, 116}, {120, 120, 120}});
        for (Rgb c : {black, white, activeLink, text, newLink, Rgb{118, 118, 118}})
            QCOMPARE(nearestByLightness(c, midGrey), std::nullopt);
    }

    void fixOverABlackAndWhiteImage()
    {
        // Only a middle lightness stands off both black and white pixels.
        const Backdrop checker = image({black, white});
        QVERIFY(checker.worstRatio(activeLink) >= AA);
        const Rgb red{255, 0, 0};
        QVERIFY(checker.worstRatio(red) < AA);
        QCOMPARE(nearestByLightness(red, checker), activeLink);
        QCOMPARE(nearestByLightness({150, 150, 150}, checker), (Rgb{118, 118, 118}));
    }
};

QTEST_MAIN(TestContrast)
#include "tst_contrast.moc"
