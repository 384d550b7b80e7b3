// Prints, for each page file named, one JSON line: the body element's color
// attributes as our reader's parser builds them, and the colors read.
// tests/output/pagecorpus.py compares the attributes with another parser's.
#include "output/pagecolors.h"
#include "output/pageencoding.h"
#include "output/pageparse.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

int main(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        QFile file(QString::fromLocal8Bit(argv[i]));
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "pagebody: cannot read %s\n", argv[i]);
            return 1;
        }
        const QByteArray page = file.readAll();
        const output::ParsedPage parsed = output::parsePage(output::pageAsUtf8(page));
        QJsonObject attributes;
        for (const auto &[name, value] : parsed.bodyAttributes)
            if (name == u"bgcolor" || name == u"text" || name == u"link" || name == u"vlink" || name == u"alink"
                || name == u"background")
                attributes.insert(name, value);
        QJsonObject line{{QStringLiteral("file"), QString::fromLocal8Bit(argv[i])},
                         {QStringLiteral("attributes"), attributes}};
        if (const auto read = output::readPageColors(page)) {
            QJsonObject colors;
            for (const ColorTargetInfo &t : colorTargets)
                if (const auto &c = (*read)[t.target])
                    colors.insert(
                        QLatin1String(t.attribute).toString().toLower(),
                        QStringLiteral("#%1").arg((c->red << 16) | (c->green << 8) | c->blue, 6, 16, QLatin1Char('0')));
            line.insert(QStringLiteral("colors"), colors);
        }
        std::fputs(QJsonDocument(line).toJson(QJsonDocument::Compact).constData(), stdout);
        std::fputc('\n', stdout);
    }
    return 0;
}
