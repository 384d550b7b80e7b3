// Reading a page's colors: an ordinary 10 MB page and the hostile ones (one
// line, 1.9 million nested tags, 100,000 attributes, NUL bytes), each in a
// process of its own so that its peak memory is its own.
//
//   benchpage KIND RUNS     prints: page <TAB> measure <TAB> result <TAB> goal
#include "output/pagecolors.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QFile>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

constexpr qsizetype pageSize = 10 * 1024 * 1024;

QByteArray page(const char *kind)
{
    QByteArray p;
    p.reserve(pageSize + 64);
    if (!std::strcmp(kind, "ordinary")) {
        p = "<!DOCTYPE html><html><head><meta charset=utf-8><title>Notes</title>"
            "<style>body{background:#fdfdfd} a:visited{color:#551a8b}</style></head>"
            "<body bgcolor=#ffffff text=#000000 link=#0000ee>\n";
        for (int n = 0; p.size() < pageSize - 200; ++n)
            p += "<p class=\"note\">Some ordinary text with <a href=\"/notes/" + QByteArray::number(n)
                 + "\">a link</a>, <b>bold</b> and <i>slanted</i> words &amp; an entity.</p>\n";
        p += "</body></html>\n";
    } else if (!std::strcmp(kind, "late-style")) {
        // The same text with a style block and a second BODY tag at its end:
        // the parser gets its first part and those pieces.
        p = "<!DOCTYPE html><html><head><title>Notes</title></head><body bgcolor=#ffffff>\n";
        for (int n = 0; p.size() < pageSize - 200; ++n)
            p += "<p class=\"note\">Some ordinary text with <a href=\"/notes/" + QByteArray::number(n)
                 + "\">a link</a>, <b>bold</b> and <i>slanted</i> words &amp; an entity.</p>\n";
        p += "<style>a:visited{color:#551a8b}</style><body text=#000001></body></html>\n";
    } else if (!std::strcmp(kind, "one-line")) {
        p = "<body bgcolor=red>";
        p += QByteArray(pageSize - p.size(), 'x');
    } else if (!std::strcmp(kind, "nested")) {
        while (p.size() < pageSize - 20)
            p += "<div>";
        p += "<body text=blue>";
    } else if (!std::strcmp(kind, "attributes")) {
        p = "<body ";
        for (int i = 0; i < 100000; ++i)
            p += "a" + QByteArray::number(i) + "=1 ";
        p += "bgcolor=red>";
        p += QByteArray(pageSize - p.size(), ' ');
    } else if (!std::strcmp(kind, "nul")) {
        p = "<body bgcolor=red>";
        p += QByteArray(pageSize - p.size(), '\0');
    }
    return p;
}

double peakMegabytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: benchpage ordinary|late-style|one-line|nested|attributes|nul RUNS\n");
        return 2;
    }
    const QByteArray bytes = page(argv[1]);
    const int runs = std::max(1, std::atoi(argv[2]));
    std::vector<double> ms;
    bool read = true;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        read = read && output::readPageColors(bytes).has_value();
        ms.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    const bool ordinary = !std::strcmp(argv[1], "ordinary") || !std::strcmp(argv[1], "late-style");
    std::printf("page reading\t%s 10 MB page: median of %d\t%.1f ms (max %.1f ms)%s\t%s\n", argv[1], runs,
                ms[ms.size() / 2], ms.back(), read ? "" : ", NO COLORS", ordinary ? "< 300 ms" : "< 1000 ms");
    std::printf("page reading\t%s 10 MB page: peak memory (VmHWM)\t%.1f MB\t%s\n", argv[1], peakMegabytes(),
                ordinary ? "-" : "< 300 MB");
    return read ? 0 : 1;
}
