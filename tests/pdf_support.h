#pragma once
// Small PDF documents made in the tests. Page k of a test document carries the text
// "Page k" and a black band across the page whose place tells the page: its middle lies at
// BandMiddle(k) of the page height. Pages printed from it can be told apart the same way.

#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfDocument>
#include <QPdfWriter>
#include <string>

namespace testing_support {

inline double BandMiddle(int page) { return 0.05 + 0.07 * ((page - 1) % 13); }

inline bool WriteTestPdf(const std::string& path, int pages) {
    QPdfWriter writer(QString::fromStdString(path));
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setResolution(72);
    QPainter p;
    if (!p.begin(&writer)) return false;
    const QRect r = writer.pageLayout().paintRectPixels(72);
    for (int k = 1; k <= pages; ++k) {
        if (k > 1) writer.newPage();
        p.drawText(QPointF(40, 30), QString("Page %1").arg(k));
        double top = (BandMiddle(k) - 0.02) * r.height();
        p.fillRect(QRectF(r.width() * 0.2, top, r.width() * 0.6, 0.04 * r.height()), Qt::black);
    }
    return p.end();
}

// The middle of the dark band of a rendered page, as a fraction of its height; -1 without one.
inline double BandPosition(const QImage& page) {
    QImage img(page.size(), QImage::Format_Grayscale8);
    img.fill(Qt::white);
    {
        QPainter p(&img);
        p.drawImage(0, 0, page);
    }
    int first = -1, last = -1;
    const int x = img.width() / 2;
    for (int y = 0; y < img.height(); ++y)
        if (qGray(img.pixel(x, y)) < 80) {
            if (first < 0) first = y;
            last = y;
        }
    if (first < 0) return -1;
    return (first + last) / 2.0 / img.height();
}

// The band positions of every page of a PDF file, rendered small.
inline std::vector<double> BandPositions(const std::string& path) {
    QPdfDocument doc;
    std::vector<double> out;
    if (doc.load(QString::fromStdString(path)) != QPdfDocument::Error::None) return out;
    for (int i = 0; i < doc.pageCount(); ++i) {
        QSize size = (doc.pagePointSize(i) * (100.0 / 72.0)).toSize();
        out.push_back(BandPosition(doc.render(i, size)));
    }
    return out;
}

}  // namespace testing_support
