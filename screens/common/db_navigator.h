// The record navigator bar of the maintenance screens: a row of buttons that walk, insert,
// delete, edit, save, drop and re-read the rows of the query behind a data source.
#pragma once

#include <QIcon>
#include <QPointer>
#include <QWidget>
#include <array>
#include <initializer_list>

class DataSource;
class Query;
class QAbstractButton;
class QToolButton;

class TBiDiDBNavigator : public QWidget {
    Q_OBJECT
    Q_PROPERTY(bool ConfirmDelete READ confirmDelete WRITE setConfirmDelete)
public:
    // The buttons, in their order on the bar; the value is the button's index.
    enum NavigateBtn {
        nbFirst,
        nbPrior,
        nbNext,
        nbLast,
        nbInsert,
        nbDelete,
        nbEdit,
        nbPost,
        nbCancel,
        nbRefresh
    };
    Q_ENUM(NavigateBtn)
    static constexpr int ButtonCount = nbRefresh + 1;

    // A set of buttons, e.g. {nbFirst, nbPrior, nbNext, nbLast}.
    class Buttons {
    public:
        constexpr Buttons() = default;
        constexpr Buttons(std::initializer_list<NavigateBtn> buttons) {
            for (NavigateBtn b : buttons)
                bits_ |= bit(b);
        }
        static constexpr Buttons all() {
            Buttons set;
            set.bits_ = (1u << ButtonCount) - 1;
            return set;
        }
        constexpr bool contains(NavigateBtn b) const { return bits_ & bit(b); }
        constexpr void insert(NavigateBtn b) { bits_ |= bit(b); }
        constexpr void remove(NavigateBtn b) { bits_ &= ~bit(b); }
        constexpr bool isEmpty() const { return bits_ == 0; }
        int count() const;
        constexpr bool operator==(const Buttons&) const = default;

    private:
        static constexpr unsigned bit(NavigateBtn b) { return 1u << unsigned(b); }
        unsigned bits_ = 0;
    };

    explicit TBiDiDBNavigator(QWidget* parent = nullptr);
    ~TBiDiDBNavigator() override;

    // The data source whose query the buttons act on; not owned. The bar follows a change of
    // the source's query and forgets the source or the query when either is destroyed.
    DataSource* dataSource() const;
    void setDataSource(DataSource* source);

    // Buttons shown; all ten by default. Hidden buttons take no room and BtnClick ignores them.
    Buttons visibleButtons() const { return visible_; }
    void setVisibleButtons(Buttons buttons);

    // Whether Delete asks "刪除此筆資料？" before removing the row; true by default.
    bool confirmDelete() const { return confirmDelete_; }
    void setConfirmDelete(bool on) { confirmDelete_ = on; }

    // The picture of button `index` (a NavigateBtn) as laid out left to right. Laid out right
    // to left, First and Last, and Prior and Next, show each other's picture, so the arrows
    // point the way the buttons go; glyph() still returns the picture set for the index.
    // An index out of range gives a null icon and is ignored by setGlyph().
    QIcon glyph(int index) const;
    void setGlyph(int index, const QIcon& icon);

    QAbstractButton* button(NavigateBtn b) const;

    // Does what button `b` does on the bound query; nothing when the button is hidden, or
    // when no query is bound or it is closed. Errors are shown in the error box, never
    // thrown: a failed save leaves the row in editing.
    void BtnClick(NavigateBtn b);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    Query* query() const;
    void bindQuery();
    void layoutButtons();
    void showGlyphs();
    void updateButtons();

    std::array<QToolButton*, ButtonCount> buttons_{};
    std::array<QIcon, ButtonCount> glyphs_;
    QPointer<DataSource> source_;
    QPointer<Query> query_;
    Buttons visible_ = Buttons::all();
    bool confirmDelete_ = true;
};
