// Renders the manual from Markdown to an A4 PDF with page numbers, at build time:
//   tidewyn-manualpdf MANUAL.md OUTPUT.pdf
// Runs without a display (QT_QPA_PLATFORM=offscreen). Images are read from paths relative to
// the Markdown file and must all be there.
#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFormat>
#include <QTextFrame>
#include <QTextLayout>
#include <QTextList>
#include <QTextTable>
#include <cmath>
#include <cstdio>
#include <map>
#include <optional>
#include <vector>

namespace {
using Images = std::map<QString, QImage>;  // by their names in the Markdown

constexpr int kDpi = 300;
const QColor kHeadingColour(0x1f, 0x3a, 0x5f);
const QColor kRuleColour(0x9a, 0xa5, 0xb1);
const char* const kFooterTitle = "Tidewyn Vizoz: user's manual";

void setBlockCharFormat(QTextBlock block, double points, bool bold, const QColor& colour) {
    QTextCursor c(block);
    c.select(QTextCursor::BlockUnderCursor);
    c.movePosition(QTextCursor::StartOfBlock);
    c.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    QTextCharFormat f;
    f.setFontPointSize(points);
    f.setFontWeight(bold ? QFont::Bold : QFont::Normal);
    f.setForeground(colour);
    c.mergeCharFormat(f);
}

// Headings, paragraphs and tables in the manual's style.
void styleDocument(QTextDocument& doc) {
    bool title = true;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        QTextBlockFormat bf = b.blockFormat();
        QTextCursor c(b);
        switch (bf.headingLevel()) {
            case 1:
                if (title) {
                    setBlockCharFormat(b, 28, true, kHeadingColour);
                    bf.setAlignment(Qt::AlignHCenter);
                    bf.setTopMargin(120);
                    bf.setBottomMargin(12);
                    title = false;
                } else {
                    setBlockCharFormat(b, 17, true, kHeadingColour);
                    bf.setTopMargin(22);
                    bf.setBottomMargin(8);
                }
                break;
            case 2:
                setBlockCharFormat(b, 12.5, true, kHeadingColour);
                bf.setTopMargin(14);
                bf.setBottomMargin(4);
                break;
            case 3:
                setBlockCharFormat(b, 11, true, kHeadingColour);
                bf.setTopMargin(10);
                bf.setBottomMargin(2);
                break;
            default:
                if (!c.currentTable()) {
                    bf.setTopMargin(0);
                    bf.setBottomMargin(6);
                }
                bf.setLineHeight(118, QTextBlockFormat::ProportionalHeight);
                break;
        }
        c.setBlockFormat(bf);
    }
    // The subtitle under the title.
    QTextBlock second = doc.begin().next();
    if (second.isValid()) {
        QTextCursor c(second);
        QTextBlockFormat bf = second.blockFormat();
        bf.setAlignment(Qt::AlignHCenter);
        bf.setBottomMargin(40);
        c.setBlockFormat(bf);
    }

    for (QTextFrame* frame : doc.rootFrame()->childFrames()) {
        auto* table = qobject_cast<QTextTable*>(frame);
        if (!table) continue;
        QTextTableFormat tf = table->format();
        tf.setBorder(1);
        tf.setBorderBrush(kRuleColour);
        tf.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
        tf.setBorderCollapse(true);
        tf.setCellPadding(4);
        tf.setCellSpacing(0);
        tf.setWidth(QTextLength(QTextLength::PercentageLength, 100));
        tf.setHeaderRowCount(1);  // repeated on the next page when a table breaks
        tf.setTopMargin(4);
        tf.setBottomMargin(10);
        table->setFormat(tf);
        for (int col = 0; col < table->columns(); ++col) {
            QTextTableCell cell = table->cellAt(0, col);
            QTextCharFormat cf = cell.format();
            cf.setBackground(QColor(0xe8, 0xed, 0xf2));
            cell.setFormat(cf);
            QTextCursor c = cell.firstCursorPosition();
            c.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
            QTextCharFormat bold;
            bold.setFontWeight(QFont::Bold);
            c.mergeCharFormat(bold);
        }
    }
}

bool isSectionHeading(const QTextBlock& b) {
    int level = b.blockFormat().headingLevel();
    return level >= 1 && level <= 3;
}

// A paragraph of one image, kept with its caption under it.
bool isImage(const QTextBlock& b) {
    return b.text() == QString(QChar::ObjectReplacementCharacter) &&
           b.begin().fragment().charFormat().isImageFormat();
}

// The page (from 0) on which a position of the document stands.
int pageOf(double y, double pageHeight) { return static_cast<int>(y / pageHeight); }

// The top of a block's first line in the document, where its page is decided, or of its last.
double lineTop(QTextDocument& doc, const QTextBlock& b, bool last = false) {
    const double top = doc.documentLayout()->blockBoundingRect(b).top();  // lays it out
    const QTextLayout* layout = b.layout();
    if (layout->lineCount() == 0) return top;
    return top + layout->lineAt(last ? layout->lineCount() - 1 : 0).y();
}

// The number a numbered section's heading starts with ("9. Program settings" gives 9), else 0.
int sectionNumber(const QTextBlock& b) {
    if (b.blockFormat().headingLevel() != 1) return 0;
    static const QRegularExpression number("^(\\d+)\\. ");
    const auto match = number.match(b.text());
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}

bool isContentsHeading(const QTextBlock& b) {
    return b.blockFormat().headingLevel() > 0 && b.text() == "Contents";
}

// The contents list: the items of the first numbered list after the "Contents" heading, item n
// standing for section n.
std::vector<QTextBlock> contentsEntries(QTextDocument& doc) {
    std::vector<QTextBlock> entries;
    QTextBlock b = doc.begin();
    while (b.isValid() && !isContentsHeading(b)) b = b.next();
    for (b = b.next(); b.isValid() && !b.textList(); b = b.next()) {
    }
    for (; b.isValid() && b.textList(); b = b.next()) entries.push_back(b);
    return entries;
}

// The images of the Markdown, read from paths relative to its folder; none when one cannot be
// read.
std::optional<Images> readImages(const QString& markdown, const QDir& folder) {
    static const QRegularExpression image(R"(!\[[^\]]*\]\(([^)\s]+)\))");
    Images images;
    for (auto m = image.globalMatch(markdown); m.hasNext();) {
        const QString name = m.next().captured(1);
        QImage read(folder.filePath(name));
        if (read.isNull()) {
            std::fprintf(stderr, "cannot read the image %s\n",
                         folder.filePath(name).toLocal8Bit().constData());
            return std::nullopt;
        }
        images[name] = read;
    }
    return images;
}

// Each image, in a paragraph of its own, at its screen size, made smaller to fit the page's
// width and a little over half its height (a printed page's picture nearly all of it), centred
// on its line. Sizes are taken in pixels of a 96 dpi screen.
void placeImages(QTextDocument& doc, const Images& images, const QSizeF& page) {
    for (const auto& [name, image] : images) doc.addResource(QTextDocument::ImageResource, QUrl(name), image);
    const double toScreen = 96.0 / kDpi;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        if (!isImage(b)) continue;
        const QTextFragment f = b.begin().fragment();
        QTextImageFormat format = f.charFormat().toImageFormat();
        const auto found = images.find(format.name());
        if (found == images.end()) continue;
        const QSizeF natural = found->second.size();
        // A printed page, taller than wide, may take nearly a whole page to stay legible.
        const double height = natural.height() > natural.width() ? 0.9 : 0.58;
        const double scale = std::min({1.0, page.width() * toScreen / natural.width(),
                                       page.height() * height * toScreen / natural.height()});
        format.setWidth(natural.width() * scale);
        format.setHeight(natural.height() * scale);
        QTextCursor c(&doc);
        c.setPosition(f.position());
        c.setPosition(f.position() + f.length(), QTextCursor::KeepAnchor);
        c.setCharFormat(format);
        QTextBlockFormat bf = b.blockFormat();
        bf.setAlignment(Qt::AlignHCenter);
        bf.setLineHeight(100, QTextBlockFormat::ProportionalHeight);  // no space under it
        c.setBlockFormat(bf);
    }
}

// Lays the manual out on pages of the given size with, at the right of the n-th contents entry,
// the n-th of pages (when given).
void buildDocument(QTextDocument& doc, const QString& markdown, const Images& images, const QSizeF& page,
                   const std::vector<int>& pages) {
    doc.clear();
    doc.setMarkdown(markdown, QTextDocument::MarkdownDialectGitHub);
    styleDocument(doc);
    placeImages(doc, images, page);
    doc.setPageSize(page);
    // The numbers stand at the right of the entries' lines, as wide as they are laid out.
    const auto entries = contentsEntries(doc);
    for (size_t n = 0; n < entries.size() && n < pages.size(); ++n) {
        doc.documentLayout()->blockBoundingRect(entries[n]);  // lays it out
        if (entries[n].layout()->lineCount() == 0) continue;
        QTextBlockFormat bf = entries[n].blockFormat();
        // Tab positions are taken in pixels of a 96 dpi screen.
        bf.setTabPositions({QTextOption::Tab((entries[n].layout()->lineAt(0).width() - 1) * 96.0 / kDpi,
                                             QTextOption::RightTab)});
        QTextCursor c(entries[n]);
        c.setBlockFormat(bf);
        c.movePosition(QTextCursor::EndOfBlock);
        c.insertText(QString("\t%1").arg(pages[n]));
    }
}

bool breaksBefore(const QTextBlock& b) {
    return b.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore;
}

// A break put into a laid-out document: the layout is made again from the start, as the
// layout after a changed block does not follow a new page break.
void breakBefore(QTextDocument& doc, const QTextBlock& b) {
    QTextBlockFormat bf = b.blockFormat();
    bf.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    QTextCursor(b).setBlockFormat(bf);
    doc.markContentsDirty(0, doc.characterCount());
}

// The contents and the numbered sections start on a new page after the title page, and a
// heading that would stand at the foot of a page, or apart from the first line under it, goes
// to the next one with the headings right above it; so does an image apart from its caption.
// Breaks are put in one at a time, first to last, since each one moves everything after it.
void breakPages(QTextDocument& doc, const QSizeF& page) {
    int h1 = 0;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        if ((b.blockFormat().headingLevel() == 1 && ++h1 == 2) || isContentsHeading(b)) breakBefore(doc, b);
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        const bool image = isImage(b);
        if ((!isSectionHeading(b) && !image) || breaksBefore(b)) continue;
        const double top = lineTop(doc, b);
        // A heading stays with the first line under it, an image with the whole of its caption.
        const bool alone = b.next().isValid() &&
                           pageOf(lineTop(doc, b.next(), image), page.height()) != pageOf(top, page.height());
        if (!alone && (image || std::fmod(top, page.height()) <= page.height() * 0.86)) continue;
        QTextBlock first = b;
        while (first.previous().isValid() && isSectionHeading(first.previous()) &&
               !breaksBefore(first.previous()))
            first = first.previous();
        breakBefore(doc, first);
        b = first;  // what follows has moved
    }
}

// The page (from 1) on which each contents entry's section starts, in the document as laid out;
// 0 for an entry with no such section.
std::vector<int> sectionPages(QTextDocument& doc, const QSizeF& page) {
    std::vector<int> pages(contentsEntries(doc).size(), 0);
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        const int n = sectionNumber(b);
        if (n >= 1 && n <= static_cast<int>(pages.size()) && pages[n - 1] == 0)
            pages[n - 1] = pageOf(lineTop(doc, b), page.height()) + 1;
    }
    return pages;
}

// A paragraph whose lines run on to the next page is split in two at the page, so that each
// page draws only its own lines: the text layout draws, for a block that reaches into the
// drawn area, also its last line above that area (clipped away, but its text goes into the
// PDF). The second part takes the place of the lines it holds: no space above, no first-line
// indent, and outside the list, indented as the item's text.
void splitAtPageBreaks(QTextDocument& doc, double pageHeight) {
    // A part that still runs over a page, in a paragraph longer than a page, is split again.
    for (bool split = true; split;) {
        doc.documentLayout()->documentSize();  // lays the whole document out
        std::vector<int> splits;               // positions in the document, in order
        for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
            const QTextLayout* layout = b.layout();
            if (layout->lineCount() < 2) continue;
            const double top = doc.documentLayout()->blockBoundingRect(b).top();
            const int firstPage = pageOf(top + layout->lineAt(0).y(), pageHeight);
            for (int k = 1; k < layout->lineCount(); ++k) {
                if (pageOf(top + layout->lineAt(k).y(), pageHeight) == firstPage) continue;
                splits.push_back(b.position() + layout->lineAt(k).textStart());
                break;
            }
        }
        for (auto at = splits.rbegin(); at != splits.rend(); ++at) {
            const QTextBlock b = doc.findBlock(*at);
            QTextBlockFormat head = b.blockFormat();
            QTextBlockFormat rest = head;
            rest.setTopMargin(0);
            rest.setTextIndent(0);
            rest.setPageBreakPolicy(QTextFormat::PageBreak_Auto);
            if (const QTextList* list = b.textList()) {
                rest.setObjectIndex(-1);
                rest.setIndent(list->format().indent());
            }
            head.setBottomMargin(0);
            QTextCursor c(b);
            c.setBlockFormat(head);
            c.setPosition(*at);
            c.insertBlock(rest);
        }
        doc.markContentsDirty(0, doc.characterCount());  // laid out again from the start
        split = !splits.empty();
    }
}

// Lays the manual out with the contents' page numbers: numbers written in can move a break, and
// a moved break a number, so the layout is repeated until they stand still.
bool layOut(QTextDocument& doc, const QString& markdown, const Images& images, const QSizeF& page) {
    std::vector<int> pages;
    for (int pass = 0; pass < 10; ++pass) {
        buildDocument(doc, markdown, images, page, pages);
        breakPages(doc, page);
        splitAtPageBreaks(doc, page.height());
        const std::vector<int> found = sectionPages(doc, page);
        if (found == pages) return true;
        pages = found;
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: tidewyn-manualpdf MANUAL.md OUTPUT.pdf\n");
        return 2;
    }
    QGuiApplication app(argc, argv);
    const QString input = QString::fromLocal8Bit(argv[1]);
    const QString output = QString::fromLocal8Bit(argv[2]);

    QFile in(input);
    if (!in.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    const QString markdown = QString::fromUtf8(in.readAll());
    const auto images = readImages(markdown, QFileInfo(input).absoluteDir());
    if (!images) return 1;
    QDir().mkpath(QFileInfo(output).absolutePath());
    const QString partial = output + ".part";

    int pages = 0;
    {
        QPdfWriter writer(partial);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(20, 18, 20, 14), QPageLayout::Millimeter);
        writer.setResolution(kDpi);
        writer.setTitle("Tidewyn Vizoz Manual");
        writer.setCreator("Tidewyn Vizoz");

        QTextDocument doc;
        doc.documentLayout()->setPaintDevice(&writer);
        QFont font("DejaVu Sans");
        font.setPointSizeF(10);
        doc.setDefaultFont(font);
        doc.setDocumentMargin(0);

        const QRect area = writer.pageLayout().paintRectPixels(kDpi);
        const double footer = kDpi * 0.4;  // 10 mm
        const QSizeF body(area.width(), area.height() - footer);
        if (!layOut(doc, markdown, *images, body)) {
            std::fprintf(stderr, "the contents' page numbers do not settle\n");
            return 1;
        }
        pages = doc.pageCount();

        QPainter p;
        if (!p.begin(&writer)) {
            std::fprintf(stderr, "cannot write %s\n", partial.toLocal8Bit().constData());
            return 1;
        }
        // Less than a line and more than the space under one.
        const double overhang = QFontMetricsF(font, &writer).lineSpacing() / 2;
        QFont footerFont(font);
        footerFont.setPointSizeF(8.5);
        for (int i = 0; i < pages; ++i) {
            if (i > 0) writer.newPage();
            // Only the lines of this page are drawn: a line's box reaches on to the next line's
            // top, so the last line of a page would otherwise go into the next page's PDF text
            // too, clipped away, and the first line of a page into the previous one.
            const QRectF page(0, i * body.height(), body.width(), body.height());
            p.save();
            p.translate(0, -page.top());
            p.setClipRect(page);
            QAbstractTextDocumentLayout::PaintContext context;
            context.clip = page.adjusted(0, overhang, 0, -overhang);
            doc.documentLayout()->draw(&p, context);
            p.restore();
            const double y = body.height() + footer * 0.35;
            p.setPen(QPen(kRuleColour, kDpi / 200.0));
            p.drawLine(QPointF(0, y), QPointF(body.width(), y));
            p.setPen(Qt::black);
            p.setFont(footerFont);
            QRectF line(0, y + kDpi * 0.03, body.width(), footer * 0.6);
            p.drawText(line, Qt::AlignLeft | Qt::AlignTop, kFooterTitle);
            p.drawText(line, Qt::AlignRight | Qt::AlignTop, QString("Page %1 of %2").arg(i + 1).arg(pages));
        }
        if (!p.end()) {
            std::fprintf(stderr, "cannot finish %s\n", partial.toLocal8Bit().constData());
            return 1;
        }
    }
    QFile::remove(output);
    if (!QFile::rename(partial, output)) {
        std::fprintf(stderr, "cannot write %s\n", argv[2]);
        return 1;
    }
    std::printf("wrote %s (%d pages)\n", output.toLocal8Bit().constData(), pages);
    return 0;
}
