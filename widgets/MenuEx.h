#pragma once
#include <QColor>
#include <QProxyStyle>
#include <QRect>
#include <QString>

#include <utility>

class QAction;
class QFontMetrics;
class QMenu;
class QStyleOptionMenuItem;

/// The look of every drop-down menu item: a light icon column with the item's icon or a boxed
/// check mark, a framed light-blue highlight, grey text for greyed items and thin separators.
/// Menus take it with Attach; the menu bar keeps its ordinary look. Items are drawn from their
/// actions each time, so items added later and re-texted items look the same.
class CMenuEx : public QProxyStyle {
    Q_OBJECT

public:
    CMenuEx();

    /// Draws menu, its drop-downs and any drop-down added to it later with this look. The
    /// menus must not outlive this object.
    void Attach(QMenu* menu);

    /// Where the parts of one item go inside its rectangle.
    struct SItemLayout {
        QRect rcIconColumn; ///< From the left edge, icon width + 2 wide, full height.
        QRect rcTextArea;   ///< Between the icon column's gap and the right margin.
        QRect rcIcon;       ///< The icon or check box, one pixel inside the top-left corner.
        int nSeparatorY;    ///< The separator line's row: the item's vertical middle.
    };
    static SItemLayout ItemLayout(const QRect& item, int iconWidth, int iconHeight);
    /// The text left of the first "#", drawn on the left with its tabs expanded, and the text
    /// right of it, drawn on the right (may be empty).
    static std::pair<QString, QString> SplitText(const QString& text);

    /// Room an item's text takes beside its width, before the icon cell: 10 for an item, 25 for
    /// a drop-down or an item re-texted through SetItemText.
    static constexpr int kItemMargin = 10;
    static constexpr int kRetextedMargin = 25;
    /// Re-texts an item of a drop-down; it keeps the wider margin from then on.
    static void SetItemText(QAction* action, const QString& text);
    /// An item's width and height: its whole text's width, as measured with metrics, plus its
    /// margin and the icon cell; a separator is 0 wide.
    QSize ItemSize(const QAction& action, const QFontMetrics& metrics) const;

    QColor m_crBack;                      ///< Item background.
    QColor m_crText;                      ///< Text of enabled items.
    QColor m_crTextSelected;              ///< Text of the selected item.
    QColor m_crGrayed{200, 200, 200};     ///< Text and check mark of greyed items.
    QColor m_crIconColumn{236, 233, 216}; ///< The icon column.
    QColor m_crSelectFrame{49, 106, 197}; ///< Frame of the highlight and of the check box.
    QColor m_crSelectFill{200, 220, 253}; ///< Fill of the highlight and of the check box.
    QColor m_crSeparator{197, 194, 184};  ///< The separator line.
    int m_nSeparatorHeight = 10;          ///< Height of a separator item.
    int m_nIconWidth = 20;                ///< Icon cell, reserved even without icons.
    int m_nIconHeight = 20;               ///< An item is this + 2 high.

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override;
    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void DrawItem(const QStyleOptionMenuItem& item, QPainter& painter) const;
    void DrawSubMenuArrow(const QRect& item, const QColor& color, QPainter& painter) const;
};
