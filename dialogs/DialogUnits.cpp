#include "dialogs/DialogUnits.h"

#include <QDialog>
#include <QFontMetrics>
#include <QLayout>

QFont CDialogUnits::DialogFont(int pointSize) {
    QFont font;
    font.setFamilies(
        {QStringLiteral("Liberation Sans"), QStringLiteral("Arial"), QStringLiteral("Arimo")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(pointSize);
    return font;
}

QSize CDialogUnits::BaseUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    // Half-letters rounded up, as the template measure does.
    return QSize((letters / 26 + 1) / 2, metrics.height());
}

QSize CDialogUnits::ToPixels(const QSize& units, const QSize& base) {
    // Rounded to the nearest pixel.
    return QSize(qRound(units.width() * base.width() / 4.0),
                 qRound(units.height() * base.height() / 8.0));
}

void CDialogUnits::Apply(QDialog* dialog, int pointSize, const QSize& units) {
    dialog->setFont(DialogFont(pointSize));
    QSize size = ToPixels(units, BaseUnits(dialog->font()));
    if (QLayout* layout = dialog->layout()) {
        layout->activate();
        size = size.expandedTo(layout->minimumSize());
    }
    dialog->setFixedSize(size);
}
