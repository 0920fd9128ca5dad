#pragma once
#include <QFont>
#include <QSize>

class QDialog;

/// The measure dialogs are laid out in: a dialog unit across is a quarter of the dialog font's
/// average character width, one down an eighth of its character height.
class CDialogUnits {
public:
    /// Point size of the wave parameter dialogs' font.
    static constexpr int kWaveDialogPoints = 10;

    /// The dialogs' sans face at a point size: Arial's metrics (Liberation Sans), or the
    /// system's sans face where that is not installed.
    static QFont DialogFont(int pointSize);
    /// The font's average character width (over the 52 letters, rounded) and its height, in
    /// pixels.
    static QSize BaseUnits(const QFont& font);
    /// Dialog units in pixels for those base units.
    static QSize ToPixels(const QSize& units, const QSize& base);
    /// Gives dialog the dialog font at pointSize and a client area of units, grown only where
    /// its contents (a longer language's texts) would not fit.
    static void Apply(QDialog* dialog, int pointSize, const QSize& units);
};
