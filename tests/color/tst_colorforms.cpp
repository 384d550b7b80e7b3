// Our color spaces, gamut mapping, color text and serialisations against a
// table written by an independent implementation (colorjs.io, and a browser
// engine for which color texts CSS takes; see
// tests/color/reference/make-colorjs-table.mjs).
#include "color/colorspaces.h"
#include "color/colortext.h"

#include <QFile>
#include <QTest>

#include <cmath>

using namespace color;

namespace {

struct Row {
    int line = 0;
    QStringList fields;
};

const std::vector<Row> &table()
{
    static const std::vector<Row> rows = [] {
        std::vector<Row> out;
        QFile file(QStringLiteral(COLORJS_TABLE));
        if (!file.open(QIODevice::ReadOnly))
            qFatal("cannot read %s", COLORJS_TABLE);
        int line = 0;
        while (!file.atEnd()) {
            ++line;
            const QString text = QString::fromUtf8(file.readLine()).chopped(1);
            if (!text.startsWith(u'#'))
                out.push_back({line, text.split(u'\t')});
        }
        return out;
    }();
    return rows;
}

std::vector<double> numbers(const QString &field)
{
    std::vector<double> out;
    for (const QString &part : field.split(u' ', Qt::SkipEmptyParts))
        out.push_back(part.toDouble());
    return out;
}

QString unescaped(const QString &text)
{
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const QChar next = text[++i];
        out += next == u't' ? QChar(u'\t') : next == u'n' ? QChar(u'\n') : next == u'r' ? QChar(u'\r') : next;
    }
    return out;
}

// Within a millionth of a step of the half way between two 8-bit values (or
// two written decimals): there the last bit of a double decides.
bool nearHalf(double value, double scale)
{
    const double x = value * scale;
    return std::abs(x - std::floor(x) - 0.5) < 1e-6;
}

bool nearHalf(const std::vector<double> &values, double scale)
{
    return std::any_of(values.begin(), values.end(), [scale](double v) { return nearHalf(v, scale); });
}

Rgb eightBit(const std::vector<double> &c)
{
    return toRgb({c[0], c[1], c[2]});
}

QString shown(Rgb c)
{
    return hexColor(c.red, c.green, c.blue);
}

double hueApart(double a, double b)
{
    const double d = std::fmod(std::abs(a - b), 360.0);
    return std::min(d, 360 - d);
}

// The color of `coords` in `space`, the way the text of that space reads.
Srgb srgbOf(const QString &space, const std::vector<double> &v)
{
    if (space == u"hsl")
        return srgbFromHsl({v[0], v[1] / 100, v[2] / 100});
    if (space == u"hwb")
        return srgbFromHwb(v[0], v[1] / 100, v[2] / 100);
    if (space == u"lab")
        return srgbFromXyz(xyzFromLab({v[0], v[1], v[2]}));
    if (space == u"lch")
        return srgbFromXyz(xyzFromLab(labFromLch(v[0], v[1], v[2])));
    if (space == u"oklab")
        return srgbFromOklab({v[0], v[1], v[2]});
    if (space == u"oklch")
        return srgbFromOklch({v[0], v[1], v[2]});
    if (space == u"p3")
        return srgbFromXyz(xyzFromDisplayP3({v[0], v[1], v[2]}));
    if (space == u"srgb")
        return {v[0], v[1], v[2]};
    qFatal("unknown space %s", qPrintable(space));
}

} // namespace

class TestColorForms : public QObject {
    Q_OBJECT
private slots:
    void tableIsThere() { QVERIFY(table().size() >= 5000); }

    // sRGB to HSL and OKLCH, and our copies in hsl() and oklch(): the same
    // text as the reference writes, read back by colorjs and by us to the
    // same color.
    void cylindricalForms()
    {
        int rows = 0, sameText = 0, boundary = 0;
        for (const Row &row : table()) {
            const QString kind = row.fields[0];
            if (kind != u"hsl" && kind != u"oklch")
                continue;
            ++rows;
            const std::vector<double> rgb = numbers(row.fields[1]);
            const Rgb c{int(rgb[0]), int(rgb[1]), int(rgb[2])};
            const std::vector<double> ref = numbers(row.fields[2]);
            const QString where = QStringLiteral("line %1: %2").arg(row.line).arg(row.fields.join(u' '));
            QString ours;
            std::vector<double> scaledRef;
            if (kind == u"hsl") {
                const Hsl hsl = hslFromSrgb(toSrgb(c));
                QVERIFY2(std::abs(hsl.s * 100 - ref[1]) < 1e-9 && std::abs(hsl.l * 100 - ref[2]) < 1e-9,
                         qPrintable(where));
                if (hsl.s > 1e-9)
                    QVERIFY2(hueApart(hsl.h, ref[0]) < 1e-9, qPrintable(where));
                ours = hslText(c);
                scaledRef = {ref[0] * 10, ref[1] * 10, ref[2] * 10};
            } else {
                const Oklch lch = oklchFromSrgb(toSrgb(c));
                QVERIFY2(std::abs(lch.l - ref[0]) < 1e-9 && std::abs(lch.c - ref[1]) < 1e-9, qPrintable(where));
                if (lch.c > 1e-4)
                    QVERIFY2(hueApart(lch.h, ref[2]) < 1e-6, qPrintable(where));
                ours = oklchText(c);
                scaledRef = {ref[0] * 1000, ref[1] * 1000, ref[2] * 10};
            }
            QVERIFY2(row.fields[4] == u"1", qPrintable(where + QStringLiteral(": colorjs reads it otherwise")));
            const auto back = cssColorValue(ours);
            QVERIFY2(back && back->rgb == c && !back->translucent,
                     qPrintable(where + QStringLiteral(": ours, %1, reads back otherwise").arg(ours)));
            if (ours == row.fields[3]) {
                ++sameText;
                continue;
            }
            // Another text only where a value lies on the half way between
            // two written ones, or the finer one.
            QVERIFY2(nearHalf(scaledRef, 1) || nearHalf(scaledRef, 10),
                     qPrintable(where + QStringLiteral(": ours %1").arg(ours)));
            ++boundary;
        }
        qInfo("hsl() and oklch() texts: %d of %d as the reference writes them, %d others on a rounding boundary; "
              "all read back to their color",
              sameText, rows, boundary);
        QVERIFY(rows >= 3000);
    }

    // Coordinates of every space brought into sRGB.
    void gamutMapping()
    {
        int rows = 0, same = 0, boundary = 0;
        for (const Row &row : table()) {
            if (row.fields[0] != u"map")
                continue;
            ++rows;
            const std::vector<double> coords = numbers(row.fields[2]);
            const std::vector<double> ref = numbers(row.fields[3]);
            const Rgb ours = toRgb(mapIntoSrgb(srgbOf(row.fields[1], coords)).color);
            if (ours == eightBit(ref)) {
                ++same;
                continue;
            }
            QVERIFY2(nearHalf(ref, 255),
                     qPrintable(QStringLiteral("line %1: %2 gives %3, the reference %4")
                                    .arg(row.line)
                                    .arg(row.fields.join(u' '), shown(ours), shown(eightBit(ref)))));
            ++boundary;
        }
        qInfo("gamut mapping: %d of %d colors as the reference, %d others on a rounding boundary", same, rows,
              boundary);
        QVERIFY(rows >= 2000);
    }

    // Color text: accepted or refused as the browser engine does, and the
    // same color as the reference and as the browser computes it.
    void colorText()
    {
        // A color to CSS, but it names none of its own: the text around it
        // decides, and a paste has none.
        const QStringList refusedOnPurpose{QStringLiteral("currentcolor")};
        int rows = 0, accepted = 0, refused = 0, onPurpose = 0, grammarDiffers = 0, colorjsDiffers = 0;
        int same = 0, boundary = 0, browserRgb = 0, browserSame = 0, browserBoundary = 0;
        for (const Row &row : table()) {
            if (row.fields[0] != u"parse")
                continue;
            ++rows;
            const QString text = unescaped(row.fields[1]);
            const bool grammar = row.fields[2] == u"1";
            const bool browser = row.fields[3] == u"1";
            const QString browserColor = row.fields[4];
            if (grammar != browser)
                ++grammarDiffers;
            if (browser != (row.fields[5] == u"ok"))
                ++colorjsDiffers;
            const std::optional<ReadColor> read = cssColorValue(text);
            const QString where = QStringLiteral("line %1: \"%2\" (%3)").arg(row.line).arg(text, row.fields[8]);
            if (refusedOnPurpose.contains(text)) {
                QVERIFY2(!read, qPrintable(where));
                ++onPurpose;
                continue;
            }
            QVERIFY2(read.has_value() == browser,
                     qPrintable(where + QStringLiteral(": the browser says %1").arg(browser)));
            if (!browser) {
                ++refused;
                continue;
            }
            ++accepted;
            // The browser writes its alpha only where it is below 1.
            const bool translucent = browserColor.startsWith(u"rgba(") || browserColor.contains(u" / ");
            QVERIFY2(read->translucent == translucent, qPrintable(where + QStringLiteral(": ") + browserColor));
            if (browserColor.startsWith(u"rgb")) {
                ++browserRgb;
                const QString inside = browserColor.section(u'(', 1).chopped(1);
                const std::vector<double> v = numbers(QString(inside).replace(u',', u' '));
                const Rgb theirs{int(std::lround(v[0])), int(std::lround(v[1])), int(std::lround(v[2]))};
                if (read->rgb == theirs)
                    ++browserSame;
                else if (grammar && nearHalf(numbers(row.fields[6]), 255))
                    ++browserBoundary;
                else
                    QFAIL(
                        qPrintable(where + QStringLiteral(": %1, the browser %2").arg(shown(read->rgb), browserColor)));
            }
            if (!grammar)
                continue;
            QVERIFY2(translucent == (row.fields[7].toDouble() < 1), qPrintable(where));
            const std::vector<double> ref = numbers(row.fields[6]);
            if (read->rgb == eightBit(ref)) {
                ++same;
                continue;
            }
            QVERIFY2(nearHalf(ref, 255),
                     qPrintable(
                         where + QStringLiteral(": %1, the reference %2").arg(shown(read->rgb), shown(eightBit(ref)))));
            ++boundary;
        }
        qInfo("color text: %d texts, %d accepted and %d refused as the browser does, %d refused on purpose "
              "(the grammar here takes %d otherwise, colorjs %d); %d accepted ones the reference's color, "
              "%d others on a rounding boundary; of %d the browser writes in rgb(), %d the same, %d on a boundary",
              rows, accepted, refused, onPurpose, grammarDiffers, colorjsDiffers, same, boundary, browserRgb,
              browserSame, browserBoundary);
        QVERIFY(rows >= 1000);
    }
};

QTEST_MAIN(TestColorForms)
#include "tst_colorforms.moc"
