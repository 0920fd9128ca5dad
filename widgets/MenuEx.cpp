#include "widgets/MenuEx.h"

#include <QActionEvent>
#include <QApplication>
#include <QMenu>
#include <QPainter>
#include <QStyleOptionMenuItem>

namespace {

const QChar kCheckMark(0x221A); // the square-root sign stands for the check mark

/// Set on an action re-texted through SetItemText.
constexpr const char* kRetextedProperty = "menuExRetexted";

bool IsMenu(const QWidget* widget) {
    return qobject_cast<const QMenu*>(widget) != nullptr;
}

/// The item of menu that shows text (the menu may have added a shortcut after a tab).
const QAction* ItemAction(const QMenu& menu, const QString& text) {
    for (const QAction* action : menu.actions())
        if (!action->isSeparator() &&
            (action->text() == text || text.startsWith(action->text() + u'\t')))
            return action;
    return nullptr;
}

} // namespace

CMenuEx::CMenuEx() {
    const QPalette palette = QApplication::palette();
    m_crBack = palette.color(QPalette::Base);
    m_crText = palette.color(QPalette::Text);
    m_crTextSelected = m_crText;
}

void CMenuEx::Attach(QMenu* menu) {
    if (!menu)
        return;
    menu->setStyle(this);
    menu->removeEventFilter(this);
    menu->installEventFilter(this);
    for (QAction* action : menu->actions())
        if (QMenu* sub = action->menu())
            Attach(sub);
}

bool CMenuEx::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ActionAdded)
        if (QMenu* sub = static_cast<QActionEvent*>(event)->action()->menu(); sub && sub != watched)
            Attach(sub);
    return QProxyStyle::eventFilter(watched, event);
}

CMenuEx::SItemLayout CMenuEx::ItemLayout(const QRect& item, int iconWidth, int iconHeight) {
    SItemLayout layout;
    layout.rcIconColumn = QRect(item.left(), item.top(), iconWidth + 2, item.height());
    layout.rcTextArea = QRect(QPoint(item.left() + iconWidth + 10, item.top()),
                              QPoint(item.right() - (iconWidth - 4), item.bottom()));
    layout.rcIcon = QRect(item.left() + 1, item.top() + 1, iconWidth, iconHeight);
    layout.nSeparatorY = item.top() + item.height() / 2;
    return layout;
}

std::pair<QString, QString> CMenuEx::SplitText(const QString& text) {
    const qsizetype split = text.indexOf(u'#');
    if (split < 0)
        return {text, QString()};
    return {text.left(split), text.mid(split + 1)};
}

void CMenuEx::SetItemText(QAction* action, const QString& text) {
    if (!action)
        return;
    action->setProperty(kRetextedProperty, true);
    action->setText(text);
}

QSize CMenuEx::ItemSize(const QAction& action, const QFontMetrics& metrics) const {
    if (action.isSeparator())
        return QSize(0, m_nSeparatorHeight);
    const bool wide = action.menu() || action.property(kRetextedProperty).toBool();
    const int margin = wide ? kRetextedMargin : kItemMargin;
    return QSize(metrics.horizontalAdvance(action.text()) + margin + m_nIconWidth,
                 2 + m_nIconHeight);
}

QSize CMenuEx::sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                                const QWidget* widget) const {
    const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    const auto* menu = qobject_cast<const QMenu*>(widget);
    if (type != CT_MenuItem || !item || !menu)
        return QProxyStyle::sizeFromContents(type, option, size, widget);
    // A menu leaves out an item of no width; the widest item sets the menu's width anyway.
    if (item->menuItemType == QStyleOptionMenuItem::Separator)
        return QSize(1, m_nSeparatorHeight);
    const QAction* action = ItemAction(*menu, item->text);
    if (!action)
        return QProxyStyle::sizeFromContents(type, option, size, widget);
    QSize itemSize = ItemSize(*action, QFontMetrics(item->font));
    // The menu adds its widest text after a tab to every item once more.
    if (const qsizetype tab = item->text.indexOf(u'\t'); tab >= 0)
        itemSize.rwidth() -= QFontMetrics(item->font).horizontalAdvance(item->text.mid(tab + 1));
    return itemSize;
}

int CMenuEx::pixelMetric(PixelMetric metric, const QStyleOption* option,
                         const QWidget* widget) const {
    // The items reach the menu's frame, so the icon column runs from top to bottom.
    if (metric == PM_MenuHMargin || metric == PM_MenuVMargin)
        return 0;
    return QProxyStyle::pixelMetric(metric, option, widget);
}

void CMenuEx::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                          const QWidget* widget) const {
    const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    if (!item || !IsMenu(widget)) {
        QProxyStyle::drawControl(element, option, painter, widget);
        return;
    }
    if (element == CE_MenuItem)
        DrawItem(*item, *painter);
    else if (element == CE_MenuEmptyArea)
        painter->fillRect(item->rect, m_crBack);
    else
        QProxyStyle::drawControl(element, option, painter, widget);
}

void CMenuEx::DrawItem(const QStyleOptionMenuItem& item, QPainter& painter) const {
    const QRect& rc = item.rect;
    const SItemLayout layout = ItemLayout(rc, m_nIconWidth, m_nIconHeight);
    const bool separator = item.menuItemType == QStyleOptionMenuItem::Separator;
    const bool grayed = !(item.state & State_Enabled);
    const bool selected = (item.state & State_Selected) && !grayed && !separator;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(rc, m_crBack);
    painter.fillRect(layout.rcIconColumn, m_crIconColumn);
    if (selected) {
        painter.fillRect(rc, m_crSelectFill);
        painter.setPen(m_crSelectFrame);
        painter.drawRect(rc.adjusted(0, 0, -1, -1));
    }
    if (separator) {
        painter.setPen(m_crSeparator);
        painter.drawLine(layout.rcTextArea.left(), layout.nSeparatorY, layout.rcTextArea.right(),
                         layout.nSeparatorY);
        painter.restore();
        return;
    }

    const QColor color = grayed ? m_crGrayed : (selected ? m_crTextSelected : m_crText);
    const auto [text, accelerator] = SplitText(item.text);
    painter.setFont(item.font);
    painter.setPen(color);
    // An item is only as wide as its text and margins, so the text may run on into the right
    // margin.
    painter.drawText(layout.rcTextArea,
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic | Qt::TextExpandTabs |
                         Qt::TextDontClip,
                     text);
    if (!accelerator.isEmpty())
        painter.drawText(layout.rcTextArea, Qt::AlignRight | Qt::AlignVCenter, accelerator);
    if (item.menuItemType == QStyleOptionMenuItem::SubMenu)
        DrawSubMenuArrow(rc, color, painter);

    const bool checked = item.checkType != QStyleOptionMenuItem::NotCheckable && item.checked;
    if (checked) {
        painter.fillRect(layout.rcIcon, m_crSelectFill);
        painter.setPen(m_crSelectFrame);
        painter.drawRect(layout.rcIcon.adjusted(0, 0, -1, -1));
        painter.setPen(color);
        painter.drawText(layout.rcIcon, Qt::AlignCenter, QString(kCheckMark));
    } else if (!item.icon.isNull()) {
        const QIcon::Mode mode =
            grayed ? QIcon::Disabled : (selected ? QIcon::Active : QIcon::Normal);
        item.icon.paint(&painter, layout.rcIcon, Qt::AlignCenter, mode);
    }
    painter.restore();
}

void CMenuEx::DrawSubMenuArrow(const QRect& item, const QColor& color, QPainter& painter) const {
    // A small solid triangle in the middle of the right margin.
    const int x = item.right() - (m_nIconWidth - 4) / 2 - 2;
    const int y = item.top() + item.height() / 2;
    const QPoint points[] = {{x, y - 4}, {x + 4, y}, {x, y + 4}};
    painter.setPen(color);
    painter.setBrush(color);
    painter.drawPolygon(points, 3);
}
