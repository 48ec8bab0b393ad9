#pragma once
// Text that shows whole: a window's controls measured against the room they leave for their text.

#include <QCheckBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStyle>
#include <QStyleOption>
#include <string>
#include <vector>

namespace testing_support {
namespace detail {

// The text as drawn: "&&" shows one "&", a single "&" marks the access key; blanks at the end
// show nothing.
inline QString drawn(QString text, bool mnemonics) {
    if (mnemonics) {
        text.replace("&&", QChar(0xE000));
        text.remove('&');
        text.replace(QChar(0xE000), '&');
    }
    while (!text.isEmpty() && text.back().isSpace()) text.chop(1);
    return text;
}

class Report {
public:
    void need(const QWidget* w, const QString& text, const char* what, int need, int room) {
        if (need > room)
            problems.push_back(std::string(w->metaObject()->className()) + " \"" + text.toStdString() +
                               "\": " + what + " " + std::to_string(need) + " px in " + std::to_string(room));
    }
    std::vector<std::string> problems;
};

inline void checkButtonText(Report& r, QAbstractButton* b, QStyle::SubElement contents) {
    QStyleOptionButton opt;
    opt.initFrom(b);
    opt.text = b->text();
    if (auto* p = qobject_cast<QPushButton*>(b); p && p->isDefault())
        opt.features |= QStyleOptionButton::DefaultButton;
    const QRect room = b->style()->subElementRect(contents, &opt, b);
    const QString text = drawn(b->text(), true);
    const QFontMetrics fm = b->fontMetrics();
    r.need(b, text, "wide", fm.horizontalAdvance(text), room.width());
    r.need(b, text, "high", fm.height(), room.height());
}

inline void checkLabel(Report& r, QLabel* l) {
    const QRect room = l->contentsRect();
    const QFontMetrics fm = l->fontMetrics();
    if (l->wordWrap()) {
        // Lines break between words only: a word wider than the label runs past it.
        r.need(l, l->text(), "high when wrapped", l->heightForWidth(l->width()), l->height());
        for (const QString& word : l->text().split(QRegularExpression("\\s+"), Qt::SkipEmptyParts))
            r.need(l, word, "wide", fm.horizontalAdvance(word), room.width());
        return;
    }
    const QStringList lines = l->text().split('\n');
    for (const QString& line : lines)
        r.need(l, line, "wide", fm.horizontalAdvance(drawn(line, false)), room.width());
    r.need(l, l->text(), "high", fm.height() + (static_cast<int>(lines.size()) - 1) * fm.lineSpacing(),
           room.height());
}

// A read-only box shows a value: the room inside its frame and text margins.
inline void checkReadOut(Report& r, QLineEdit* e) {
    QStyleOptionFrame opt;
    opt.initFrom(e);
    opt.rect = e->contentsRect();
    opt.lineWidth = e->hasFrame() ? e->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, e) : 0;
    const QRect inner = e->style()->subElementRect(QStyle::SE_LineEditContents, &opt, e);
    const QMargins m = e->textMargins();
    const int horizontalMargin = 2;  // QLineEdit's own, each side
    const QString text = drawn(e->text(), false);
    const QFontMetrics fm = e->fontMetrics();
    r.need(e, text, "wide", fm.horizontalAdvance(text),
           inner.width() - m.left() - m.right() - 2 * horizontalMargin);
    r.need(e, text, "high", fm.height(), inner.height() - m.top() - m.bottom());
}

inline void checkList(Report& r, QListWidget* list) {
    const int margin = list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 1;
    const QFontMetrics fm = list->fontMetrics();
    for (int i = 0; i < list->count(); ++i) {
        const QString text = drawn(list->item(i)->text(), false);
        r.need(list, text, "wide", fm.horizontalAdvance(text) + 2 * margin, list->viewport()->width());
    }
}

inline void checkGroup(Report& r, QGroupBox* g) {
    QStyleOptionGroupBox opt;
    opt.initFrom(g);
    opt.text = g->title();
    opt.lineWidth = 1;
    opt.textAlignment = g->alignment();
    opt.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    const QRect label = g->style()->subControlRect(QStyle::CC_GroupBox, &opt, QStyle::SC_GroupBoxLabel, g);
    const QString text = drawn(g->title(), true);
    r.need(g, text, "wide", label.left() + g->fontMetrics().horizontalAdvance(text), g->width());
}

}  // namespace detail

// What of a window's text does not show whole, each named with its text and the room it needs:
// every visible caption, option, read-out, list line and group title, measured with the
// control's own font against the room its style leaves for text, and every control that
// reaches past the window's right edge.
inline std::vector<std::string> TextsCutOff(QWidget& window) {
    using namespace detail;
    QCoreApplication::processEvents();  // lists lay out their lines and scroll bars
    Report r;
    for (QWidget* w : window.findChildren<QWidget*>()) {
        if (!w->isVisibleTo(&window)) continue;
        const int right = w->mapTo(&window, QPoint(w->width(), 0)).x();
        r.need(w, w->property("text").toString(), "inside the window", right, window.width());
        if (auto* b = qobject_cast<QPushButton*>(w)) checkButtonText(r, b, QStyle::SE_PushButtonContents);
        else if (auto* c = qobject_cast<QCheckBox*>(w)) checkButtonText(r, c, QStyle::SE_CheckBoxContents);
        else if (auto* o = qobject_cast<QRadioButton*>(w))
            checkButtonText(r, o, QStyle::SE_RadioButtonContents);
        else if (auto* l = qobject_cast<QLabel*>(w)) checkLabel(r, l);
        else if (auto* e = qobject_cast<QLineEdit*>(w); e && e->isReadOnly()) checkReadOut(r, e);
        else if (auto* list = qobject_cast<QListWidget*>(w)) checkList(r, list);
        else if (auto* g = qobject_cast<QGroupBox*>(w)) checkGroup(r, g);
    }
    return r.problems;
}

}  // namespace testing_support
