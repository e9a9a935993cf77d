#include "screens/common/db_navigator.h"

#include "db/data_source.h"
#include "db/query.h"
#include "screens/common/error_box.h"
#include "screens/common/modal_opener.h"

#include <QEvent>
#include <QIconEngine>

#include <QMetaEnum>
#include <QPainter>
#include <QPainterPath>
#include <QStyle>
#include <QToolButton>
#include <bit>
#include <cmath>
#include <numbers>

namespace {

using Nav = TBiDiDBNavigator;

const char* const hints[Nav::ButtonCount] = {"第一筆", "上一筆", "下一筆", "最後一筆", "新增",
                                             "刪除",   "編輯",   "存檔",   "取消",     "重新查詢"};

// Draws the default picture of button `index` into `rect`, on a 16 by 16 grid scaled to fit.
void drawGlyph(QPainter& p, const QRectF& rect, int index, bool disabled) {
    const qreal side = std::min(rect.width(), rect.height());
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(rect.center() - QPointF(side / 2, side / 2));
    p.scale(side / 16, side / 16);

    auto colour = [disabled](QRgb rgb) { return disabled ? QColor(150, 150, 150) : QColor(rgb); };
    const QColor arrow = colour(0x1f3a93);
    auto fill = [&p](const QColor& c, std::initializer_list<QPointF> points) {
        p.setPen(Qt::NoPen);
        p.setBrush(c);
        p.drawPolygon(QPolygonF(QList<QPointF>(points)));
    };
    auto stroke = [&p](const QColor& c, Qt::PenCapStyle cap = Qt::FlatCap) {
        p.setPen(QPen(c, 2.4, Qt::SolidLine, cap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
    };

    switch (index) {
    case Nav::nbFirst: // |<
        fill(arrow, {{3, 3}, {5.2, 3}, {5.2, 13}, {3, 13}});
        fill(arrow, {{13, 3}, {13, 13}, {6.2, 8}});
        break;
    case Nav::nbPrior: // <
        fill(arrow, {{10.5, 3}, {10.5, 13}, {4.5, 8}});
        break;
    case Nav::nbNext: // >
        fill(arrow, {{5.5, 3}, {5.5, 13}, {11.5, 8}});
        break;
    case Nav::nbLast: // >|
        fill(arrow, {{3, 3}, {3, 13}, {9.8, 8}});
        fill(arrow, {{10.8, 3}, {13, 3}, {13, 13}, {10.8, 13}});
        break;
    case Nav::nbInsert: // +
        stroke(colour(0x1b7a2e));
        p.drawLine(QPointF(8, 2.5), QPointF(8, 13.5));
        p.drawLine(QPointF(2.5, 8), QPointF(13.5, 8));
        break;
    case Nav::nbDelete: // -
        stroke(colour(0xb01e1e));
        p.drawLine(QPointF(2.5, 8), QPointF(13.5, 8));
        break;
    case Nav::nbEdit: // a pencil writing towards the lower left
        fill(colour(0xe8a317), {{3.8, 9.7}, {10.5, 3}, {13, 5.5}, {6.3, 12.2}});
        fill(colour(0xf3d9a4), {{3.8, 9.7}, {6.3, 12.2}, {2.5, 13.5}});
        fill(colour(0x404040), {{3.1, 11.9}, {4.1, 12.9}, {2.5, 13.5}});
        p.setPen(QPen(colour(0x7a4f00), 0.8));
        p.setBrush(Qt::NoBrush);
        p.drawPolygon(QPolygonF({{3.8, 9.7}, {10.5, 3}, {13, 5.5}, {6.3, 12.2}, {2.5, 13.5}}));
        break;
    case Nav::nbPost: // check mark
        stroke(colour(0x1b8a2e), Qt::RoundCap);
        p.drawPolyline(QPolygonF({{3, 8.5}, {6.5, 12}, {13, 4.5}}));
        break;
    case Nav::nbCancel: // cross
        stroke(colour(0xc62828), Qt::RoundCap);
        p.drawLine(QPointF(4, 4), QPointF(12, 12));
        p.drawLine(QPointF(12, 4), QPointF(4, 12));
        break;
    case Nav::nbRefresh: { // clockwise circular arrow
        const QColor c = colour(0x1f5fbf);
        const QRectF circle(3.5, 3.5, 9, 9);
        QPainterPath arc;
        arc.arcMoveTo(circle, 30);
        arc.arcTo(circle, 30, 280);
        p.setPen(QPen(c, 2, Qt::SolidLine, Qt::FlatCap));
        p.setBrush(Qt::NoBrush);
        p.drawPath(arc);
        // Head at the 30-degree end, pointing on clockwise.
        const qreal a = 30 * std::numbers::pi / 180;
        const QPointF end(8 + 4.5 * std::cos(a), 8 - 4.5 * std::sin(a));
        const QPointF along(std::sin(a), std::cos(a)), out(std::cos(a), -std::sin(a));
        fill(c, {end + 2.6 * out, end - 2.6 * out, end + 3 * along});
        break;
    }
    }
    p.restore();
}

// The default pictures, drawn to the size asked for so they stay sharp on any bar.
class GlyphEngine : public QIconEngine {
public:
    explicit GlyphEngine(int index) : index_(index) {}
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
        drawGlyph(*painter, rect, index_, mode == QIcon::Disabled);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return scaledPixmap(size, mode, state, 1);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override {
        QPixmap pixmap(size * scale);
        pixmap.fill(Qt::transparent);
        {
            QPainter painter(&pixmap);
            paint(&painter, pixmap.rect(), mode, state);
        }
        pixmap.setDevicePixelRatio(scale);
        return pixmap;
    }
    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override { return size; }
    bool isNull() override { return false; }
    QString key() const override { return QStringLiteral("TBiDiDBNavigatorGlyph"); }
    QIconEngine* clone() const override { return new GlyphEngine(index_); }

private:
    int index_;
};

// The button whose picture button `index` shows: right to left, the arrows trade places.
int shownGlyph(int index, bool rightToLeft) {
    if (!rightToLeft) return index;
    switch (index) {
    case Nav::nbFirst:
        return Nav::nbLast;
    case Nav::nbLast:
        return Nav::nbFirst;
    case Nav::nbPrior:
        return Nav::nbNext;
    case Nav::nbNext:
        return Nav::nbPrior;
    default:
        return index;
    }
}

} // namespace

int TBiDiDBNavigator::Buttons::count() const {
    return std::popcount(bits_);
}

TBiDiDBNavigator::TBiDiDBNavigator(QWidget* parent) : QWidget(parent) {
    for (int i = 0; i < ButtonCount; ++i) {
        const auto b = NavigateBtn(i);
        auto* button = new QToolButton(this);
        button->setObjectName(QString::fromLatin1(QMetaEnum::fromType<NavigateBtn>().key(i)));
        button->setToolTip(QString::fromUtf8(hints[i]));
        button->setFocusPolicy(Qt::NoFocus); // the edit field being typed into keeps the focus
        button->setAutoRepeat(b == nbPrior || b == nbNext);
        connect(button, &QToolButton::clicked, this, [this, b] { BtnClick(b); });
        buttons_[std::size_t(i)] = button;
        glyphs_[std::size_t(i)] = QIcon(new GlyphEngine(i));
    }
    resize(sizeHint());
    showGlyphs();
    updateButtons();
}

TBiDiDBNavigator::~TBiDiDBNavigator() = default;

DataSource* TBiDiDBNavigator::dataSource() const {
    return source_.data();
}

void TBiDiDBNavigator::setDataSource(DataSource* source) {
    if (source_ == source) return;
    if (source_) disconnect(source_, nullptr, this, nullptr);
    source_ = source;
    if (source) {
        connect(source, &DataSource::dataSetChanged, this, &TBiDiDBNavigator::bindQuery);
        connect(source, &QObject::destroyed, this, &TBiDiDBNavigator::bindQuery);
    }
    bindQuery();
}

void TBiDiDBNavigator::bindQuery() {
    Query* q = source_ ? source_->dataSet() : nullptr;
    if (q != query_) {
        if (query_) disconnect(query_, nullptr, this, nullptr);
        query_ = q;
        if (q) {
            connect(q, &Query::reset, this, &TBiDiDBNavigator::updateButtons);
            connect(q, &Query::stateChanged, this, &TBiDiDBNavigator::updateButtons);
            connect(q, &Query::currentChanged, this, &TBiDiDBNavigator::updateButtons);
            connect(q, &Query::rowInserted, this, &TBiDiDBNavigator::updateButtons);
            connect(q, &Query::rowRemoved, this, &TBiDiDBNavigator::updateButtons);
            connect(q, &QObject::destroyed, this, &TBiDiDBNavigator::updateButtons);
        }
    }
    updateButtons();
}

Query* TBiDiDBNavigator::query() const {
    return query_.data();
}

void TBiDiDBNavigator::setVisibleButtons(Buttons buttons) {
    visible_ = buttons;
    for (int i = 0; i < ButtonCount; ++i)
        buttons_[std::size_t(i)]->setVisible(visible_.contains(NavigateBtn(i)));
    layoutButtons();
    updateGeometry();
}

QIcon TBiDiDBNavigator::glyph(int index) const {
    if (index < 0 || index >= ButtonCount) return {};
    return glyphs_[std::size_t(index)];
}

void TBiDiDBNavigator::setGlyph(int index, const QIcon& icon) {
    if (index < 0 || index >= ButtonCount) return;
    glyphs_[std::size_t(index)] = icon;
    showGlyphs();
}

QAbstractButton* TBiDiDBNavigator::button(NavigateBtn b) const {
    return buttons_[std::size_t(b)];
}

void TBiDiDBNavigator::BtnClick(NavigateBtn b) {
    Query* q = query();
    if (!visible_.contains(b) || !q || !q->active()) return;
    guarded(this, [&] {
        switch (b) {
        case nbFirst:
            q->first();
            break;
        case nbPrior:
            q->prior();
            break;
        case nbNext:
            q->next();
            break;
        case nbLast:
            q->last();
            break;
        case nbInsert:
            q->insert();
            break;
        case nbDelete:
            if (q->isEmpty()) break;
            if (confirmDelete_ && !confirm(QString::fromUtf8("刪除此筆資料？"), this)) break;
            if (query_ == q) q->remove(); // still bound once the question is answered
            break;
        case nbEdit:
            q->edit();
            break;
        case nbPost:
            q->post();
            break;
        case nbCancel:
            q->cancel();
            break;
        case nbRefresh:
            q->refresh();
            break;
        }
    });
    // Moving against either end changes bof/eof without a signal of the query.
    updateButtons();
}

void TBiDiDBNavigator::updateButtons() {
    Query* q = query();
    const QueryState state = q ? q->state() : QueryState::Closed;
    const bool browse = state == QueryState::Browse;
    const bool editing = state == QueryState::Edit || state == QueryState::Insert;
    const bool hasRow = browse && !q->isEmpty();
    auto enable = [this](NavigateBtn b, bool on) { buttons_[std::size_t(b)]->setEnabled(on); };
    enable(nbFirst, browse && !q->bof());
    enable(nbPrior, browse && !q->bof());
    enable(nbNext, browse && !q->eof());
    enable(nbLast, browse && !q->eof());
    enable(nbInsert, browse);
    enable(nbDelete, hasRow);
    enable(nbEdit, hasRow);
    enable(nbPost, editing);
    enable(nbCancel, editing);
    enable(nbRefresh, browse);
}

// The visible buttons share the width equally, the first ones one pixel wider when it does
// not divide; right to left the same places are mirrored.
void TBiDiDBNavigator::layoutButtons() {
    const int count = visible_.count();
    if (count == 0) return;
    const int base = width() / count;
    int extra = width() % count;
    int x = 0;
    for (int i = 0; i < ButtonCount; ++i) {
        if (!visible_.contains(NavigateBtn(i))) continue;
        const int w = base + (extra > 0 ? 1 : 0);
        if (extra > 0) --extra;
        QToolButton* button = buttons_[std::size_t(i)];
        button->setGeometry(
            QStyle::visualRect(layoutDirection(), rect(), QRect(x, 0, w, height())));
        const int side = std::clamp(std::min(w, height()) - 8, 8, 32);
        button->setIconSize(QSize(side, side));
        x += w;
    }
}

void TBiDiDBNavigator::showGlyphs() {
    const bool rightToLeft = layoutDirection() == Qt::RightToLeft;
    for (int i = 0; i < ButtonCount; ++i)
        buttons_[std::size_t(i)]->setIcon(glyphs_[std::size_t(shownGlyph(i, rightToLeft))]);
}

QSize TBiDiDBNavigator::sizeHint() const {
    return {25 * std::max(visible_.count(), 1), 25};
}

QSize TBiDiDBNavigator::minimumSizeHint() const {
    return {12 * std::max(visible_.count(), 1), 12};
}

void TBiDiDBNavigator::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutButtons();
}

void TBiDiDBNavigator::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LayoutDirectionChange) {
        layoutButtons();
        showGlyphs();
    }
}
