// Any bytes as a pasted color (every CSS Color 4 form), an attribute's color
// and a page: every color read lies in 0..255, only the empty text and "transparent" give an
// attribute no color, and our own tag, page and CSS read back exactly.
#include "color/colortext.h"
#include "color/rgb.h"
#include "fuzzsupport.h"
#include "output/bodytag.h"
#include "output/cssoutput.h"
#include "output/htmltext.h"
#include "output/pagecolors.h"
#include "output/pagetext.h"

#include <algorithm>
#include <fuzzer/FuzzedDataProvider.h>

namespace {

using color::Rgb;

bool inRange(const std::optional<Rgb> &c)
{
    const auto ok = [](int v) { return v >= 0 && v <= 255; };
    return !c || (ok(c->red) && ok(c->green) && ok(c->blue));
}

bool inRange(const output::ReadColors &read)
{
    return std::all_of(read.colors.begin(), read.colors.end(), [](const auto &c) { return inRange(c); });
}

QString asciiBlanksTrimmed(const QString &text)
{
    qsizetype first = 0, last = text.size();
    const auto blank = [](QChar ch) { return ch == u' ' || ch == u'\t' || ch == u'\n' || ch == u'\r' || ch == u'\f'; };
    while (first < last && blank(text[first]))
        ++first;
    while (last > first && blank(text[last - 1]))
        --last;
    return text.mid(first, last - first);
}

QString asciiLower(QString text)
{
    for (QChar &ch : text)
        if (ch.unicode() >= 'A' && ch.unicode() <= 'Z')
            ch = QChar(char16_t(ch.unicode() + 32));
    return text;
}

// Five colors and an image name from the input; our writers' forms of them
// must read back as they were.
void ourOwnTextReadsBack(const std::uint8_t *data, std::size_t size)
{
    FuzzedDataProvider provider(data, size);
    Rgb colors[5];
    QString hex[5];
    for (int i = 0; i < 5; ++i) {
        colors[i] = {provider.ConsumeIntegral<std::uint8_t>(), provider.ConsumeIntegral<std::uint8_t>(),
                     provider.ConsumeIntegral<std::uint8_t>()};
        hex[i] = color::hexColor(colors[i].red, colors[i].green, colors[i].blue);
        for (const QString &copy : output::colorCopyFormats(hex[i]))
            FUZZ_REQUIRE(color::colorFromText(copy) == colors[i]);
    }
    const std::string nameBytes = provider.ConsumeRemainingBytesAsString();
    // No file name holds NUL; a lone surrogate is no character.
    QString image = QString::fromUtf8(nameBytes.data(), qsizetype(nameBytes.size()));
    image.remove(QChar(0));

    const PageColors css{.back = hex[0],
                         .text = hex[1],
                         .newLink = hex[2],
                         .visitedLink = hex[3],
                         .activeLink = hex[4],
                         .imageName = image};
    // The colors were drawn in the order a page names them.
    output::ReadColors expected;
    for (std::size_t i = 0; i < pageOrder().size(); ++i)
        expected[pageOrder()[i]] = colors[i];
    if (!image.isEmpty())
        expected.background = image;
    const QString sheet = output::cssStyleBlock(css);
    FUZZ_REQUIRE(output::colorsFromCss(sheet) == expected);

    // The page keeps its lines apart, so a line break in the name would not
    // come back as it was.
    // A browser reads a page declared ISO-8859-1 as windows-1252, so C1 controls
    // written as bytes come back as other characters.
    for (const QChar ch : image)
        if (ch == u'\r' || ch == u'\n' || ch == QChar::LineSeparator || ch == QChar::ParagraphSeparator
            || (ch.unicode() >= 0x80 && ch.unicode() <= 0x9F))
            return;
    // The reader passes control characters through the parser as U+100001 to
    // U+10009F; beside a control character, those code points are ambiguous.
    for (const uint code : image.toUcs4())
        if (code >= 0x100000 && code <= 0x10009F)
            return;
    const QByteArray page = latin1WithReferences(pageText(QStringLiteral("Ann"), image, bodyTag(css)));
    expected.background = image;
    FUZZ_REQUIRE(output::readPageColors(page) == expected);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString text = fuzz::textFrom(data, size);

    const auto pasted = color::colorFromText(text);
    FUZZ_REQUIRE(inRange(pasted));
    const auto css = color::cssColor(text.trimmed());
    FUZZ_REQUIRE(inRange(css));
    FUZZ_REQUIRE(!css || pasted == css);

    // Every CSS Color 4 form: in range, and refused by the opaque readers
    // exactly where it is translucent.
    const auto opaque = [](const std::optional<color::ReadColor> &c) {
        return c && !c->translucent ? std::optional<Rgb>(c->rgb) : std::nullopt;
    };
    const auto value = color::cssColorValue(text);
    FUZZ_REQUIRE(!value || inRange(value->rgb));
    FUZZ_REQUIRE(color::cssColor(text) == opaque(value));
    FUZZ_REQUIRE(pasted == opaque(color::pastedColor(text)));

    const auto legacy = color::legacyColor(text);
    FUZZ_REQUIRE(inRange(legacy));
    // "transparent" in ASCII case only: a long s or a Kelvin sign makes a color.
    FUZZ_REQUIRE(legacy.has_value() == !(text.isEmpty() || asciiLower(asciiBlanksTrimmed(text)) == u"transparent"));

    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    if (const auto read = output::readPageColors(bytes))
        FUZZ_REQUIRE(inRange(*read));
    FUZZ_REQUIRE(inRange(output::colorsFromCss(text)));

    ourOwnTextReadsBack(data, size);
    return 0;
}
