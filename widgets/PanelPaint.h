#pragma once
// Colours shared by the painted panel controls, all taken from the palette.
#include <QColor>
#include <QPalette>

/// a blended towards b by t (0 gives a, 1 gives b).
inline QColor MixColor(const QColor& a, const QColor& b, qreal t) {
    return QColor::fromRgbF(
        a.redF() + (b.redF() - a.redF()) * t, a.greenF() + (b.greenF() - a.greenF()) * t,
        a.blueF() + (b.blueF() - a.blueF()) * t, a.alphaF() + (b.alphaF() - a.alphaF()) * t);
}

/// Near-black of bezels, slots and knob collars: the text colour softened by the shadow, so
/// that a disabled control fades with its text.
inline QColor PanelInk(const QPalette& palette, QPalette::ColorGroup group, qreal softness) {
    return MixColor(palette.color(group, QPalette::WindowText),
                    palette.color(group, QPalette::Shadow), softness);
}

/// A lamp's colour as shown: grey on a disabled control.
inline QColor LampShown(const QColor& lamp, bool enabled) {
    if (enabled)
        return lamp;
    const int grey = qGray(lamp.rgb());
    return {grey, grey, grey};
}
