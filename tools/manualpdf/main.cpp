// Renders the manual from Markdown to an A4 PDF with page numbers, at build time:
//   tidewyn-manualpdf MANUAL.md OUTPUT.pdf
// Runs without a display (QT_QPA_PLATFORM=offscreen).
#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <cmath>
#include <cstdio>
#include <set>

namespace {

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

// Lays the manual out on pages of the given size, with a page break before each block
// number in breaks.
void buildDocument(QTextDocument& doc, const QString& markdown, const QSizeF& page,
                   const std::set<int>& breaks) {
    doc.clear();
    doc.setMarkdown(markdown, QTextDocument::MarkdownDialectGitHub);
    styleDocument(doc);
    for (int n : breaks) {
        QTextBlock b = doc.findBlockByNumber(n);
        QTextBlockFormat bf = b.blockFormat();
        bf.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        QTextCursor(b).setBlockFormat(bf);
    }
    doc.setPageSize(page);
}

// The numbered sections start on a new page after the title page, and a heading that would
// stand at the foot of a page goes to the next one. Breaks are found one at a time on a
// fresh layout, since each one moves everything after it.
std::set<int> findPageBreaks(QTextDocument& doc, const QString& markdown, const QSizeF& page) {
    std::set<int> breaks;
    buildDocument(doc, markdown, page, breaks);
    int h1 = 0;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        if (b.blockFormat().headingLevel() == 1 && ++h1 == 2) breaks.insert(b.blockNumber());
    for (int pass = 0; pass < 200; ++pass) {
        buildDocument(doc, markdown, page, breaks);
        int found = -1;
        for (QTextBlock b = doc.begin(); b.isValid() && found < 0; b = b.next()) {
            if (!isSectionHeading(b) || breaks.count(b.blockNumber())) continue;
            double inPage = std::fmod(doc.documentLayout()->blockBoundingRect(b).top(), page.height());
            if (inPage > page.height() * 0.86) found = b.blockNumber();
        }
        if (found < 0) break;
        breaks.insert(found);
    }
    return breaks;
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
        buildDocument(doc, markdown, body, findPageBreaks(doc, markdown, body));
        pages = doc.pageCount();

        QPainter p;
        if (!p.begin(&writer)) {
            std::fprintf(stderr, "cannot write %s\n", partial.toLocal8Bit().constData());
            return 1;
        }
        QFont footerFont(font);
        footerFont.setPointSizeF(8.5);
        for (int i = 0; i < pages; ++i) {
            if (i > 0) writer.newPage();
            p.save();
            p.translate(0, -i * body.height());
            doc.drawContents(&p, QRectF(0, i * body.height(), body.width(), body.height()));
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
