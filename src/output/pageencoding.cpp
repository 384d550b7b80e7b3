#include "output/pageencoding.h"

#include "platform/ascii.h"

#include <QStringDecoder>

#include <algorithm>
#include <utility>

namespace output {

namespace {

using ascii::isBlank;
using ascii::toLower;

QByteArray asciiLowered(QByteArrayView text)
{
    return ascii::lowered(QByteArray(text.data(), text.size()));
}

// The labels read, each with the decoder's name for its encoding.
struct Label {
    const char *label;
    const char *encoding;
};
constexpr Label labels[] = {
    {"unicode-1-1-utf-8", "UTF-8"},
    {"unicode11utf8", "UTF-8"},
    {"unicode20utf8", "UTF-8"},
    {"utf-8", "UTF-8"},
    {"utf8", "UTF-8"},
    {"x-unicode20utf8", "UTF-8"},
    // ASCII and ISO-8859-1 are read as windows-1252, as browsers do.
    {"ansi_x3.4-1968", "windows-1252"},
    {"ascii", "windows-1252"},
    {"cp1252", "windows-1252"},
    {"cp819", "windows-1252"},
    {"csisolatin1", "windows-1252"},
    {"ibm819", "windows-1252"},
    {"iso-8859-1", "windows-1252"},
    {"iso-ir-100", "windows-1252"},
    {"iso8859-1", "windows-1252"},
    {"iso88591", "windows-1252"},
    {"iso_8859-1", "windows-1252"},
    {"iso_8859-1:1987", "windows-1252"},
    {"l1", "windows-1252"},
    {"latin1", "windows-1252"},
    {"us-ascii", "windows-1252"},
    {"windows-1252", "windows-1252"},
    {"x-cp1252", "windows-1252"},
    {"csisolatin2", "ISO-8859-2"},
    {"iso-8859-2", "ISO-8859-2"},
    {"iso-ir-101", "ISO-8859-2"},
    {"iso8859-2", "ISO-8859-2"},
    {"iso88592", "ISO-8859-2"},
    {"iso_8859-2", "ISO-8859-2"},
    {"iso_8859-2:1987", "ISO-8859-2"},
    {"l2", "ISO-8859-2"},
    {"latin2", "ISO-8859-2"},
    {"csisolatincyrillic", "ISO-8859-5"},
    {"cyrillic", "ISO-8859-5"},
    {"iso-8859-5", "ISO-8859-5"},
    {"iso-ir-144", "ISO-8859-5"},
    {"iso8859-5", "ISO-8859-5"},
    {"iso88595", "ISO-8859-5"},
    {"iso_8859-5", "ISO-8859-5"},
    {"iso_8859-5:1988", "ISO-8859-5"},
    {"arabic", "ISO-8859-6"},
    {"iso-8859-6", "ISO-8859-6"},
    {"iso8859-6", "ISO-8859-6"},
    {"iso88596", "ISO-8859-6"},
    {"iso_8859-6", "ISO-8859-6"},
    {"greek", "ISO-8859-7"},
    {"iso-8859-7", "ISO-8859-7"},
    {"iso8859-7", "ISO-8859-7"},
    {"iso88597", "ISO-8859-7"},
    {"iso_8859-7", "ISO-8859-7"},
    {"hebrew", "ISO-8859-8"},
    {"iso-8859-8", "ISO-8859-8"},
    {"iso8859-8", "ISO-8859-8"},
    {"iso88598", "ISO-8859-8"},
    {"iso_8859-8", "ISO-8859-8"},
    {"iso-8859-8-i", "ISO-8859-8-I"},
    {"iso-8859-10", "ISO-8859-10"},
    {"latin6", "ISO-8859-10"},
    {"iso-8859-13", "ISO-8859-13"},
    {"iso-8859-14", "ISO-8859-14"},
    {"iso-8859-15", "ISO-8859-15"},
    {"iso8859-15", "ISO-8859-15"},
    {"iso885915", "ISO-8859-15"},
    {"iso_8859-15", "ISO-8859-15"},
    {"l9", "ISO-8859-15"},
    {"cskoi8r", "KOI8-R"},
    {"koi", "KOI8-R"},
    {"koi8", "KOI8-R"},
    {"koi8-r", "KOI8-R"},
    {"koi8_r", "KOI8-R"},
    {"koi8-ru", "KOI8-U"},
    {"koi8-u", "KOI8-U"},
    {"ibm866", "IBM866"},
    {"866", "IBM866"},
    {"cp866", "IBM866"},
    {"csmacintosh", "macintosh"},
    {"mac", "macintosh"},
    {"macintosh", "macintosh"},
    {"x-mac-roman", "macintosh"},
    {"x-mac-cyrillic", "x-mac-cyrillic"},
    {"x-mac-ukrainian", "x-mac-cyrillic"},
    {"dos-874", "windows-874"},
    {"iso-8859-11", "windows-874"},
    {"tis-620", "windows-874"},
    {"windows-874", "windows-874"},
    {"cp1250", "windows-1250"},
    {"windows-1250", "windows-1250"},
    {"x-cp1250", "windows-1250"},
    {"cp1251", "windows-1251"},
    {"windows-1251", "windows-1251"},
    {"x-cp1251", "windows-1251"},
    {"cp1253", "windows-1253"},
    {"windows-1253", "windows-1253"},
    {"x-cp1253", "windows-1253"},
    {"cp1254", "windows-1254"},
    {"iso-8859-9", "windows-1254"},
    {"latin5", "windows-1254"},
    {"windows-1254", "windows-1254"},
    {"x-cp1254", "windows-1254"},
    {"cp1255", "windows-1255"},
    {"windows-1255", "windows-1255"},
    {"x-cp1255", "windows-1255"},
    {"cp1256", "windows-1256"},
    {"windows-1256", "windows-1256"},
    {"x-cp1256", "windows-1256"},
    {"cp1257", "windows-1257"},
    {"windows-1257", "windows-1257"},
    {"x-cp1257", "windows-1257"},
    {"cp1258", "windows-1258"},
    {"windows-1258", "windows-1258"},
    {"x-cp1258", "windows-1258"},
    {"chinese", "GBK"},
    {"csgb2312", "GBK"},
    {"csiso58gb231280", "GBK"},
    {"gb2312", "GBK"},
    {"gb_2312", "GBK"},
    {"gb_2312-80", "GBK"},
    {"gbk", "GBK"},
    {"iso-ir-58", "GBK"},
    {"x-gbk", "GBK"},
    {"gb18030", "gb18030"},
    {"big5", "Big5"},
    {"big5-hkscs", "Big5"},
    {"cn-big5", "Big5"},
    {"csbig5", "Big5"},
    {"x-x-big5", "Big5"},
    {"cseucpkdfmtjapanese", "EUC-JP"},
    {"euc-jp", "EUC-JP"},
    {"x-euc-jp", "EUC-JP"},
    {"csiso2022jp", "ISO-2022-JP"},
    {"iso-2022-jp", "ISO-2022-JP"},
    {"csshiftjis", "Shift_JIS"},
    {"ms932", "Shift_JIS"},
    {"ms_kanji", "Shift_JIS"},
    {"shift-jis", "Shift_JIS"},
    {"shift_jis", "Shift_JIS"},
    {"sjis", "Shift_JIS"},
    {"windows-31j", "Shift_JIS"},
    {"x-sjis", "Shift_JIS"},
    {"cseuckr", "EUC-KR"},
    {"csksc56011987", "EUC-KR"},
    {"euc-kr", "EUC-KR"},
    {"iso-ir-149", "EUC-KR"},
    {"korean", "EUC-KR"},
    {"ks_c_5601-1987", "EUC-KR"},
    {"ks_c_5601-1989", "EUC-KR"},
    {"ksc5601", "EUC-KR"},
    {"ksc_5601", "EUC-KR"},
    {"windows-949", "EUC-KR"},
    {"csunicode", "UTF-16LE"},
    {"iso-10646-ucs-2", "UTF-16LE"},
    {"ucs-2", "UTF-16LE"},
    {"unicode", "UTF-16LE"},
    {"unicodefeff", "UTF-16LE"},
    {"utf-16", "UTF-16LE"},
    {"utf-16le", "UTF-16LE"},
    {"unicodefffe", "UTF-16BE"},
    {"utf-16be", "UTF-16BE"},
    {"x-user-defined", "x-user-defined"},
};

// The HTML prescan, over bytes.
class Prescan {
public:
    explicit Prescan(QByteArrayView bytes) : m_b(bytes) {}

    std::optional<QByteArray> run()
    {
        while (m_pos < m_b.size()) {
            if (startsWith("<!--")) {
                // The dashes of "<!--" may be those of "-->".
                const qsizetype end = m_b.indexOf(QByteArrayView("-->"), m_pos + 2);
                if (end < 0)
                    return std::nullopt;
                m_pos = end + 3;
            } else if (startsWithLower("<meta") && m_pos + 5 < m_b.size()
                       && (isBlank(m_b[m_pos + 5]) || m_b[m_pos + 5] == '/')) {
                m_pos += 6;
                if (auto found = meta())
                    return found;
            } else if (m_b[m_pos] == '<' && m_pos + 1 < m_b.size()
                       && (letter(m_b[m_pos + 1])
                           || (m_b[m_pos + 1] == '/' && m_pos + 2 < m_b.size() && letter(m_b[m_pos + 2])))) {
                while (m_pos < m_b.size() && !isBlank(m_b[m_pos]) && m_b[m_pos] != '>')
                    ++m_pos;
                while (attribute())
                    ;
                if (m_pos < m_b.size())
                    ++m_pos;
            } else if (startsWith("<!") || startsWith("</") || startsWith("<?")) {
                const qsizetype end = m_b.indexOf('>', m_pos + 2);
                if (end < 0)
                    return std::nullopt;
                m_pos = end + 1;
            } else {
                ++m_pos;
            }
        }
        return std::nullopt;
    }

private:
    static bool letter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
    bool startsWith(const char *text) const { return m_b.sliced(m_pos).startsWith(QByteArrayView(text)); }
    bool startsWithLower(const char *text) const
    {
        const qsizetype n = qsizetype(qstrlen(text));
        return m_pos + n <= m_b.size() && asciiLowered(m_b.sliced(m_pos, n)) == text;
    }

    std::optional<QByteArray> meta()
    {
        std::vector<QByteArray> seen;
        bool gotPragma = false;
        int needPragma = -1; // unset, false, true
        std::optional<QByteArray> charset;
        while (auto attr = attribute()) {
            if (std::find(seen.begin(), seen.end(), attr->first) != seen.end())
                continue;
            seen.push_back(attr->first);
            if (attr->first == "http-equiv") {
                if (attr->second == "content-type")
                    gotPragma = true;
            } else if (attr->first == "content") {
                if (!charset) {
                    const auto label = charsetFromContent(attr->second);
                    if (label && (charset = encodingForLabel(*label)))
                        needPragma = 1;
                }
            } else if (attr->first == "charset") {
                // An unknown label is a failure that still ends the tag's search.
                charset = encodingForLabel(attr->second).value_or(QByteArray());
                needPragma = 0;
            }
        }
        if (needPragma < 0 || (needPragma == 1 && !gotPragma) || !charset || charset->isEmpty())
            return std::nullopt;
        if (charset->startsWith("UTF-16"))
            return QByteArray("UTF-8");
        if (*charset == "x-user-defined")
            return QByteArray("windows-1252");
        return charset;
    }

    // "Get an attribute": name and value, lower-cased; nothing at ">" or the end.
    std::optional<std::pair<QByteArray, QByteArray>> attribute()
    {
        while (m_pos < m_b.size() && (isBlank(m_b[m_pos]) || m_b[m_pos] == '/'))
            ++m_pos;
        if (m_pos >= m_b.size() || m_b[m_pos] == '>')
            return std::nullopt;
        QByteArray name, value;
        for (;; ++m_pos) {
            if (m_pos >= m_b.size())
                return std::nullopt;
            const char c = m_b[m_pos];
            if (c == '=' && !name.isEmpty()) {
                ++m_pos;
                break;
            }
            if (isBlank(c)) {
                while (m_pos < m_b.size() && isBlank(m_b[m_pos]))
                    ++m_pos;
                if (m_pos >= m_b.size())
                    return std::nullopt;
                if (m_b[m_pos] != '=')
                    return std::pair{name, value};
                ++m_pos;
                break;
            }
            if (c == '/' || c == '>')
                return std::pair{name, value};
            name += toLower(c);
        }
        while (m_pos < m_b.size() && isBlank(m_b[m_pos]))
            ++m_pos;
        if (m_pos >= m_b.size())
            return std::nullopt;
        const char quote = m_b[m_pos];
        if (quote == '"' || quote == '\'') {
            for (++m_pos;; ++m_pos) {
                if (m_pos >= m_b.size())
                    return std::nullopt;
                if (m_b[m_pos] == quote) {
                    ++m_pos;
                    return std::pair{name, value};
                }
                value += toLower(m_b[m_pos]);
            }
        }
        if (quote == '>')
            return std::pair{name, value};
        for (;; ++m_pos) {
            if (m_pos >= m_b.size())
                return std::nullopt;
            const char c = m_b[m_pos];
            if (isBlank(c) || c == '>')
                return std::pair{name, value};
            value += toLower(c);
        }
    }

    // "Extracting a character encoding from a meta element".
    static std::optional<QByteArray> charsetFromContent(const QByteArray &s)
    {
        qsizetype pos = 0;
        for (;;) {
            const qsizetype at = s.indexOf("charset", pos);
            if (at < 0)
                return std::nullopt;
            pos = at + 7;
            while (pos < s.size() && isBlank(s[pos]))
                ++pos;
            if (pos < s.size() && s[pos] == '=')
                break;
        }
        ++pos;
        while (pos < s.size() && isBlank(s[pos]))
            ++pos;
        if (pos >= s.size())
            return std::nullopt;
        const char quote = s[pos];
        if (quote == '"' || quote == '\'') {
            const qsizetype end = s.indexOf(quote, pos + 1);
            if (end < 0)
                return std::nullopt;
            return s.mid(pos + 1, end - pos - 1);
        }
        qsizetype end = pos;
        while (end < s.size() && !isBlank(s[end]) && s[end] != ';')
            ++end;
        return s.mid(pos, end - pos);
    }

    QByteArrayView m_b;
    qsizetype m_pos = 0;
};

} // namespace

std::optional<QByteArray> encodingForLabel(QByteArrayView label)
{
    while (!label.isEmpty() && isBlank(label.front()))
        label = label.sliced(1);
    while (!label.isEmpty() && isBlank(label.back()))
        label.chop(1);
    const QByteArray lower = asciiLowered(label);
    for (const Label &known : labels)
        if (lower == known.label)
            return QByteArray(known.encoding);
    return std::nullopt;
}

std::optional<QByteArray> prescannedEncoding(QByteArrayView page)
{
    return Prescan(page.first(std::min<qsizetype>(page.size(), 1024))).run();
}

PageEncoding sniffEncoding(QByteArrayView page)
{
    if (page.startsWith("\xEF\xBB\xBF"))
        return {"UTF-8", 3};
    if (page.startsWith("\xFE\xFF"))
        return {"UTF-16BE", 2};
    if (page.startsWith("\xFF\xFE"))
        return {"UTF-16LE", 2};
    if (auto declared = prescannedEncoding(page))
        return {std::move(*declared), 0};
    return {"windows-1252", 0};
}

QByteArray pageAsUtf8(const QByteArray &page)
{
    const PageEncoding encoding = sniffEncoding(page);
    const QByteArrayView bytes = QByteArrayView(page).sliced(encoding.bomLength);
    if (encoding.name == "UTF-8")
        return bytes.toByteArray(); // the parser reads UTF-8 itself
    QStringDecoder decoder(encoding.name.constData(), QStringConverter::Flag::ConvertInitialBom);
    if (!decoder.isValid())
        decoder = QStringDecoder("windows-1252", QStringConverter::Flag::ConvertInitialBom);
    if (encoding.name != "Shift_JIS")
        return QString(decoder(bytes)).toUtf8();
    // The system's Shift_JIS gives U+001A for a lone 0x7F or 0x80, which the
    // Encoding standard keeps as U+007F and U+0080; neither is ever the
    // first byte of a pair, so the text is decoded around them.
    QString text;
    qsizetype start = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if ((b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC)) {
            ++i; // a lead byte and its trail
            continue;
        }
        if (b != 0x7F && b != 0x80)
            continue;
        text += decoder(bytes.sliced(start, i - start));
        text += QChar(char16_t(b));
        start = i + 1;
    }
    if (start < bytes.size())
        text += decoder(bytes.sliced(start));
    return text.toUtf8();
}

} // namespace output
