// Lays out and paints an 8 KB markup text with 100 links and 10 pictures in
// the markup control, and the same content as HTML in Qt's rich-text engine
// (QTextDocument, layout plus draw), in one run. Every repaint of the control
// runs a whole layout pass, so a pass has to stay well under what Qt's
// engine needs for the same page.

#include "markup/parser_control.h"
#include "platform/paths.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QWidget>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kWidth = 450; // the scroll boxes' width
constexpr int kHeight = 255;
constexpr size_t kTextSize = 8192;
constexpr int kLinks = 100;
constexpr int kPictures = 10;

const char* const kWords[] = {"de",      "reeks",    "getallen", "volgende", "figuur", "welk",
                              "woord",   "past",     "niet",     "bij",      "andere", "vier",
                              "kies",    "antwoord", "tussen",   "twee",     "vragen", "test",
                              "logisch", "patroon",  "verband",  "zoek",     "regel",  "een"};

struct Content {
    std::string markup;
    QString html;
};

// Sentences of words with bold, italic and larger passages, a link every few
// words, a picture now and then and a line break after some sentences; the
// same content as HTML, built alongside.
Content Generate(const QString& pictureDir) {
    Content c;
    unsigned seed = 7;
    auto next = [&](unsigned n) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) % n;
    };
    int links = 0, pictures = 0, words = 0;
    c.html = QStringLiteral("<html><body>");
    while (c.markup.size() < kTextSize || links < kLinks || pictures < kPictures) {
        const std::string word = kWords[next(std::size(kWords))];
        const QString qword = QString::fromLatin1(word);
        ++words;
        if (links < kLinks && words % 7 == 0) {
            const std::string target = "choice#" + std::to_string(links++);
            const std::string second = kWords[next(std::size(kWords))];
            c.markup += "<A HREF=\"" + target + "\">" + word + " " + second + "</A> ";
            c.html += QStringLiteral("<a href=\"%1\">%2 %3</a> ")
                          .arg(QString::fromLatin1(target), qword, QString::fromLatin1(second));
        } else if (pictures < kPictures && words % 61 == 0) {
            const std::string name = "pic" + std::to_string(pictures++) + ".png";
            c.markup += "<IMG NAME=\"" + name + "\" WIDTH=60>\r\n";
            c.html += QStringLiteral("<img src=\"%1/%2\" width=\"60\" height=\"40\"><br>")
                          .arg(pictureDir, QString::fromLatin1(name));
        } else if (words % 11 == 0) {
            c.markup += "<B>" + word + "</B> ";
            c.html += QStringLiteral("<b>%1</b> ").arg(qword);
        } else if (words % 13 == 0) {
            c.markup += "<I>" + word + "</I> ";
            c.html += QStringLiteral("<i>%1</i> ").arg(qword);
        } else if (words % 29 == 0) {
            c.markup += "<FONT SIZE=\"+2\">" + word + "</FONT SIZE=\"-2\"> ";
            c.html += QStringLiteral("<span style=\"font-size:12pt\">%1</span> ").arg(qword);
        } else {
            c.markup += word + " ";
            c.html += qword + QLatin1Char(' ');
        }
        if (words % 37 == 0) {
            c.markup += "\r\n";
            c.html += QStringLiteral("<br>");
        }
    }
    c.html += QStringLiteral("</body></html>");
    return c;
}

QByteArray Png(int width, int height, int shade) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(qRgb(shade, 80, 200 - shade));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// Median of `runs` timings of `iterations` calls, in milliseconds per call.
double Time(int runs, int iterations, const std::function<void()>& work) {
    std::vector<double> times;
    for (int r = 0; r < runs; ++r) {
        const auto start = Clock::now();
        for (int i = 0; i < iterations; ++i)
            work();
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count() /
                        iterations);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    QTemporaryDir dir;
    plat::SetProgramDir(dir.path());
    for (int i = 0; i < kPictures; ++i) {
        QFile file(dir.filePath(QStringLiteral("pic%1.png").arg(i)));
        if (file.open(QIODevice::WriteOnly))
            file.write(Png(90, 60, i * 20));
    }
    const Content content = Generate(dir.path());

    QFont font(QStringLiteral("Arial"));
    font.setPointSize(10);
    QFont linkFont = font;
    linkFont.setUnderline(true);

    // The control as the main window hosts it: 450 pixels wide.
    QWidget parent;
    parent.resize(kWidth, kHeight);
    auto* view = new GParserControl(&parent);
    view->setFont(font);
    view->SetHyperLinkFont(linkFont);
    view->resize(kWidth, 0);
    view->SetMarkupText(content.markup);
    const QSize size = view->size();
    QImage canvas(size, QImage::Format_RGB32);

    // "bench_markup profile" repeats only the control's pass, for a profiler.
    if (argc > 1 && QByteArray(argv[1]) == "profile") {
        for (int i = 0; i < 2000; ++i)
            view->render(&canvas);
        return 0;
    }
    const double ourRepaint = Time(7, 60, [&] { view->render(&canvas); });
    const double ourMeasure = Time(7, 60, [&] { view->Relayout(); });
    const double ourNewText = Time(7, 20, [&] {
        view->SetMarkupText(std::nullopt);
        view->SetMarkupText(content.markup);
        view->render(&canvas);
    });

    QTextDocument document;
    document.setDefaultFont(font);
    document.setDocumentMargin(2);
    document.setHtml(content.html);
    document.setTextWidth(kWidth);
    QImage qtCanvas(size, QImage::Format_RGB32);
    auto draw = [&](QTextDocument& doc) {
        (void)doc.size(); // lays out
        QPainter painter(&qtCanvas);
        doc.drawContents(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    };
    draw(document);
    const double qtRepaint = Time(7, 60, [&] {
        document.markContentsDirty(0, document.characterCount());
        draw(document);
    });
    const double qtDrawOnly = Time(7, 60, [&] {
        QPainter painter(&qtCanvas);
        document.drawContents(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    });
    const double qtNewText = Time(7, 20, [&] {
        QTextDocument doc;
        doc.setDefaultFont(font);
        doc.setDocumentMargin(2);
        doc.setHtml(content.html);
        doc.setTextWidth(kWidth);
        draw(doc);
    });

    std::printf("markup text: %zu bytes, %d links, %d pictures, %d x %d pixels\n",
                content.markup.size(), view->HyperLinks().Count(), view->Pictures().Count(),
                size.width(), size.height());
    std::printf("Qt document height: %.0f pixels\n", document.size().height());
    std::printf("%-44s %9s %9s %7s\n", "", "ours ms", "Qt ms", "ratio");
    std::printf("%-44s %9.3f %9.3f %7.3f\n", "pass (layout + paint) / Qt layout + draw", ourRepaint,
                qtRepaint, ourRepaint / qtRepaint);
    std::printf("%-44s %9.3f %9.3f %7.3f\n", "new text (measure + paint) / Qt parse+lay+draw",
                ourNewText, qtNewText, ourNewText / qtNewText);
    std::printf("%-44s %9.3f %9.3f\n", "measuring pass alone / Qt draw alone", ourMeasure,
                qtDrawOnly);
    const bool ok = ourRepaint <= qtRepaint / 2;
    std::printf("a pass costs %s half of Qt's layout and draw\n", ok ? "at most" : "MORE than");
    return 0;
}
