#pragma once
#include "engine/DDSDevice.h"

#include <QColor>
#include <QFont>
#include <QSize>
#include <QString>

#include <array>
#include <vector>

/// Everything a display frame is drawn from, copied at paint time: when nothing in it moved
/// since the last frame, the picture already on hand is the one a redraw would make. Keep it in
/// step with the record fields `CWaveRenderer::Draw` reads.
class CDisplayInputs {
public:
    CDisplayInputs() = default;
    /// The inputs of a frame of `device` (none for a display without one).
    CDisplayInputs(const CDDSDevice* device, QSize size, int cursorIndex);

    QColor m_crBack, m_crCurve, m_crGrid, m_crCursor;
    QString m_strFileName, m_strAtPoint;
    QFont m_font;

    /// True only when a redraw would give the same picture: noise is new on every frame.
    bool Same(const CDisplayInputs& drawn) const;

private:
    bool m_bValid = false;
    bool m_bDevice = false;
    bool m_bNoise = false;
    QSize m_size;
    int m_nCursorIndex = 0;
    std::array<double, 28> m_dFields{};
    std::vector<float> m_fArb; ///< Only for Arb: other waves are drawn from the fields.
};
